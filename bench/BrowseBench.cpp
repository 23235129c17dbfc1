// The browse grid and the search over a large address file: the grid lists the visible
// records once and reads only the rows on the screen, so opening it on 1,000,000 records stays
// under half a second, and jumping to the last row or scrolling a page stays under 50 ms; a
// prefix seek in any of the 14 sort orders stays under 10 ms.
// Arguments: Google Benchmark's own, then optionally the record count (default 1,000,000).
// The file is generated once per run (records appended, then the 26 tags built) in a
// temporary folder that is removed afterwards.
#include "AddressGenerator.h"
#include "TAddressBrowseForm.h"
#include "TAddressSearch.h"
#include "TAddressTable.h"
#include "TBrowseModel.h"
#include "TSortOrders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

QString g_folder; // the program folder (column file, settings)
QString g_path;   // the large address file
uint32_t g_count = 1000000;
TAddressTable *g_table = nullptr;

// The table as the main window leaves it: Last Name order, the record query, first record.
void resetTable()
{
    g_table->setOrderTag(QStringLiteral("LNAME"));
    g_table->setQuery(QStringLiteral("!ISDEL"));
    g_table->first();
}

// Lets the window system expose the window and the grid paint what it shows.
void paint(TAddressBrowseForm &form)
{
    QCoreApplication::processEvents();
    form.Grid->viewport()->repaint();
}

std::unique_ptr<TAddressBrowseForm> openForm()
{
    auto form = std::make_unique<TAddressBrowseForm>(*g_table, g_folder,
                                                     g_folder + QStringLiteral("CORVAN.ini"), [] {});
    form->show();
    paint(*form);
    return form;
}

// Opening the window: the visible records listed, the grid laid out and the first screen of
// rows read and painted.
void BM_BrowseOpen(benchmark::State &state)
{
    resetTable();
    int rowsRead = 0;
    for (auto _ : state) {
        auto form = openForm();
        rowsRead = form->model()->rowsRead();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    state.counters["rows_read"] = rowsRead;
}
BENCHMARK(BM_BrowseOpen)->Unit(benchmark::kMillisecond)->Iterations(5);

// The rows alone: the visible records listed in Last Name order under the record query.
void BM_BrowseListRows(benchmark::State &state)
{
    resetTable();
    QVector<quint32> recnos;
    for (auto _ : state) {
        g_table->visibleRecnos(recnos);
        benchmark::DoNotOptimize(recnos.data());
    }
    state.counters["rows"] = double(recnos.size());
}
BENCHMARK(BM_BrowseListRows)->Unit(benchmark::kMillisecond)->Iterations(5);

// "Last": the last row selected, the table moved to it and the screen there painted.
void BM_BrowseJumpToLast(benchmark::State &state)
{
    resetTable();
    auto form = openForm();
    for (auto _ : state) {
        form->LastButtonClick();
        paint(*form);
        state.PauseTiming();
        form->FirstButtonClick();
        paint(*form);
        state.ResumeTiming();
    }
    if (g_table->recno() != form->model()->recnoOf(0))
        state.SkipWithError("the table did not follow the grid");
}
BENCHMARK(BM_BrowseJumpToLast)->Unit(benchmark::kMillisecond)->Iterations(20);

// Scrolling a page: 30 rows further down, the new rows read and painted.
void BM_BrowseScrollPage(benchmark::State &state)
{
    resetTable();
    auto form = openForm();
    QScrollBar *bar = form->Grid->verticalScrollBar();
    const int before = form->model()->rowsRead();
    for (auto _ : state) {
        bar->setValue(bar->value() + 30);
        paint(*form);
    }
    state.counters["rows_read"] = double(form->model()->rowsRead() - before);
}
BENCHMARK(BM_BrowseScrollPage)->Unit(benchmark::kMillisecond)->Iterations(50);

// A search: the first two letters of a key, in capitals, sought in one of the 14 sort orders.
// The keys come from records spread over the whole file, a different one each iteration, so
// the seeks do not all land on the same index pages.
void BM_SearchSeek(benchmark::State &state)
{
    // Each sort order's key begins with the field of its tag's name.
    const QString tagName = TSortOrders::all().at(int(state.range(0))).tag;
    const std::string tag = tagName.toStdString();
    const QString field = tagName;
    resetTable();
    QStringList prefixes;
    QVector<quint32> recnos;
    g_table->visibleRecnos(recnos);
    QStringList values;
    for (qsizetype i = 0; i < recnos.size() && prefixes.size() < 64; i += recnos.size() / 997 + 1) {
        g_table->recordValues(recnos[i], {field}, values);
        const QString prefix = values.value(0).left(2).toUpper();
        if (!prefix.isEmpty())
            prefixes.append(prefix);
    }
    if (prefixes.isEmpty() || !g_table->setOrderTag(tagName)) {
        state.SkipWithError("no key to seek");
        return;
    }
    qsizetype next = 0;
    int missed = 0;
    for (auto _ : state) {
        if (!TAddressSearch::search(*g_table, prefixes[next]))
            ++missed;
        next = (next + 1) % prefixes.size();
    }
    if (missed > 0)
        state.SkipWithError("a prefix was not found");
    state.SetLabel(tag + ", " + std::to_string(prefixes.size()) + " prefixes");
}
BENCHMARK(BM_SearchSeek)->DenseRange(0, 13)->Unit(benchmark::kMicrosecond)->Iterations(64);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    if (argc > 1)
        g_count = uint32_t(std::strtoul(argv[1], nullptr, 10));
    QApplication app(argc, argv);

    QTemporaryDir dir;
    g_folder = dir.path() + QLatin1Char('/');
    QDir().mkpath(dir.filePath(QStringLiteral("DATA")));
    g_path = dir.filePath(QStringLiteral("DATA/BIG.DBF"));
    if (!AddressGenerator::writeFile(QFile::encodeName(g_path).toStdString(), g_count))
        return 1;
    TAddressTable table;
    if (!table.OpenTableFile(g_path).ok || !table.CheckValidIndex()) {
        std::fprintf(stderr, "could not open %s\n", qPrintable(g_path));
        return 1;
    }
    g_table = &table;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_table = nullptr;
    return 0;
}
