// Where the envelope goes on the printer's page by the feed, when the pre-print dialog warns,
// and the feed's description.
#include "TEnvelopePlacement.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

constexpr InchSize kTen{Inches(9.5), Inches(4.125)};
constexpr InchSize kLetter{Inches(8.5), Inches(11)};
constexpr InchSize kLetterLandscape{Inches(11), Inches(8.5)};

TEnvelopeFeedValues feed(int orientation, int facing, int position, bool clockWise)
{
    TEnvelopeFeedValues f;
    f.Orientation = orientation;
    f.Facing = facing;
    f.Position = position;
    f.ClockWise = clockWise;
    return f;
}

struct PlaceCase {
    InchSize page;
    TEnvelopeFeedValues feed;
    double x, y;
};

class Placement : public ::testing::TestWithParam<PlaceCase>
{
};

TEST_P(Placement, PutsTheEnvelopeWhereTheFeedSays)
{
    const PlaceCase c = GetParam();
    const InchPoint at = TEnvelopePlacement::offset(c.page, kTen, c.feed);
    EXPECT_DOUBLE_EQ(at.x.value, c.x);
    EXPECT_DOUBLE_EQ(at.y.value, c.y);
}

using F = TEnvelopeFeedValues;
INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    ::testing::Values(
        // The page is the envelope (to a tenth of an inch): no offset, whatever the feed.
        PlaceCase{kTen, feed(F::Landscape, F::FaceDown, F::Center, false), 0, 0},
        PlaceCase{{Inches(9.52), Inches(4.13)}, feed(F::Landscape, F::FaceUp, F::Right, false), 0, 0},
        // Wider envelope than page: a negative offset becomes 0.
        PlaceCase{kLetter, feed(F::Portrait, F::FaceUp, F::Center, false), 0, 0},
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceUp, F::Right, false), 1.5, 4.375},
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceUp, F::Right, true), 0, 4.375},
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceUp, F::Center, false), 1.5, 2.1875},
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceUp, F::Left, false), 1.5, 0},
        // Facing down mirrors left and right.
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceDown, F::Left, false), 1.5, 4.375},
        PlaceCase{kLetterLandscape, feed(F::Landscape, F::FaceDown, F::Right, false), 1.5, 0},
        PlaceCase{{Inches(14), Inches(8.5)}, feed(F::Portrait, F::FaceUp, F::Right, false), 4.5, 0},
        PlaceCase{{Inches(14), Inches(8.5)}, feed(F::Portrait, F::FaceUp, F::Center, false), 2.25, 0},
        PlaceCase{{Inches(14), Inches(8.5)}, feed(F::Portrait, F::FaceDown, F::Left, false), 4.5, 0},
        PlaceCase{{Inches(14), Inches(8.5)}, feed(F::Portrait, F::FaceDown, F::Right, false), 0, 0}));

TEST(PageSizeWarning, ShowsOnlyWhenPageAndEnvelopeAreMoreThanAnInchApart)
{
    EXPECT_FALSE(TEnvelopePlacement::pageDiffers({Inches(9.5), Inches(4.13)}, kTen));
    EXPECT_TRUE(TEnvelopePlacement::pageDiffers(kLetter, kTen));
    // Exactly one inch apart is still close enough; a hundredth more is not.
    EXPECT_FALSE(TEnvelopePlacement::pageDiffers({Inches(10.5), Inches(4.125)}, kTen));
    EXPECT_TRUE(TEnvelopePlacement::pageDiffers({Inches(10.52), Inches(4.125)}, kTen));
    EXPECT_TRUE(TEnvelopePlacement::pageDiffers({Inches(9.5), Inches(2.9)}, kTen));
}

TEST(FeedDescription, NamesPositionOrientationRotationAndFacing)
{
    EXPECT_EQ(TEnvelopePlacement::description(feed(F::Landscape, F::FaceDown, F::Center, false)),
              QStringLiteral("Position: Center\r\nOrientation : Landscape\r\nFacing Down"));
    EXPECT_EQ(TEnvelopePlacement::description(feed(F::Portrait, F::FaceUp, F::Left, true)),
              QStringLiteral("Position: Left\r\nOrientation : Portrait\r\nClockwise Rotation\r\nFacing Up"));
    EXPECT_EQ(TEnvelopePlacement::description(feed(F::Landscape, F::FaceUp, F::Right, false)),
              QStringLiteral("Position: Right\r\nOrientation : Landscape\r\nFacing Up"));
}

} // namespace
