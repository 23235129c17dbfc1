// Times the built-in report 1 over 200,000 generated address records printed to a PDF file,
// with the process's resident memory before and after (it is to stay flat: pages go to the file
// as they are made), and the ZIP code count over the same records: the tally, the report lines
// and the report printed to PDF. Prints one line per figure, in CPU time.
#include "AddressGenerator.h"
#include "TAddressSession.h"
#include "TBuiltInReport.h"
#include "TPdfPrinterService.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TZipCodeCount.h"
#include "TZipCountReport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

constexpr uint32_t kRecords = 200000;

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// Resident memory now, in MiB, from /proc/self/statm.
double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : -1;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    // REPORT_BENCH_KEEP=1 keeps the generated file and the PDFs for a look afterwards.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("REPORT_BENCH_KEEP"));
    if (!dir.autoRemove())
        std::printf("files kept in %s\n", qPrintable(dir.path()));
    const QString folder = dir.path();
    const QString path = folder + QStringLiteral("/DATA/ADD0001.DBF");
    QDir().mkpath(folder + QStringLiteral("/DATA"));
    if (!AddressGenerator::writeFile(path.toStdString(), kRecords))
        return 1;

    TAddressSession session(folder + QStringLiteral("/CORVAN.ini"));
    session.loadSettings();
    if (session.open(path).outcome != TOpenOutcome::Opened) {
        std::fprintf(stderr, "cannot open the generated file\n");
        return 1;
    }

    // Report 1 over every visible record.
    {
        const QString pdf = folder + QStringLiteral("/report1.pdf");
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TReportRun run(session);
        (void)run.start(TBuiltInReport::orderTag(1), {TRecordChoice::All, false}); // a fresh file: it starts
        TBuiltInReport body(session.table(), {});
        body.attach(job);
        const double before = residentMiB();
        const double start = cpuMs();
        job.RunJob();
        const double took = cpuMs() - start;
        const double after = residentMiB();
        std::printf("report 1, %d records, %d pages to PDF (%.1f MiB): %.0f ms CPU\n", body.printedRecords(),
                    job.PageNumber(), QFileInfo(pdf).size() / (1024.0 * 1024.0), took);
        std::printf("report 1 resident memory: %.1f MiB before, %.1f MiB after\n", before, after);
    }

    // Report 1 recorded for the preview: the report's own work without the PDF writer's.
    {
        QByteArray stream;
        TReportFiler job;
        job.setStream(&stream);
        TReportRun run(session);
        (void)run.start(TBuiltInReport::orderTag(1), {TRecordChoice::All, false}); // as above
        TBuiltInReport body(session.table(), {});
        body.attach(job);
        const double start = cpuMs();
        job.RunJob();
        std::printf("report 1 recorded for the preview, %d pages (%.1f MiB): %.0f ms CPU\n", job.PageNumber(),
                    stream.size() / (1024.0 * 1024.0), cpuMs() - start);
    }

    // The ZIP code count: tally, report lines and the report to PDF.
    {
        const double start = cpuMs();
        TZipCodeCount count;
        const TResult counted = count.DoTheSort(session.table(), TProgress::none());
        const double tallied = cpuMs();
        const QStringList lines = count.reportLines();
        const QString pdf = folder + QStringLiteral("/zip.pdf");
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TZipCountReport report(lines);
        report.attach(job);
        job.RunJob();
        const double done = cpuMs();
        if (!counted.ok)
            return 1;
        std::printf("zip count, %lld records, %lld lines, %d pages: tally %.0f ms, lines and PDF %.0f ms, "
                    "total %.0f ms CPU\n",
                    static_cast<long long>(count.total()), static_cast<long long>(lines.size()),
                    job.PageNumber(), tallied - start, done - tallied, done - start);
    }
    return 0;
}
