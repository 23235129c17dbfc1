#include "TReportsBatch.h"

#include "TAddressSession.h"
#include "TBatchArguments.h"
#include "TBatchRecords.h"
#include "TBuiltInReport.h"
#include "TPaperSizes.h"
#include "TPdfPrinterService.h"
#include "TReportBands.h"
#include "TReportDefinitions.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TUserDefinedReport.h"

#include <QFileInfo>
#include <QTextStream>

namespace {

QString usage()
{
    return QStringLiteral(
        "usage: corvantis-batch reports --report 1..4|NAME [--file PATH] "
        "[--filter FILE.FLT | --tagged | --all | --only-current] [--current] [--title TEXT] "
        "[--memo] [--codes] [--a4] [--one-per-page] --pdf OUT");
}

} // namespace

bool TReportsBatch::parse(const QStringList &args, TReportsBatchOptions &options, QString &error)
{
    TBatchArguments arguments;
    arguments.custom("--report", [&options](const QString &r, QString &refused) {
        bool isNumber = false;
        const int n = r.toInt(&isNumber);
        const int item = int(TBuiltInReport::reportNames().indexOf(r));
        if (isNumber && n >= 1 && n <= 4)
            options.report = n;
        else if (item >= 0)
            options.report = item + 1;
        else if (!isNumber && !r.trimmed().isEmpty())
            options.designed = r;
        else {
            refused = QStringLiteral("unknown report: ") + r;
            return false;
        }
        return true;
    });
    arguments.value("--file", options.file);
    arguments.value("--filter", options.filterFile, true);
    arguments.flag("--tagged", options.tagged, true);
    const auto records = [&options](TRecordChoice choice) {
        return [&options, choice](const QString &, QString &) {
            options.records = choice;
            return true;
        };
    };
    arguments.flagUsing("--all", records(TRecordChoice::All), true);
    arguments.flagUsing("--only-current", records(TRecordChoice::OnlyCurrent), true);
    arguments.flag("--one-per-page", options.oneRecordPerPage);
    arguments.flag("--current", options.startFromCurrent);
    arguments.value("--title", options.title);
    arguments.flag("--memo", options.printMemo);
    arguments.flag("--codes", options.printCodes);
    arguments.flag("--a4", options.a4);
    arguments.value("--pdf", options.pdf);
    arguments.excludeEachOther(
        QStringLiteral("--filter, --tagged, --all and --only-current exclude each other"));
    if (!arguments.parse(args, error))
        return false;
    if (options.pdf.isEmpty()) {
        error = QStringLiteral("--pdf is missing");
        return false;
    }
    return true;
}

int TReportsBatch::print(TAddressSession &session, const TReportsBatchOptions &options, QString &error)
{
    if (!session.isOpen()) {
        error = QStringLiteral("No address file is open");
        return -1;
    }
    if (!options.designed.isEmpty())
        return printDesigned(session, options, error);
    TPdfPrinterService service(options.pdf);
    if (options.a4)
        (void)service.setPaperSize(TPaperSizes::kA4, {}); // A4 is always available on a PDF
    TReportPrinter job(service);
    job.setTitle(QStringLiteral("Corvantis"));

    TReportRun run(session);
    const TOutputStart start =
        run.start(TBuiltInReport::orderTag(options.report), {options.records, options.startFromCurrent});
    if (!start.result.ok) {
        error = start.result.message;
        return -1;
    }
    TBuiltInReportOptions report;
    report.report = options.report;
    report.title = options.title.isEmpty() ? TBuiltInReport::defaultTitle(options.report) : options.title;
    report.printMemo = options.printMemo;
    report.printCodes = options.printCodes;
    report.singleRecord = options.records == TRecordChoice::OnlyCurrent;
    TBuiltInReport body(session.table(), report);
    body.attach(job);
    job.RunJob();
    if (job.IsAborted()) {
        error = QStringLiteral("Unable to write ") + options.pdf;
        return -1;
    }
    return job.PageNumber();
}

int TReportsBatch::printDesigned(TAddressSession &session, const TReportsBatchOptions &options,
                                 QString &error)
{
    TReportDefinitions definitions;
    const TResult opened = definitions.open(options.programFolder);
    if (!opened) {
        error = opened.message;
        return -1;
    }
    const int row = definitions.find(options.designed);
    if (row < 0) {
        error = QStringLiteral("unknown report: ") + options.designed;
        return -1;
    }
    // No screen: lengths are read at the resolution the memo's wrapping is measured at.
    TReportBands bands(int(TBuiltInReport::kScreenDpi), &session.table());
    const TResult loaded = bands.load(definitions, definitions.rows().at(row));
    definitions.close();
    if (!loaded) {
        error = loaded.message;
        return -1;
    }
    TPdfPrinterService service(options.pdf);
    TReportPrinter job(service);
    job.setTitle(QStringLiteral("Corvantis"));
    TUserDefinedReport::setPaper(job, bands.settings);

    TReportRun run(session);
    const TOutputStart start = run.start(QString(), {options.records, options.startFromCurrent});
    if (!start.result.ok) {
        error = start.result.message;
        return -1;
    }
    TUserDefinedReportOptions o;
    o.oneRecordPerPage = options.oneRecordPerPage;
    o.singleRecord = options.records == TRecordChoice::OnlyCurrent;
    TUserDefinedReport body(session.table(), bands.settings, bands.header, bands.detail, bands.footer, o);
    body.attach(job);
    job.RunJob();
    if (job.IsAborted()) {
        error = QStringLiteral("Unable to write ") + options.pdf;
        return -1;
    }
    return job.PageNumber();
}

int TReportsBatch::run(const QStringList &args, const QString &programFolder, QTextStream &out,
                       QTextStream &err)
{
    TReportsBatchOptions options;
    if (const int started = TBatchRun::start(args, usage(), out, err,
                                             [&](QString &refused) { return parse(args, options, refused); });
        started >= 0)
        return started;
    QString error;
    const QString folder = TBatchRun::folderOf(programFolder);
    options.programFolder = folder;
    TAddressSession session(folder + QStringLiteral("CORVAN.ini"));
    session.loadSettings();
    if (!TBatchRecords::open(session, options.file, options.filterFile, options.tagged, error)) {
        err << error << '\n';
        return 1;
    }
    const int pages = print(session, options, error);
    if (pages < 0) {
        err << error << '\n';
        return 1;
    }
    out << pages << (pages == 1 ? " page" : " pages") << " written to " << options.pdf << '\n';
    return 0;
}
