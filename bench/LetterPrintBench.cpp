// Times the letter print run end to end: 1,000 address records merged into the one-page
// letter with its letterhead picture and printed to one PDF file, as "Print" and
// corvantis-batch letters --pdf do. Prints the wall-clock and CPU time, the pages and the size
// of the PDF, the memory in use after every 250 letters (flat when nothing grows with the
// count) and the peak. Arguments: [letters (1000)] [output PDF (a temporary file)].
#include "LetterBenchTemplate.h"
#include "TAddressTable.h"
#include "TFieldLengths.h"
#include "TLetterPrint.h"
#include "TPdfPrinterService.h"
#include "TRtfReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

double cpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// The memory in use now (resident set).
double residentMegabytes()
{
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return 0;
    long pages = 0;
    long resident = 0;
    const int read = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1048576.0) : 0;
}

// Samples the memory in use every 250 letters.
class Sampler : public TProgress
{
public:
    void setTotal(int) override {}
    void step() override
    {
        if (++m_letters % 250 == 0)
            samples.push_back({m_letters, residentMegabytes()});
    }
    bool cancelled() const override { return false; }
    std::vector<std::pair<int, double>> samples;

private:
    int m_letters = 0;
};

bool makeAddressFile(const QString &path, int count, TAddressTable &table)
{
    if (!TAddressTable::CreateAddressFile(path, TFieldLengths()) || !table.OpenTableFile(path))
        return false;
    xbase::Table &t = table.engine();
    const char *const fields[] = {"PREFIX", "FNAME", "MIDDLE", "LNAME", "ORG",
                                  "STREET", "CITY",  "STATE",  "ZIP"};
    for (int i = 0; i < count; ++i) {
        const TMergeRecordMap r = letterbench::record(i);
        if (!t.appendBlank().ok())
            return false;
        for (const char *f : fields)
            if (!t.setFieldValue(f, r.fieldText(QLatin1String(f)).toStdString()).ok())
                return false;
        if (!t.setLogical("ISDEL", false).ok() || !t.post().ok())
            return false;
    }
    // Record order: the letters print in the order the records were made.
    return table.setQuery(QStringLiteral("!ISDEL")) && table.first();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    QTemporaryDir dir;
    const QString pdf =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("letters.pdf"));

    TAddressTable table;
    if (!makeAddressFile(dir.filePath(QStringLiteral("ADD0001.DBF")), count, table)) {
        std::fprintf(stderr, "could not make the address file\n");
        return 1;
    }
    QTextDocument letter;
    if (!TRtfReader::read(letterbench::templateRtf(), letter).ok())
        return 1;
    const double before = residentMegabytes();

    TPdfPrinterService service(pdf);
    TLetterPrint run(letter, service);
    run.setUsesLetterPaper(true);
    run.setDates({QDate(2026, 3, 5), QStringLiteral("M/d/yy"), QLocale(QLocale::English)});
    Sampler sampler;
    QElapsedTimer wall;
    wall.start();
    const double cpu0 = cpuMs();
    const TLetterPrint::Outcome outcome = run.run(table, sampler);
    const double cpu = cpuMs() - cpu0;
    const double elapsed = wall.nsecsElapsed() / 1e6;
    if (outcome != TLetterPrint::Outcome::Completed) {
        std::fprintf(stderr, "%s\n", run.message().toLocal8Bit().constData());
        return 1;
    }

    std::printf("%-52s %10.1f ms wall, %.1f ms CPU (%.3f ms a letter)\n",
                qPrintable(QStringLiteral("merge and print %1 letters to PDF").arg(count)), elapsed, cpu,
                elapsed / count);
    std::printf("%-52s %10d pages, %.1f MB\n", "the PDF", run.pageCount(), QFileInfo(pdf).size() / 1e6);
    std::printf("%-52s %10.1f MB\n", "memory in use before the run", before);
    for (const auto &[letters, megabytes] : sampler.samples)
        std::printf("%-52s %10.1f MB\n",
                    qPrintable(QStringLiteral("memory in use after %1 letters").arg(letters)), megabytes);
    std::printf("%-52s %10.1f MB\n", "peak memory", peakMegabytes());
    return 0;
}
