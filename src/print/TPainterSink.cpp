#include "TPainterSink.h"

#include "TPenModes.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>

namespace {

Qt::PenStyle qtPenStyle(TPenStyle style)
{
    switch (style) {
    case TPenStyle::Dash:
        return Qt::DashLine;
    case TPenStyle::Dot:
        return Qt::DotLine;
    case TPenStyle::DashDot:
        return Qt::DashDotLine;
    case TPenStyle::DashDotDot:
        return Qt::DashDotDotLine;
    case TPenStyle::Clear:
        return Qt::NoPen;
    case TPenStyle::Solid:
    case TPenStyle::InsideFrame:
        break;
    }
    return Qt::SolidLine;
}

Qt::BrushStyle qtBrushStyle(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::Clear:
        return Qt::NoBrush;
    case TBrushStyle::Horizontal:
        return Qt::HorPattern;
    case TBrushStyle::Vertical:
        return Qt::VerPattern;
    case TBrushStyle::FDiagonal:
        return Qt::FDiagPattern;
    case TBrushStyle::BDiagonal:
        return Qt::BDiagPattern;
    case TBrushStyle::Cross:
        return Qt::CrossPattern;
    case TBrushStyle::DiagCross:
        return Qt::DiagCrossPattern;
    case TBrushStyle::Solid:
        break;
    }
    return Qt::SolidPattern;
}

} // namespace

TPainterSink::TPainterSink(QPainter &painter, double dotsPerInchX, double dotsPerInchY)
    : m_painter(painter), m_dpiX(dotsPerInchX), m_dpiY(dotsPerInchY)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

void TPainterSink::beginPage(InchSize)
{
    // The device was moved to its page by its owner; nothing carries over but the state the
    // job sets again.
}

double TPainterSink::penDots(int width, double dotsPerInchX)
{
    if (width > 0)
        return width;
    if (width == 0)
        return 1.0;
    return std::max(1.0,
                    std::round(HundredthsOfInch(-static_cast<double>(width)).toInches().dotsF(dotsPerInchX)));
}

void TPainterSink::setPen(const TPenSpec &pen)
{
    m_shapePen = QPen(QColor::fromRgba(pen.colour), penDots(pen.width, m_dpiX), qtPenStyle(pen.style),
                      Qt::SquareCap, Qt::MiterJoin);
    m_painter.setPen(m_shapePen);
    m_textPenActive = false;
    // Modes a PDF or printer cannot combine fall back to copy mode.
    static_cast<void>(TPenModes::apply(m_painter, pen.mode));
}

void TPainterSink::setBrush(const TBrushSpec &brush)
{
    m_brushColour = QColor::fromRgba(brush.colour);
    if (!brush.bitmap.isNull() && brush.style != TBrushStyle::Clear)
        m_painter.setBrush(QBrush(brush.bitmap));
    else
        m_painter.setBrush(QBrush(m_brushColour, qtBrushStyle(brush.style)));
}

QFont TPainterSink::qtFont(const TFontSpec &font, double dotsPerInchY, const QPaintDevice *device)
{
    QFont f(font.name);
    const double logical = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72.0;
    f.setPointSizeF(std::max(0.01, font.points * dotsPerInchY / logical));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    // Glyph positions are not rounded to whole pixels, so widths scale with the resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

const TPainterSink::MadeFont &TPainterSink::madeFont(const TFontSpec &spec)
{
    for (const MadeFont &made : m_madeFonts)
        if (made.matches(spec))
            return made;
    MadeFont &made = m_madeFonts[m_nextMadeFont];
    m_nextMadeFont = (m_nextMadeFont + 1) % m_madeFonts.size();
    if (m_currentFont == &made)
        m_currentFont = nullptr;
    made.isMade = true;
    made.name = spec.name;
    made.points = spec.points;
    made.bold = spec.bold;
    made.italic = spec.italic;
    made.underline = spec.underline;
    made.font = qtFont(spec, m_dpiY, m_painter.device());
    made.rawFont = QRawFont::fromFont(QFont(made.font, m_painter.device()));
    const QFontMetricsF metrics(made.font, m_painter.device());
    made.ascent = metrics.ascent();
    made.height = metrics.height();
    return made;
}

void TPainterSink::setFont(const TFontSpec &font)
{
    m_fontColour = QColor::fromRgba(font.colour);
    m_fontAngle = font.angle;
    const MadeFont &made = madeFont(font);
    if (&made != m_currentFont) {
        m_font = made.font;
        m_rawFont = made.rawFont;
        m_ascent = made.ascent;
        m_textHeight = made.height;
        m_painter.setFont(m_font);
        m_currentFont = &made;
    }
    if (m_textPenActive)
        m_painter.setPen(m_fontColour);
}

void TPainterSink::useShapePen()
{
    if (m_textPenActive) {
        m_painter.setPen(m_shapePen);
        m_textPenActive = false;
    }
}

void TPainterSink::useTextPen()
{
    if (!m_textPenActive) {
        m_painter.setPen(m_fontColour);
        m_textPenActive = true;
    }
}

void TPainterSink::setTextOpaque(bool opaque)
{
    m_opaque = opaque;
}

QRectF TPainterSink::toDevice(const TInchRect &r) const
{
    return QRectF(QPointF(r.left * m_dpiX, r.top * m_dpiY), QPointF(r.right * m_dpiX, r.bottom * m_dpiY));
}

void TPainterSink::rectangle(const TInchRect &r)
{
    useShapePen();
    m_painter.drawRect(toDevice(r));
}

void TPainterSink::roundRect(const TInchRect &r, InchSize corner)
{
    // The corner sizes are the ellipse's diameters; Qt takes radii.
    useShapePen();
    m_painter.drawRoundedRect(toDevice(r), corner.width.dotsF(m_dpiX) / 2.0,
                              corner.height.dotsF(m_dpiY) / 2.0);
}

void TPainterSink::ellipse(const TInchRect &r)
{
    useShapePen();
    m_painter.drawEllipse(toDevice(r));
}

void TPainterSink::line(InchPoint from, InchPoint to)
{
    useShapePen();
    m_painter.drawLine(QPointF(from.x.dotsF(m_dpiX), from.y.dotsF(m_dpiY)),
                       QPointF(to.x.dotsF(m_dpiX), to.y.dotsF(m_dpiY)));
}

void TPainterSink::text(bool clipped, const TInchRect &clip, InchPoint at, const QString &text)
{
    if (text.isEmpty())
        return;
    useTextPen();
    if (!clipped && m_fontAngle == 0.0 && !m_opaque) {
        // The common case, kept cheap: jobs write thousands of texts a page.
        const QPointF origin(at.x.dotsF(m_dpiX), at.y.dotsF(m_dpiY) + m_ascent);
        if (!drawSimpleText(origin, text))
            m_painter.drawText(origin, text);
        return;
    }
    m_painter.save();
    if (clipped)
        m_painter.setClipRect(toDevice(clip), Qt::IntersectClip);
    m_painter.translate(at.x.dotsF(m_dpiX), at.y.dotsF(m_dpiY));
    if (m_fontAngle != 0.0)
        m_painter.rotate(-m_fontAngle);
    if (m_opaque) {
        const QFontMetricsF metrics(m_font, m_painter.device());
        m_painter.fillRect(QRectF(0, 0, metrics.horizontalAdvance(text), m_textHeight), m_brushColour);
    }
    m_painter.drawText(QPointF(0, m_ascent), text);
    m_painter.restore();
}

bool TPainterSink::drawSimpleText(const QPointF &origin, const QString &text)
{
    QList<quint32> glyphs;
    QList<QPointF> positions;
    if (!appendSimpleGlyphs(text, QPointF(), glyphs, positions))
        return false;
    drawGlyphs(origin, glyphs, positions);
    return true;
}

void TPainterSink::drawGlyphs(const QPointF &origin, const QList<quint32> &glyphs, const QList<QPointF> &positions)
{
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    m_painter.drawGlyphRun(origin, run);
}

bool TPainterSink::appendSimpleGlyphs(const QString &text, QPointF start, QList<quint32> &glyphs,
                                      QList<QPointF> &positions)
{
    // Only text that shaping leaves as one glyph per character, each found in the font itself:
    // printable Latin letters, no marks, no right-to-left script, no ligatures (kerning is off).
    // Underlines are left to the layout too: its line's length depends on the style.
    if (!m_rawFont.isValid() || m_font.underline() || text.size() > 256)
        return false;
    QChar previous;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u < 0xA0) || u > 0x24F)
            return false;
        if (previous == QLatin1Char('f') && (u == 'f' || u == 'i' || u == 'l'))
            return false;
        previous = c;
    }
    const int count = static_cast<int>(text.size());
    QVarLengthArray<quint32, 64> indexes(count);
    int found = count;
    if (!m_rawFont.glyphIndexesForChars(text.constData(), count, indexes.data(), &found) || found != count)
        return false;
    for (quint32 g : indexes)
        if (g == 0)
            return false;
    QVarLengthArray<QPointF, 64> advances(count);
    if (!m_rawFont.advancesForGlyphIndexes(indexes.data(), advances.data(), count))
        return false;
    glyphs.reserve(glyphs.size() + count);
    for (quint32 g : indexes)
        glyphs.append(g);
    positions.reserve(positions.size() + count);
    QPointF at = start;
    for (int i = 0; i < count; ++i) {
        positions.append(at);
        at += advances[i];
    }
    return true;
}

void TPainterSink::textRun(const TTextAt *items, size_t count)
{
    if (count == 0)
        return;
    if (count > 1 && m_fontAngle == 0.0 && !m_opaque) {
        const QPointF origin(items[0].at.x.dotsF(m_dpiX), items[0].at.y.dotsF(m_dpiY) + m_ascent);
        QList<quint32> glyphs;
        QList<QPointF> positions;
        bool simple = true;
        for (size_t i = 0; i < count && simple; ++i) {
            const QPointF start(items[i].at.x.dotsF(m_dpiX), items[i].at.y.dotsF(m_dpiY) + m_ascent);
            simple = items[i].text.isEmpty() ||
                     appendSimpleGlyphs(items[i].text, start - origin, glyphs, positions);
        }
        if (simple) {
            if (!glyphs.isEmpty()) {
                useTextPen();
                drawGlyphs(origin, glyphs, positions);
            }
            return;
        }
    }
    TDrawSink::textRun(items, count);
}

void TPainterSink::bitmap(const TInchRect &r, const QImage &image)
{
    useShapePen();
    if (!image.isNull())
        m_painter.drawImage(toDevice(r), image);
}

void TPainterSink::graphic(const TInchRect &r, const QPicture &picture)
{
    const QRect bounds = picture.boundingRect();
    if (bounds.isEmpty())
        return;
    const QRectF target = toDevice(r);
    useShapePen();
    m_painter.save();
    m_painter.translate(target.topLeft());
    m_painter.scale(target.width() / bounds.width(), target.height() / bounds.height());
    m_painter.translate(-bounds.topLeft());
    // Playing a picture scales it from the resolution it was drawn at to the device's; the
    // scaling above already maps it onto the target, so that step is undone here (else a
    // picture comes out 12.5 times too large on a 1200-dot page).
    const QPaintDevice *device = m_painter.device();
    if (device && device->logicalDpiX() > 0 && device->logicalDpiY() > 0)
        m_painter.scale(double(picture.logicalDpiX()) / device->logicalDpiX(),
                        double(picture.logicalDpiY()) / device->logicalDpiY());
    m_painter.drawPicture(0, 0, picture);
    m_painter.restore();
}
