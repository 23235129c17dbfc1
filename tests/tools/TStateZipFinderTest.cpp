// The state and ZIP check: the reference list read by its tag, ZIPs against ranges, whole
// state codes only, blanks on request, and the temporary index removed afterwards.
#include "TStateZipFinder.h"

#include "TProgress.h"
#include "TSystemTables.h"
#include "TempDir.h"
#include "ToolFileChecks.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

struct RangeCase {
    const char *zip;
    const char *low;
    const char *high;
    bool inside;
};

class ZipRanges : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(ZipRanges, CompareOnTheBoundsLength)
{
    const RangeCase c = GetParam();
    EXPECT_EQ(TStateZipFinder::zipInRange(QLatin1String(c.zip), QLatin1String(c.low), QLatin1String(c.high)),
              c.inside);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipRanges,
                         ::testing::Values(RangeCase{"10001-1234", "10000", "14999", true},
                                           // A ZIP+4 at the top ZIP of a range is inside it.
                                           RangeCase{"10001-1234", "10000", "10001", true},
                                           RangeCase{"10002", "10000", "10001", false},
                                           RangeCase{"09999", "10000", "14999", false},
                                           RangeCase{"10000", "10000", "14999", true},
                                           RangeCase{"14999", "10000", "14999", true}));

// CSZ.DBF in `folder` with `rows` (name, state, low, high) and its STATE tag.
void makeList(const std::string &path, const std::vector<std::array<const char *, 4>> &rows)
{
    ASSERT_TRUE(xbase::Table::create(path, TSystemTables::fields(TSystemTable::Csz)).ok());
    xbase::Table t;
    ASSERT_TRUE(t.open(path, xbase::OpenMode::Exclusive).ok());
    ASSERT_TRUE(t.addTag(TSystemTables::tag(TSystemTable::Csz)).ok());
    for (const auto &row : rows) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("NAME", row[0]).ok());
        ASSERT_TRUE(t.setFieldValue("STATE", row[1]).ok());
        ASSERT_TRUE(t.setFieldValue("LOW_ZIP", row[2]).ok());
        ASSERT_TRUE(t.setFieldValue("HIGH_ZIP", row[3]).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(t.close().ok());
}

smallfile::Record place(const char *name, const char *state, const char *zip)
{
    return {{"LNAME", QLatin1String(name)}, {"STATE", QLatin1String(state)}, {"ZIP", QLatin1String(zip)}};
}

class StateZipTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = QString::fromStdString(dir.path());
        makeList(dir.file("CSZ.DBF"), {{"New York", "NY", "10000", "14999"},
                                       {"New Jersey", "NJ", "07000", "08999"},
                                       {"New York again", "NY", "00000", "00001"}, // a second row is not used
                                       {"Nevada", "NV", "88900", "89899"}});
        session =
            smallfile::session(folder, {place("Ok", "NY", "10001"), place("WrongState", "NJ", "10001"),
                                        place("Lower", "ny", "10001"), place("Cut", "N", "10001"),
                                        place("NoState", "", "10001"), place("Plus4", "NY", "14999-1234"),
                                        place("Hidden", "XX", "1"), place("NoZip", "NJ", "")});
        ASSERT_TRUE(session);
        session->table().engine().setDeletedHidden(true);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
        // The record "Hidden" is deleted as the user deletes one.
        ASSERT_TRUE(session->table().goTo(7).ok);
        ASSERT_TRUE(session->table().setValue(QStringLiteral("ISDEL"), QStringLiteral("T")).ok);
        ASSERT_TRUE(session->table().post().ok);
        ASSERT_TRUE(csz.open(dir.file("CSZ.DBF"), xbase::OpenMode::Exclusive).ok());
        ASSERT_TRUE(TStateZipFinder::readRanges(csz, ranges).ok);
    }
    QStringList listed()
    {
        QVector<quint32> shown;
        session->table().visibleRecnos(shown);
        QStringList out;
        QStringList values;
        for (quint32 r : shown) {
            session->table().recordValues(r, {QStringLiteral("LNAME")}, values);
            out << values.value(0);
        }
        return out;
    }
    TempDir dir;
    QString folder;
    std::unique_ptr<TAddressSession> session;
    xbase::Table csz;
    TStateZipFinder::Ranges ranges;
};

TEST_F(StateZipTable, ListsUnknownStatesAndZipsOutsideTheRangeByName)
{
    EXPECT_EQ(ranges.value(QStringLiteral("NY")).second, QStringLiteral("14999"));
    const QString index = folder + QStringLiteral("/DATA/_chksz.idx");
    {
        TStateZipFinder finder(session->table());
        ASSERT_TRUE(finder.run(ranges, false, index, TProgress::none()).ok);
        EXPECT_EQ(finder.found(), 3);
        EXPECT_EQ(listed(), (QStringList{"Cut", "Lower", "WrongState"}));
        EXPECT_TRUE(QFile::exists(index));
    }
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
    toolcheck::expectSoundFile(*session);
}

TEST_F(StateZipTable, BlanksAreCheckedOnlyWhenAskedAndAnEmptyStateIsNotFound)
{
    TStateZipFinder finder(session->table());
    ASSERT_TRUE(finder.run(ranges, true, folder + QStringLiteral("/DATA/_chksz.idx"), TProgress::none()).ok);
    EXPECT_EQ(listed(), (QStringList{"Cut", "Lower", "NoState", "NoZip", "WrongState"}));
    finder.release();
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
}

TEST_F(StateZipTable, ACancelKeepsWhatWasFound)
{
    TStateZipFinder finder(session->table());
    toolcheck::CancelAfter cancel(2);
    ASSERT_TRUE(finder.run(ranges, false, folder + QStringLiteral("/DATA/_chksz.idx"), cancel).ok);
    EXPECT_EQ(finder.found(), 1);
    EXPECT_EQ(listed(), (QStringList{"WrongState"}));
}

} // namespace
