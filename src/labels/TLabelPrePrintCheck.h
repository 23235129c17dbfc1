// The check made before a label run with postal barcodes: what would make the mail piece
// unreadable to the sorting machines or cut off the address. The "Print Labels" window asks
// whether to print anyway when it finds anything; the envelope check shares the barcode part.
// Stateless.
#pragma once

#include <QStringList>

class TGBasePanel;
class TGLabelPanel;
class TLabelSetup;

class TLabelPrePrintCheck
{
public:
    // The warnings for the layout on `surface` (its objects showing the record the run starts
    // with) on the sheet of `setup`, printed at `dotsPerInch` across: those of
    // barcodeWarnings() and an address block reaching below the label. Empty when none.
    static QStringList warnings(const TGLabelPanel &surface, const TLabelSetup &setup, double dotsPerInch);

    // The barcode warnings of any surface: POSTNET bars the printer makes thinner than
    // 0.015 in (the bar is a whole number of dots), a POSTNET of the record without 32, 52 or
    // 62 bars.
    static QStringList barcodeWarnings(const TGBasePanel &surface, double dotsPerInch);
};
