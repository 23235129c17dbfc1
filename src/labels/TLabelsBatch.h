// Label sheets without a window: `corvantis-batch labels --setup NAME [--file ADDRESSFILE]
// [--filter FILE.FLT | --tagged | --all] [--presort] [--copies N] [--start N]
// (--pdf OUT.pdf | --printer NAME)`. The same label run as the "Print Labels" window, over the
// setup of LABEL.DBF whose description is NAME; the address file is only read. The batch
// program's main hands it the arguments after "labels", its streams and a way to reach a
// system printer. Stateless apart from those.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextStream;
class TAddressSession;
class TPrinterService;
class TProgress;

struct TLabelsBatchOptions {
    QString setup;      // the DESCRIPT of a LABEL.DBF row
    QString file;       // the address file; empty: the first recent file of the settings
    QString filterFile; // a filter file (".FLT") whose criteria select the records
    bool tagged = false;
    bool all = false;
    bool presort = false;
    int copies = 1;  // 1 to 99
    int start = 1;   // first position used on the first sheet, 1-based
    QString pdf;     // the PDF file written, or
    QString printer; // the system printer printed on
};

class TLabelsBatch
{
public:
    using PrinterMaker = std::function<std::unique_ptr<TPrinterService>(const QString &name, QString &error)>;

    static QString usage();
    // Reads the arguments after "labels"; false with `error` set for an unknown, repeated or
    // incomplete one.
    static bool parse(const QStringList &args, TLabelsBatchOptions &options, QString &error);

    // The whole command: parse, open the file (read only for the run's purposes; the
    // recent-file list is left alone), choose the records, print. Progress goes to `err` as a
    // running page count, the result to `out`. Answers 0 printed, 1 a failure, 2 wrong use.
    static int run(const QStringList &args, const QString &programFolder, QTextStream &out, QTextStream &err,
                   const PrinterMaker &printers = {});

    // Prints the labels over the open file of `session` with the setups of `programFolder`
    // to `service`; the table's order, query and record are put back afterwards. Answers the
    // labels printed, or -1 with `error`. `progress` gets each label and page.
    static int print(TAddressSession &session, const TLabelsBatchOptions &options,
                     const QString &programFolder, TPrinterService &service, TProgress &progress,
                     QString &error);
};
