#include "TGPen.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <algorithm>
#include <cmath>

void TGPen::write(LayoutStreamWriter &w, const QByteArray &prefix) const
{
    if (color != TGColor::clBlack)
        w.colourProperty(prefix + ".Color", color);
    if (mode != pmCopy)
        w.identProperty(prefix + ".Mode", TGPenModeNames[mode]);
    if (style != psSolid)
        w.identProperty(prefix + ".Style", TGPenStyleNames[style]);
    if (width != 1)
        w.integerProperty(prefix + ".Width", width);
}

bool TGPen::readProperty(const QByteArray &inner, LayoutStreamReader &r)
{
    if (inner == "Color")
        color = r.readColour();
    else if (inner == "Mode")
        mode = static_cast<TGPenMode>(r.readEnum(TGPenModeNames, TGPenModeCount));
    else if (inner == "Style")
        style = static_cast<TGPenStyle>(r.readEnum(TGPenStyleNames, TGPenStyleCount));
    else if (inner == "Width")
        width = r.readInteger();
    else
        return false;
    return true;
}

int TGPen::drawWidth(float scale) const
{
    if (width <= 0)
        return 0;
    const double scaled = std::nearbyint(static_cast<double>(width) * static_cast<double>(scale));
    return static_cast<int>(std::clamp(scaled, 1.0, 1000.0));
}

void TGBrush::write(LayoutStreamWriter &w, const QByteArray &prefix) const
{
    if (color != TGColor::clWhite)
        w.colourProperty(prefix + ".Color", color);
    if (style != bsSolid)
        w.identProperty(prefix + ".Style", TGBrushStyleNames[style]);
}

bool TGBrush::readProperty(const QByteArray &inner, LayoutStreamReader &r)
{
    if (inner == "Color")
        color = r.readColour();
    else if (inner == "Style")
        style = static_cast<TGBrushStyle>(r.readEnum(TGBrushStyleNames, TGBrushStyleCount));
    else
        return false;
    return true;
}

QPen TGPen::qtPen(float scale) const
{
    const int w = drawWidth(scale);
    if (style == psClear || w == 0)
        return QPen(Qt::NoPen);
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    QColor colour = TGColor::toQColor(color);
    if (mode == pmBlack)
        colour = Qt::black;
    else if (mode == pmWhite)
        colour = Qt::white;
    QPen pen(colour, w, styles[std::clamp(static_cast<int>(style), 0, 6)]);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPainter::CompositionMode TGPen::compositionMode() const
{
    switch (mode) {
    case pmNop:
        return QPainter::CompositionMode_Destination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    case pmBlack:
    case pmWhite:
    case pmCopy:
        break;
    }
    return QPainter::CompositionMode_SourceOver;
}

QBrush TGBrush::qtBrush() const
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,   Qt::HorPattern,   Qt::VerPattern,
                                            Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const Qt::BrushStyle s = styles[std::clamp(static_cast<int>(style), 0, 7)];
    return s == Qt::NoBrush ? QBrush(Qt::NoBrush) : QBrush(TGColor::toQColor(color), s);
}
