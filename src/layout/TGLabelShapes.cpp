#include "TGLabelShapes.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QPainter>

TGLabelShapes::TGLabelShapes(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(25, 25);
}

void TGLabelShapes::setTransparent(bool on)
{
    m_transparent = on;
    Brush.style = on ? bsClear : bsSolid;
    Invalidate();
}

void TGLabelShapes::Paint(QPainter &painter)
{
    const int width = Pen.drawWidth(ScaleFactor());
    painter.setPen(Pen.style == psClear ? QPen(Qt::NoPen) : QPen(TGColor::toQColor(Pen.color), width));
    painter.setBrush(Brush.style == bsClear ? QBrush(Qt::NoBrush) : QBrush(TGColor::toQColor(Brush.color)));
    const QRect box(width / 2, width / 2, Width() - width, Height() - width);
    switch (Shape) {
    case stRectangle:
    case stSquare:
        painter.drawRect(box);
        break;
    case stRoundRect:
    case stRoundSquare:
        painter.drawRoundedRect(box, RoundPerc, RoundPerc, Qt::RelativeSize);
        break;
    case stEllipse:
    case stCircle:
        painter.drawEllipse(box);
        break;
    }
    TGGraphicControl::Paint(painter);
}

void TGLabelShapes::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    w.booleanProperty("Transparent", m_transparent);
    Brush.write(w, "Brush");
    Pen.write(w, "Pen");
    if (RoundPerc != 25)
        w.integerProperty("RoundPerc", RoundPerc);
    if (Shape != stRectangle)
        w.identProperty("Shape", TShapeTypeNames[Shape]);
}

bool TGLabelShapes::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "Transparent")
        setTransparent(r.readBoolean());
    else if (name.startsWith("Brush."))
        return Brush.readProperty(name.mid(6), r);
    else if (name.startsWith("Pen."))
        return Pen.readProperty(name.mid(4), r);
    else if (name == "RoundPerc")
        RoundPerc = r.readInteger();
    else if (name == "Shape")
        Shape = static_cast<TShapeType>(r.readEnum(TShapeTypeNames, TShapeTypeCount));
    else
        return TGGraphicControl::ReadProperty(name, r);
    return true;
}
