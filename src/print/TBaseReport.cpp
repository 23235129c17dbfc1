#include "TBaseReport.h"

#include "TMetafilePlayer.h"
#include "TPainterSink.h"
#include "TStatusLine.h"

#include <QPaintDevice>

#include <cmath>

TBaseReport::TBaseReport() = default;
TBaseReport::~TBaseReport() = default;

void TBaseReport::setTextBKMode(TBKMode mode)
{
    m_textBkMode = mode;
    if (m_sink)
        m_sink->setTextOpaque(mode == bkOpaque);
}

// --- Job control -----------------------------------------------------------------------

void TBaseReport::RunJob(TProgress &progress)
{
    if (m_running)
        return;
    m_progress = &progress;
    m_aborted = false;
    m_page = 0;
    m_sink = nullptr;
    m_metrics.reset();
    m_hasPendingAdvance = false;
    m_pendingAdvance.clear();
    m_tabIndex = -1;
    if (!beginDocument()) {
        m_aborted = true;
        m_progress = &TProgress::none();
        return;
    }
    m_running = true;
    m_page = 1;
    startPage();
    if (OnBeforePrint && !m_aborted)
        OnBeforePrint(*this);
    if (!m_aborted) {
        RefreshStatus();
        m_progress->step();
    }
    if (OnPrint) {
        if (!m_aborted)
            OnPrint(*this);
    } else if (OnPrintPage) {
        while (!m_aborted) {
            if (!OnPrintPage(*this) || m_aborted || m_progress->cancelled())
                break;
            StartNewPage();
        }
    }
    m_sink = nullptr;
    m_running = false;
    if (!endDocument(m_aborted))
        m_aborted = true;
    if (OnAfterPrint)
        OnAfterPrint(*this);
    m_progress = &TProgress::none();
}

void TBaseReport::startPage()
{
    m_sink = beginPage(m_page);
    applyState();
    ResetSection();
    CursorHome();
}

void TBaseReport::applyState()
{
    if (!m_sink)
        return;
    m_sink->setPen(m_pen);
    m_sink->setBrush(m_brush);
    m_sink->setFont(m_font);
    m_sink->setTextOpaque(m_textBkMode == bkOpaque);
}

void TBaseReport::StartNewPage()
{
    if (!m_running || m_aborted)
        return;
    ++m_page;
    startPage();
    RefreshStatus();
    m_progress->step();
    if (OnNewPage && !m_aborted)
        OnNewPage(*this);
    if (OnPrintHeader && !m_aborted)
        OnPrintHeader(*this);
}

void TBaseReport::AbortJob()
{
    if (m_aborted)
        return;
    m_aborted = true;
    if (m_running) {
        m_sink = nullptr;
        abortDocument();
    }
}

void TBaseReport::RefreshStatus()
{
    if (StatusLabel)
        StatusLabel(TStatusLine::format(m_statusFormat, m_page, m_statusText, m_firstPage, m_lastPage));
}

// --- Pen, brush and font -----------------------------------------------------------------

void TBaseReport::SelectPen(const QColor &colour, TPenStyle style, int width, TPenMode mode)
{
    m_pen = TPenSpec{colour.rgba(), style, width, mode};
    if (m_sink)
        m_sink->setPen(m_pen);
}

void TBaseReport::SelectPen(const QColor &colour, TPenStyle style, HundredthsOfInch width, TPenMode mode)
{
    // The engine's pens take hundredths of an inch as negative widths.
    SelectPen(colour, style, -Rounding::truncate(width.value), mode);
}

void TBaseReport::SelectBrush(const QColor &colour, TBrushStyle style, const QImage &bitmap)
{
    m_brush = TBrushSpec{colour.rgba(), style, bitmap};
    if (m_sink)
        m_sink->setBrush(m_brush);
}

void TBaseReport::SelectFont(const QString &name, double points)
{
    if (points <= 0)
        return;
    settleCursor();
    m_font = TFontSpec{};
    m_font.name = name;
    m_font.points = points;
    m_metrics.reset();
    if (m_sink)
        m_sink->setFont(m_font);
}

void TBaseReport::SetBold(bool on)
{
    settleCursor();
    m_font.bold = on;
    m_metrics.reset();
    if (m_sink)
        m_sink->setFont(m_font);
}

void TBaseReport::SetItalic(bool on)
{
    settleCursor();
    m_font.italic = on;
    m_metrics.reset();
    if (m_sink)
        m_sink->setFont(m_font);
}

void TBaseReport::SetUnderline(bool on)
{
    settleCursor();
    m_font.underline = on;
    m_metrics.reset();
    if (m_sink)
        m_sink->setFont(m_font);
}

void TBaseReport::SetFontColor(const QColor &colour)
{
    m_font.colour = colour.rgba();
    if (m_sink)
        m_sink->setFont(m_font);
}

void TBaseReport::SetFontAngle(double degrees)
{
    double angle = std::fmod(degrees, 360.0);
    if (angle < 0)
        angle += 360.0;
    if (!std::isfinite(angle) || angle >= 360.0)
        angle = 0.0;
    m_font.angle = angle;
    if (m_sink)
        m_sink->setFont(m_font);
}

const QFontMetricsF &TBaseReport::metrics() const
{
    if (!m_metrics) {
        const QPaintDevice *device = measureDevice();
        m_metrics.emplace(TPainterSink::qtFont(m_font, device ? device->logicalDpiY() : 72.0, device),
                          const_cast<QPaintDevice *>(device));
    }
    return *m_metrics;
}

namespace {

// The measuring device's resolution, 72 when it has none.
double dpiX(const QPaintDevice *device)
{
    return device && device->logicalDpiX() > 0 ? device->logicalDpiX() : 72.0;
}

double dpiY(const QPaintDevice *device)
{
    return device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72.0;
}

} // namespace

Inches TBaseReport::MeasureText(const QString &text)
{
    return measure(text);
}

Inches TBaseReport::measure(const QString &text) const
{
    return Inches::fromDots(metrics().horizontalAdvance(text), dpiX(measureDevice()));
}

void TBaseReport::settleCursor() const
{
    if (!m_hasPendingAdvance)
        return;
    m_hasPendingAdvance = false;
    m_cursorX += measure(m_pendingAdvance);
    m_pendingAdvance.clear();
}

void TBaseReport::setCursorX(Inches x)
{
    m_hasPendingAdvance = false;
    m_pendingAdvance.clear();
    m_cursorX = x;
}

Inches TBaseReport::LineHeight()
{
    switch (m_lineHeightMethod) {
    case lhmFont:
        return Inches::fromDots(metrics().lineSpacing(), dpiY(measureDevice()));
    case lhmUser:
        return m_userLineHeight > Inches(0) ? m_userLineHeight : Inches(1.0 / 6.0);
    case lhmLinesPerInch:
        break;
    }
    return Inches(1.0 / m_linesPerInch);
}

Inches TBaseReport::FontHeight()
{
    return Inches::fromDots(metrics().height(), dpiY(measureDevice()));
}

Inches TBaseReport::FontDescent()
{
    return Inches::fromDots(metrics().descent(), dpiY(measureDevice()));
}

// --- Drawing -------------------------------------------------------------------------------

void TBaseReport::DrawRectangle(InchPoint topLeft, InchPoint bottomRight)
{
    if (m_sink)
        m_sink->rectangle(TInchRect::between(topLeft, bottomRight));
}

void TBaseReport::DrawRoundRect(InchPoint topLeft, InchPoint bottomRight, InchSize corner)
{
    if (m_sink)
        m_sink->roundRect(TInchRect::between(topLeft, bottomRight), corner);
}

void TBaseReport::DrawEllipse(InchPoint topLeft, InchPoint bottomRight)
{
    if (m_sink)
        m_sink->ellipse(TInchRect::between(topLeft, bottomRight));
}

void TBaseReport::MovePenTo(InchPoint point)
{
    m_penAt = point;
}

void TBaseReport::DrawLineTo(InchPoint point)
{
    if (m_sink)
        m_sink->line(m_penAt, point);
    m_penAt = point;
}

TInchRect TBaseReport::InchRect(InchPoint topLeft, InchPoint bottomRight) const
{
    return TInchRect::between(topLeft, bottomRight);
}

void TBaseReport::DrawTextInRect(const TInchRect &rect, InchPoint at, const QString &text)
{
    drawText(at, text, &rect);
}

void TBaseReport::DrawBitmapInRect(InchPoint topLeft, InchPoint bottomRight, const QImage &bitmap)
{
    if (m_sink)
        m_sink->bitmap(TInchRect::between(topLeft, bottomRight), bitmap);
}

void TBaseReport::DrawGraphicInRect(const TInchRect &rect, const QPicture &graphic)
{
    if (m_sink)
        m_sink->graphic(rect, graphic);
}

TPrintResult TBaseReport::DrawGraphicInRect(const TInchRect &rect, const TMetafile &metafile)
{
    QPicture picture;
    TPrintResult result = TMetafilePlayer::toPicture(metafile, picture);
    if (result.ok())
        DrawGraphicInRect(rect, picture);
    return result;
}

void TBaseReport::drawText(InchPoint at, const QString &text, const TInchRect *clip)
{
    if (m_sink && !text.isEmpty())
        m_sink->text(clip != nullptr, clip ? *clip : TInchRect{}, at, text);
}

void TBaseReport::TextAtLeft(const QString &text, Inches x)
{
    drawText({x, m_cursorY}, text, nullptr);
    setCursorX(x);
    if (!text.isEmpty()) {
        m_pendingAdvance = text;
        m_hasPendingAdvance = true;
    }
}

void TBaseReport::textsAtLeft(const std::vector<TTextAt> &texts)
{
    if (texts.empty())
        return;
    if (m_sink)
        m_sink->textRun(texts.data(), texts.size());
    const TTextAt &last = texts.back();
    m_cursorY = last.at.y;
    setCursorX(last.at.x);
    if (!last.text.isEmpty()) {
        m_pendingAdvance = last.text;
        m_hasPendingAdvance = true;
    }
}

void TBaseReport::TextCentredOn(const QString &text, Inches x)
{
    const Inches w = MeasureText(text);
    drawText({x - w / 2.0, m_cursorY}, text, nullptr);
    setCursorX(x + w / 2.0);
}

void TBaseReport::TextRightAlignedAt(const QString &text, Inches x)
{
    drawText({x - MeasureText(text), m_cursorY}, text, nullptr);
    setCursorX(x);
}

void TBaseReport::TextBlock(const QString &text, Inches x, Inches width)
{
    const TInchRect clip = TInchRect::between({x, m_cursorY}, {x + width, m_cursorY + LineHeight()});
    drawText({x, m_cursorY}, text, &clip);
    setCursorX(x + width);
}

// --- Text flow -----------------------------------------------------------------------------

void TBaseReport::Section(Inches left, Inches right, Inches top, Inches bottom)
{
    m_sectionLeft = left;
    m_sectionRight = right;
    m_sectionTop = top;
    m_sectionBottom = bottom;
}

void TBaseReport::ResetSection()
{
    Section(m_marginLeft, PaperWidth() - m_marginRight, m_marginTop, PaperHeight() - m_marginBottom);
}

void TBaseReport::MoveCursor(InchPoint point)
{
    setCursorX(point.x);
    m_cursorY = point.y;
    m_tabIndex = -1;
}

void TBaseReport::CursorHome()
{
    MoveCursor({m_sectionLeft, m_sectionTop});
}

void TBaseReport::NextLine()
{
    MoveCursor({m_sectionLeft, m_cursorY + LineHeight()});
}

int TBaseReport::LinesLeftInSection()
{
    const Inches h = LineHeight();
    if (h <= Inches(0))
        return 0;
    // A line counts when it fits to within a millionth of an inch (sums of line heights drift).
    const double lines = std::floor((m_sectionBottom - m_cursorY) / h + 1e-6);
    return lines > 0 ? Rounding::truncate(lines) : 0;
}

void TBaseReport::ClearTabStops()
{
    m_tabs.clear();
    m_tabIndex = -1;
}

void TBaseReport::AddTabStop(TTabJustify justify, Inches position, Inches width, HundredthsOfInch margin,
                             int boxLines, int shade)
{
    TTabStop tab;
    tab.justify = justify;
    if (position < Inches(0))
        position = m_tabs.empty() ? m_sectionLeft : m_tabs.back().left + m_tabs.back().width;
    tab.left = position;
    tab.width = width < Inches(0) ? Inches(0) : width;
    tab.margin = margin.toInches();
    tab.boxLines = boxLines & BOXLINEALL;
    tab.shade = shade < 0 ? 0 : (shade > 100 ? 100 : shade);
    m_tabs.push_back(tab);
}

void TBaseReport::PushTabStops()
{
    m_tabStack.push_back(m_tabs);
}

void TBaseReport::PopTabStops()
{
    if (m_tabStack.empty())
        return;
    m_tabs = std::move(m_tabStack.back());
    m_tabStack.pop_back();
    m_tabIndex = -1;
}

void TBaseReport::NextTabStop()
{
    if (m_tabIndex + 1 >= static_cast<int>(m_tabs.size()))
        return;
    ++m_tabIndex;
    const TTabStop &tab = m_tabs[static_cast<size_t>(m_tabIndex)];
    setCursorX(tab.left);
    if (!m_sink || (tab.shade == 0 && tab.boxLines == BOXLINENONE))
        return;
    const Inches top = m_cursorY;
    const Inches bottom = m_cursorY + LineHeight();
    const Inches left = tab.left;
    const Inches right = tab.left + tab.width;
    if (tab.shade > 0) {
        const int grey = 255 - (255 * tab.shade + 50) / 100;
        m_sink->setPen(TPenSpec{qRgb(0, 0, 0), TPenStyle::Clear, 1, TPenMode::Copy});
        m_sink->setBrush(TBrushSpec{qRgb(grey, grey, grey), TBrushStyle::Solid, QImage()});
        m_sink->rectangle(TInchRect::between({left, top}, {right, bottom}));
        m_sink->setPen(m_pen);
        m_sink->setBrush(m_brush);
    }
    if (tab.boxLines & BOXLINELEFT)
        m_sink->line({left, top}, {left, bottom});
    if (tab.boxLines & BOXLINERIGHT)
        m_sink->line({right, top}, {right, bottom});
    if (tab.boxLines & BOXLINETOP)
        m_sink->line({left, top}, {right, top});
    if (tab.boxLines & BOXLINEBOTTOM)
        m_sink->line({left, bottom}, {right, bottom});
}

void TBaseReport::writeSegment(const QString &text)
{
    if (m_tabIndex < 0 || m_tabIndex >= static_cast<int>(m_tabs.size())) {
        if (!text.isEmpty())
            TextAtLeft(text, CursorX());
        return;
    }
    const TTabStop &tab = m_tabs[static_cast<size_t>(m_tabIndex)];
    const Inches inLeft = tab.left + tab.margin;
    const Inches inRight = tab.left + tab.width - tab.margin;
    const TInchRect cell =
        TInchRect::between({tab.left, m_cursorY}, {tab.left + tab.width, m_cursorY + LineHeight()});
    const Inches w = text.isEmpty() ? Inches(0) : MeasureText(text);
    Inches x = inLeft;
    if (tab.justify == pjRight)
        x = inRight - w;
    else if (tab.justify == pjCenter)
        x = (inLeft + inRight - w) / 2.0;
    drawText({x, m_cursorY}, text, &cell);
    setCursorX(tab.justify == pjLeft ? x + w : tab.left + tab.width);
}

void TBaseReport::WriteText(const QString &text)
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype tab = text.indexOf(QLatin1Char('\t'), start);
        writeSegment(text.mid(start, tab < 0 ? -1 : tab - start));
        if (tab < 0)
            break;
        NextTabStop();
        start = tab + 1;
    }
}

void TBaseReport::WriteLine(const QString &text)
{
    WriteText(text);
    NextLine();
}
