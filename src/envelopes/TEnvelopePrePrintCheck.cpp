#include "TEnvelopePrePrintCheck.h"

#include "TGBasePanel.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGPostNetBarCode.h"
#include "TLabelPrePrintCheck.h"
#include "TPostNetEncoder.h"

namespace {

constexpr double kSlack = 1e-6; // a bar exactly on a limit is inside

QString inches(double value)
{
    return QString::number(value, 'f', 3);
}

} // namespace

QStringList TEnvelopePrePrintCheck::warnings(const TGBasePanel &surface, InchSize envelope,
                                             double dotsPerInch)
{
    QStringList out = TLabelPrePrintCheck::barcodeWarnings(surface, dotsPerInch);
    const double ppi = surface.PixelsPerInch() > 0 ? surface.PixelsPerInch() : 96.0;
    const double w = envelope.width.value;
    const double h = envelope.height.value;
    const double zoneLeft = w - kBarcodeZoneWidthInches;
    const double zoneTop = h - kBarcodeZoneHeightInches;
    for (const TGGraphicControl *object : surface.objects()) {
        const double left = object->Left() / ppi;
        const double top = object->Top() / ppi;
        double right = (object->Left() + object->Width()) / ppi;
        double bottom = (object->Top() + object->Height()) / ppi;
        QString name;
        if (const auto *postnet = dynamic_cast<const TGPostNetBarCode *>(object)) {
            // The bars themselves: the object's box may be drawn wider.
            const qsizetype bars = postnet->symbol().bars.size();
            if (bars == 0)
                continue;
            right =
                left + double(bars - 1) * TPostNetEncoder::kPitchInches + TPostNetEncoder::kBarWidthInches;
            bottom = top + TPostNetEncoder::kFullHeightInches;
            name = QStringLiteral("POSTNET");
        } else if (dynamic_cast<const TGIntelligentMailBarCode *>(object)) {
            name = QStringLiteral("Intelligent Mail barcode");
        } else if (const auto *fim = dynamic_cast<const TGFIMBarCode *>(object)) {
            const QList<int> columns = TGFIMBarCode::barColumns(fim->FIMType);
            const double barsRight = left + columns.last() * TGFIMBarCode::kColumnInches;
            const double fromRight = w - barsRight;
            if (fromRight < kFimFromRightInches - kFimToleranceInches - kSlack ||
                fromRight > kFimFromRightInches + kFimToleranceInches + kSlack)
                out << QStringLiteral("The FIM's rightmost bar stands %1 in from the envelope's right edge; "
                                      "it must stand 1.875 to 2.125 in from it")
                           .arg(inches(fromRight));
            const double barsBottom = top + TGFIMBarCode::kBarHeightInches;
            if (top > kFimToleranceInches + kSlack ||
                barsBottom < kFimZoneHeightInches - kFimToleranceInches - kSlack ||
                barsBottom > kFimZoneHeightInches + kFimToleranceInches + kSlack)
                out << QStringLiteral("The FIM's bars run from %1 to %2 in below the envelope's top edge; "
                                      "their tops must be no lower than 0.125 in and their bottoms "
                                      "0.5 to 0.75 in down")
                           .arg(inches(top), inches(barsBottom));
            continue;
        } else {
            continue;
        }
        if (left < zoneLeft - kSlack || top < zoneTop - kSlack || right > w + kSlack || bottom > h + kSlack)
            out << QStringLiteral(
                       "The %1 lies outside the barcode clear zone, the lower right %2 in by %3 in "
                       "of the envelope")
                       .arg(name, QString::number(kBarcodeZoneWidthInches),
                            QString::number(kBarcodeZoneHeightInches));
    }
    return out;
}

QString TEnvelopePrePrintCheck::question(const QStringList &warnings)
{
    return warnings.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n\r\nWould you like to try printing anyways?");
}
