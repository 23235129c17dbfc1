// The "Zip Code Count Report": the count lines in four columns per page, odd lines of each
// column shaded, under the title and above the page number, inside a frame with a rule between
// the columns. Drawn through any print job; the window or run that runs the job owns this
// object for the run and keeps the lines alive meanwhile.
#pragma once

#include "Units.h"

#include <QStringList>

#include <functional>

class TBaseReport;

class TZipCountReport
{
public:
    // Inches. The columns were made for paper as wide as Letter; on narrower paper they are
    // narrowed to share the section.
    static constexpr double kMargin = 0.5;
    static constexpr double kTopBottomMargin = 1.0;
    static constexpr double kColumnPitch = 1.875;
    static constexpr double kTabWidth = 0.625;
    static constexpr double kTabMargin = 5; // hundredths
    static constexpr double kDesignedPaperWidth = 8.5;
    static constexpr int kColumns = 4;
    static constexpr int kShadePercent = 5;

    // `lines` must outlive the run.
    explicit TZipCountReport(const QStringList &lines) : m_lines(lines) {}

    // Read before each line; true ends the run there (the preview's Stop).
    void setStopFlag(std::function<bool()> isStopped) { m_isStopped = std::move(isStopped); }

    // Sets the job's units, line height, orientation and callbacks (the status line before the
    // job, the body) and clears the others. Requires: the job outlives the run and is not running.
    void attach(TBaseReport &job);

    void PrintZipReport(TBaseReport &job);
    // The page frame: title, page number, outline and column rules.
    void HeaderFooter(TBaseReport &job);

    // The distance between column origins on a page `pageWidth` wide.
    static Inches columnPitch(Inches pageWidth);

private:
    void setColumnTabs(TBaseReport &job, int column, bool shaded);
    bool stopped(const TBaseReport &job) const;

    const QStringList &m_lines;
    std::function<bool()> m_isStopped;
    Inches m_pitch = Inches(kColumnPitch);
};
