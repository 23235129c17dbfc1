// Times the print engine on a large job: 100 pages of 3,000 text items each, recorded for
// the preview and then printed to a PDF file, and the preview turning a page (playing one
// recorded page onto a screen picture). Prints one line per figure, in CPU time.
#include "TFilePrinter.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kPages = 100;
constexpr int kRows = 100;
constexpr int kColumns = 30;

// 100 rows of 30 short texts: 3,000 items a page, the density of a full label sheet's fields.
void bigJob(TBaseReport &job)
{
    job.SelectFont(QStringLiteral("Arial"), 5);
    for (int page = 1; page <= kPages; ++page) {
        if (page > 1)
            job.StartNewPage();
        for (int row = 0; row < kRows; ++row) {
            job.MoveCursor({Inches(0.25), Inches(0.5 + row * 0.1)});
            for (int col = 0; col < kColumns; ++col)
                job.TextAtLeft(QString::number(page * 10000 + row * 100 + col), Inches(0.25 + col * 0.26));
        }
    }
}

// CPU time of this process: other programs sharing the machine do not count.
class CpuTimer
{
public:
    CpuTimer() { restart(); }
    void restart() { m_start = now(); }
    double ms() const { return now() - m_start; }

private:
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    double m_start = 0;
};

double ms(const CpuTimer &t)
{
    return t.ms();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("bench.pdf"));

    CpuTimer total;
    CpuTimer t;
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = bigJob;
    filer.RunJob();
    const double recordMs = ms(t);

    t.restart();
    TPdfPrinterService service(pdf);
    const TPrintResult printed = TFilePrinter::print(stream, service, QStringLiteral("Corvantis"));
    const double printMs = ms(t);
    const double totalMs = ms(total);
    if (!printed.ok()) {
        std::printf("printing failed: %s\n", qPrintable(printed.message()));
        return 1;
    }
    std::printf("%-56s %10.1f ms\n", "record 100 pages x 3000 texts", recordMs);
    std::printf("%-56s %10.1f ms\n", "print the recording to PDF", printMs);
    std::printf("%-56s %10.1f ms  (limit 2000)\n", "record + print to PDF", totalMs);
    std::printf("%-56s %10.1f MB / %.1f MB\n", "recording size / PDF size", stream.size() / 1e6,
                QFileInfo(pdf).size() / 1e6);

    t.restart();
    TRecordingReader reader;
    if (!reader.open(stream).ok())
        return 1;
    std::printf("%-56s %10.1f ms\n", "open and check the recording", ms(t));

    for (double zoom : {100.0, 150.0, 200.0}) {
        double worst = 0, sum = 0;
        for (int page = 0; page < 20; ++page) {
            t.restart();
            const QImage image = reader.renderPage(page * 5, 96.0 * zoom / 100.0);
            const double m = ms(t);
            worst = std::max(worst, m);
            sum += m;
        }
        std::printf(
            "preview page turn at %3.0f%% (96 dpi screen): mean %6.1f ms, worst %6.1f ms  (limit 50)\n", zoom,
            sum / 20, worst);
    }
    return 0;
}
