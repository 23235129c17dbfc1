// The memo search: the comparison rule and the walk over the visible records of a fixture
// copy, from the first record or the next one, found, not found and stopped.
#include "TMemoSearch.h"

#include "EditingFixture.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    QString memo;
    QString text;
    bool expected;
};
class MemoMatches : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(MemoMatches, IgnoreCaseAndLookOnlyAtTheFirstPartOfLongMemos)
{
    const MatchCase c = GetParam();
    EXPECT_EQ(TMemoSearch::matches(c.memo, c.text), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoMatches,
    ::testing::Values(
        MatchCase{QStringLiteral("Gift basket sent"), QStringLiteral("BASKET"), true},
        MatchCase{QStringLiteral("Gift basket sent"), QStringLiteral("baskets"), false},
        MatchCase{QStringLiteral("Éclair"), QStringLiteral("éCLAIR"), true},
        MatchCase{QString(32766, QLatin1Char('x')) + QStringLiteral("ab"), QStringLiteral("xa"), true},
        MatchCase{QString(32767, QLatin1Char('x')) + QStringLiteral("ab"), QStringLiteral("ab"), false},
        // A text longer than 255 characters is cut to its first 255.
        MatchCase{QString(255, QLatin1Char('y')), QString(255, QLatin1Char('y')) + QStringLiteral("z"),
                  true}));

TEST(MemoSearch, FindsTheFirstMatchThenTheNextAndGoesBackWhenNothingFollows)
{
    TEditingFile file;
    file.table.last();
    const quint32 start = file.table.recno();
    ASSERT_TRUE(TMemoSearch::run(file.table, QStringLiteral("GIFT BASKET"), false));
    const quint32 first = file.table.recno();
    EXPECT_TRUE(TMemoSearch::matches(file.table.memo(), QStringLiteral("gift basket")));

    // Every match in order, each from the one before, until none is left.
    int matches = 1;
    while (TMemoSearch::run(file.table, QStringLiteral("gift basket"), true))
        ++matches;
    EXPECT_GT(matches, 1);
    const quint32 lastMatch = file.table.recno();
    EXPECT_NE(lastMatch, first);

    file.table.goTo(start);
    EXPECT_FALSE(TMemoSearch::run(file.table, QStringLiteral("no memo holds this"), false));
    EXPECT_EQ(file.table.recno(), start);
}

TEST(MemoSearch, AStoppedSearchGoesBackToTheRecordItStartedOn)
{
    TEditingFile file;
    file.table.next();
    const quint32 start = file.table.recno();
    int asked = 0;
    EXPECT_FALSE(TMemoSearch::run(file.table, QStringLiteral("no memo holds this"), false,
                                  [&asked] { return ++asked > 5; }));
    EXPECT_EQ(asked, 6);
    EXPECT_EQ(file.table.recno(), start);
}

} // namespace
