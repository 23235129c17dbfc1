// Lengths of the page and paragraph dialogs: shown in inches, centimetres and twips, typed
// back, and points of the spacing fields.
#include "TLetterUnits.h"

#include <gtest/gtest.h>

namespace {

struct ShowCase {
    int twips;
    TLengthUnit unit;
    const char *shown;
};
class UnitDisplay : public ::testing::TestWithParam<ShowCase>
{
};
TEST_P(UnitDisplay, ShowsTwoDecimalsOrWholeTwips)
{
    const ShowCase c = GetParam();
    EXPECT_EQ(TLetterUnits::display(c.twips, c.unit).toStdString(), c.shown);
}
INSTANTIATE_TEST_SUITE_P(Cases, UnitDisplay,
                         ::testing::Values(ShowCase{1440, TLengthUnit::Inch, "1.00"},
                                           ShowCase{1440, TLengthUnit::Cm, "2.54"},
                                           ShowCase{1440, TLengthUnit::Twips, "1440"},
                                           ShowCase{12240, TLengthUnit::Inch, "8.50"},
                                           ShowCase{0, TLengthUnit::Cm, "0.00"}));

struct ParseCase {
    const char *text;
    TLengthUnit unit;
    std::optional<int> twips;
};
class UnitInput : public ::testing::TestWithParam<ParseCase>
{
};
TEST_P(UnitInput, ConvertsToTheNearestTwip)
{
    const ParseCase c = GetParam();
    EXPECT_EQ(TLetterUnits::parse(QString::fromLatin1(c.text), c.unit), c.twips) << c.text;
}
INSTANTIATE_TEST_SUITE_P(Cases, UnitInput,
                         ::testing::Values(ParseCase{"1", TLengthUnit::Inch, 1440},
                                           ParseCase{"2.54", TLengthUnit::Cm, 1440},
                                           ParseCase{"1440", TLengthUnit::Twips, 1440},
                                           ParseCase{"", TLengthUnit::Inch, 0},
                                           ParseCase{"0.5", TLengthUnit::Twips, 0}, // half to even
                                           ParseCase{"abc", TLengthUnit::Inch, std::nullopt},
                                           ParseCase{"1e9", TLengthUnit::Twips, std::nullopt},
                                           ParseCase{"nan", TLengthUnit::Inch, std::nullopt}));

TEST(UnitPoints, TwelvePointsAreTwoHundredFortyTwips)
{
    EXPECT_EQ(TLetterUnits::parsePoints(QStringLiteral("12")), 240);
    EXPECT_EQ(TLetterUnits::displayPoints(240), QStringLiteral("12"));
    EXPECT_EQ(TLetterUnits::parsePoints(QString()), 0);
    EXPECT_EQ(TLetterUnits::parsePoints(QStringLiteral("x")), std::nullopt);
}

} // namespace
