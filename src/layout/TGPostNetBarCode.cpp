#include "TGPostNetBarCode.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QPainter>

void TGPostNetBarCode::Paint(QPainter &painter)
{
    // A row of full and half bars stands for the code in the designer.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int h = Height();
    for (int x = 0, i = 0; x + 2 <= Width(); x += 5, ++i) {
        const int bar = (i % 3 == 0) ? h : h / 2;
        painter.drawRect(QRect(x, h - bar, 2, bar));
    }
    TGGraphicControl::Paint(painter);
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
