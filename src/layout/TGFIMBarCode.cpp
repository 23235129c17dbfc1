#include "TGFIMBarCode.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QPainter>

void TGFIMBarCode::Paint(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int x = 0; x + 2 <= Width(); x += 6)
        painter.drawRect(QRect(x, 0, 2, Height()));
    TGGraphicControl::Paint(painter);
}

void TGFIMBarCode::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    w.identProperty("FIMType", TFIMTypeNames[FIMType]);
}

bool TGFIMBarCode::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "FIMType")
        FIMType = static_cast<TFIMType>(r.readEnum(TFIMTypeNames, TFIMTypeCount));
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
