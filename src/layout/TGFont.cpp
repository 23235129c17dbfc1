#include "TGFont.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "Units.h"

#include <algorithm>
#include <cmath>

int TGFont::pointsFromHeight(int height, double pixelsPerInch)
{
    return DesignPixels(-static_cast<double>(height)).toPoints(pixelsPerInch).halfAwayFromZero();
}

int TGFont::heightFromPoints(int points, double pixelsPerInch)
{
    // Halves away from zero is symmetric, so the minus goes inside, where it cannot overflow.
    return Rounding::halfAwayFromZero(-DesignPixels::fromPoints(Points(points), pixelsPerInch).value);
}

int TGFont::height(double pixelsPerInch) const
{
    return m_height != 0 ? m_height : heightFromPoints(m_points, pixelsPerInch);
}

TGFont TGFont::chosenFrom(const QFont &chosen) const
{
    TGFont f = *this;
    f.setName(chosen.family());
    if (chosen.pointSize() > 0)
        f.setSize(chosen.pointSize());
    f.setStyle((chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
               (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0));
    return f;
}

QFont TGFont::qtFont(double pixelsPerInch, float scale) const
{
    int points = m_points;
    if (scale != 1.0f)
        points = Points(static_cast<double>(points) * static_cast<double>(scale)).truncated();
    // Drawing sizes stay within what a typeface can have, whatever a layout says.
    points = std::clamp(points, 1, kMaxDrawPoints);
    QFont font(m_name);
    const int pixels = std::abs(heightFromPoints(points, pixelsPerInch));
    font.setPixelSize(pixels > 0 ? pixels : 1);
    font.setBold(isBold());
    font.setItalic(isItalic());
    font.setUnderline(isUnderline());
    font.setStrikeOut(isStrikeOut());
    if (m_pitch == fpFixed)
        font.setFixedPitch(true);
    return font;
}

void TGFont::write(LayoutStreamWriter &w, const QByteArray &prefix, double pixelsPerInch) const
{
    w.colourProperty(prefix + ".Color", m_color);
    w.integerProperty(prefix + ".Height", height(pixelsPerInch));
    if (!m_name.isEmpty())
        w.stringProperty(prefix + ".Name", m_name);
    if (m_pitch != fpDefault)
        w.identProperty(prefix + ".Pitch", TFontPitchNames[m_pitch]);
    w.writePropertyName(prefix + ".Style");
    QList<QByteArray> members;
    for (int bit = 0; bit < 4; ++bit)
        if (m_style & (1 << bit))
            members.append(TFontStyleNames[bit]);
    w.writeSet(members);
}

bool TGFont::readProperty(const QByteArray &inner, LayoutStreamReader &r, double pixelsPerInch)
{
    if (inner == "Color")
        m_color = r.readColour();
    else if (inner == "Height") {
        const int height = r.readInteger();
        m_points = pointsFromHeight(height, pixelsPerInch);
        m_height = height;
    } else if (inner == "Size") {
        setSize(r.readInteger());
    } else if (inner == "Name") {
        // An empty typeface is never written, so reading one keeps the current typeface.
        const QString name = r.readString();
        if (!name.isEmpty())
            m_name = name;
    } else if (inner == "Pitch")
        m_pitch = static_cast<TFontPitch>(r.readEnum(TFontPitchNames, TFontPitchCount));
    else if (inner == "Style") {
        int style = 0;
        for (const QByteArray &m : r.readSet()) {
            int bit = 0;
            while (bit < 4 && m != TFontStyleNames[bit])
                ++bit;
            if (bit == 4)
                LayoutStreamReader::fail(LayoutMessages::invalidValue());
            style |= 1 << bit;
        }
        m_style = style;
    } else
        return false;
    return true;
}
