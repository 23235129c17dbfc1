#include "TGIntelligentMailBarCode.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TPostNetEncoder.h"

#include <QPainter>

namespace {

bool allDigits(const QString &text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
    return digits;
}

constexpr double kSymbolInches =
    (TIntelligentMailEncoder::kBarCount - 1) * TIntelligentMailEncoder::kPitchInches +
    TIntelligentMailEncoder::kBarWidthInches;

// The top and the height of a bar in a box `height` high: ascenders reach the top, descenders
// the bottom, the tracker sits in the middle.
std::pair<double, double> barSpan(QChar state, double height)
{
    const double extender =
        TIntelligentMailEncoder::kExtenderInches / TIntelligentMailEncoder::kFullHeightInches;
    const double top = state == QLatin1Char('F') || state == QLatin1Char('A') ? 0.0 : extender;
    const double bottom = state == QLatin1Char('F') || state == QLatin1Char('D') ? 1.0 : 1.0 - extender;
    return {top * height, (bottom - top) * height};
}

} // namespace

TGIntelligentMailBarCode::TGIntelligentMailBarCode(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(Rounding::truncate(kSymbolInches * 96) + 1,
             Rounding::truncate(TIntelligentMailEncoder::kFullHeightInches * 96) + 1);
}

void TGIntelligentMailBarCode::setRecordTexts(const QString &zipText, const QString &addressText,
                                              const QString &serialText)
{
    m_zipText = zipText;
    m_addressText = addressText;
    m_serialText = serialText;
}

int TGIntelligentMailBarCode::serialDigits() const
{
    if (!allDigits(MailerID))
        return 0;
    return MailerID.size() == 6 ? 9 : MailerID.size() == 9 ? 6 : 0;
}

QString TGIntelligentMailBarCode::tracking() const
{
    const int digits = serialDigits();
    if (digits == 0 || BarcodeIdentifier.size() != 2 || !allDigits(BarcodeIdentifier) ||
        ServiceType.size() != 3 || !allDigits(ServiceType))
        return QString();
    QString serial;
    switch (SerialSource) {
    case imbSerialFixed:
        serial = QString::number(SerialNumber);
        break;
    case imbSerialCounter:
        serial = QString::number(m_counter);
        break;
    case imbSerialField:
        serial = digitsOf(m_serialText);
        break;
    }
    // A serial that does not fit is refused rather than cut: two pieces would share a number.
    if (serial.isEmpty() || serial.startsWith(QLatin1Char('-')) || serial.size() > digits)
        return QString();
    return BarcodeIdentifier + ServiceType + MailerID + serial.rightJustified(digits, QLatin1Char('0'));
}

QString TGIntelligentMailBarCode::routing(bool *ok) const
{
    const QString zip = digitsOf(m_zipText);
    *ok = true;
    if (zip.isEmpty() || zip.size() == 5)
        return zip;
    if (zip.size() == 9)
        return zip + TPostNetEncoder::deliveryPoint(m_addressText);
    *ok = false;
    return QString();
}

TIntelligentMailSymbol TGIntelligentMailBarCode::symbol() const
{
    bool ok = false;
    const QString route = routing(&ok);
    if (!ok) {
        TIntelligentMailSymbol none;
        none.error = QStringLiteral("The ZIP code must have 0, 5 or 9 digits.");
        return none;
    }
    return TIntelligentMailEncoder::encode(tracking(), route);
}

void TGIntelligentMailBarCode::ChooseSettings(const QString &identifier, const QString &serviceType,
                                              const QString &mailerId, TIMbSerialSource source, qint64 serial,
                                              const QString &serialField)
{
    BarcodeIdentifier = identifier;
    ServiceType = serviceType;
    MailerID = mailerId;
    SerialSource = source;
    SerialNumber = serial;
    SerialField = serialField;
    m_counter = serial;
    Invalidate();
    NotifyChanged();
}

void TGIntelligentMailBarCode::ShowDataValue()
{
    TGDataPanel *surface = dataParent();
    const TGDataSource *data = surface ? surface->DataSet() : nullptr;
    auto text = [&](const QString &name) {
        const int index = data && !name.isEmpty() ? data->indexOfName(name) : -1;
        return index >= 0 ? data->fieldText(index) : QString();
    };
    setRecordTexts(text(ZipCodeField), text(AddressField), text(SerialField));
    if (!isPrinting())
        Invalidate();
}

void TGIntelligentMailBarCode::Paint(QPainter &painter)
{
    // The record's bars when they can be made, else those of the published example.
    TIntelligentMailSymbol s = symbol();
    if (s.isEmpty())
        s = TIntelligentMailEncoder::encode(QStringLiteral("01234567094987654321"),
                                            QStringLiteral("01234567891"));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const double scale = Width() / kSymbolInches;
    const double barWidth = std::max(1.0, TIntelligentMailEncoder::kBarWidthInches * scale);
    for (int k = 0; k < s.bars.size(); ++k) {
        const auto [top, height] = barSpan(s.bars[k], Height());
        painter.drawRect(
            QRectF(k * TIntelligentMailEncoder::kPitchInches * scale, top, barWidth, std::max(1.0, height)));
    }
    TGGraphicControl::Paint(painter);
}

void TGIntelligentMailBarCode::Print(TBaseReport &engine, InchPoint origin)
{
    const TIntelligentMailSymbol s = symbol();
    if (s.isEmpty())
        return;
    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    engine.SelectBrush(Qt::black, TBrushStyle::Solid);
    engine.SelectPen(Qt::black, TPenStyle::Clear, 0, TPenMode::Copy);
    for (int k = 0; k < s.bars.size(); ++k) {
        const auto [top, height] = barSpan(s.bars[k], TIntelligentMailEncoder::kFullHeightInches);
        const InchPoint from = topLeft.offset(Inches(k * TIntelligentMailEncoder::kPitchInches), Inches(top));
        engine.DrawRectangle(from,
                             from.offset(Inches(TIntelligentMailEncoder::kBarWidthInches), Inches(height)));
    }
}

void TGIntelligentMailBarCode::Loaded()
{
    TGGraphicControl::Loaded();
    m_counter = SerialNumber;
}

void TGIntelligentMailBarCode::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    w.stringProperty("BarcodeIdentifier", BarcodeIdentifier);
    w.stringProperty("ServiceType", ServiceType);
    w.stringProperty("MailerID", MailerID);
    w.identProperty("SerialSource", TIMbSerialSourceNames[SerialSource]);
    // Serial numbers have at most 9 digits, so they fit the stream's integers.
    w.integerProperty("SerialNumber", static_cast<qint32>(SerialNumber));
    w.stringProperty("SerialField", SerialField);
    w.stringProperty("ZipCodeField", ZipCodeField);
    w.stringProperty("AddressField", AddressField);
}

bool TGIntelligentMailBarCode::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "BarcodeIdentifier")
        BarcodeIdentifier = r.readString();
    else if (name == "ServiceType")
        ServiceType = r.readString();
    else if (name == "MailerID")
        MailerID = r.readString();
    else if (name == "SerialSource")
        SerialSource =
            static_cast<TIMbSerialSource>(r.readEnum(TIMbSerialSourceNames, TIMbSerialSourceCount));
    else if (name == "SerialNumber")
        SerialNumber = r.readInteger();
    else if (name == "SerialField")
        SerialField = r.readString();
    else if (name == "ZipCodeField")
        ZipCodeField = r.readString();
    else if (name == "AddressField")
        AddressField = r.readString();
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
