// The printing service's paper codes and the page sizes they stand for: 1 Letter, 9 A4,
// 11 A5, 19 to 38 envelopes, 0 a custom size given in inches.
#pragma once

#include "Units.h"

#include <QPageSize>
#include <QSizeF>

class TPaperSizes
{
public:
    static constexpr int kCustom = 0;
    static constexpr int kLetter = 1;
    static constexpr int kA4 = 9;

    // The page size for `code`; a custom size (code 0) is handed over in tenths of a
    // millimetre (inches × 254, rounded). An unknown code or a custom size that is not
    // positive gives an invalid QPageSize.
    static QPageSize pageSize(int code, InchSize custom = {});
    // The size in inches, portrait, from the size's own definition (so no rounding creeps in).
    static QSizeF inches(const QPageSize &size);
    // Whether `code` names a paper of its own (not custom, not unknown).
    static bool isKnownCode(int code);
    // The code of a Qt page size, or -1 when it has none.
    static int codeOf(QPageSize::PageSizeId id);
};
