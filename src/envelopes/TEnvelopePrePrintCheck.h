// The check made before an envelope run: the barcode checks of the label run, and the postal
// zones of the envelope. A POSTNET or Intelligent Mail barcode standing on its own must lie in
// the barcode clear zone, the lower right 4.75 in by 0.625 in of the envelope; the FIM's
// rightmost bar must stand 2 in (within 1/8 in) from the right edge, its bars' tops no lower
// than 1/8 in from the top edge and their bottoms within 1/8 in of the FIM clear zone's bottom,
// 5/8 in below the top edge. A barcode inside the address block goes with the address and is
// not held to the zone. The envelope window and the batch run show the warnings before
// printing. Stateless.
#pragma once

#include "Units.h"

#include <QStringList>

class TGBasePanel;

class TEnvelopePrePrintCheck
{
public:
    static constexpr double kBarcodeZoneWidthInches = 4.75;
    static constexpr double kBarcodeZoneHeightInches = 0.625;
    static constexpr double kFimFromRightInches = 2.0;
    static constexpr double kFimToleranceInches = 0.125;
    static constexpr double kFimZoneHeightInches = 0.625;

    // The warnings for the layout on `surface` (its objects showing the record the run starts
    // with) on an envelope of `envelope`, printed at `dotsPerInch` across. Empty when none.
    static QStringList warnings(const TGBasePanel &surface, InchSize envelope, double dotsPerInch);

    // The question the envelope window asks when there are warnings.
    static QString question(const QStringList &warnings);
};
