#include "TUserDefinedReport.h"

#include "TAddressTable.h"
#include "TBaseReport.h"
#include "TCurrentRecordPrint.h"
#include "TGDataPanel.h"
#include "TPaperSizes.h"

#include <algorithm>
#include <cmath>

namespace {

// A font size read from a damaged file stays within what the fonts can be drawn at.
double memoPoints(const TReportSettings &s)
{
    return std::clamp(s.memoFont.size, 1, 1638);
}

} // namespace

TUserDefinedReport::TUserDefinedReport(TAddressTable &table, const TReportSettings &settings,
                                       TGBasePanel &header, TGDataPanel &detail, TGBasePanel &footer,
                                       TUserDefinedReportOptions options)
    : m_table(table), m_settings(settings), m_header(header), m_detail(detail), m_footer(footer),
      m_options(options)
{
}

void TUserDefinedReport::setPaper(TBaseReport &job, const TReportSettings &s)
{
    const TReportPage page = s.page();
    if (page == TReportPage::Custom) {
        job.setOrientation(TBaseReport::poPortrait);
        const double width = s.inches(s.pageWidth);
        const double height = s.inches(s.pageHeight);
        // A size no paper has (a damaged file) leaves the job's paper as it is.
        if (width >= 1.0 && height >= 1.0 && width <= kLargestPaperInches && height <= kLargestPaperInches)
            (void)job.SetPaperSize(0, {Inches(width), Inches(height)});
        return;
    }
    // Any job takes Letter and A4; a printer without them keeps its own paper.
    (void)job.SetPaperSize(TReportSettings::isA4(page) ? 9 : 1, {});
    job.setOrientation(TReportSettings::isLandscape(page) ? TBaseReport::poLandScape
                                                          : TBaseReport::poPortrait);
}

void TUserDefinedReport::attach(TBaseReport &job)
{
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setLineHeightMethod(TBaseReport::lhmFont);
    job.OnBeforePrint = [this](TBaseReport &r) { BeforePrintReport(r); };
    job.OnPrint = [this](TBaseReport &r) { PrintTheReport(r); };
    job.OnNewPage = [this](TBaseReport &r) { PrintHeaderFooter(r); };
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnPrintPage = nullptr;
}

void TUserDefinedReport::BeforePrintReport(TBaseReport &job)
{
    m_started = false;
    job.setMarginLeft(Inches(0.5));
    job.setMarginRight(Inches(0.5));
    job.setMarginTop(Inches(0.5));
    job.setMarginBottom(Inches(0.5));
    job.ResetSection();
    job.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    job.StatusText().clear();
    job.StatusText() << QString() << QString();
}

bool TUserDefinedReport::stopped(const TBaseReport &job) const
{
    return job.IsAborted() || job.progress().cancelled() || (m_isStopped && m_isStopped());
}

QStringList TUserDefinedReport::memoLines(const QString &memo, const TReportSettings &s)
{
    TFontSpec font;
    font.name = s.memoFont.name;
    font.points = memoPoints(s);
    font.bold = s.memoFont.bold;
    font.italic = s.memoFont.italic;
    const double width = s.inches(s.pageWidth - s.leftMargin - s.rightMargin);
    return TCurrentRecordPrint::wrapMemo(memo, font, std::max(0.0, width), s.pixelsPerInch());
}

void TUserDefinedReport::drawBand(TBaseReport &job, const TReportBandFrame &frame, InchPoint topLeft,
                                  InchPoint bottomRight)
{
    if (frame.shadePercent > 0) {
        job.SelectPen(frame.shadedFill(), TPenStyle::Clear, 1);
        job.SelectBrush(frame.shadedFill(), TBrushStyle::Solid);
        job.DrawRectangle({topLeft.x + Inches(0.01), topLeft.y + Inches(0.01)}, bottomRight);
        job.SelectBrush(QColor(255, 255, 255), TBrushStyle::Clear);
    }
    if (!frame.left && !frame.top && !frame.right && !frame.bottom)
        return;
    const int width = std::clamp(frame.lineWidth, 1, 3);
    job.SelectPen(QColor(0, 0, 0), TPenStyle::Solid, HundredthsOfInch(width), TPenMode::Copy);
    InchPoint tl = topLeft;
    InchPoint br = bottomRight;
    // A wider line is drawn on its centre, so the rectangle moves in to keep it on the band.
    if (width >= 2) {
        const Inches dx(width / std::max(1.0, job.XDPI()));
        const Inches dy(width / std::max(1.0, job.YDPI()));
        tl = {tl.x + dx, tl.y + dy};
        br = {br.x - dx, br.y - dy};
    }
    if (frame.top) {
        job.MovePenTo(tl);
        job.DrawLineTo({br.x, tl.y});
    }
    if (frame.right) {
        job.MovePenTo({br.x, tl.y});
        job.DrawLineTo(br);
    }
    if (frame.bottom) {
        job.MovePenTo({tl.x, br.y});
        job.DrawLineTo(br);
    }
    if (frame.left) {
        job.MovePenTo(tl);
        job.DrawLineTo({tl.x, br.y});
    }
    job.SelectPen(QColor(0, 0, 0), TPenStyle::Solid, 1);
}

void TUserDefinedReport::PrintHeaderFooter(TBaseReport &job)
{
    if (!m_started)
        return;
    const TReportSettings &s = m_settings;
    const Inches inset(kBandInset);
    const Inches originX = in(s.leftMargin) + inset;
    if (s.headerUsed) {
        const Inches top = job.SectionTop() - in(s.headerHeight);
        drawBand(job, s.frame(TReportBand::Header), {job.SectionLeft() - inset, top},
                 {job.SectionRight() + inset, job.SectionTop()});
        m_header.PrintObjects(job, {originX, top});
    }
    if (s.footerUsed) {
        const Inches top = job.SectionBottom();
        drawBand(job, s.frame(TReportBand::Footer), {job.SectionLeft() - inset, top},
                 {job.SectionRight() + inset, top + in(s.footerHeight)});
        m_footer.PrintObjects(job, {originX, top});
    }
    m_y = job.SectionTop();
}

void TUserDefinedReport::selectMemoFont(TBaseReport &job)
{
    job.SelectFont(m_settings.memoFont.name, memoPoints(m_settings));
    job.SetBold(m_settings.memoFont.bold);
    job.SetItalic(m_settings.memoFont.italic);
}

void TUserDefinedReport::PrinttheMemo(TBaseReport &job, const QString &memo)
{
    selectMemoFont(job);
    const Inches h = job.LineHeight();
    const QStringList lines = memoLines(memo, m_settings);
    const Inches inset(kBandInset);
    qsizetype next = 0;
    // Nothing is printed on a page's section yet while y is at its top.
    const auto onFreshPage = [&] { return m_y.value <= job.SectionTop().value + 1e-9; };
    while (next < lines.size() && !stopped(job)) {
        const auto fitting = [&] {
            return h.value > 0 ? int(std::floor((job.SectionBottom() - m_y).value / h.value + 1e-9)) : 1;
        };
        int n = fitting();
        if (n <= 0 && !onFreshPage()) {
            job.StartNewPage();
            selectMemoFont(job);
            n = fitting();
        }
        // A fresh page holds at least one line, however tall, so the memo always ends.
        n = int(std::min<qsizetype>(std::max(n, 1), lines.size() - next));
        const Inches descent = job.FontDescent();
        const Inches bottom = m_y + descent + h * double(n);
        drawBand(job, m_settings.frame(TReportBand::Memo), {job.SectionLeft() - inset, m_y},
                 {job.SectionRight() + inset, bottom});
        selectMemoFont(job);
        job.MoveCursor({job.SectionLeft(), m_y});
        for (int i = 0; i < n; ++i, ++next) {
            const QString &line = lines.at(next);
            switch (m_settings.memoAlignment) {
            case 1:
                job.TextRightAlignedAt(line, job.SectionRight());
                break;
            case 2:
                job.TextCentredOn(line, (job.SectionLeft() + job.SectionRight()) * 0.5);
                break;
            default:
                job.TextAtLeft(line, job.SectionLeft());
                break;
            }
            job.NextLine();
            m_y = m_y + h;
        }
        m_y = m_y + descent;
        if (next < lines.size()) {
            job.StartNewPage();
            selectMemoFont(job);
        }
    }
}

void TUserDefinedReport::PrintTheReport(TBaseReport &job)
{
    m_printed = 0;
    const TReportSettings &s = m_settings;
    const Inches inset(kBandInset);
    job.setMarginLeft(in(s.leftMargin) + inset);
    job.setMarginRight(in(s.rightMargin) + inset);
    job.setMarginTop(in(s.topMargin) + (s.headerUsed ? in(s.headerHeight) : Inches(0)));
    job.setMarginBottom(in(s.bottomMargin) + (s.footerUsed ? in(s.footerHeight) : Inches(0)));
    job.ResetSection();
    m_detail.setPrinting(true);
    m_started = true;
    PrintHeaderFooter(job);

    const Inches detailHeight = in(s.detailHeight);
    while (m_table.hasRecord() && !stopped(job)) {
        if (s.detailUsed) {
            // A band taller than the section still prints at the top of a fresh page.
            if (job.SectionBottom() - m_y < detailHeight && m_y > job.SectionTop())
                job.StartNewPage();
            drawBand(job, s.frame(TReportBand::Detail), {job.SectionLeft() - inset, m_y},
                     {job.SectionRight() + inset, m_y + detailHeight});
            m_detail.RefreshData();
            m_detail.PrintObjects(job, {in(s.leftMargin) + inset, m_y});
            m_y = m_y + detailHeight;
        }
        if (s.memoUsed)
            PrinttheMemo(job, m_table.memo());
        ++m_printed;
        job.progress().step();
        if (m_options.singleRecord || !m_table.next())
            break;
        if (m_options.oneRecordPerPage)
            job.StartNewPage();
    }
    m_started = false;
}
