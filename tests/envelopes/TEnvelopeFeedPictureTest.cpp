// The feed picture: which envelope picture the feed shows and where it goes in the page.
#include "TEnvelopeFeedPicture.h"

#include <gtest/gtest.h>

namespace {

using F = TEnvelopeFeedValues;
using P = TEnvelopeFeedPicture;

TEnvelopeFeedValues feed(int orientation, int facing, int position, bool clockWise)
{
    TEnvelopeFeedValues f;
    f.Orientation = orientation;
    f.Facing = facing;
    f.Position = position;
    f.ClockWise = clockWise;
    return f;
}

TEST(FeedPicture, FacingChoosesTheSideAndClockwiseTheTurn)
{
    EXPECT_EQ(P::envelopePicture(feed(F::Portrait, F::FaceUp, F::Left, false)), P::Front);
    EXPECT_EQ(P::envelopePicture(feed(F::Portrait, F::FaceDown, F::Left, true)), P::Back);
    EXPECT_EQ(P::envelopePicture(feed(F::Landscape, F::FaceUp, F::Left, true)), P::FrontTurnedLeft);
    EXPECT_EQ(P::envelopePicture(feed(F::Landscape, F::FaceUp, F::Left, false)), P::FrontTurnedRight);
    EXPECT_EQ(P::envelopePicture(feed(F::Landscape, F::FaceDown, F::Left, true)), P::BackTurnedLeft);
    EXPECT_EQ(P::envelopePicture(feed(F::Landscape, F::FaceDown, F::Left, false)), P::BackTurnedRight);
}

TEST(FeedPicture, ThePositionPlacesTheEnvelopeInThePage)
{
    const int page = P::size(P::Page).width();
    const int turned = P::size(P::FrontTurnedRight).width();
    EXPECT_EQ(P::envelopeAt(feed(F::Landscape, F::FaceUp, F::Left, false)), QPoint(2, 2));
    EXPECT_EQ(P::envelopeAt(feed(F::Landscape, F::FaceUp, F::Right, false)), QPoint(page - turned - 2, 2));
    EXPECT_EQ(P::envelopeAt(feed(F::Landscape, F::FaceUp, F::Center, false)),
              QPoint(page / 2 - turned / 2, 2));
    // The drawn picture has the envelope's outline where it was placed, and nothing left of it.
    const QImage image = P::render(feed(F::Landscape, F::FaceUp, F::Right, false));
    ASSERT_EQ(image.size(), P::size(P::Page));
    const int x = page - turned - 2;
    EXPECT_LT(qGray(image.pixel(x, 20)), 128);
    EXPECT_GT(qGray(image.pixel(x - 10, 20)), 200);
}

} // namespace
