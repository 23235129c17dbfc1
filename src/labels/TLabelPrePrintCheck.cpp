#include "TLabelPrePrintCheck.h"

#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGPostNetBarCode.h"
#include "TLabelSetup.h"
#include "TPostNetEncoder.h"

#include <cmath>

QStringList TLabelPrePrintCheck::barcodeWarnings(const TGBasePanel &surface, double dotsPerInch)
{
    QStringList out;
    bool thinChecked = false;
    for (const TGGraphicControl *object : surface.objects()) {
        const auto *postnet = dynamic_cast<const TGPostNetBarCode *>(object);
        if (!postnet)
            continue;
        if (!thinChecked && dotsPerInch > 0) {
            thinChecked = true;
            // The printer draws a bar a whole number of dots wide.
            const double dots = std::floor(TPostNetEncoder::kBarWidthInches * dotsPerInch + 1e-6);
            const double inches = dots / dotsPerInch;
            if (inches + 1e-6 < TPostNetEncoder::kBarWidthInches)
                out << QStringLiteral(
                           "At %1 dots per inch the POSTNET bars print %2 in wide, thinner than 0.015 in")
                           .arg(qRound(dotsPerInch))
                           .arg(inches, 0, 'f', 4);
        }
        const int bars = int(postnet->symbol().bars.size());
        if (bars != 32 && bars != 52 && bars != 62)
            out << QStringLiteral("The POSTNET of the first record has %1 bars, not 32, 52 or 62").arg(bars);
    }
    return out;
}

QStringList TLabelPrePrintCheck::warnings(const TGLabelPanel &surface, const TLabelSetup &setup,
                                          double dotsPerInch)
{
    QStringList out = barcodeWarnings(surface, dotsPerInch);
    const double ppi = surface.PixelsPerInch() > 0 ? surface.PixelsPerInch() : 96.0;
    for (const TGGraphicControl *object : surface.objects()) {
        if (dynamic_cast<const TGDMultiLineAddressLabel *>(object)) {
            const double bottomInches = (object->Top() + object->Height()) / ppi;
            if (bottomInches > setup.LblHeight + 0.005)
                out << QStringLiteral("The address block reaches %1 in down, below the label's %2 in")
                           .arg(bottomInches, 0, 'f', 2)
                           .arg(double(setup.LblHeight), 0, 'f', 2);
        }
    }
    return out;
}
