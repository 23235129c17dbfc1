// The built-in ADC table: its rows and names as printed, every prefix listed once, prefixes
// matched as whole entries, and the one ADC listed in two rows bundled as one group.
#include "TAdcTable.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QString>
#include <QStringList>

namespace {

TEST(AdcTable, Holds96RowsAnd930PrefixesNoneTwice)
{
    const auto &rows = TAdcTable::rows();
    ASSERT_EQ(rows.size(), 96u);
    QSet<QString> seen;
    int prefixes = 0;
    for (const TAdcRow &row : rows) {
        const QString text = QLatin1String(row.prefixes);
        for (const QString &prefix : text.split(QLatin1Char(' '))) {
            ASSERT_EQ(prefix.size(), 3) << row.name << " lists \"" << qPrintable(prefix) << '"';
            bool digits = false;
            prefix.toInt(&digits);
            ASSERT_TRUE(digits) << row.name;
            EXPECT_FALSE(seen.contains(prefix)) << qPrintable(prefix) << " twice";
            seen.insert(prefix);
            ++prefixes;
        }
    }
    EXPECT_EQ(prefixes, 930);
}

TEST(AdcTable, NamesKeepTheirBlanksAndTableOrder)
{
    const auto &rows = TAdcTable::rows();
    EXPECT_STREQ(rows[0].name, "ALBANY NY 120");
    EXPECT_STREQ(rows[25].name, "FARGO ND  580");
    EXPECT_STREQ(rows[36].name, "LAS VEGAS  NV 890");
    EXPECT_STREQ(rows[52].name, "NEW YORK NY 100");
    EXPECT_STREQ(rows[73].name, "SAN JUAN PR  006");
    EXPECT_STREQ(rows[95].name, "WILMINGTON DE 197");
    EXPECT_STREQ(rows[27].prefixes, "490 491 492 493 494 496 497 495"); // in the order given
}

struct PrefixCase {
    int prefix;
    int row; // -1: no ADC serves it
};
class AdcPrefixes : public ::testing::TestWithParam<PrefixCase>
{
};

TEST_P(AdcPrefixes, MatchWholeEntriesOnly)
{
    const PrefixCase c = GetParam();
    EXPECT_EQ(TAdcTable::rowOfPrefix(c.prefix), c.row);
}

INSTANTIATE_TEST_SUITE_P(Cases, AdcPrefixes,
                         ::testing::Values(PrefixCase{120, 0}, PrefixCase{100, 52}, PrefixCase{201, 23},
                                           PrefixCase{220, 23}, PrefixCase{495, 27}, PrefixCase{199, 95},
                                           PrefixCase{1, -1}, PrefixCase{3, -1}, PrefixCase{12, 82},
                                           PrefixCase{0, -1}, PrefixCase{-1, -1}, PrefixCase{1000, -1}));

TEST(AdcTable, BothWhiteRiverJunctionRowsAreRowsOfTheirOwn)
{
    EXPECT_STREQ(TAdcTable::rows()[size_t(TAdcTable::rowOfPrefix(35))].name, "WHITE RIVER JCT VT 050");
    EXPECT_STREQ(TAdcTable::rows()[size_t(TAdcTable::rowOfPrefix(50))].name, "WHITE RVR JCT VT 050");
}

} // namespace
