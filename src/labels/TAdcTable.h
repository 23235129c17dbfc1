// The Area Distribution Centers a bulk mailing is bundled by: 96 rows, each an ADC name (printed
// in the group's header) and the three-digit ZIP prefixes it serves, in the order their groups
// come in a presort. Built into the program; shared read-only by every presort.
#pragma once

#include <array>

struct TAdcRow {
    const char *name;     // as printed, blanks included ("FARGO ND  580")
    const char *prefixes; // three-digit prefixes separated by single blanks
};

class TAdcTable
{
public:
    static constexpr int kRows = 96;

    static const std::array<TAdcRow, kRows> &rows();

    // The row serving a three-digit prefix (0..999), or -1 when no row serves it. A prefix is
    // matched as a whole entry of a row's list, never as a part of the list's text ("1 2" is
    // not a prefix of "201 220").
    static int rowOfPrefix(int prefix);

};
