// The reports without a window: `corvantis-batch reports --report 1..4|NAME [--file PATH]
// [--filter FILE.FLT | --tagged | --all | --only-current] [--current] [--title TEXT] [--memo]
// [--codes] [--a4] [--one-per-page] --pdf OUT`. A NAME that is no built-in report is the
// description of a designed report in REPORT.DBF. The same run as the report window's Print,
// written to a PDF file. Stateless; the
// batch program's main hands it the arguments after "reports" and its streams.
#pragma once

#include "TOutputRecords.h"

#include <QString>
#include <QStringList>

class QTextStream;
class TAddressSession;

struct TReportsBatchOptions {
    int report = 1;
    QString designed; // the description of a designed report; empty for a built-in one
    bool oneRecordPerPage = false;
    QString programFolder; // where sysdata/REPORT.DBF is found (designed reports)
    QString file;          // the address file; empty: the first recent file of the settings
    QString filterFile;    // a filter file (".FLT") whose criteria select the records
    bool tagged = false;
    TRecordChoice records = TRecordChoice::MatchingFilter;
    bool startFromCurrent = false;
    QString title; // empty: "Report " + the number
    bool printMemo = false;
    bool printCodes = false;
    bool a4 = false;
    QString pdf;
};

class TReportsBatch
{
public:
    // Reads the arguments after "reports"; false with `error` set for an unknown or incomplete
    // one. The report is its number or the exact text of its item in the report window.
    static bool parse(const QStringList &args, TReportsBatchOptions &options, QString &error);

    // The whole command: parse, open the file (without touching the recent-file list), choose
    // the records, print to the PDF. Messages go to `err`, the page count to `out`. Answers the
    // process's exit code: 0 printed, 1 a failure, 2 wrong arguments.
    static int run(const QStringList &args, const QString &programFolder, QTextStream &out, QTextStream &err);

    // Prints the report over the open file of `session` into `options.pdf`; the table's order,
    // query and record are put back afterwards. Answers the pages printed, or -1 with `error`.
    static int print(TAddressSession &session, const TReportsBatchOptions &options, QString &error);
    // The same for the designed report `options.designed` of REPORT.DBF below
    // `options.programFolder`.
    static int printDesigned(TAddressSession &session, const TReportsBatchOptions &options, QString &error);
};
