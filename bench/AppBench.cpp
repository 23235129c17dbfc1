// Opening a large address file in the main window: the form reads only the current record,
// so opening 1,000,000 records and showing the first must stay well under half a second.
// Arguments: Google Benchmark's own, then optionally the record count (default 1,000,000).
// The file is generated once per run (records appended, then the 26 tags built) in a
// temporary folder that is removed afterwards.
#include "AddressGenerator.h"
#include "TAddressMain.h"
#include "TAddressTable.h"
#include "TIniFile.h"
#include "TMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

QString g_path;     // the large address file
QString g_settings; // the program folder's settings file
uint32_t g_count = 1000000;

// The table alone: open, check the tags, order by last name, apply the record query, read
// the first record's fields.
void BM_TableOpenShowFirst(benchmark::State &state)
{
    TAddressTable table;
    for (auto _ : state) {
        if (!table.OpenTableFile(g_path).ok || !table.CheckValidIndex()) {
            state.SkipWithError("open failed");
            break;
        }
        table.setOrderTag(QStringLiteral("LNAME"));
        table.setQuery(QStringLiteral("!ISDEL"));
        table.first();
        benchmark::DoNotOptimize(table.value(QStringLiteral("LNAME")));
        benchmark::DoNotOptimize(table.visibleCount());
        table.close();
    }
}
BENCHMARK(BM_TableOpenShowFirst)->Unit(benchmark::kMillisecond)->Iterations(5);

// The main window's whole path: OpenCVWDBF with its checks, the recent-file list written,
// the sort order, the record query, the first record on the form and the status line.
void BM_MainWindowOpenShowFirst(benchmark::State &state)
{
    TAddressMain window(g_settings);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.OpenCVWDBF(g_path);
        QCoreApplication::processEvents();
        if (window.fieldBox(QStringLiteral("LNAME"))->text().isEmpty()) {
            state.SkipWithError("no record shown");
            break;
        }
        state.PauseTiming();
        window.TableCVW->close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowOpenShowFirst)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        g_count = uint32_t(std::strtoul(argv[1], nullptr, 10));
    QApplication app(argc, argv);
    TMessages::setAnswerer([](const TMessageRequest &request) {
        std::fprintf(stderr, "message: %s\n", request.text.toLocal8Bit().constData());
        return QMessageBox::Ok;
    });

    QTemporaryDir dir;
    g_settings = dir.filePath(QStringLiteral("CORVAN.ini"));
    {
        TIniFile ini(g_settings);
        ini.writeBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), true);
    }
    QDir().mkpath(dir.filePath(QStringLiteral("DATA")));
    g_path = dir.filePath(QStringLiteral("DATA/BIG.DBF"));
    if (!AddressGenerator::writeFile(QFile::encodeName(g_path).toStdString(), g_count))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
