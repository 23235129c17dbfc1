// A designed report printed over the records of an address table: the header and footer
// bands on every page, the detail band once per record and, when used, the record's memo
// word-wrapped in the memo band, continuing on following pages; each band with its shading
// and frame. Drawn through any print job. The window or batch run that runs the job owns this
// object and the three band surfaces (loaded from the report's layout file) for the run.
#pragma once

#include "TReportSettings.h"
#include "Units.h"

#include <QStringList>

#include <functional>

class TAddressTable;
class TBaseReport;
class TGBasePanel;
class TGDataPanel;

struct TUserDefinedReportOptions {
    // "One Record Per Page": a new page after each record but the last.
    bool oneRecordPerPage = false;
    // "Only current record": the run prints the record it starts at and no other.
    bool singleRecord = false;
};

class TUserDefinedReport
{
public:
    // Band edges lie this far outside the section: the section is inset from the band strip.
    static constexpr double kBandInset = 0.125;
    // A custom page larger than this either way is taken as damaged.
    static constexpr double kLargestPaperInches = 100.0;

    // `table`, the bands and `settings` (lengths in pixels at its pixels per inch, which the
    // bands were loaded at) must outlive the run. The detail band reads its values from the
    // data set it was given; the run marks it printing.
    TUserDefinedReport(TAddressTable &table, const TReportSettings &settings, TGBasePanel &header,
                       TGDataPanel &detail, TGBasePanel &footer, TUserDefinedReportOptions options = {});

    // The paper of the report's page: Letter (code 1) or A4 (code 9) in the orientation its
    // size gives, else a custom size of the page's width and height, portrait (between 1 and
    // 100 inches each way; another size keeps the job's paper).
    static void setPaper(TBaseReport &job, const TReportSettings &settings);

    // Read before each record and memo block; true ends the run there (the preview's Stop).
    void setStopFlag(std::function<bool()> isStopped) { m_isStopped = std::move(isStopped); }
    // Sets the job's units and callbacks (before the job, the body, each new page) and clears
    // the others. Requires: the job outlives the run and is not running.
    void attach(TBaseReport &job);
    int printedRecords() const { return m_printed; }

    void BeforePrintReport(TBaseReport &job);
    void PrintTheReport(TBaseReport &job);
    // At each new page once the body has started: header and footer bands, then y at the top.
    void PrintHeaderFooter(TBaseReport &job);
    // The memo band of the current record: as many lines as fit, a new page, and on. A fresh
    // page takes at least one line, so a line taller than the section cannot loop for ever.
    void PrinttheMemo(TBaseReport &job, const QString &memo);

    // The lines a memo wraps into at the memo band's width in the memo font.
    static QStringList memoLines(const QString &memo, const TReportSettings &settings);
    // Shading and frame of a band over the rectangle, inches.
    static void drawBand(TBaseReport &job, const TReportBandFrame &frame, InchPoint topLeft,
                         InchPoint bottomRight);

private:
    Inches in(int pixels) const { return Inches(m_settings.inches(pixels)); }
    bool stopped(const TBaseReport &job) const;
    void selectMemoFont(TBaseReport &job);

    TAddressTable &m_table;
    TReportSettings m_settings;
    TGBasePanel &m_header;
    TGDataPanel &m_detail;
    TGBasePanel &m_footer;
    TUserDefinedReportOptions m_options;
    std::function<bool()> m_isStopped;
    bool m_started = false;
    Inches m_y;
    int m_printed = 0;
};
