// Applying a filter to a large address file and counting what it shows, as the filter window's
// "Test" and the main window do: 200,000 generated records with the 26 tags. The file is made
// once, before the first benchmark, in a temporary folder removed at the end.
#include "AddressGenerator.h"

#include "TFilterCriteria.h"
#include "TRecordQuery.h"

#include "Table.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t kRecords = 200000;

void must(const xbase::Status &s, const char *what)
{
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.message().c_str());
        std::exit(1);
    }
}

struct AddressFile {
    QTemporaryDir dir;
    xbase::Table table;

    AddressFile()
    {
        const std::string path = dir.filePath(QStringLiteral("ADD0001.DBF")).toStdString();
        must(xbase::Table::create(path, AddressGenerator::fields()), "create");
        must(table.open(path, xbase::OpenMode::Exclusive), "open");
        AddressGenerator gen;
        for (uint32_t i = 0; i < kRecords; ++i) {
            const AddressRecord r = gen.next();
            must(table.appendBlank(), "append");
            for (int f = 0; f < 23; ++f) {
                if (!r.values[static_cast<size_t>(f)].empty())
                    must(table.setFieldValue(f, r.values[static_cast<size_t>(f)]), "set field");
            }
            must(table.post(), "post");
        }
        must(table.addTags(AddressGenerator::tags()), "tags");
        must(table.setOrder("LNAME"), "order");
    }
};

AddressFile &addressFile()
{
    static AddressFile file;
    return file;
}

// One criterion typed into the filter window, then "Test": build, apply, count.
void applyFilter(benchmark::State &state, int criterion, const char *text)
{
    AddressFile &file = addressFile();
    TEngineFilterTarget target(file.table);
    qint64 count = 0;
    for (auto _ : state) {
        TFilterCriteria criteria;
        criteria.setText(criterion, QString::fromUtf8(text));
        count = TRecordQuery::apply(criteria, QStringLiteral("T5703FX"), target).count;
        benchmark::DoNotOptimize(count);
    }
    state.counters["matches"] = static_cast<double>(count);
    TFilterCriteria none;
    TRecordQuery::apply(none, QString(), target);
}

} // namespace

// Indexed fields: the engine answers a prefix test from the tag.
BENCHMARK_CAPTURE(applyFilter, LastName_sm, TFilterCriteria::qLName, "sm")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(applyFilter, City_san, TFilterCriteria::qCity, "san")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(applyFilter, Zip_9_not_94, TFilterCriteria::qZip, "9^94")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(applyFilter, State_ca_or_ny, TFilterCriteria::qState, "ca;ny")
    ->Unit(benchmark::kMillisecond);
// "$": every record is read.
BENCHMARK_CAPTURE(applyFilter, Codes_contains_c, TFilterCriteria::qCodes, "$c")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(applyFilter, Email_contains, TFilterCriteria::qEmail, "$example.com")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
