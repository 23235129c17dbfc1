#include "TGLineShape.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QPainter>

TGLineShape::TGLineShape(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(10, 10);
}

void TGLineShape::Paint(QPainter &painter)
{
    const int width = Pen.drawWidth(ScaleFactor());
    painter.setPen(Pen.style == psClear ? QPen(Qt::NoPen) : QPen(TGColor::toQColor(Pen.color), width));
    const int w = Width() - 1;
    const int h = Height() - 1;
    switch (LineStyle) {
    case stHorizontal:
        painter.drawLine(0, h / 2, w, h / 2);
        break;
    case stVertical:
        painter.drawLine(w / 2, 0, w / 2, h);
        break;
    case stAngleSlopingUp:
        painter.drawLine(0, h, w, 0);
        break;
    case stAngleSlopingDown:
        painter.drawLine(0, 0, w, h);
        break;
    }
    TGGraphicControl::Paint(painter);
}

void TGLineShape::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (LineStyle != stHorizontal)
        w.identProperty("LineStyle", TLineStyleNames[LineStyle]);
    Pen.write(w, "Pen");
}

bool TGLineShape::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "LineStyle")
        LineStyle = static_cast<TLineStyle>(r.readEnum(TLineStyleNames, TLineStyleCount));
    else if (name.startsWith("Pen."))
        return Pen.readProperty(name.mid(4), r);
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
