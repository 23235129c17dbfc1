// The presort tally: which ZIP codes count, the groups at their thresholds and in their order,
// the pass over an address table (all records, from a record on, cancelled), and the fixture
// file checked against a tally made here from the other engine's reading of it.
#include "TPresortTally.h"

#include "AddressFixture.h"
#include "SmallAddressFile.h"
#include "TAdcTable.h"
#include "TAddressSession.h"
#include "TProgress.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QMap>

#include <map>
#include <vector>

namespace {

QStringList linesFor(const std::vector<std::pair<const char *, int>> &zips)
{
    TPresortTally tally;
    for (const auto &[zip, pieces] : zips) {
        for (int i = 0; i < pieces; ++i)
            tally.add(zip);
    }
    return tally.presortLines();
}

struct KeyCase {
    const char *zip;
    int key;
};
class PresortKeys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(PresortKeys, AcceptFiveDigitsOnly)
{
    const KeyCase c = GetParam();
    EXPECT_EQ(TPresortTally::keyOf(std::string_view(c.zip)), c.key) << c.zip;
    EXPECT_EQ(TPresortTally::keyOf(QLatin1String(c.zip)), c.key) << c.zip;
}

INSTANTIATE_TEST_SUITE_P(Cases, PresortKeys,
                         ::testing::Values(KeyCase{"12345", 12345}, KeyCase{"12345-6789", 12345},
                                           KeyCase{"00000", 0}, KeyCase{"00501    ", 501},
                                           KeyCase{"99999", 99999}, KeyCase{"99999-999", 99999},
                                           KeyCase{"", -1}, KeyCase{"1234", -1}, KeyCase{"1234 ", -1},
                                           KeyCase{"0000", -1}, KeyCase{" 12345", -1}, KeyCase{"1 234", -1},
                                           KeyCase{"1-234", -1}, KeyCase{"K1A 0B1", -1},
                                           KeyCase{"G9A 5K7", -1}, KeyCase{"1234A", -1},
                                           KeyCase{"\xB9"
                                                   "2345",
                                                   -1}));

TEST(PresortTally, KeysAreTheirFiveDigits)
{
    EXPECT_EQ(TPresortTally::keyText(501), QStringLiteral("00501"));
    EXPECT_EQ(TPresortTally::keyText(99999), QStringLiteral("99999"));
}

// Pieces in one ZIP: a 5-digit group from 10 on; below that the ZIP falls through to its
// 3-digit area (alone there as well) and then to its ADC.
struct ThresholdCase {
    int pieces;
    const char *firstHeader;
};
class FiveDigitThreshold : public ::testing::TestWithParam<ThresholdCase>
{
};

TEST_P(FiveDigitThreshold, NeedsTenPieces)
{
    const ThresholdCase c = GetParam();
    const QStringList lines = linesFor({{"10001", c.pieces}});
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QLatin1String(c.firstHeader));
    EXPECT_EQ(lines[1], QStringLiteral("10001"));
}

INSTANTIATE_TEST_SUITE_P(Cases, FiveDigitThreshold,
                         ::testing::Values(ThresholdCase{9, "** ADC NEW YORK NY 100"},
                                           ThresholdCase{10, "** 5-digit 10001"},
                                           ThresholdCase{11, "** 5-digit 10001"}));

TEST(PresortTally, ThreeDigitAreaNeedsTenPiecesAcrossItsZips)
{
    EXPECT_EQ(linesFor({{"60601", 3}, {"60602", 3}, {"60603", 3}, {"60604", 3}}),
              (QStringList{"** 3-digit 606", "60601", "60602", "60603", "60604"}));
    EXPECT_EQ(linesFor({{"60601", 5}, {"60602", 5}}), (QStringList{"** 3-digit 606", "60601", "60602"}));
    EXPECT_EQ(linesFor({{"60601", 5}, {"60602", 4}}),
              (QStringList{"** ADC CHICAGO IL 606", "60601", "60602"}));
    EXPECT_EQ(linesFor({{"60601", 4}, {"60602", 4}, {"60699", 3}}),
              (QStringList{"** 3-digit 606", "60601", "60602", "60699"}));
}

TEST(PresortTally, GroupsComeFiveDigitThenThreeDigitThenAdcThenUnknown)
{
    // 12 in 10001 and 3 in 10002: 10001 is a 5-digit group; 10002 finds only 3 pieces for
    // 100 and goes to the ADC serving 100.
    EXPECT_EQ(linesFor({{"10001", 12}, {"10002", 3}}),
              (QStringList{"** 5-digit 10001", "10001", "** ADC NEW YORK NY 100", "10002"}));

    const QStringList lines = linesFor({{"99501", 2},
                                        {"00123", 1},
                                        {"10002", 2},
                                        {"90210-1234", 10},
                                        {"12001", 1},
                                        {"00601", 4},
                                        {"12002", 20},
                                        {"60601", 6},
                                        {"60602", 6},
                                        {"20101", 1},
                                        {"22001", 1},
                                        {"K1A 0B1", 50}});
    EXPECT_EQ(lines, (QStringList{"** 5-digit 12002",
                                  "12002",
                                  "** 5-digit 90210",
                                  "90210",
                                  "** 3-digit 606",
                                  "60601",
                                  "60602",
                                  "** ADC ALBANY NY 120",
                                  "12001",
                                  "** ADC ANCHORAGE AK 995",
                                  "99501",
                                  "** ADC DULLES VA 201",
                                  "20101",
                                  "22001",
                                  "** ADC NEW YORK NY 100",
                                  "10002",
                                  "** ADC SAN JUAN PR  006",
                                  "00601",
                                  "** Unknown",
                                  "00123"}));
}

TEST(PresortTally, EachAdcRowIsAGroupInTableOrder)
{
    EXPECT_EQ(linesFor({{"05001", 1}, {"03501", 2}, {"05401", 1}, {"05901", 1}}),
              (QStringList{"** ADC WHITE RIVER JCT VT 050", "03501", "05901", "** ADC WHITE RVR JCT VT 050",
                           "05001", "05401"}));
}

TEST(PresortTally, NothingCountedGivesNoLines)
{
    EXPECT_TRUE(linesFor({{"", 3}, {"K1A 0B1", 20}, {"1234", 12}}).isEmpty());
}

// A progress that cancels after `limit` steps.
class CancelAfter : public TProgress
{
public:
    explicit CancelAfter(int limit) : m_limit(limit) {}
    void setTotal(int) override {}
    void step() override { ++m_steps; }
    bool cancelled() const override { return m_steps >= m_limit; }
    int m_steps = 0;

private:
    int m_limit;
};

class PresortTallyRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        // Records 1..30: ZIP 10001 on the odd ones, 606xx on the even ones; record 7 hidden by
        // ISDEL, record 9 marked deleted, record 11 without a ZIP.
        for (int i = 1; i <= 30; ++i) {
            smallfile::Record r{{"LNAME", QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0'))},
                                {"ZIP", i % 2 ? QStringLiteral("10001")
                                              : QStringLiteral("606%1").arg(i % 3, 2, 10, QLatin1Char('0'))}};
            if (i == 7)
                r.push_back({"ISDEL", QStringLiteral("T")});
            if (i == 9)
                r.push_back({"*marked", QString()});
            if (i == 11)
                r[1].second.clear();
            records.push_back(r);
        }
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
};

TEST_F(PresortTallyRun, CountsEveryVisibleRecordAndPutsTheTableBack)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")).ok);
    ASSERT_TRUE(table.goTo(5).ok);
    TPresortTally tally;
    ASSERT_TRUE(tally.run(table, TProgress::none()).ok);
    EXPECT_TRUE(tally.isComplete());
    EXPECT_EQ(tally.read(), 28);    // 30 less the ISDEL and the marked record
    EXPECT_EQ(tally.counted(), 27); // less the empty ZIP
    EXPECT_EQ(tally.countOf(10001), 12);
    EXPECT_EQ(tally.countOf(60600) + tally.countOf(60601) + tally.countOf(60602), 15);
    EXPECT_TRUE(tally.range().isAll());
    EXPECT_EQ(table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(table.recno(), 5u);
    EXPECT_FALSE(table.engine().isTurboRead());
}

TEST_F(PresortTallyRun, FromARecordCountsOnlyFromThereOnInTheTablesOrder)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")).ok);
    TPresortTally tally;
    ASSERT_TRUE(tally.run(table, TProgress::none(), 21).ok);
    // N21 .. N30 in name order: 10 records, 5 of them in 10001.
    EXPECT_EQ(tally.read(), 10);
    EXPECT_EQ(tally.countOf(10001), 5);
    EXPECT_FALSE(tally.range().contains(20));
    EXPECT_TRUE(tally.range().contains(21));
    EXPECT_TRUE(tally.range().contains(30));
    EXPECT_EQ(tally.presortLines(), (QStringList{"** ADC CHICAGO IL 606", "60600", "60601", "60602",
                                                 "** ADC NEW YORK NY 100", "10001"}));

    // A start the query hides is refused.
    EXPECT_TRUE(tally.run(table, TProgress::none(), 7).isNotFound());
    EXPECT_FALSE(tally.isComplete());
}

TEST_F(PresortTallyRun, ACancelledPassKeepsNoCounts)
{
    CancelAfter progress(5);
    TPresortTally tally;
    const TResult result = tally.run(session->table(), progress);
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(tally.isComplete());
    EXPECT_EQ(tally.counted(), 0);
    EXPECT_TRUE(tally.presortLines().isEmpty());
}

// The fixture's groups worked out here from the other engine's reading of its records, the
// way a mail clerk would: count the visible records by five digits, take the ZIPs of 10 or
// more, then the 3-digit areas of 10 or more, then the ADCs by their prefix lists, then the
// rest.
QStringList independentLines(const QList<QJsonObject> &records)
{
    std::map<QString, int> counts;
    for (const QJsonObject &r : records) {
        if (r.value(QStringLiteral("deleted")).toBool() || r.value(QStringLiteral("ISDEL")).toBool())
            continue;
        const QString zip = r.value(QStringLiteral("ZIP")).toString();
        bool digits = zip.size() >= 5;
        for (int i = 0; digits && i < 5; ++i)
            digits = zip.at(i) >= QLatin1Char('0') && zip.at(i) <= QLatin1Char('9');
        if (digits)
            ++counts[zip.left(5)];
    }
    QStringList five, three, adc, rest;
    std::map<QString, int> areas;
    for (const auto &[key, n] : counts) {
        if (n >= 10)
            five << QStringLiteral("** 5-digit ") + key << key;
        else
            areas[key.left(3)] += n;
    }
    QStringList left;
    for (const auto &[key, n] : counts) {
        if (n >= 10)
            continue;
        if (areas[key.left(3)] >= 10) {
            if (!three.contains(QStringLiteral("** 3-digit ") + key.left(3)))
                three << QStringLiteral("** 3-digit ") + key.left(3);
            three << key;
        } else {
            left << key;
        }
    }
    for (int row = 0; row < TAdcTable::kRows; ++row) {
        const TAdcRow &entry = TAdcTable::rows()[size_t(row)];
        const QStringList prefixes = QString::fromLatin1(entry.prefixes).split(QLatin1Char(' '));
        QStringList keys;
        for (const QString &key : left) {
            if (prefixes.contains(key.left(3)))
                keys << key;
        }
        if (keys.isEmpty())
            continue;
        adc << QStringLiteral("** ADC ") + QLatin1String(entry.name) << keys;
        for (const QString &key : keys)
            left.removeOne(key);
    }
    if (!left.isEmpty())
        rest << QStringLiteral("** Unknown") << left;
    return five + three + adc + rest;
}

TEST(PresortTallyFixture, GroupsTheAddressFixtureAsAnIndependentTally)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    const QString path = fixture::copy(QStringLiteral("ADD0001"), folder + QStringLiteral("/DATA"));
    TAddressSession session(folder + QStringLiteral("/CORVAN.ini"));
    session.loadSettings();
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    ASSERT_TRUE(session.table().setQuery(QStringLiteral("!ISDEL")).ok);

    TPresortTally tally;
    ASSERT_TRUE(tally.run(session.table(), TProgress::none()).ok);
    const QStringList expected = independentLines(fixture::records(QStringLiteral("ADD0001")));
    ASSERT_FALSE(expected.isEmpty());
    // The fixture holds no ZIP or area with 10 pieces: its records come in ADC groups.
    EXPECT_TRUE(expected.front().startsWith(QStringLiteral("** ADC ")));
    EXPECT_EQ(tally.presortLines(), expected);
}

} // namespace
