#include "TLabelsBatch.h"

#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TBatchArguments.h"
#include "TBatchRecords.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TIniFile.h"
#include "TLabelRun.h"
#include "TLabelSetups.h"
#include "TPdfPrinterService.h"
#include "TPresortTally.h"
#include "TProgress.h"
#include "TReportPrinter.h"
#include "TReportRun.h"

#include <QTextStream>

namespace {

// The surface's resolution: no screen takes part, so the designer's 96 pixels per inch.
constexpr double kPixelsPerInch = 96.0;

} // namespace

QString TLabelsBatch::usage()
{
    return QStringLiteral("usage: corvantis-batch labels --setup NAME [--file ADDRESSFILE] "
                          "[--filter FILE.FLT | --tagged | --all] [--presort] [--copies N] [--start N] "
                          "(--pdf OUT.pdf | --printer NAME)");
}

bool TLabelsBatch::parse(const QStringList &args, TLabelsBatchOptions &options, QString &error)
{
    TBatchArguments arguments;
    arguments.value("--setup", options.setup);
    arguments.value("--file", options.file);
    arguments.recordChoice(options.filterFile, options.tagged, options.all);
    arguments.flag("--presort", options.presort);
    arguments.number("--copies", 1, 99, options.copies, QStringLiteral("--copies takes 1 to 99"));
    arguments.number("--start", 1, 300, options.start, QStringLiteral("--start takes a position from 1 on"));
    arguments.value("--pdf", options.pdf);
    arguments.value("--printer", options.printer);
    if (!arguments.parse(args, error))
        return false;
    if (options.setup.isEmpty()) {
        error = QStringLiteral("--setup is missing");
        return false;
    }
    if (options.pdf.isEmpty() == options.printer.isEmpty()) {
        error = QStringLiteral("one of --pdf and --printer is needed");
        return false;
    }
    if (options.presort && options.copies > 1) {
        error =
            QStringLiteral("a presorted run prints one label per record: --copies cannot go with --presort");
        return false;
    }
    return true;
}

int TLabelsBatch::print(TAddressSession &session, const TLabelsBatchOptions &options,
                        const QString &programFolder, TPrinterService &service, TProgress &progress,
                        QString &error)
{
    TLabelSetups setups;
    const TResult opened = setups.open(programFolder);
    if (!opened) {
        error = opened.message;
        return -1;
    }
    TLabelSetup setup;
    bool found = false;
    for (const TLabelSetupRow &row : setups.rows())
        if (row.description.compare(options.setup, Qt::CaseInsensitive) == 0) {
            const TResult read = setups.ReadLabelSetup(row.recno, setup);
            if (!read) {
                error = read.message;
                return -1;
            }
            found = true;
            break;
        }
    if (!found) {
        error = QStringLiteral("There is no label setup ") + options.setup;
        return -1;
    }
    if (options.start > setup.labelCount()) {
        error = QStringLiteral("--start is past the sheet's ") + QString::number(setup.labelCount()) +
                QStringLiteral(" positions");
        return -1;
    }
    TGOwner owner;
    TGLabelPanel surface(&owner, kPixelsPerInch);
    TAddressDataSource records(session.table());
    surface.setDataSet(&records);
    const TResult loaded = TLabelRun::loadLayout(surface, setups.layoutPath(setup.Binary));
    setups.close();
    if (!loaded) {
        error = loaded.message;
        return -1;
    }

    // The table's order, query and record come back when the run goes, however it ends.
    TReportRun tableSide(session);
    const TOutputStart start = tableSide.start(QString(), {TRecordChoice::MatchingFilter, false});
    if (!start.result.ok) {
        error = start.result.message;
        return -1;
    }
    TLabelRunOptions o;
    o.setup = setup;
    o.NumberOfEach = options.copies;
    o.startPosition = options.start - 1;
    if (options.presort) {
        TPresortTally tally;
        const TResult counted = tally.run(session.table(), TProgress::none());
        if (!counted) {
            error = counted.message;
            return -1;
        }
        o.presort = true;
        o.presortLines = tally.presortLines();
        o.presortRange = tally.range();
    }
    o.calibration = TPrinterCalibration::forService(TIniFile(session.settingsPath()), service);
    TReportPrinter job(service);
    (void)TLabelRun::prepareJob(job, setup); // a PDF takes any size; a printer prints on what it has
    TLabelRun run(surface, session.table(), o);
    run.attach(job);
    job.RunJob(progress);
    if (!run.result().ok) {
        error = run.result().message;
        return -1;
    }
    if (job.IsAborted()) {
        error = options.pdf.isEmpty() ? QStringLiteral("Unable to print on ") + options.printer
                                      : QStringLiteral("Unable to write ") + options.pdf;
        return -1;
    }
    return run.labels() + run.headers();
}

int TLabelsBatch::run(const QStringList &args, const QString &programFolder, QTextStream &out,
                      QTextStream &err, const PrinterMaker &printers)
{
    TLabelsBatchOptions options;
    if (const int started = TBatchRun::start(args, usage(), out, err,
                                             [&](QString &refused) { return parse(args, options, refused); });
        started >= 0)
        return started;
    QString error;
    const QString folder = TBatchRun::folderOf(programFolder);
    TAddressSession session(folder + QStringLiteral("CORVAN.ini"));
    session.loadSettings();
    if (!TBatchRecords::open(session, options.file, options.filterFile, options.tagged, error)) {
        err << error << '\n';
        return 1;
    }
    const std::unique_ptr<TPrinterService> service =
        TBatchRun::service(options.pdf, options.printer, printers, error);
    if (!service) {
        err << error << '\n';
        return 1;
    }
    TBatchProgress progress(err);
    const int labels = print(session, options, folder, *service, progress, error);
    progress.finish();
    if (labels < 0) {
        err << error << '\n';
        return 1;
    }
    out << labels << (labels == 1 ? " label" : " labels") << " printed"
        << (options.pdf.isEmpty() ? QString() : QStringLiteral(" to ") + options.pdf) << '\n';
    return 0;
}
