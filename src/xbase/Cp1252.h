// Conversion between Windows-1252 bytes (the text of every table) and UTF-8 (the text of the
// command-line tool and of test data). Stateless; used by value.
#pragma once

#include <string>
#include <string_view>

namespace xbase {

class Cp1252
{
public:
    /// Every byte becomes its character; the five undefined bytes (0x81 0x8D 0x8F 0x90 0x9D)
    /// map to the control characters of the same number, so the round trip is exact.
    static std::string toUtf8(std::string_view bytes);
    /// Converts UTF-8 text. A character Windows-1252 lacks, or malformed UTF-8, becomes '?'
    /// and sets `lossy` when given.
    static std::string fromUtf8(std::string_view text, bool *lossy = nullptr);
};

} // namespace xbase
