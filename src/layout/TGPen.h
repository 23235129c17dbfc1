// The pen of shapes and lines (colour, mode, style, width in design pixels) and the brush of
// shapes (colour, style), with their stream entries. Plain value types.
#pragma once

#include "TGColor.h"
#include "TGEnums.h"

#include <QBrush>
#include <QByteArray>
#include <QPainter>
#include <QPen>

class LayoutStreamWriter;
class LayoutStreamReader;

struct TGPen {
    TColor color = TGColor::clBlack;
    TGPenMode mode = pmCopy;
    TGPenStyle style = psSolid;
    int width = 1;

    // Entries for the values that differ from the defaults above.
    void write(LayoutStreamWriter &w, const QByteArray &prefix) const;
    bool readProperty(const QByteArray &inner, LayoutStreamReader &r);
    // Screen pixels at `scale`: width × scale rounded, at least 1 when the width is positive,
    // at most 1000; 0 for no width.
    int drawWidth(float scale) const;
    // The screen pen at `scale`: colour, style and drawWidth (no pen for psClear or no width).
    QPen qtPen(float scale) const;
    // How the pen combines with what is drawn on screen (raster operations on the surface image).
    QPainter::CompositionMode compositionMode() const;
    bool operator==(const TGPen &o) const
    {
        return color == o.color && mode == o.mode && style == o.style && width == o.width;
    }
};

struct TGBrush {
    TColor color = TGColor::clWhite;
    TGBrushStyle style = bsSolid;

    void write(LayoutStreamWriter &w, const QByteArray &prefix) const;
    bool readProperty(const QByteArray &inner, LayoutStreamReader &r);
    // The screen brush (none for bsClear).
    QBrush qtBrush() const;
    bool operator==(const TGBrush &o) const { return color == o.color && style == o.style; }
};
