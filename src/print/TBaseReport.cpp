#include "TBaseReport.h"

#include "TPainterSink.h"
#include "TStatusLine.h"
#include "Units.h"

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

double TBaseReport::MeasureText(const QString &text)
{
    return measure(text);
}

double TBaseReport::measure(const QString &text) const
{
    const QPaintDevice *device = measureDevice();
    const double dpi = device && device->logicalDpiX() > 0 ? device->logicalDpiX() : 72.0;
    return metrics().horizontalAdvance(text) / dpi;
}

void TBaseReport::settleCursor() const
{
    if (!m_hasPendingAdvance)
        return;
    m_hasPendingAdvance = false;
    m_cursorX += measure(m_pendingAdvance);
    m_pendingAdvance.clear();
}

void TBaseReport::setCursorX(double x)
{
    m_hasPendingAdvance = false;
    m_pendingAdvance.clear();
    m_cursorX = x;
}

double TBaseReport::LineHeight()
{
    switch (m_lineHeightMethod) {
    case lhmFont: {
        const QPaintDevice *device = measureDevice();
        const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72.0;
        return metrics().lineSpacing() / dpi;
    }
    case lhmUser:
        return m_userLineHeight > 0 ? m_userLineHeight : 1.0 / 6.0;
    case lhmLinesPerInch:
        break;
    }
    return 1.0 / m_linesPerInch;
}

double TBaseReport::FontHeight()
{
    const QPaintDevice *device = measureDevice();
    const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72.0;
    return metrics().height() / dpi;
}

double TBaseReport::FontDescent()
{
    const QPaintDevice *device = measureDevice();
    const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 72.0;
    return metrics().descent() / dpi;
}

// --- Drawing -------------------------------------------------------------------------------

void TBaseReport::DrawRectangle(double x1, double y1, double x2, double y2)
{
    if (m_sink)
        m_sink->rectangle({x1, y1, x2, y2});
}

void TBaseReport::DrawRoundRect(double x1, double y1, double x2, double y2, double cornerWidth,
                                double cornerHeight)
{
    if (m_sink)
        m_sink->roundRect({x1, y1, x2, y2}, cornerWidth, cornerHeight);
}

void TBaseReport::DrawEllipse(double x1, double y1, double x2, double y2)
{
    if (m_sink)
        m_sink->ellipse({x1, y1, x2, y2});
}

void TBaseReport::MovePenTo(double x, double y)
{
    m_penX = x;
    m_penY = y;
}

void TBaseReport::DrawLineTo(double x, double y)
{
    if (m_sink)
        m_sink->line(m_penX, m_penY, x, y);
    m_penX = x;
    m_penY = y;
}

TInchRect TBaseReport::InchRect(double x1, double y1, double x2, double y2) const
{
    return {x1, y1, x2, y2};
}

void TBaseReport::DrawTextInRect(const TInchRect &rect, double x, double y, const QString &text)
{
    drawText(x, y, text, &rect);
}

void TBaseReport::DrawBitmapInRect(double x1, double y1, double x2, double y2, const QImage &bitmap)
{
    if (m_sink)
        m_sink->bitmap({x1, y1, x2, y2}, bitmap);
}

void TBaseReport::DrawGraphicInRect(const TInchRect &rect, const QPicture &graphic)
{
    if (m_sink)
        m_sink->graphic(rect, graphic);
}

void TBaseReport::drawText(double x, double y, const QString &text, const TInchRect *clip)
{
    if (m_sink && !text.isEmpty())
        m_sink->text(clip != nullptr, clip ? *clip : TInchRect{}, x, y, text);
}

void TBaseReport::TextAtLeft(const QString &text, double x)
{
    drawText(x, m_cursorY, text, nullptr);
    setCursorX(x);
    if (!text.isEmpty()) {
        m_pendingAdvance = text;
        m_hasPendingAdvance = true;
    }
}

void TBaseReport::TextCentredOn(const QString &text, double x)
{
    const double w = MeasureText(text);
    drawText(x - w / 2.0, m_cursorY, text, nullptr);
    setCursorX(x + w / 2.0);
}

void TBaseReport::TextRightAlignedAt(const QString &text, double x)
{
    drawText(x - MeasureText(text), m_cursorY, text, nullptr);
    setCursorX(x);
}

void TBaseReport::TextBlock(const QString &text, double x, double width)
{
    const TInchRect clip{x, m_cursorY, x + width, m_cursorY + LineHeight()};
    drawText(x, m_cursorY, text, &clip);
    setCursorX(x + width);
}

// --- Text flow -----------------------------------------------------------------------------

void TBaseReport::Section(double left, double right, double top, double bottom)
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

void TBaseReport::MoveCursor(double x, double y)
{
    setCursorX(x);
    m_cursorY = y;
    m_tabIndex = -1;
}

void TBaseReport::CursorHome()
{
    MoveCursor(m_sectionLeft, m_sectionTop);
}

void TBaseReport::NextLine()
{
    MoveCursor(m_sectionLeft, m_cursorY + LineHeight());
}

int TBaseReport::LinesLeftInSection()
{
    const double h = LineHeight();
    if (h <= 0)
        return 0;
    // A line counts when it fits to within a millionth of an inch (sums of line heights drift).
    const double lines = std::floor((m_sectionBottom - m_cursorY) / h + 1e-6);
    return lines > 0 ? static_cast<int>(lines) : 0;
}

void TBaseReport::ClearTabStops()
{
    m_tabs.clear();
    m_tabIndex = -1;
}

void TBaseReport::AddTabStop(TTabJustify justify, double position, double width, double margin, int boxLines,
                             int shade)
{
    TTabStop tab;
    tab.justify = justify;
    if (position < 0)
        position = m_tabs.empty() ? m_sectionLeft : m_tabs.back().left + m_tabs.back().width;
    tab.left = position;
    tab.width = width < 0 ? 0 : width;
    tab.margin = HundredthsOfInch(margin).toInches().value;
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
    const double top = m_cursorY;
    const double bottom = m_cursorY + LineHeight();
    const double right = tab.left + tab.width;
    if (tab.shade > 0) {
        const int grey = 255 - (255 * tab.shade + 50) / 100;
        m_sink->setPen(TPenSpec{qRgb(0, 0, 0), TPenStyle::Clear, 1, TPenMode::Copy});
        m_sink->setBrush(TBrushSpec{qRgb(grey, grey, grey), TBrushStyle::Solid, QImage()});
        m_sink->rectangle({tab.left, top, right, bottom});
        m_sink->setPen(m_pen);
        m_sink->setBrush(m_brush);
    }
    if (tab.boxLines & BOXLINELEFT)
        m_sink->line(tab.left, top, tab.left, bottom);
    if (tab.boxLines & BOXLINERIGHT)
        m_sink->line(right, top, right, bottom);
    if (tab.boxLines & BOXLINETOP)
        m_sink->line(tab.left, top, right, top);
    if (tab.boxLines & BOXLINEBOTTOM)
        m_sink->line(tab.left, bottom, right, bottom);
}

void TBaseReport::writeSegment(const QString &text)
{
    if (m_tabIndex < 0 || m_tabIndex >= static_cast<int>(m_tabs.size())) {
        if (!text.isEmpty())
            TextAtLeft(text, CursorX());
        return;
    }
    const TTabStop &tab = m_tabs[static_cast<size_t>(m_tabIndex)];
    const double inLeft = tab.left + tab.margin;
    const double inRight = tab.left + tab.width - tab.margin;
    const TInchRect cell{tab.left, m_cursorY, tab.left + tab.width, m_cursorY + LineHeight()};
    const double w = text.isEmpty() ? 0.0 : MeasureText(text);
    double x = inLeft;
    if (tab.justify == pjRight)
        x = inRight - w;
    else if (tab.justify == pjCenter)
        x = (inLeft + inRight - w) / 2.0;
    drawText(x, m_cursorY, text, &cell);
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
