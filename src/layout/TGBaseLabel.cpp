#include "TGBaseLabel.h"

#include "TSymbolFonts.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TBaseReport.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

QPoint shadowOffset(TShadowDirection direction, int d)
{
    switch (direction) {
    case sdNone:
        return {0, 0};
    case sdRight:
        return {d, 0};
    case sdLeft:
        return {-d, 0};
    case sdDownRight:
        return {d, d};
    case sdDownLeft:
        return {-d, d};
    case sdDown:
        return {0, d};
    }
    return {0, 0};
}

QPoint highlightOffset(THighlightDirection direction, int d)
{
    switch (direction) {
    case hdNone:
        return {0, 0};
    case hdright:
        return {d, 0};
    case hdLeft:
        return {-d, 0};
    case hdUpRight:
        return {d, -d};
    case hdUpLeft:
        return {-d, -d};
    case hdUp:
        return {0, -d};
    }
    return {0, 0};
}

// An offset (dx, dy) as it turns with the text.
QPoint turned(const QPoint &offset, int angle)
{
    switch (angle) {
    case 90:
        return {offset.y(), -offset.x()};
    case 180:
        return {-offset.x(), -offset.y()};
    case 270:
        return {-offset.y(), offset.x()};
    default:
        return offset;
    }
}

// The text's reference corner in a box: where drawing starts for each angle.
QPoint drawPoint(const TGBaseLabel::Box &b, int angle)
{
    switch (angle) {
    case 90:
        return {b.left, b.bottom};
    case 180:
        return {b.right, b.bottom};
    case 270:
        return {b.right, b.top};
    default:
        return {b.left, b.top};
    }
}

} // namespace

TGBaseLabel::TGBaseLabel(TGOwner *owner) : TGGraphicControl(owner)
{
    initSize(kNewWidth, kNewHeight);
}

void TGBaseLabel::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    m_layoutNeeded = true;
    NotifyChanged();
    Invalidate();
}

void TGBaseLabel::setCaptionQuiet(const QString &caption)
{
    m_caption = caption;
    m_layoutNeeded = true;
}

void TGBaseLabel::setFont(const TGFont &font)
{
    m_font = font;
    m_layoutNeeded = true;
    NotifyChanged();
    Invalidate();
}

void TGBaseLabel::setAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    m_layoutNeeded = true;
    Invalidate();
}

void TGBaseLabel::SetAngle(int angle)
{
    if ((angle != 0 && angle != 90 && angle != 180 && angle != 270) || angle == m_angle)
        return;
    m_angle = angle;
    m_layoutNeeded = true;
    if (angle != 0)
        m_alignment = taLeftJustify;
    const bool across = angle == 0 || angle == 180;
    if ((across && Width() < Height()) || (!across && Height() < Width()))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TGBaseLabel::setDepthShadow(int depth)
{
    m_depthShadow = depth;
    m_layoutNeeded = true;
    Invalidate();
}

void TGBaseLabel::setDirectionShadow(TShadowDirection direction)
{
    m_directionShadow = direction;
    m_layoutNeeded = true;
    Invalidate();
}

void TGBaseLabel::setColorShadow(TColor colour)
{
    m_colorShadow = colour;
    Invalidate();
}

void TGBaseLabel::setDepthHighlight(int depth)
{
    m_depthHighlight = depth;
    m_layoutNeeded = true;
    Invalidate();
}

void TGBaseLabel::setDirectionHighlight(THighlightDirection direction)
{
    m_directionHighlight = direction;
    m_layoutNeeded = true;
    Invalidate();
}

void TGBaseLabel::setColorHighlight(TColor colour)
{
    m_colorHighlight = colour;
    Invalidate();
}

void TGBaseLabel::setTransparent(bool on)
{
    m_transparent = on;
    Invalidate();
}

void TGBaseLabel::setBackColor(TColor colour)
{
    m_backColor = colour;
    Invalidate();
}

void TGBaseLabel::ChooseBackColor(TColor colour)
{
    m_backColor = colour;
    m_transparent = false;
    NotifyChanged();
    Invalidate();
}

void TGBaseLabel::ChooseAlignment(TAlignment alignment)
{
    setAlignment(alignment);
    NotifyChanged();
}

void TGBaseLabel::ApplyFont(const TGFont &font)
{
    m_font = font;
    m_layoutNeeded = true;
    Invalidate();
}

QFont TGBaseLabel::screenFont() const
{
    QFont f = m_font.qtFont(pixelsPerInch(), ScaleFactor());
    if (TSymbolFonts::isSymbolFont(m_font.name()))
        f.setFamily(TSymbolFonts::drawingFamily(m_font.name()));
    return f;
}

QString TGBaseLabel::shownCaption() const
{
    return TSymbolFonts::mapText(m_font.name(), m_caption);
}

void TGBaseLabel::UpdateCaption(bool, TBaseReport *) {}

void TGBaseLabel::DoLayout()
{
    m_inLayout = true;
    const QFontMetrics fm(screenFont());
    Geometry g;
    const int pixelSize = screenFont().pixelSize();
    const int internalLeading = std::max(0, fm.height() - pixelSize);
    g.lineHeight = fm.height() + internalLeading + fm.leading();
    g.textWidth = fm.horizontalAdvance(shownCaption() + QLatin1Char(' '));
    g.shadowOffset = shadowOffset(m_directionShadow, m_depthShadow);
    g.highlightOffset = highlightOffset(m_directionHighlight, m_depthHighlight);
    const int sx = g.shadowOffset.x(), sy = g.shadowOffset.y();
    const int hx = g.highlightOffset.x(), hy = g.highlightOffset.y();
    int ox = 0;
    if (sx < 0)
        ox = -sx;
    if (hx < 0)
        ox = std::max(ox, -hx);
    int oy = 0;
    if (sy < 0)
        oy = -sy;
    if (hy < 0)
        oy = std::max(oy, -hy);
    g.margin = QPoint(ox, oy);

    const int L = g.lineHeight;
    const int tw = g.textWidth;
    const int f = L + sy - hy;
    const double grown = f * 1.2;
    int width = Width();
    int height = Height();
    if (m_angle == 0 || m_angle == 180) {
        if (m_angle == 180 && 2 * tw < width)
            width = 2 * tw;
        if (width <= 5)
            width = tw;
        if (grown < height)
            height = Rounding::truncate(grown);
        if (height < f)
            height = f;
    } else {
        if (tw * 1.2 < height)
            height = Rounding::truncate(tw * 1.2);
        if (height < 5)
            height = tw;
        if (grown < width)
            width = Rounding::truncate(grown);
        if (width < f)
            width = f;
    }
    if (width != Width() || height != Height())
        SetBounds(Left(), Top(), width, height);

    Box m;
    if (m_angle == 0 || m_angle == 180)
        m = {ox, oy, width, oy + L};
    else
        m = {oy, ox, oy + L, height - oy};
    if (m_angle == 90)
        m = m.moved(0, height - (m.bottom - m.top + 1) + hx);
    else if (m_angle == 180)
        m = m.moved(width - (m.right - m.left + 1) - sy, 0);
    g.main = m;
    const QPoint ts = turned(g.shadowOffset, m_angle);
    const QPoint th = turned(g.highlightOffset, m_angle);
    g.shadow = m.moved(ts.x(), ts.y());
    g.highlight = m.moved(th.x(), th.y());
    g.mainPoint = drawPoint(g.main, m_angle);
    g.shadowPoint = drawPoint(g.shadow, m_angle);
    g.highlightPoint = drawPoint(g.highlight, m_angle);
    if (m_angle == 0) {
        int x = m.left;
        if (m_alignment == taRightJustify)
            x = m.right - tw;
        else if (m_alignment == taCenter)
            x = (m.right - m.left) / 2 - tw / 2;
        g.mainPoint.setX(x);
        g.highlightPoint.setX(x + hx);
        g.shadowPoint.setX(x + sx);
    }
    m_geometry = g;
    m_layoutNeeded = false;
    m_inLayout = false;
}

void TGBaseLabel::FitToText()
{
    if (m_angle != 0)
        return;
    if (m_layoutNeeded)
        DoLayout();
    const Geometry &g = m_geometry;
    const int x0 = std::max({g.main.left, g.shadow.left, g.highlight.left});
    const int y0 = std::max({g.main.top, g.shadow.top, g.highlight.top});
    const QFontMetrics fm(screenFont());
    int width = Width();
    int height = Height();
    const int wanted = x0 + fm.horizontalAdvance(shownCaption() + QStringLiteral("     "));
    if (width < wanted)
        width = wanted;
    const int tall = y0 + fm.height();
    if (height < tall)
        height = tall;
    SetBounds(Left(), Top(), width, height);
    DoLayout();
    Invalidate();
}

void TGBaseLabel::CheckBoundsChanged()
{
    if (!m_inLayout)
        m_layoutNeeded = true;
    TGGraphicControl::CheckBoundsChanged();
}

void TGBaseLabel::drawText(QPainter &painter, const Box &clip, const QPoint &point, TColor colour) const
{
    painter.save();
    painter.setClipRect(clip.toQRect(), Qt::IntersectClip);
    painter.translate(point);
    painter.rotate(-m_angle);
    painter.setPen(TGColor::toQColor(colour));
    const QFontMetrics fm(painter.font(), painter.device());
    painter.drawText(0, fm.ascent(), shownCaption());
    painter.restore();
}

void TGBaseLabel::Paint(QPainter &painter)
{
    UpdateCaption(false, nullptr);
    if (m_layoutNeeded || Width() < 5 || Height() < 5)
        DoLayout();
    if (!m_transparent)
        painter.fillRect(QRect(0, 0, Width(), Height()), TGColor::toQColor(m_backColor));
    painter.setFont(screenFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    // The shadow and highlight are drawn even at depth 0; they then lie under the text.
    drawText(painter, m_geometry.shadow, m_geometry.shadowPoint, m_colorShadow);
    drawText(painter, m_geometry.highlight, m_geometry.highlightPoint, m_colorHighlight);
    drawText(painter, m_geometry.main, m_geometry.mainPoint, m_font.color());
    TGGraphicControl::Paint(painter);
}

void TGBaseLabel::Print(TBaseReport &engine, InchPoint origin)
{
    UpdateCaption(true, &engine);
    DoLayout();
    auto page = [&](int x, int y) { return pagePoint(origin, DesignPixels(x), DesignPixels(y)); };
    if (!m_transparent) {
        const QColor back = TGColor::toQColor(m_backColor);
        engine.SelectPen(back, TPenStyle::Clear, 0, TPenMode::Copy);
        engine.SelectBrush(back, TBrushStyle::Solid);
        engine.DrawRectangle(page(0, 0), page(Width() - 1, Height() - 1));
    }
    engine.SelectFont(TSymbolFonts::drawingFamily(m_font.name()), m_font.size());
    engine.SetBold(m_font.isBold());
    engine.SetItalic(m_font.isItalic());
    engine.SetUnderline(m_font.isUnderline());
    engine.SetFontAngle(m_angle);
    engine.SelectBrush(Qt::white, TBrushStyle::Clear);

    const QString shown = shownCaption();
    // The clip reaches 0.03 inch beyond the top-left corner of the text's box.
    const Inches overhang(0.03);
    auto text = [&](const Box &b, const QPoint &point, TColor colour) {
        engine.SetFontColor(TGColor::toQColor(colour));
        const TInchRect clip =
            engine.InchRect(page(b.left, b.top).offset(-overhang, -overhang), page(b.right, b.bottom));
        engine.DrawTextInRect(clip, page(point.x(), point.y()), shown);
    };
    if (m_depthShadow > 0 && m_directionShadow != sdNone)
        text(m_geometry.shadow, m_geometry.shadowPoint, m_colorShadow);
    if (m_depthHighlight > 0 && m_directionHighlight != hdNone)
        text(m_geometry.highlight, m_geometry.highlightPoint, m_colorHighlight);
    text(m_geometry.main, m_geometry.mainPoint, m_font.color());
    engine.SetFontAngle(0);
}

void TGBaseLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGGraphicControl::WriteProperties(w);
    if (m_alignment != taLeftJustify)
        w.identProperty("Alignment", TAlignmentNames[m_alignment]);
    if (m_depthHighlight != 0)
        w.integerProperty("DepthHighlight", m_depthHighlight);
    if (m_depthShadow != 0)
        w.integerProperty("DepthShadow", m_depthShadow);
    if (m_directionHighlight != hdUpLeft)
        w.identProperty("DirectionHighlight", THighlightDirectionNames[m_directionHighlight]);
    if (m_directionShadow != sdDownRight)
        w.identProperty("DirectionShadow", TShadowDirectionNames[m_directionShadow]);
    if (m_colorHighlight != TGColor::clAqua)
        w.colourProperty("colorHighlight", m_colorHighlight);
    if (m_colorShadow != TGColor::clGray)
        w.colourProperty("colorShadow", m_colorShadow);
    if (m_angle != 0)
        w.integerProperty("Angle", m_angle);
    if (!m_caption.isEmpty())
        w.stringProperty("Caption", m_caption);
    m_font.write(w, "Font", pixelsPerInch());
    w.booleanProperty("Transparent", m_transparent);
    w.colourProperty("BackColor", m_backColor);
}

bool TGBaseLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "Alignment")
        m_alignment = static_cast<TAlignment>(r.readEnum(TAlignmentNames, TAlignmentCount));
    else if (name == "DepthHighlight")
        m_depthHighlight = r.readInteger();
    else if (name == "DepthShadow")
        m_depthShadow = r.readInteger();
    else if (name == "DirectionHighlight")
        m_directionHighlight =
            static_cast<THighlightDirection>(r.readEnum(THighlightDirectionNames, THighlightDirectionCount));
    else if (name == "DirectionShadow")
        m_directionShadow =
            static_cast<TShadowDirection>(r.readEnum(TShadowDirectionNames, TShadowDirectionCount));
    else if (name == "colorHighlight")
        m_colorHighlight = r.readColour();
    else if (name == "colorShadow")
        m_colorShadow = r.readColour();
    else if (name == "Angle") {
        // Only the four rotations are taken, as the setter does.
        const int angle = r.readInteger();
        if (angle == 0 || angle == 90 || angle == 180 || angle == 270)
            m_angle = angle;
    } else if (name == "Caption")
        m_caption = r.readString();
    else if (name.startsWith("Font."))
        return m_font.readProperty(name.mid(5), r, pixelsPerInch());
    else if (name == "Transparent")
        m_transparent = r.readBoolean();
    else if (name == "BackColor")
        m_backColor = r.readColour();
    else
        return TGGraphicControl::ReadProperty(name, r);
    m_layoutNeeded = true;
    return true;
}
