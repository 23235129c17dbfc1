// The ZIP code count: keys and their groups, the count's format, the report lines, and the
// count over the records an address table shows.
#include "TZipCodeCount.h"

#include "QtPrinters.h"
#include "SmallAddressFile.h"
#include "TProgress.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
    const char *zip;
    const char *key;
    TZipCodeCount::Group group;
};

class ZipKeys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(ZipKeys, TakeTheFirstFiveCharacters)
{
    const KeyCase c = GetParam();
    const QString key = TZipCodeCount::keyOf(QLatin1String(c.zip));
    EXPECT_EQ(key, QLatin1String(c.key));
    EXPECT_EQ(TZipCodeCount::classify(key), c.group);
}

using G = TZipCodeCount::Group;
INSTANTIATE_TEST_SUITE_P(Cases, ZipKeys,
                         ::testing::Values(KeyCase{"12345-6789", "12345", G::Regular},
                                           KeyCase{"00501", "00501", G::Regular},
                                           KeyCase{"1234", "1234", G::Other},
                                           KeyCase{"1234 ", "1234", G::Other},
                                           KeyCase{"K1A 0B1", "K1A 0", G::Other}, KeyCase{"", "", G::Blank}));

TEST(ZipCount, CountsFormatWithThousandsSeparators)
{
    EXPECT_EQ(TZipCodeCount::formatCount(0), QStringLiteral("0"));
    EXPECT_EQ(TZipCodeCount::formatCount(999), QStringLiteral("999"));
    EXPECT_EQ(TZipCodeCount::formatCount(1500), QStringLiteral("1,500"));
    EXPECT_EQ(TZipCodeCount::formatCount(1234567), QStringLiteral("1,234,567"));
    EXPECT_EQ(TZipCodeCount::reportLine(QStringLiteral("12345"), 1500), QStringLiteral("12345     1,500"));
}

TEST(ZipCount, LinesListTheRegularKeysByDigitThenTheOthersThenBlank)
{
    TZipCodeCount count;
    for (const char *zip : {"94110", "10001", "94110-1234", "1234", "", "K1A 0B1", "10001", "00501"})
        count.add(QLatin1String(zip));
    for (int i = 0; i < 1500; ++i)
        count.add(QStringLiteral("55555"));
    EXPECT_EQ(count.countOf(QStringLiteral("94110")), 2);
    EXPECT_EQ(count.countOf(QStringLiteral("1234")), 1);
    EXPECT_EQ(count.countOf(QStringLiteral("1")), 0); // 1234 is not counted under "1"
    EXPECT_EQ(count.reportLines(),
              (QStringList{QStringLiteral("00501     1"), QStringLiteral("10001     2"),
                           QStringLiteral("55555     1,500"), QStringLiteral("94110     2"), QString(),
                           QString(), QStringLiteral("1234      1"), QStringLiteral("K1A 0     1"),
                           QStringLiteral("BLANK     1")}));

    TZipCodeCount noBlank;
    noBlank.add(QStringLiteral("94110"));
    EXPECT_FALSE(noBlank.reportLines().join(QLatin1Char('|')).contains(QStringLiteral("BLANK")));
}

class CancelAfter : public TProgress
{
public:
    explicit CancelAfter(int steps) : m_left(steps) {}
    void setTotal(int) override {}
    void step() override { --m_left; }
    bool cancelled() const override { return m_left <= 0; }

private:
    int m_left;
};

class ZipCountTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        const char *zips[] = {"94110", "94110-0001", "10001", "", "1234", "94110"};
        int i = 0;
        for (const char *zip : zips)
            records.push_back({{"LNAME", QStringLiteral("P%1").arg(i++)}, {"ZIP", QLatin1String(zip)}});
        records.push_back({{"LNAME", QStringLiteral("Hidden")},
                           {"ZIP", QStringLiteral("77777")},
                           {"ISDEL", QStringLiteral("T")}});
        session = smallfile::session(QString::fromStdString(dir.path()), records);
        ASSERT_TRUE(session);
    }
    TempDir dir;
    std::unique_ptr<TAddressSession> session;
};

TEST_F(ZipCountTable, CountsTheVisibleRecordsAndPutsTheOrderAndRecordBack)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(session->setOrderTag(QStringLiteral("ZIP")));
    ASSERT_TRUE(table.goTo(3));
    TZipCodeCount count;
    ASSERT_TRUE(count.DoTheSort(table, TProgress::none()).ok);
    EXPECT_TRUE(count.isCounted());
    EXPECT_EQ(count.total(), 6);
    EXPECT_EQ(count.countOf(QStringLiteral("94110")), 3);
    EXPECT_EQ(count.countOf(QStringLiteral("77777")), 0); // hidden by ISDEL
    EXPECT_EQ(count.countOf(QStringLiteral("BLANK")), 1);
    EXPECT_EQ(table.orderTag().toUpper(), QStringLiteral("ZIP"));
    EXPECT_EQ(table.recno(), 3u);
}

TEST_F(ZipCountTable, ACancelledCountIsDiscarded)
{
    TZipCodeCount count;
    CancelAfter cancel(2);
    EXPECT_TRUE(count.DoTheSort(session->table(), cancel).ok);
    EXPECT_FALSE(count.isCounted());
    EXPECT_EQ(count.total(), 0);
}

} // namespace
