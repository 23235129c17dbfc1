// The four built-in columnar reports over the records of an address table: a page header with
// the title, the page number, the date and the column headings, then one line (report 4: three
// lines) per record, each value clipped to its column, optionally followed by the record's codes
// and its memo word-wrapped. Drawn through any print job (printer, PDF file or the preview's
// recording). The window or batch run that runs the job owns this object for the run.
#pragma once

#include "TDrawSink.h"
#include "Units.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class TAddressTable;
class TBaseReport;

// What the user chose for a built-in report run.
struct TBuiltInReportOptions {
    int report = 1; // 1 to 4
    QString title = QStringLiteral("Report 1");
    bool printMemo = false;
    bool printCodes = false;
    QDate date; // the date under the page number; today when not valid
    // "Only current record": the run prints the record it starts at and no other.
    bool singleRecord = false;
};

// The values of one record that the reports print, read by field name.
struct TReportRecord {
    QString lname, fname, middle, prefix, title, org, street, city, state, zip, country, phone, fax, email,
        date, codes, memo;
};

class TBuiltInReport
{
public:
    // The items of "Select Report:", in order.
    static const QStringList &reportNames();
    // The index tag a report sorts by ("LNAME", report 3 "ORG"). Requires: 1 <= report <= 4.
    static QString orderTag(int report);
    // The default title of a report: "Report " + its number.
    static QString defaultTitle(int report);

    // Page set-up, inches.
    static constexpr double kLeftMargin = 1.0;
    static constexpr double kOtherMargins = 0.5;
    // The paper the columns were made for; narrower paper gets its columns scaled to fit.
    static constexpr double kDesignedPaperWidth = 8.5;
    // Each value is clipped this much short of its column's end.
    static constexpr double kColumnGap = 0.2;
    // The memo wraps this much short of the section's width.
    static constexpr double kMemoIndent = 0.25;
    // The memo wraps as a text box of the wrap width wraps it on the screen.
    static constexpr double kScreenDpi = 96.0;

    // `table` must outlive the run; the run walks it from its current record to its end.
    TBuiltInReport(TAddressTable &table, TBuiltInReportOptions options);

    // Read before each record and memo line; true ends the run there (the preview's Stop).
    void setStopFlag(std::function<bool()> isStopped) { m_isStopped = std::move(isStopped); }

    // Sets the job's units and callbacks (BeforePrintReport before the job, the report's body)
    // and clears the others. Requires: the job outlives the run and is not running.
    void attach(TBaseReport &job);

    // The records printed by the last run.
    int printedRecords() const { return m_printed; }

    // Before the job: margins and section back to 0.5 inch, the status line's format.
    void BeforePrintReport(TBaseReport &job);
    // The bodies and page headers of the four reports.
    void PrintReport1(TBaseReport &job) { printBody(job, 1); }
    void PrintReport2(TBaseReport &job) { printBody(job, 2); }
    void PrintReport3(TBaseReport &job) { printBody(job, 3); }
    void PrintReport4(TBaseReport &job) { printBody(job, 4); }
    void HeaderFooter1(TBaseReport &job) { printHeader(job, 1); }
    void HeaderFooter2(TBaseReport &job) { printHeader(job, 2); }
    void HeaderFooter3(TBaseReport &job) { printHeader(job, 3); }
    void HeaderFooter4(TBaseReport &job) { printHeader(job, 4); }
    // The codes and the memo of the current record, after its lines.
    void HandleCodesAndMemo(TBaseReport &job, const TReportRecord &record);

    // The texts of a record's lines.
    // Reports 1 to 3: "Last, First M." with the parts that are empty left out at the front.
    static QString nameText(const TReportRecord &r);
    // Report 1: "City, ST  ZIP ".
    static QString cityLine(const TReportRecord &r);
    // Report 4, first line: "Last, Prefix First M.", empty without a last name.
    static QString fullNameText(const TReportRecord &r);
    // Report 4: "Title, Org", the organization alone, or nothing without one.
    static QString titleAndOrg(const TReportRecord &r);
    // Report 4: "City, ST, ZIP".
    static QString cityStateZip(const TReportRecord &r);
    // Report 4: "Ph: phone  Fax: fax  ".
    static QString phoneAndFax(const TReportRecord &r);

    // The four column widths of a report, inches, as designed. Requires: 1 <= report <= 4.
    static std::array<double, 4> columnWidths(int report);
    // The factor the columns are scaled by on a page `pageWidth` wide whose section is
    // `sectionWidth` wide: 1 on paper as wide as Letter or wider, else at most what makes the
    // columns fit the section.
    static double columnScale(int report, Inches pageWidth, Inches sectionWidth);

private:
    void printBody(TBaseReport &job, int report);
    void printHeader(TBaseReport &job, int report);
    void setColumns(TBaseReport &job, int report);
    void newPage(TBaseReport &job);
    void setSpanningTab(TBaseReport &job);
    bool stopped(const TBaseReport &job) const;
    // Finds the fields the report prints in the open table, once per run.
    void findFields();
    TReportRecord readRecord() const;
    // Draws `text` at the cursor in column `column` (0-based), clipped to `width` less the gap.
    // A text that fits waits in the line's texts, drawn by endLine or before the next clipped one.
    void cell(TBaseReport &job, int column, Inches width, const QString &text);
    // Draws the line's waiting texts, in one go.
    void drawLine(TBaseReport &job);
    // drawLine, then the job's next line.
    void endLine(TBaseReport &job);
    Inches column(int index) const { return m_columns[size_t(index)]; }
    // The width of `text` in the job's font, from a table of character widths kept per font.
    Inches textWidth(TBaseReport &job, const QString &text);

    TAddressTable &m_table;
    TBuiltInReportOptions m_options;
    std::function<bool()> m_isStopped;
    std::array<Inches, 4> m_columns{}; // the left edges of the columns
    std::array<Inches, 4> m_widths{};  // their widths
    double m_scale = 1.0;
    int m_printed = 0;
    QString m_dateText; // the date under the page number, fixed for the run
    // The engine's index of each field of TReportRecord but the memo (-1 when the table has
    // none), in the order of readRecord().
    std::array<int, 16> m_fields{};
    std::vector<TTextAt> m_line; // texts of the current line that fit their columns

    std::array<double, 256> m_advances{}; // inches, for the characters below 256
    TFontSpec m_advanceFont;
    bool m_hasAdvances = false;
};
