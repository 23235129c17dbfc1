#include "TEnvelopesBatch.h"

#include "TAddressDataSource.h"
#include "TAddressSession.h"
#include "TBatchArguments.h"
#include "TBatchRecords.h"
#include "TEnvelopePanel.h"
#include "TEnvelopePrePrintCheck.h"
#include "TEnvelopePreferences.h"
#include "TEnvelopeRun.h"
#include "TEnvelopeSetups.h"
#include "TEnvelopeSizes.h"
#include "TGOwner.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TPrinterCalibration.h"
#include "TProgress.h"
#include "TReportPrinter.h"
#include "TReportRun.h"

#include <QTextStream>

#include <limits>

namespace {

// The surface's resolution: no screen takes part, so the designer's 96 pixels per inch.
constexpr double kPixelsPerInch = 96.0;

} // namespace

QString TEnvelopesBatch::usage()
{
    return QStringLiteral(
        "usage: corvantis-batch envelopes --setup NAME [--file ADDRESSFILE] "
        "[--filter FILE.FLT | --tagged | --all] [--start N] (--pdf OUT.pdf | --printer NAME)");
}

bool TEnvelopesBatch::parse(const QStringList &args, TEnvelopesBatchOptions &options, QString &error)
{
    TBatchArguments arguments;
    arguments.value("--setup", options.setup);
    arguments.value("--file", options.file);
    arguments.recordChoice(options.filterFile, options.tagged, options.all);
    arguments.number("--start", 1, std::numeric_limits<int>::max(), options.start,
                     QStringLiteral("--start takes a record number from 1 on"));
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
    return true;
}

TEnvelopesBatchResult TEnvelopesBatch::print(TAddressSession &session, const TEnvelopesBatchOptions &options,
                                             const QString &programFolder, TPrinterService &service,
                                             TProgress &progress)
{
    TEnvelopesBatchResult result;
    TEnvelopeSetups setups;
    const TResult opened = setups.open(programFolder);
    if (!opened) {
        result.error = opened.message;
        return result;
    }
    const TEnvelopeRow *row = nullptr;
    for (const TEnvelopeRow &r : setups.rows())
        if (r.description.trimmed().compare(options.setup.trimmed(), Qt::CaseInsensitive) == 0) {
            row = &r;
            break;
        }
    if (!row) {
        result.error = QStringLiteral("There is no envelope setup ") + options.setup;
        return result;
    }
    // An unknown size code prints as Envelope #10, as the window takes it.
    int code = row->number;
    if (!TEnvelopeSizes::isKnown(code)) {
        result.warnings << TEnvelopeSetups::unknownSizeMessage(row->description);
        code = TEnvelopeSizes::kDefaultCode;
    }
    const InchSize envelope = TEnvelopeSizes::size(code);
    if (!setups.hasLayoutFile(row->binary)) {
        result.error = TEnvelopeSetups::missingLayoutMessage();
        return result;
    }
    TGOwner owner;
    TEnvelopePanel surface(&owner, kPixelsPerInch);
    TAddressDataSource records(session.table());
    surface.setDataSet(&records);
    const TResult loaded = surface.LoadFromFile(setups.layoutPath(row->binary));
    setups.close();
    if (!loaded) {
        surface.ClearObjects();
        result.error = loaded.message;
        return result;
    }
    surface.setSize(Rounding::halfEven(envelope.width.value * kPixelsPerInch),
                    Rounding::halfEven(envelope.height.value * kPixelsPerInch));

    // The table's order, query and record come back when the run goes, however it ends.
    TReportRun tableSide(session);
    const TOutputStart start = tableSide.start(QString(), {TRecordChoice::MatchingFilter, false});
    if (!start.result.ok) {
        result.error = start.result.message;
        return result;
    }
    for (int skip = 1; skip < options.start; ++skip) {
        const TResult moved = session.table().next();
        if (!moved) {
            result.error = moved.isNotFound()
                               ? QStringLiteral("--start is past the last of the records chosen")
                               : moved.message;
            return result;
        }
    }
    if (!session.table().hasRecord()) {
        result.error = QStringLiteral("No records to print");
        return result;
    }

    const TIniFile ini(session.settingsPath());
    TEnvelopeRunOptions o;
    o.envelope = envelope;
    o.feed = TEnvelopePreferences::readFeed(ini);
    o.calibration = TPrinterCalibration::forService(ini, service);
    TReportPrinter job(service);
    if (!TEnvelopeRun::prepareJob(job, code, envelope, o.feed)) {
        result.error = QStringLiteral("The printer takes no paper of the envelope's size");
        return result;
    }
    surface.RefreshData();
    result.warnings << TEnvelopePrePrintCheck::warnings(surface, envelope, job.XDPI());
    TEnvelopeRun run(surface, session.table(), o);
    run.attach(job);
    job.RunJob(progress);
    if (job.IsAborted()) {
        result.error = options.pdf.isEmpty() ? QStringLiteral("Unable to print on ") + options.printer
                                             : QStringLiteral("Unable to write ") + options.pdf;
        return result;
    }
    result.envelopes = run.envelopes();
    return result;
}

int TEnvelopesBatch::run(const QStringList &args, const QString &programFolder, QTextStream &out,
                         QTextStream &err, const PrinterMaker &printers)
{
    TEnvelopesBatchOptions options;
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
    TBatchProgress progress(err, 100, QStringLiteral("pages"));
    const TEnvelopesBatchResult result = print(session, options, folder, *service, progress);
    progress.finish();
    for (const QString &w : result.warnings)
        err << QStringLiteral("warning: ") << w << '\n';
    if (result.envelopes < 0) {
        err << result.error << '\n';
        return 1;
    }
    out << result.envelopes << (result.envelopes == 1 ? " envelope" : " envelopes") << " printed"
        << (options.pdf.isEmpty() ? QString() : QStringLiteral(" to ") + options.pdf) << '\n';
    return 0;
}
