// Envelopes without a window: `corvantis-batch envelopes --setup NAME [--file ADDRESSFILE]
// [--filter FILE.FLT | --tagged | --all] [--start N] (--pdf OUT.pdf | --printer NAME)`. The
// same envelope run as the "Print Envelope" window, over the setup of ENVELOPE.DBF whose
// description is NAME, with the feed settings of the settings file and the printer's
// calibration; the address file is only read. The pre-print check's warnings go to the
// terminal and do not stop the run. The batch program's main hands it the arguments after
// "envelopes", its streams and a way to reach a system printer. Stateless apart from those.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextStream;
class TAddressSession;
class TPrinterService;
class TProgress;

struct TEnvelopesBatchOptions {
    QString setup;      // the DESCRIPT of an ENVELOPE.DBF row
    QString file;       // the address file; empty: the first recent file of the settings
    QString filterFile; // a filter file (".FLT") whose criteria select the records
    bool tagged = false;
    bool all = false;
    int start = 1;   // the first record printed, 1-based, of the records chosen
    QString pdf;     // the PDF file written, or
    QString printer; // the system printer printed on
};

// What a batch run did.
struct TEnvelopesBatchResult {
    int envelopes = -1; // -1: failed, with `error`
    QString error;
    QStringList warnings; // the pre-print check's
};

class TEnvelopesBatch
{
public:
    using PrinterMaker = std::function<std::unique_ptr<TPrinterService>(const QString &name, QString &error)>;

    static QString usage();
    // Reads the arguments after "envelopes"; false with `error` set for an unknown or
    // incomplete one, or for choices that exclude each other.
    static bool parse(const QStringList &args, TEnvelopesBatchOptions &options, QString &error);

    // The whole command: parse, open the file (the recent-file list is left alone), choose the
    // records, print. Warnings and a running page count go to `err`, the result to `out`.
    // Answers 0 printed, 1 a failure, 2 wrong use.
    static int run(const QStringList &args, const QString &programFolder, QTextStream &out, QTextStream &err,
                   const PrinterMaker &printers = {});

    // Prints the envelopes over the open file of `session` with the setups and settings of
    // `programFolder` (with a trailing "/") to `service`; the table's order, query and record
    // are put back afterwards. `progress` gets each page.
    static TEnvelopesBatchResult print(TAddressSession &session, const TEnvelopesBatchOptions &options,
                                       const QString &programFolder, TPrinterService &service,
                                       TProgress &progress);
};
