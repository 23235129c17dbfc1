#include "TGLineShape.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"
#include "TGBasePanel.h"

#include <QPainter>

TGLineShape::TGLineShape(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(10, 10);
}

void TGLineShape::ChooseLineStyle(TLineStyle style)
{
    NotifyChanged();
    LineStyle = style;
    Invalidate();
}

void TGLineShape::ChooseColor(TColor colour)
{
    Pen.color = colour;
    NotifyChanged();
    Invalidate();
}

void TGLineShape::ChooseLineThickness(int width)
{
    Pen.width = width;
    NotifyChanged();
    Invalidate();
}

void TGLineShape::StretchToEdges()
{
    const TGBasePanel *surface = parent();
    if (!surface)
        return;
    if (LineStyle == stHorizontal)
        SetBounds(0, Top(), surface->Width(), Height());
    else if (LineStyle == stVertical)
        SetBounds(Left(), 0, Width(), surface->Height());
    Invalidate();
}

void TGLineShape::Paint(QPainter &painter)
{
    const int w = Pen.drawWidth(ScaleFactor());
    const int h = w / 2;
    painter.save();
    painter.setCompositionMode(Pen.compositionMode());
    painter.setPen(Pen.qtPen(ScaleFactor()));
    // The end points are drawn up to, not on: the far end is one pixel short.
    switch (LineStyle) {
    case stHorizontal:
        painter.drawLine(h, h, Width() + h - w, h);
        break;
    case stVertical:
        painter.drawLine(h, h, h, Height() + h - w);
        break;
    case stAngleSlopingUp:
        painter.drawLine(Width(), 0, 0, Height());
        break;
    case stAngleSlopingDown:
        painter.drawLine(0, 0, Width(), Height());
        break;
    }
    painter.restore();
    TGGraphicControl::Paint(painter);
}

void TGLineShape::Print(TBaseReport &engine, InchPoint origin)
{
    // A line's width in design pixels prints as that many hundredths of an inch.
    engine.SelectPen(TGColor::toQColor(Pen.color), static_cast<TPenStyle>(Pen.style),
                     HundredthsOfInch(Pen.width), TPenMode::Copy);
    const int h = Pen.width / 2;
    const InchPoint leftTop = pagePoint(origin, DesignPixels(0), DesignPixels(h));
    const InchPoint rightBottom = pagePoint(origin, DesignPixels(Width()), DesignPixels(Height() + h));
    const InchPoint rightTop{rightBottom.x, leftTop.y};
    const InchPoint leftBottom{leftTop.x, rightBottom.y};
    switch (LineStyle) {
    case stHorizontal:
        engine.MovePenTo(leftTop);
        engine.DrawLineTo(rightTop);
        break;
    case stVertical:
        engine.MovePenTo(leftTop);
        engine.DrawLineTo(leftBottom);
        break;
    case stAngleSlopingUp:
        engine.MovePenTo(leftBottom);
        engine.DrawLineTo(rightTop);
        break;
    case stAngleSlopingDown:
        engine.MovePenTo(leftTop);
        engine.DrawLineTo(rightBottom);
        break;
    }
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
