// Times the built-in report 1 over 200,000 generated address records printed to a PDF file,
// with the process's resident memory before and after (it is to stay flat: pages go to the file
// as they are made), the same report recorded for the preview, a designed report (a header and a
// detail band of six fields) over the same records to PDF, and the ZIP code count: the tally,
// the report lines and the report printed to PDF. Prints one line per figure, in CPU time and
// wall time. Names on the command line (report1, preview, designed, zip) run only those parts.
#include "AddressGenerator.h"
#include "TAddressSession.h"
#include "TBuiltInReport.h"
#include "TGDataSource.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TPdfPrinterService.h"
#include "TReportBands.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TUserDefinedReport.h"
#include "TZipCodeCount.h"
#include "TZipCountReport.h"

#include <QDir>
#include <QElapsedTimer>
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

// CPU and wall time of one part, from construction.
struct Stopwatch {
    double cpuStart = cpuMs();
    QElapsedTimer wall;
    Stopwatch() { wall.start(); }
    double cpu() const { return cpuMs() - cpuStart; }
    double wallMs() const { return double(wall.nsecsElapsed()) / 1e6; }
};

// Resident memory now, in MiB, from /proc/self/statm.
double residentMiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toDouble() * 4096.0 / (1024.0 * 1024.0) : -1;
}

// A designed report as a user would draw one: the title in the header, and in the detail band
// the name, the street, the city, the ZIP code and the phone side by side.
void designReport(TReportBands &bands)
{
    bands.applySettings();
    const auto draw = [](TReportPanel &band, int tool, const QRect &rect) {
        band.setPanelState(tool);
        band.CreateObject(rect);
        band.setPanelState(TReportPanel::psPointing);
        return band.objects().back();
    };
    static_cast<TGPLabel *>(draw(bands.header, TReportPanel::psLabel, QRect(4, 4, 300, 24)))
        ->setCaption(QStringLiteral("Designed report"));
    const char *const fields[] = {"LNAME", "FNAME", "STREET", "CITY", "ZIP", "PHONE"};
    const int widths[] = {120, 90, 170, 120, 60, 110};
    TGDataSource *data = bands.detail.DataSet();
    int x = 4;
    for (size_t f = 0; f < std::size(fields); ++f) {
        auto *label = static_cast<TGPDLabel *>(
            draw(bands.detail, TReportPanel::psDataLabel, QRect(x, 4, widths[f] - 6, 22)));
        const QString name = QString::fromLatin1(fields[f]);
        for (int i = 0; i < data->fieldCount(); ++i)
            if (data->fieldName(i) == name)
                label->ChooseField(name, data->displayLabel(i));
        x += widths[f];
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QStringList parts = app.arguments().mid(1);
    if (parts.isEmpty())
        parts = {QStringLiteral("report1"), QStringLiteral("preview"), QStringLiteral("designed"),
                 QStringLiteral("zip")};
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
    if (parts.contains(QStringLiteral("report1"))) {
        const QString pdf = folder + QStringLiteral("/report1.pdf");
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TReportRun run(session);
        (void)run.start(TBuiltInReport::orderTag(1), {TRecordChoice::All, false}); // a fresh file: it starts
        TBuiltInReport body(session.table(), {});
        body.attach(job);
        const double before = residentMiB();
        const Stopwatch watch;
        job.RunJob();
        const double took = watch.cpu();
        const double wall = watch.wallMs();
        const double after = residentMiB();
        std::printf("report 1, %d records, %d pages to PDF (%.1f MiB): %.0f ms CPU, %.0f ms wall\n",
                    body.printedRecords(), job.PageNumber(), QFileInfo(pdf).size() / (1024.0 * 1024.0), took,
                    wall);
        std::printf("report 1 resident memory: %.1f MiB before, %.1f MiB after\n", before, after);
    }

    // Report 1 recorded for the preview: the report's own work without the PDF writer's.
    if (parts.contains(QStringLiteral("preview"))) {
        QByteArray stream;
        TReportFiler job;
        job.setStream(&stream);
        TReportRun run(session);
        (void)run.start(TBuiltInReport::orderTag(1), {TRecordChoice::All, false}); // as above
        TBuiltInReport body(session.table(), {});
        body.attach(job);
        const Stopwatch watch;
        job.RunJob();
        std::printf("report 1 recorded for the preview, %d pages (%.1f MiB): %.0f ms CPU, %.0f ms wall\n",
                    job.PageNumber(), stream.size() / (1024.0 * 1024.0), watch.cpu(), watch.wallMs());
    }

    // A designed report over every visible record, in record order, to PDF.
    if (parts.contains(QStringLiteral("designed"))) {
        TReportBands bands(96, &session.table());
        designReport(bands);
        const QString pdf = folder + QStringLiteral("/designed.pdf");
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TUserDefinedReport::setPaper(job, bands.settings);
        TReportRun run(session);
        (void)run.start(QString(), {TRecordChoice::All, false}); // as above
        TUserDefinedReport body(session.table(), bands.settings, bands.header, bands.detail, bands.footer);
        body.attach(job);
        const double before = residentMiB();
        const Stopwatch watch;
        job.RunJob();
        const double took = watch.cpu();
        const double wall = watch.wallMs();
        std::printf("designed report, %d records, %d pages to PDF (%.1f MiB): %.0f ms CPU, %.0f ms wall; "
                    "resident %.1f MiB before, %.1f MiB after\n",
                    body.printedRecords(), job.PageNumber(), QFileInfo(pdf).size() / (1024.0 * 1024.0), took,
                    wall, before, residentMiB());
    }

    // The ZIP code count: tally, report lines and the report to PDF.
    if (parts.contains(QStringLiteral("zip"))) {
        const Stopwatch watch;
        TZipCodeCount count;
        const TResult counted = count.DoTheSort(session.table(), TProgress::none());
        const double tallied = watch.cpu();
        const QStringList lines = count.reportLines();
        const QString pdf = folder + QStringLiteral("/zip.pdf");
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TZipCountReport report(lines);
        report.attach(job);
        job.RunJob();
        const double done = watch.cpu();
        if (!counted.ok)
            return 1;
        std::printf("zip count, %lld records, %lld lines, %d pages: tally %.0f ms, lines and PDF %.0f ms, "
                    "total %.0f ms CPU, %.0f ms wall\n",
                    static_cast<long long>(count.total()), static_cast<long long>(lines.size()),
                    job.PageNumber(), tallied, done - tallied, done, watch.wallMs());
    }
    return 0;
}
