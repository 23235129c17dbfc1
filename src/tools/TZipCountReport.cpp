#include "TZipCountReport.h"

#include "TBaseReport.h"

#include <QColor>

namespace {

// The title sits this far above the section's top.
constexpr double kTitleAbove = 0.25;

} // namespace

Inches TZipCountReport::columnPitch(Inches pageWidth)
{
    const Inches section = pageWidth - Inches(2 * kMargin);
    if (pageWidth >= Inches(kDesignedPaperWidth) || section <= Inches(0))
        return Inches(kColumnPitch);
    const Inches share = section / double(kColumns);
    return share < Inches(kColumnPitch) ? share : Inches(kColumnPitch);
}

void TZipCountReport::attach(TBaseReport &job)
{
    job.setUnits(TBaseReport::unInch);
    job.setUnitsFactor(1.0);
    job.setLineHeightMethod(TBaseReport::lhmFont);
    job.setOrientation(TBaseReport::poPortrait);
    job.OnBeforePrint = [](TBaseReport &r) {
        r.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
        r.StatusText().clear();
        r.StatusText() << QString() << QString();
    };
    job.OnPrint = [this](TBaseReport &r) { PrintZipReport(r); };
    job.OnNewPage = nullptr;
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnPrintPage = nullptr;
}

bool TZipCountReport::stopped(const TBaseReport &job) const
{
    return job.IsAborted() || job.progress().cancelled() || (m_isStopped && m_isStopped());
}

void TZipCountReport::setColumnTabs(TBaseReport &job, int column, bool shaded)
{
    const double scale = m_pitch / Inches(kColumnPitch);
    const Inches origin = Inches(kMargin) + m_pitch * double(column);
    const Inches width = Inches(kTabWidth * scale);
    const int shade = shaded ? kShadePercent : 0;
    job.ClearTabStops();
    job.AddTabStop(pjLeft, origin, width, HundredthsOfInch(kTabMargin), BOXLINENONE, shade);
    job.AddTabStop(pjRight, TBaseReport::kTabAfterPrevious, width, HundredthsOfInch(kTabMargin), BOXLINENONE,
                   shade);
    job.AddTabStop(pjLeft, TBaseReport::kTabAfterPrevious, width, HundredthsOfInch(kTabMargin), BOXLINENONE,
                   shade);
}

void TZipCountReport::HeaderFooter(TBaseReport &job)
{
    job.ClearTabStops();
    job.SetBold(true);
    job.MoveCursor({job.MarginLeft(), job.SectionTop() - Inches(kTitleAbove)});
    job.NextLine();
    job.TextAtLeft(QStringLiteral("Zip Code Count Report"), job.MarginLeft());
    job.SetBold(false);
    job.MoveCursor({job.MarginLeft(), job.SectionBottom()});
    job.NextLine();
    job.TextAtLeft(QStringLiteral("Page ") + QString::number(job.PageNumber()), job.MarginLeft());

    const Inches l = job.SectionLeft(), r = job.SectionRight(), t = job.SectionTop(), b = job.SectionBottom();
    job.SelectPen(QColor(0, 0, 0), TPenStyle::Solid, 1);
    job.MovePenTo({l, t});
    job.DrawLineTo({r, t});
    job.DrawLineTo({r, b});
    job.DrawLineTo({l, b});
    job.DrawLineTo({l, t});
    for (int c = 1; c < kColumns; ++c) {
        const Inches x = l + m_pitch * double(c);
        job.MovePenTo({x, t});
        job.DrawLineTo({x, b});
    }
}

void TZipCountReport::PrintZipReport(TBaseReport &job)
{
    job.SelectFont(QStringLiteral("Arial"), 10);
    job.setMarginLeft(Inches(kMargin));
    job.setMarginRight(Inches(kMargin));
    job.setMarginTop(Inches(kTopBottomMargin));
    job.setMarginBottom(Inches(kTopBottomMargin));
    job.Section(job.MarginLeft(), job.PaperWidth() - job.MarginLeft(), job.MarginTop(),
                job.PaperHeight() - job.MarginBottom());
    m_pitch = columnPitch(job.PaperWidth());
    HeaderFooter(job);

    int column = 0;
    int lineInColumn = 0;
    job.MoveCursor({job.SectionLeft(), job.SectionTop()});
    for (const QString &text : m_lines) {
        if (stopped(job))
            return;
        // A fresh column takes its first line even when the section holds none, so paper too
        // short for a line still ends.
        if (lineInColumn > 0 && job.LinesLeftInSection() < 1) {
            if (++column >= kColumns) {
                job.StartNewPage();
                HeaderFooter(job);
                column = 0;
            }
            lineInColumn = 0;
            job.MoveCursor({job.SectionLeft(), job.SectionTop()});
        }
        ++lineInColumn;
        setColumnTabs(job, column, lineInColumn % 2 == 1);
        job.WriteText(QLatin1Char('\t') + text.mid(0, 5).trimmed() + QLatin1Char('\t') +
                      text.mid(5, 12).trimmed() + QLatin1Char('\t'));
        job.NextLine();
        job.progress().step();
    }
}
