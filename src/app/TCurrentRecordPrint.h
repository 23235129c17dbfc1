// The one-record printout ("Print Current Record"): the chosen fields of the current record,
// one line each with its label in bold, then the memo word-wrapped, under a header with the
// page number and the time on every page. Drawn through any print job (printer, PDF file or
// the preview's recording); the window that runs the job owns this object for the run.
#pragma once

#include "TCurrentRecordValues.h"
#include "TDrawSink.h"

#include <QStringList>
#include <QTime>

#include <array>
#include <functional>

class TBaseReport;

// The fields the printout can hold, in printed order.
enum class TRecordField {
    Prefix,
    Last,
    First,
    Middle,
    Title,
    Organization,
    Address1,
    Address2,
    City,
    State,
    Zip,
    Country,
    Phone1,
    Phone2,
    Fax,
    EMail,
    Comment1,
    Comment2,
    Codes,
    Date,
};

// What the user chose: each field's line and the memo. Everything is chosen at first.
struct TCurrentRecordChoices {
    static constexpr int kFieldCount = 20;
    std::array<bool, kFieldCount> fields;
    bool memo = true;

    TCurrentRecordChoices() { fields.fill(true); }
    bool has(TRecordField field) const { return fields[static_cast<size_t>(field)]; }
    void set(TRecordField field, bool on) { fields[static_cast<size_t>(field)] = on; }
    // Every field and the memo off.
    static TCurrentRecordChoices none();
};

class TCurrentRecordPrint
{
public:
    // The printed label of a field and the record value it shows.
    struct Line {
        TRecordField field;
        const char *label;
        const char *valueName; // a stored field or `DisplayDate`
    };
    // All lines in printed order.
    static const std::array<Line, TCurrentRecordChoices::kFieldCount> &lines();

    // Page set-up: the font, the margins in inches and the two tab stops (inches from the
    // left margin, widths; the tab margin is in hundredths of an inch).
    static constexpr double kMarginInches = 1.0;
    static constexpr double kHeaderTopInches = 0.5;
    static constexpr double kLabelTabWidth = 1.25;
    static constexpr double kValueTabWidth = 5.25;
    static constexpr double kTabMargin = 2;
    // The memo is wrapped the way a text box of the printed width wraps it on the screen.
    static constexpr double kScreenDpi = 96.0;

    TCurrentRecordPrint(TCurrentRecordValues record, TCurrentRecordChoices choices);

    // The time the header shows; the clock's time of the run when not set.
    void setTime(const QTime &time) { m_time = time; }
    // Read before each printed line; true ends the run there (the preview's Stop).
    void setStopFlag(std::function<bool()> isStopped) { m_isStopped = std::move(isStopped); }

    // Sets the job's margins and its callbacks (before the job, the body, the page header) and
    // clears the others. Requires: the job outlives the run and is not running.
    void attach(TBaseReport &job);

    // The memo as printed lines: each paragraph (CR LF, LF or CR ends one) wrapped at word
    // boundaries, a word wider than the line broken inside, to `widthInches` measured with
    // `font` at `dotsPerInch`. A memo of one line that is empty or only blanks gives no lines.
    // Other control characters (TAB among them) become blanks, as they do in printed values.
    static QStringList wrapMemo(const QString &memo, const TFontSpec &font, double widthInches,
                                double dotsPerInch = kScreenDpi);

    // The parts of the run, public for callers that draw the printout into a job of their own.
    void setUp(TBaseReport &job) const;
    void printHeader(TBaseReport &job) const;
    void printBody(TBaseReport &job) const;

private:
    bool stopped(const TBaseReport &job) const;
    // Starts a new page (with its header) when no whole line is left.
    void makeRoom(TBaseReport &job) const;

    TCurrentRecordValues m_record;
    TCurrentRecordChoices m_choices;
    QTime m_time;
    std::function<bool()> m_isStopped;
};
