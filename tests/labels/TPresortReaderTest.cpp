// The presorted run's walk: header lines as labels of their own, each key's records through
// the ZIP tag under the run's query and range, keys without records skipped, damaged files and
// a missing ZIP tag refused, and the fixture's whole presorted run in the file's order.
#include "TPresortReader.h"

#include "AddressFixture.h"
#include "SmallAddressFile.h"
#include "TAddressSession.h"
#include "TFilterCriteria.h"
#include "TOutputRecords.h"
#include "TPresortFile.h"
#include "TPresortTally.h"
#include "TProgress.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The labels of a walk: a header as its text, a record as "#" + its LNAME.
QStringList walk(TAddressTable &table, TPresortReader &reader)
{
    QStringList out;
    TPresortStep step;
    for (int guard = 0; guard < 10000; ++guard) {
        const TResult r = reader.GetNextSortedZip(step);
        if (!r.ok) {
            out << QStringLiteral("error: ") + r.message;
            break;
        }
        if (step.kind == TPresortStep::Kind::End)
            break;
        out << (step.kind == TPresortStep::Kind::Header
                    ? step.header
                    : QStringLiteral("#") + table.value(QStringLiteral("LNAME")));
    }
    return out;
}

class PresortReader : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(folder, {{{"LNAME", "A"}, {"ZIP", "60602"}},
                                              {{"LNAME", "B"}, {"ZIP", "10001-2345"}},
                                              {{"LNAME", "C"}, {"ZIP", "60601"}},
                                              {{"LNAME", "D"}, {"ZIP", "10001"}},
                                              {{"LNAME", "E"}, {"ZIP", "1000"}},
                                              {{"LNAME", "F"}, {"ZIP", "60602"}, {"ISDEL", "T"}},
                                              {{"LNAME", "G"}, {"ZIP", "60602"}, {"CITY", "Elsewhere"}},
                                              {{"LNAME", "H"}, {"ZIP", "K1A 0B1"}}});
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
};

TEST_F(PresortReader, YieldsHeadersAndEachKeysRecordsInZipOrder)
{
    TPresortReader reader(session->table());
    ASSERT_TRUE(reader
                    .begin({"** 5-digit 10001", "10001", "** 3-digit 606", "60601", "60602", "60699",
                            "** Unknown", "1000"})
                    .ok);
    EXPECT_EQ(session->table().orderTag(), QStringLiteral("ZIP"));
    // 10001 takes the ZIP+4 record too; 60699 has no record; the 4-character key takes only
    // the record whose ZIP is those four characters; the hidden record F stays out.
    EXPECT_EQ(walk(session->table(), reader), (QStringList{"** 5-digit 10001", "#D", "#B", "** 3-digit 606",
                                                           "#C", "#A", "#G", "** Unknown", "#E"}));
}

TEST_F(PresortReader, KeepsToTheRunsQueryAndRange)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setQuery(QStringLiteral("CITY <> 'Elsewhere' .AND. !ISDEL")).ok);
    TPresortRange range = TPresortRange::from(8);
    for (quint32 recno : {2u, 3u, 6u, 7u})
        range.add(recno);
    TPresortReader reader(table, range);
    ASSERT_TRUE(reader.begin({"** 3-digit 606", "60601", "60602", "** 5-digit 10001", "10001"}).ok);
    EXPECT_EQ(walk(table, reader), (QStringList{"** 3-digit 606", "#C", "** 5-digit 10001", "#B"}));
}

TEST_F(PresortReader, AnEmptyListEndsAtOnce)
{
    TPresortReader reader(session->table());
    ASSERT_TRUE(reader.begin({}).ok);
    EXPECT_TRUE(walk(session->table(), reader).isEmpty());
}

TEST_F(PresortReader, RefusesADamagedFileAndAFileWithoutItsZipTag)
{
    const QString path = folder + QStringLiteral("/PRESORT.PSL");
    ASSERT_TRUE(writeBytes(path, raw("** 5-digit 10001\r\n10001\0\r\n")));
    TPresortReader reader(session->table());
    const TResult damaged = reader.open(path);
    EXPECT_EQ(damaged.code, xbase::StatusCode::Corruption);
    EXPECT_EQ(
        damaged.message,
        QStringLiteral(
            "The presort file PRESORT.PSL is damaged: line 2 holds a character that is not printable text"));
    EXPECT_TRUE(walk(session->table(), reader).isEmpty());

    ASSERT_TRUE(session->table().engine().removeTag("ZIP").ok());
    const TResult noTag = reader.begin({"10001"});
    EXPECT_EQ(noTag.code, xbase::StatusCode::NotFound);
    EXPECT_EQ(noTag.message, QStringLiteral("The address file has no ZIP index; rebuild the indexes"));
    EXPECT_TRUE(walk(session->table(), reader).isEmpty());
}

TEST_F(PresortReader, StartingFromTheCurrentRecordPrintsNothingBeforeIt)
{
    // The run's records from D on in name order: D, E, G, H (F is hidden); A, B and C come
    // before D and stay out of the tally and of the labels.
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")).ok);
    const TOutputStart start = TOutputRecords::apply(*session, {TRecordChoice::All, true}, 4);
    ASSERT_TRUE(start.result.ok);
    ASSERT_FALSE(start.outOfRange);
    TPresortTally tally;
    ASSERT_TRUE(tally.run(table, TProgress::none(), table.recno()).ok);
    EXPECT_EQ(tally.read(), 4);
    EXPECT_EQ(tally.presortLines(),
              (QStringList{"** ADC CHICAGO IL 606", "60602", "** ADC NEW YORK NY 100", "10001"}));
    TPresortReader reader(table, tally.range());
    ASSERT_TRUE(reader.begin(tally.presortLines()).ok);
    EXPECT_EQ(walk(table, reader),
              (QStringList{"** ADC CHICAGO IL 606", "#G", "** ADC NEW YORK NY 100", "#D"}));
}

TEST(PresortReaderTagged, ARunOfTheTaggedRecordsCountsAndPrintsOnlyThem)
{
    TempDir dir;
    std::vector<smallfile::Record> records;
    for (int i = 1; i <= 24; ++i)
        records.push_back({{"LNAME", QStringLiteral("T%1").arg(i, 2, 10, QLatin1Char('0'))},
                           {"ZIP", QStringLiteral("1000%1").arg(i % 2 + 1)},
                           {"TAG", i % 3 == 0 ? QStringLiteral("X1") : QString()}});
    auto session = smallfile::session(QString::fromStdString(dir.path()), records);
    ASSERT_TRUE(session);
    session->setTagId(QStringLiteral("X1"));
    TFilterCriteria tagged;
    tagged.setTagged(true);
    (void)session->setCriteria(tagged); // the tally below shows what the filter lets through
    ASSERT_TRUE(session->isFilterSet());
    TAddressTable &table = session->table();
    ASSERT_TRUE(TOutputRecords::apply(*session, {TRecordChoice::MatchingFilter, false}, 0).result.ok);

    TPresortTally tally;
    ASSERT_TRUE(tally.run(table, TProgress::none()).ok);
    EXPECT_EQ(tally.read(), 8);
    EXPECT_EQ(tally.presortLines(), (QStringList{"** ADC NEW YORK NY 100", "10001", "10002"}));
    TPresortReader reader(table, tally.range());
    ASSERT_TRUE(reader.begin(tally.presortLines()).ok);
    EXPECT_EQ(walk(table, reader), (QStringList{"** ADC NEW YORK NY 100", "#T06", "#T12", "#T18", "#T24",
                                                "#T03", "#T09", "#T15", "#T21"}));
}

TEST(PresortReaderFixture, APresortedRunOverTheFixtureComesInTheFilesOrder)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    const QString path = fixture::copy(QStringLiteral("ADD0001"), folder + QStringLiteral("/DATA"));
    TAddressSession session(folder + QStringLiteral("/CORVAN.ini"));
    session.loadSettings();
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    TAddressTable &table = session.table();
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")).ok);

    TPresortTally tally;
    ASSERT_TRUE(tally.run(table, TProgress::none()).ok);
    const QString psl = folder + QStringLiteral("/PRESORT.PSL");
    ASSERT_TRUE(TPresortFile::save(psl, tally.presortLines()).ok);
    TPresortReader reader(table);
    ASSERT_TRUE(reader.open(psl).ok);
    QStringList got;
    TPresortStep step;
    while (reader.GetNextSortedZip(step).ok && step.kind != TPresortStep::Kind::End)
        got << (step.kind == TPresortStep::Kind::Header ? step.header : QString::number(table.recno()));

    // Expected from the other engine: per key line, the visible records of that ZIP key in
    // its ZIP tag order.
    std::map<quint32, QString> keyOf;
    for (const QJsonObject &r : fixture::records(QStringLiteral("ADD0001")))
        keyOf[quint32(r.value(QStringLiteral("recno")).toInt())] =
            r.value(QStringLiteral("ZIP")).toString().left(5);
    const QList<quint32> zipOrder = fixture::shownOrder(QStringLiteral("ADD0001"), QStringLiteral("ZIP"));
    QStringList expected;
    int printed = 0;
    for (const QString &line : tally.presortLines()) {
        if (TPresortFile::isHeader(line)) {
            expected << line;
            continue;
        }
        for (quint32 recno : zipOrder) {
            if (keyOf[recno] == line) {
                expected << QString::number(recno);
                ++printed;
            }
        }
    }
    EXPECT_EQ(printed, tally.counted());
    EXPECT_GT(printed, 100);
    EXPECT_EQ(got, expected);
}

} // namespace
