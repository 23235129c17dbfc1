#include "TGPostNetBarCode.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"

#include <QPainter>

TGPostNetBarCode::TGPostNetBarCode(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(Rounding::truncate(2.6 * 96), Rounding::truncate(0.125 * 96));
}

void TGPostNetBarCode::setRecordTexts(const QString &zipText, const QString &addressText)
{
    m_zipText = zipText;
    m_addressText = addressText;
}

TPostNetSymbol TGPostNetBarCode::symbol() const
{
    return TPostNetEncoder::encode(m_zipText, m_addressText, BarCodeType);
}

const QImage &TGPostNetBarCode::stockPicture()
{
    static const QImage picture = [] {
        QImage image(270, 16, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        const QString bars = TPostNetEncoder::barsOf(QStringLiteral("12345678923"));
        const double pitch = 270.0 / bars.size();
        for (int k = 0; k < bars.size(); ++k) {
            const int top = bars[k] == QLatin1Char('F') ? 0 : 9;
            p.fillRect(QRect(Rounding::truncate(k * pitch), top, 2, 16 - top), Qt::black);
        }
        return image;
    }();
    return picture;
}

void TGPostNetBarCode::ShowDataValue()
{
    TGDataPanel *surface = dataParent();
    const TGDataSource *data = surface ? surface->DataSet() : nullptr;
    // A field the data set lacks gives an empty text, and so no barcode.
    auto text = [&](const QString &name) {
        const int index = data ? data->indexOfName(name) : -1;
        return index >= 0 ? data->fieldText(index) : QString();
    };
    setRecordTexts(text(ZipCodeField), text(AddressField));
    if (!isPrinting())
        Invalidate();
}

void TGPostNetBarCode::Paint(QPainter &painter)
{
    painter.drawImage(QRect(0, 0, Width(), Height()), stockPicture());
    TGGraphicControl::Paint(painter);
}

void TGPostNetBarCode::Print(TBaseReport &engine, InchPoint origin)
{
    const TPostNetSymbol s = symbol();
    if (s.isEmpty())
        return;
    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    engine.SelectBrush(Qt::black, TBrushStyle::Solid);
    engine.SelectPen(Qt::black, TPenStyle::Solid, 1, TPenMode::Copy);
    for (int k = 0; k < s.bars.size(); ++k) {
        const Inches left(k * TPostNetEncoder::kPitchInches);
        const Inches top(s.bars[k] == QLatin1Char('F') ? 0.0 : TPostNetEncoder::kHalfTopInches);
        engine.DrawRectangle(topLeft.offset(left, top),
                             topLeft.offset(left + Inches(TPostNetEncoder::kBarWidthInches),
                                            Inches(TPostNetEncoder::kFullHeightInches)));
    }
}

void TGPostNetBarCode::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (!ZipCodeField.isEmpty())
        w.stringProperty("ZipCodeField", ZipCodeField);
    if (!AddressField.isEmpty())
        w.stringProperty("AddressField", AddressField);
    w.identProperty("BarCodeType", TBarCodeTypeNames[BarCodeType]);
}

bool TGPostNetBarCode::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "ZipCodeField")
        ZipCodeField = r.readString();
    else if (name == "AddressField")
        AddressField = r.readString();
    else if (name == "BarCodeType")
        BarCodeType = static_cast<TBarCodeType>(r.readEnum(TBarCodeTypeNames, TBarCodeTypeCount));
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
