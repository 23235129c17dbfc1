// The font of a text object: colour, typeface, size, pitch and style. Streams store the
// character height in pixels at the display resolution (`Height`, negative) rather than the
// point size; a font read from a stream keeps that height, so writing it back gives the same
// bytes, and the point size is derived from it. Plain value type.
#pragma once

#include "TGColor.h"
#include "TGEnums.h"

#include <QByteArray>
#include <QFont>
#include <QString>

class LayoutStreamWriter;
class LayoutStreamReader;

class TGFont
{
public:
    TGFont() = default;
    TGFont(const QString &name, int points) : m_name(name), m_points(points) {}

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    // Point size (a stored height converts with the reader's pixels per inch).
    int size() const { return m_points; }
    void setSize(int points)
    {
        m_points = points;
        m_height = 0;
    }
    TColor color() const { return m_color; }
    void setColor(TColor colour) { m_color = colour; }
    TFontPitch pitch() const { return m_pitch; }
    void setPitch(TFontPitch pitch) { m_pitch = pitch; }
    // TFontStyleBit flags.
    int style() const { return m_style; }
    void setStyle(int style) { m_style = style & 0x0F; }
    bool isBold() const { return m_style & fsBold; }
    bool isItalic() const { return m_style & fsItalic; }
    bool isUnderline() const { return m_style & fsUnderline; }
    bool isStrikeOut() const { return m_style & fsStrikeOut; }

    // −(points × pixelsPerInch / 72), halves away from zero; the stored height when the font
    // was read and its size not changed since.
    int height(double pixelsPerInch) const;
    // Points from a pixel height: −(height × 72 / pixelsPerInch), halves away from zero.
    static int pointsFromHeight(int height, double pixelsPerInch);
    static int heightFromPoints(int points, double pixelsPerInch);

    static constexpr int kMaxDrawPoints = 1638;
    // The Qt font for drawing at `pixelsPerInch` with the size truncate(points × scale),
    // kept within 1 .. kMaxDrawPoints.
    QFont qtFont(double pixelsPerInch, float scale = 1.0f) const;
    // This font with the family, style and (when the chosen font has one) point size of a font
    // picked in a font dialog; colour and pitch stay.
    TGFont chosenFrom(const QFont &chosen) const;

    // Entries "<prefix>.Color", ".Height", ".Name", ".Pitch", ".Style".
    void write(LayoutStreamWriter &w, const QByteArray &prefix, double pixelsPerInch) const;
    // One inner entry; false when `inner` is no font property.
    bool readProperty(const QByteArray &inner, LayoutStreamReader &r, double pixelsPerInch);

    bool operator==(const TGFont &o) const
    {
        return m_name == o.m_name && m_points == o.m_points && m_height == o.m_height &&
               m_color == o.m_color && m_pitch == o.m_pitch && m_style == o.m_style;
    }
    bool operator!=(const TGFont &o) const { return !(*this == o); }

private:
    QString m_name = QStringLiteral("Arial");
    int m_points = 10;
    int m_height = 0; // as read from a stream; 0 = derived from the point size
    TColor m_color = TGColor::clBlack;
    TFontPitch m_pitch = fpDefault;
    int m_style = 0;
};
