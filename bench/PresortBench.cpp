// Times the bulk-mail presort over 200,000 and 1,000,000 generated address records with the 26
// tags open: the tally in one pass over the visible records, the groups, and PRESORT.PSL
// written; then, over the smaller file, the presorted walk the label run makes through the ZIP
// tag. Prints one line per figure, in wall time, with the limit each is to stay under.
// PRESORT_BENCH_RECORDS="1000" runs one size only.
#include "AddressGenerator.h"
#include "TAddressSession.h"
#include "TPresortFile.h"
#include "TPresortReader.h"
#include "TPresortTally.h"
#include "TProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// One size: false, said on stderr, when a step fails.
bool runSize(uint32_t records, bool walk)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString path = folder + QStringLiteral("/DATA/ADD0001.DBF");
    QDir().mkpath(folder + QStringLiteral("/DATA"));
    if (!AddressGenerator::writeFile(path.toStdString(), records))
        return false;
    TAddressSession session(folder + QStringLiteral("/CORVAN.ini"));
    session.loadSettings();
    if (session.open(path).outcome != TOpenOutcome::Opened) {
        std::fprintf(stderr, "cannot open the generated file\n");
        return false;
    }
    TAddressTable &table = session.table();
    if (!table.setQuery(QStringLiteral("!ISDEL")).ok)
        return false;

    const double limitMs = records * 0.0025; // 2.5 ms per 1,000 records
    TPresortTally tally;
    const double start = nowMs();
    const TResult counted = tally.run(table, TProgress::none());
    const double tallied = nowMs();
    const QStringList lines = tally.presortLines();
    const QString psl = folder + QStringLiteral("/PRESORT.PSL");
    const TResult saved = TPresortFile::save(psl, lines);
    const double done = nowMs();
    if (!counted.ok || !saved.ok) {
        std::fprintf(stderr, "presort failed: %s\n",
                     qPrintable(counted.ok ? saved.message : counted.message));
        return false;
    }
    std::printf("presort, %u records (%lld read, %lld counted): tally %.0f ms, groups and file %.0f ms, "
                "total %.0f ms (limit %.0f ms), %lld lines\n",
                records, static_cast<long long>(tally.read()), static_cast<long long>(tally.counted()),
                tallied - start, done - tallied, done - start, limitMs, static_cast<long long>(lines.size()));

    if (walk) {
        TPresortReader reader(table);
        const double walkStart = nowMs();
        if (!reader.open(psl).ok)
            return false;
        qint64 labels = 0;
        TPresortStep step;
        for (;;) {
            if (!reader.GetNextSortedZip(step).ok)
                return false;
            if (step.kind == TPresortStep::Kind::End)
                break;
            ++labels;
        }
        std::printf("presorted walk through the ZIP tag, %u records: %.0f ms (limit %.0f ms), %lld labels\n",
                    records, nowMs() - walkStart, records * 0.02, static_cast<long long>(labels));
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<uint32_t> sizes{200000, 1000000};
    if (qEnvironmentVariableIsSet("PRESORT_BENCH_RECORDS"))
        sizes = {uint32_t(qEnvironmentVariableIntValue("PRESORT_BENCH_RECORDS"))};
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (!runSize(sizes[i], i == 0))
            return 1;
    }
    return 0;
}
