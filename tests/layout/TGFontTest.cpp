// The font's conversions between point sizes and stored pixel heights, at the ends of the
// range a damaged layout can hold.
#include "TGFont.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

struct HeightCase {
    int points;
    double pixelsPerInch;
    int height;
};
class FontHeight : public ::testing::TestWithParam<HeightCase>
{
};

TEST_P(FontHeight, IsMinusThePixelsHalvesAwayFromZeroWithinTheIntRange)
{
    const HeightCase c = GetParam();
    EXPECT_EQ(TGFont(QStringLiteral("Arial"), c.points).height(c.pixelsPerInch), c.height);
}

INSTANTIATE_TEST_SUITE_P(Cases, FontHeight,
                         ::testing::Values(HeightCase{10, 96, -13}, HeightCase{9, 96, -12},
                                           HeightCase{10, 120, -17}, HeightCase{3, 108, -5},
                                           HeightCase{kIntMax, 96, kIntMin},
                                           HeightCase{kIntMin, 96, kIntMax}));

struct PointsCase {
    int height;
    double pixelsPerInch;
    int points;
};
class PointsFromHeight : public ::testing::TestWithParam<PointsCase>
{
};

TEST_P(PointsFromHeight, IsMinusTheSizeHalvesAwayFromZeroWithinTheIntRange)
{
    const PointsCase c = GetParam();
    EXPECT_EQ(TGFont::pointsFromHeight(c.height, c.pixelsPerInch), c.points);
}

INSTANTIATE_TEST_SUITE_P(Cases, PointsFromHeight,
                         ::testing::Values(PointsCase{-13, 96, 10}, PointsCase{-17, 120, 10},
                                           PointsCase{-5, 120, 3}, PointsCase{-14, 96, 11},
                                           PointsCase{kIntMin, 1, kIntMax}, PointsCase{kIntMax, 1, kIntMin}));

TEST(TGFont, AHugeZoomedSizeDrawsAtTheLargestSizeATypefaceCanHave)
{
    const TGFont font(QStringLiteral("Arial"), kIntMax);
    const int largest = -TGFont::heightFromPoints(TGFont::kMaxDrawPoints, 96);
    EXPECT_EQ(font.qtFont(96, 1.5f).pixelSize(), largest);
    EXPECT_EQ(font.qtFont(96).pixelSize(), largest);
    EXPECT_EQ(TGFont(QStringLiteral("Arial"), 10).qtFont(96, 1.5f).pixelSize(), 20); // 15 points
}

} // namespace
