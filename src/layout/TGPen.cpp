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
