// Times the data tools over 200,000 generated address records with the 26 tags open: the
// duplicate check (last + first name, its temporary index included), and search and replace of
// a city value that many records share. Prints one line per figure, in wall time, with the
// limit each is to stay under.
#include "AddressGenerator.h"
#include "TAddressSession.h"
#include "TDuplicateFinder.h"
#include "TFieldReplacer.h"
#include "TProgress.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

const uint32_t kRecords = qEnvironmentVariableIsSet("TOOLS_BENCH_RECORDS")
                              ? uint32_t(qEnvironmentVariableIntValue("TOOLS_BENCH_RECORDS"))
                              : 200000;

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The city most records share, read without moving the table.
QString commonCity(TAddressTable &table)
{
    QVector<quint32> recnos;
    table.visibleRecnos(recnos);
    QHash<QString, int> counts;
    QStringList values;
    for (quint32 r : recnos) {
        table.recordValues(r, {QStringLiteral("CITY")}, values);
        ++counts[values.value(0)];
    }
    QString best;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (!it.key().isEmpty() && (best.isEmpty() || it.value() > counts.value(best)))
            best = it.key();
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
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
    TAddressTable &table = session.table();

    {
        TDuplicateFinder finder(table);
        const double start = nowMs();
        const TResult r = finder.run(TDuplicateFinder::Kind::LastFirst, 30,
                                     folder + QStringLiteral("/_chkdup.idx"), TProgress::none());
        const double took = nowMs() - start;
        finder.release();
        if (!r.ok) {
            std::fprintf(stderr, "duplicate check failed: %s\n", qPrintable(r.message));
            return 1;
        }
        std::printf("duplicate check, %u records: %.0f ms (limit 1000 ms), %d pairs, %d records listed\n",
                    kRecords, took, finder.pairs(), finder.listed());
    }
    (void)session.setOrderTag(QStringLiteral("LNAME"));

    {
        TReplaceRequest request;
        request.field = QStringLiteral("CITY");
        request.find = commonCity(table);
        request.exact = false;
        request.caseSensitive = false;
        request.replaceWhole = false;
        request.replacement = request.find.left(3) + QStringLiteral("-X");
        TReplaceOutcome outcome;
        const double start = nowMs();
        const TResult r = TFieldReplacer::run(table, request, TProgress::none(), outcome);
        const double took = nowMs() - start;
        if (!r.ok) {
            std::fprintf(stderr, "search and replace failed: %s\n", qPrintable(r.message));
            return 1;
        }
        std::printf("search and replace, %u records, 26 tags: %.0f ms (limit 3000 ms), %d records replaced\n",
                    kRecords, took, outcome.replaced);
    }
    return 0;
}
