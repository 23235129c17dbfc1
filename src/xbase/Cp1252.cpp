#include "Cp1252.h"

#include <cstdint>

namespace xbase {

namespace {
// Code points of bytes 0x80..0x9F; the rest of the range equals Latin-1.
const uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                            0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string &out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

int byteFor(uint32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}
} // namespace

std::string Cp1252::toUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::string Cp1252::fromUtf8(std::string_view text, bool *lossy)
{
    std::string out;
    out.reserve(text.size());
    bool lost = false;
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        uint32_t cp = 0;
        size_t len = 0;
        if (b < 0x80) {
            cp = b;
            len = 1;
        } else if ((b & 0xE0) == 0xC0) {
            cp = b & 0x1F;
            len = 2;
        } else if ((b & 0xF0) == 0xE0) {
            cp = b & 0x0F;
            len = 3;
        } else if ((b & 0xF8) == 0xF0) {
            cp = b & 0x07;
            len = 4;
        }
        bool ok = len > 0 && i + len <= text.size();
        for (size_t k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out += '?';
            lost = true;
            ++i;
            continue;
        }
        const int mapped = byteFor(cp);
        if (mapped < 0) {
            out += '?';
            lost = true;
        } else {
            out += static_cast<char>(mapped);
        }
        i += len;
    }
    if (lossy)
        *lossy = lost;
    return out;
}

} // namespace xbase
