// The unit types: each rounding rule at its halves and at the ends of the int range, and each
// named conversion with the figures the layouts, labels, reports and letters depend on.
#include "Units.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct RoundCase {
    double value;
    int halfEven;
    int truncated;
    int halfAwayFromZero;
};

class RoundingRules : public ::testing::TestWithParam<RoundCase>
{
};

TEST_P(RoundingRules, EachRuleGivesItsWholeNumber)
{
    const RoundCase c = GetParam();
    EXPECT_EQ(Rounding::halfEven(c.value), c.halfEven) << c.value;
    EXPECT_EQ(Rounding::truncate(c.value), c.truncated) << c.value;
    EXPECT_EQ(Rounding::halfAwayFromZero(c.value), c.halfAwayFromZero) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RoundingRules,
    ::testing::Values(RoundCase{0.0, 0, 0, 0}, RoundCase{2.5, 2, 2, 3}, RoundCase{3.5, 4, 3, 4},
                      RoundCase{-2.5, -2, -2, -3}, RoundCase{-3.5, -4, -3, -4}, RoundCase{2.4999, 2, 2, 2},
                      RoundCase{2.5001, 3, 2, 3}, RoundCase{-0.7, -1, 0, -1}, RoundCase{0.5, 0, 0, 1},
                      RoundCase{1.4999, 1, 1, 1}, RoundCase{12.5, 12, 12, 13}, RoundCase{12.9999, 13, 12, 13},
                      // Beyond the int range: the nearest end.
                      RoundCase{1e300, kIntMax, kIntMax, kIntMax},
                      RoundCase{-1e300, kIntMin, kIntMin, kIntMin},
                      RoundCase{2147483647.6, kIntMax, kIntMax, kIntMax},
                      RoundCase{std::numeric_limits<double>::infinity(), kIntMax, kIntMax, kIntMax},
                      RoundCase{kNaN, 0, 0, 0}));

// One conversion, the number it gives and the number it must give.
struct ConversionCase {
    const char *name;
    std::function<double()> convert;
    double expected;
};

std::string caseName(const ::testing::TestParamInfo<ConversionCase> &info)
{
    return info.param.name;
}

class Conversions : public ::testing::TestWithParam<ConversionCase>
{
};

TEST_P(Conversions, GiveTheirFigure)
{
    const ConversionCase &c = GetParam();
    EXPECT_DOUBLE_EQ(c.convert(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Conversions,
    ::testing::Values(
        // Design pixels and inches, always with the pixels per inch named.
        ConversionCase{"PixelsToInchesAt96", [] { return DesignPixels(96).toInches(96).value; }, 1.0},
        ConversionCase{"PixelsToInchesAt120", [] { return DesignPixels(33).toInches(120).value; }, 0.275},
        ConversionCase{"LabelWidthToPixels",
                       [] { return DesignPixels::fromInches(Inches(2.625), 96).halfEven(); }, 252},
        ConversionCase{"InchesToPixelsHalfGoesToEvenDown",
                       [] { return DesignPixels::fromInches(Inches(0.0390625), 64).halfEven(); }, 2},
        ConversionCase{"InchesToPixelsHalfGoesToEvenUp",
                       [] { return DesignPixels::fromInches(Inches(0.0546875), 64).halfEven(); }, 4},
        ConversionCase{"BarcodeWidthTruncatedToPixels",
                       [] { return DesignPixels::fromInches(Inches(2.6), 96).truncated(); }, 249},
        // Thousandths of an inch: stored with the fraction dropped, read back halves to even.
        ConversionCase{"BandHeightToMilsAt96",
                       [] { return Mils::truncatedFrom(DesignPixels(33).toInches(96)).value; }, 343},
        ConversionCase{"BandHeightToMilsAt120",
                       [] { return Mils::truncatedFrom(DesignPixels(33).toInches(120)).value; }, 275},
        ConversionCase{"MilsBackToPixels",
                       [] { return DesignPixels::fromInches(Mils(343).toInches(), 96).halfEven(); }, 33},
        ConversionCase{"MilsToInches", [] { return Mils(8500).toInches().value; }, 8.5},
        ConversionCase{"NegativeMilsTruncateTowardZero",
                       [] { return Mils::truncatedFrom(Inches(-0.0015)).value; }, -1},
        // Points and font heights in pixels: halves away from zero.
        ConversionCase{"TenPointsInPixelsAt96",
                       [] { return DesignPixels::fromPoints(Points(10), 96).halfAwayFromZero(); }, 13},
        ConversionCase{"FontHeightHalfGoesAwayFromZero",
                       [] { return DesignPixels::fromPoints(Points(3), 108).halfAwayFromZero(); }, 5},
        ConversionCase{"NegativeHeightToPoints",
                       [] { return DesignPixels(-13).toPoints(96).halfAwayFromZero(); }, -10},
        ConversionCase{"PointsToInches", [] { return Points(18).toInches().value; }, 0.25},
        ConversionCase{"InchesToPoints", [] { return Points::fromInches(Inches(0.5)).value; }, 36},
        // Pen widths: a shape's outline in design pixels becomes whole hundredths, truncated.
        ConversionCase{"ShapePenAt96",
                       [] { return HundredthsOfInch::truncatedFrom(DesignPixels(3).toInches(96)).value; }, 3},
        ConversionCase{"ShapePenAt120",
                       [] { return HundredthsOfInch::truncatedFrom(DesignPixels(3).toInches(120)).value; },
                       2},
        ConversionCase{"HundredthsToInches", [] { return HundredthsOfInch(2).toInches().value; }, 0.02},
        // Twips: 1440 to the inch, 20 to the point; dots by integer division after the product.
        ConversionCase{"TwipsToInches", [] { return Twips(12240).toInches().value; }, 8.5},
        ConversionCase{"PointsToTwips", [] { return Twips::fromPoints(Points(12)).value; }, 240},
        ConversionCase{"TwipsToPoints", [] { return Twips(250).toPoints().value; }, 12.5},
        ConversionCase{"InchesToTwips", [] { return Twips::fromInches(Inches(1.0)).value; }, 1440},
        ConversionCase{"PageWidthInDots", [] { return Twips(12240).dots(300); }, 2550},
        ConversionCase{"TwipsToDotsTruncate", [] { return Twips(1441).dots(300); }, 300},
        ConversionCase{"NegativeTwipsToDotsTowardZero", [] { return Twips(-1441).dots(300); }, -300},
        ConversionCase{"LargeTwipsDoNotOverflow", [] { return Twips(kIntMax).dots(600); }, 894784852},
        // Device dots and the printing service's tenths of a millimetre.
        ConversionCase{"InchesToDots", [] { return Inches(8.5).dots(300); }, 2550},
        ConversionCase{"DotsToInches", [] { return Inches::fromDots(150, 300).value; }, 0.5},
        ConversionCase{"LetterWidthInTenthsOfMillimetre", [] { return Inches(8.5).tenthsOfMillimetre(); },
                       2159},
        ConversionCase{"A4HeightInTenthsOfMillimetre",
                       [] { return Inches(11.69291338582677).tenthsOfMillimetre(); }, 2970}),
    caseName);

TEST(Inches, PointsAndSizesAddUpInTheirOwnOrder)
{
    const InchPoint origin{Inches(0.5), Inches(1.25)};
    const InchPoint moved = origin.offset(Inches(0.25), Inches(-0.25));
    EXPECT_EQ(moved, (InchPoint{Inches(0.75), Inches(1.0)}));
    const InchSize size = moved - origin;
    EXPECT_EQ(size, (InchSize{Inches(0.25), Inches(-0.25)}));
    EXPECT_EQ(origin + size, moved);
    EXPECT_EQ(Inches(3) / Inches(1.5), 2.0);
    EXPECT_EQ(2.0 * Inches(1.5) - Inches(1), Inches(2));
    EXPECT_LT(Inches(1), Inches(1.5));
    EXPECT_EQ(-Inches(1), Inches(-1));
}

} // namespace
