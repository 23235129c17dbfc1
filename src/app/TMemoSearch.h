// The memo search of the memo page: walks the visible records in the current order until a
// memo holds the text. No window; the "Searching" window drives it and can stop it.
#pragma once

#include <QString>

#include <functional>

class TAddressTable;

class TMemoSearch
{
public:
    // Memos are compared on their first kMemoChars characters, with search texts cut to
    // kTextChars, without regard to letter case.
    static constexpr int kMemoChars = 32767;
    static constexpr int kTextChars = 255;

    static bool matches(const QString &memo, const QString &text);

    // Searches from the first visible record, or with `fromNext` from the one after the
    // current record. `cancelled` is asked before each record; returning true stops the
    // search. Found: that record is current and the result is true. Not found or cancelled:
    // the record that was current is current again and the result is false. The caller
    // freezes the display around the call.
    static bool run(TAddressTable &table, const QString &text, bool fromNext,
                    const std::function<bool()> &cancelled = {});
};
