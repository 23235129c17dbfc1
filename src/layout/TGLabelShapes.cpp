#include "TGLabelShapes.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"

#include <QPainter>

#include <algorithm>

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

int TGLabelShapes::cornerPixels() const
{
    return Rounding::truncate(RoundPerc * 0.01 * std::max(Width(), Height()));
}

int TGLabelShapes::printedPenHundredths() const
{
    return Rounding::truncate(Pen.width / pixelsPerInch() * 100.0);
}

void TGLabelShapes::ChooseBackgroundColor(TColor colour)
{
    Brush.color = colour;
    setTransparent(false);
    NotifyChanged();
}

void TGLabelShapes::ChooseLineColor(TColor colour)
{
    Pen.color = colour;
    NotifyChanged();
    Invalidate();
}

void TGLabelShapes::ChooseLineThickness(int width)
{
    Pen.width = width;
    NotifyChanged();
    Invalidate();
}

void TGLabelShapes::ToggleTransparent()
{
    setTransparent(!m_transparent);
    NotifyChanged();
}

void TGLabelShapes::ChooseRounding(int percent)
{
    RoundPerc = percent;
    NotifyChanged();
    Invalidate();
}

void TGLabelShapes::Paint(QPainter &painter)
{
    const int w = Pen.drawWidth(ScaleFactor());
    const int h = w / 2;
    painter.save();
    painter.setCompositionMode(Pen.compositionMode());
    painter.setPen(Pen.qtPen(ScaleFactor()));
    painter.setBrush(Brush.qtBrush());
    // The figure from (h, h) to (Width + h - w + 1, Height + h - w + 1), its far edges outside.
    const QRect box(QPoint(h, h), QPoint(Width() + h - w, Height() + h - w));
    switch (Shape) {
    case stRectangle:
    case stSquare:
        painter.drawRect(box);
        break;
    case stRoundRect:
    case stRoundSquare: {
        const double radius = cornerPixels() / 2.0;
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case stEllipse:
    case stCircle:
        painter.drawEllipse(box);
        break;
    }
    painter.restore();
    TGGraphicControl::Paint(painter);
}

void TGLabelShapes::Print(TBaseReport &engine, InchPoint origin)
{
    // Pen modes the page cannot do print in copy mode.
    engine.SelectPen(TGColor::toQColor(Pen.color), static_cast<TPenStyle>(Pen.style),
                     HundredthsOfInch(printedPenHundredths()), TPenMode::Copy);
    engine.SelectBrush(TGColor::toQColor(Brush.color), static_cast<TBrushStyle>(Brush.style));
    const InchPoint topLeft = pagePoint(origin, DesignPixels(0), DesignPixels(0));
    const InchPoint bottomRight = pagePoint(origin, DesignPixels(Width()), DesignPixels(Height()));
    switch (Shape) {
    case stRectangle:
    case stSquare:
        engine.DrawRectangle(topLeft, bottomRight);
        break;
    case stRoundRect:
    case stRoundSquare: {
        const double side = Height() < Width() ? bottomRight.x.value - topLeft.x.value
                                               : bottomRight.y.value - topLeft.y.value;
        const Inches corner(RoundPerc * 0.01 * side);
        engine.DrawRoundRect(topLeft, bottomRight, InchSize{corner, corner});
        break;
    }
    case stEllipse:
    case stCircle:
        engine.DrawEllipse(topLeft, bottomRight);
        break;
    }
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
