// The tagging pass over a fixture copy: every filter match tagged exactly once, also when
// tagging moves the record in the order or takes it out of the filter; a pass cancelled part
// way; a failing record; no records at all.
#include "TTagPass.h"

#include "EditingFixture.h"
#include "TAddressTagTarget.h"
#include "TagTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("V1AAAA"); // on no record of the fixture

// Runs the pass to its end in steps of `records`; false when it had not ended after far more
// steps than the records need (a loop).
bool runToEnd(TTagPass &pass, int records, int recordsInTable)
{
    for (int steps = 0; steps < 4 * recordsInTable + 10; ++steps)
        if (!pass.step(records))
            return true;
    return false;
}

struct PassCase {
    const char *filter;
    const char *order;
};
class TagPassCases : public ::testing::TestWithParam<PassCase>
{
};

TEST_P(TagPassCases, TagsEveryMatchOnce)
{
    const PassCase c = GetParam();
    TEditingFile file;
    file.table.setGlobalTagId(kId);
    ASSERT_TRUE(file.setFilter(QLatin1String(c.filter)));
    ASSERT_TRUE(file.table.setOrderTag(QLatin1String(c.order)));
    const QList<quint32> matches = fixture::visibleInOrder(file.table);
    ASSERT_GT(matches.size(), 10);

    TAddressTagTarget target(file.table);
    TTagPass pass(target);
    pass.start();
    ASSERT_TRUE(runToEnd(pass, 7, int(file.table.engine().recordCount())));
    EXPECT_TRUE(pass.isComplete());
    EXPECT_TRUE(pass.failure().ok);
    EXPECT_EQ(pass.taggedCount(), matches.size());
    for (quint32 r : matches)
        EXPECT_EQ(tagtest::storedTag(file.table, r), kId) << r;
    // Nothing else was tagged.
    file.filter = QStringLiteral("UPPER(TAG)=\"") + kId + QLatin1Char('"');
    file.table.setQuery(file.query());
    EXPECT_EQ(file.table.visibleCount(), matches.size());
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Cases, TagPassCases,
                         ::testing::Values(PassCase{"UPPER(STATE)=\"CA\"", "LNAME"},
                                           // Tagging moves each record in the TAG order.
                                           PassCase{"UPPER(STATE)=\"CA\"", "TAG"},
                                           // Tagging takes each record out of the filter and moves it.
                                           PassCase{"!(UPPER(TAG)=\"V1AAAA\")", "TAG"}, PassCase{"", "ZIP"}));

TEST(TagPass, CancelledPartWayLeavesThePassedRecordsTaggedAndTheOthersNot)
{
    TEditingFile file;
    file.table.setGlobalTagId(kId);
    const QList<quint32> order = fixture::visibleInOrder(file.table);
    TAddressTagTarget target(file.table);
    TTagPass pass(target);
    pass.start();
    // Listing takes the first steps; tag 40 records, then cancel.
    while (pass.taggedCount() < 40)
        ASSERT_TRUE(pass.step(1));
    pass.cancel();
    EXPECT_FALSE(pass.step(100));
    EXPECT_TRUE(pass.isFinished());
    EXPECT_TRUE(pass.isCancelled());
    EXPECT_FALSE(pass.isComplete());
    EXPECT_EQ(pass.taggedCount(), 40);
    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ(tagtest::storedTag(file.table, order[i]) == kId, i < 40) << i;
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST(TagPass, AFailingRecordStopsThePassWithItsMessage)
{
    tagtest::FailingTarget target(5, 3);
    TTagPass pass(target);
    pass.start();
    EXPECT_FALSE(pass.step(100));
    EXPECT_EQ(pass.taggedCount(), 2);
    EXPECT_EQ(pass.failure().message, QStringLiteral("Disk full"));
    EXPECT_FALSE(pass.isComplete());
    EXPECT_EQ(target.tagged, (QList<bool>{false, true, true, false, false, false}));
}

TEST(TagPass, NoRecordsIsCompleteAtOnce)
{
    tagtest::FailingTarget target(0, 0);
    TTagPass pass(target);
    pass.start();
    EXPECT_FALSE(pass.step(1));
    EXPECT_TRUE(pass.isComplete());
    EXPECT_EQ(pass.taggedCount(), 0);
}

} // namespace
