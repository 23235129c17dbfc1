// The duplicate check: keys of the three kinds, pairs found in tag order, each record listed
// once, the first record against no previous one, cancel, and the temporary index removed.
#include "TDuplicateFinder.h"

#include "TProgress.h"
#include "TempDir.h"
#include "ToolFileChecks.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

using K = TDuplicateFinder::Kind;
using smallfile::Record;

Record person(const char *last, const char *first, const char *street = "")
{
    return {
        {"LNAME", QLatin1String(last)}, {"FNAME", QLatin1String(first)}, {"STREET", QLatin1String(street)}};
}

struct DupCase {
    const char *name;
    std::vector<Record> records;
    K kind;
    int chars;
    int pairs;
    int listed;
};

class DuplicateRuns : public ::testing::TestWithParam<DupCase>
{
};

TEST_P(DuplicateRuns, FindThePairsAndListEachRecordOnce)
{
    const DupCase c = GetParam();
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto session = smallfile::session(folder, c.records);
    ASSERT_TRUE(session);
    ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    const QString index = folder + QStringLiteral("/_chkdup.idx");
    {
        TDuplicateFinder finder(session->table());
        ASSERT_TRUE(finder.run(c.kind, c.chars, index, TProgress::none()).ok);
        EXPECT_EQ(finder.pairs(), c.pairs);
        EXPECT_EQ(finder.listed(), c.listed);
        QVector<quint32> shown;
        ASSERT_TRUE(session->table().visibleRecnos(shown));
        EXPECT_EQ(shown.size(), c.listed); // the grid lists exactly the records added
        EXPECT_TRUE(QFile::exists(index));
    }
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
    toolcheck::expectSoundFile(*session);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DuplicateRuns,
    ::testing::Values(
        DupCase{"NamesIgnoreCase",
                {person("Jones", "John"), person("JONES", "john"), person("Smith", "Al")},
                K::LastFirst,
                30,
                1,
                2},
        DupCase{"InitialsPair",
                {person("Jones", "John"), person("Jones", "Jane")},
                K::LastFirstInitial,
                30,
                1,
                2},
        DupCase{"InitialsAreNotNames",
                {person("Jones", "John"), person("Jones", "Jane")},
                K::LastFirst,
                30,
                0,
                0},
        DupCase{"StreetTenChars",
                {person("A", "", "123 Main Street"), person("B", "", "123 Main St.")},
                K::Street,
                10,
                1,
                2},
        DupCase{"StreetThirtyChars",
                {person("A", "", "123 Main Street"), person("B", "", "123 Main St.")},
                K::Street,
                30,
                0,
                0},
        DupCase{"EmptyLastNames", {person("", "John"), person("", "John")}, K::LastFirst, 30, 0, 0},
        DupCase{"OneRecord", {person("Jones", "John")}, K::LastFirst, 30, 0, 0},
        // Three equal records: two pairs, but each record is listed once.
        DupCase{"ThreeEqual",
                {person("Lee", "Ann"), person("Lee", "Ann"), person("Lee", "Ann")},
                K::LastFirst,
                30,
                2,
                3},
        // A first record keyed "-" has no previous record to match.
        DupCase{"DashFirst", {person("-", "-"), person("Zed", "Z")}, K::LastFirst, 30, 0, 0},
        DupCase{"DashStreetFirst", {person("A", "", "-"), person("B", "", "1 Elm")}, K::Street, 30, 0, 0},
        DupCase{"HiddenRecordsAreNotCompared",
                {person("Lee", "Ann"), Record{{"LNAME", QStringLiteral("Lee")},
                                              {"FNAME", QStringLiteral("Ann")},
                                              {"ISDEL", QStringLiteral("T")}}},
                K::LastFirst,
                30,
                0,
                0}),
    [](const ::testing::TestParamInfo<DupCase> &param) { return std::string(param.param.name); });

TEST(DuplicateKeys, KeepTheNamePartsApart)
{
    EXPECT_NE(
        TDuplicateFinder::keyOf(K::LastFirst, 30, QStringLiteral("Jon"), QStringLiteral("es"), QString()),
        TDuplicateFinder::keyOf(K::LastFirst, 30, QStringLiteral("Jones"), QString(), QString()));
    EXPECT_TRUE(TDuplicateFinder::keyOf(K::Street, 30, QStringLiteral("A"), QString(), QString()).isEmpty());
}

TEST(DuplicateCancel, KeepsThePairsFoundSoFar)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto session = smallfile::session(folder, {person("A", "a"), person("A", "a"), person("B", "b"),
                                               person("B", "b"), person("C", "c"), person("C", "c")});
    ASSERT_TRUE(session);
    TDuplicateFinder finder(session->table());
    toolcheck::CancelAfter cancel(3);
    ASSERT_TRUE(finder.run(K::LastFirst, 30, folder + QStringLiteral("/_chkdup.idx"), cancel).ok);
    EXPECT_EQ(finder.pairs(), 1);
    finder.release();
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
}

TEST(DuplicateFailure, AnIndexThatCannotBeMadeLeavesNoFile)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto session = smallfile::session(folder, {person("A", "a"), person("A", "a")});
    ASSERT_TRUE(session);
    TDuplicateFinder finder(session->table());
    EXPECT_FALSE(
        finder.run(K::LastFirst, 30, folder + QStringLiteral("/missing/_chkdup.idx"), TProgress::none()).ok);
    EXPECT_FALSE(finder.hasIndex());
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
    toolcheck::expectSoundFile(*session);
}

} // namespace
