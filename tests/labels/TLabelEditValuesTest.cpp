// The lengths of "User Defined Label Layout" in inches and millimetres: only boxes typed into
// take their shown values back.
#include "TLabelEditValues.h"

#include <gtest/gtest.h>

using Box = TLabelEditValues::Box;

TEST(TLabelEditValues, SwitchingUnitsKeepsValuesThatWereNotEdited)
{
    TLabelEditValues v;
    v.setInches(Box::VertPitch, 1.0);
    v.setInches(Box::Width, 2.625);
    EXPECT_EQ(v.text(Box::VertPitch), QStringLiteral("1.000"));
    v.setMillimetres(true);
    EXPECT_EQ(v.text(Box::VertPitch), QStringLiteral("25.4"));
    EXPECT_EQ(v.text(Box::Width), QStringLiteral("66.7"));
    // The box is shown again as it is: still the held value.
    v.setText(Box::VertPitch, QStringLiteral("25.4"));
    v.setMillimetres(false);
    EXPECT_DOUBLE_EQ(v.inches(Box::VertPitch), 1.0);
    EXPECT_DOUBLE_EQ(v.inches(Box::Width), 2.625);
    v.setMillimetres(true);
    EXPECT_DOUBLE_EQ(v.inches(Box::Width), 2.625);
}

TEST(TLabelEditValues, TypedMillimetresBecomeInchesWithThreeDecimals)
{
    TLabelEditValues v;
    v.setInches(Box::Height, 1.0);
    v.setMillimetres(true);
    v.setText(Box::Height, QStringLiteral("25"));
    EXPECT_DOUBLE_EQ(v.inches(Box::Height), 0.984);
    v.setMillimetres(false);
    EXPECT_EQ(v.text(Box::Height), QStringLiteral("0.984"));
    v.setMillimetres(true);
    v.setText(Box::Height, QStringLiteral("7"));
    EXPECT_DOUBLE_EQ(v.inches(Box::Height), 0.276);
}

TEST(TLabelEditValues, LeavingTheLabelSizeRaisesAShorterPitch)
{
    TLabelEditValues v;
    v.setInches(Box::Width, 2.0);
    v.setInches(Box::HorizPitch, 2.5);
    v.setText(Box::Width, QStringLiteral("3.1"));
    v.raisePitchToWidth();
    EXPECT_DOUBLE_EQ(v.inches(Box::HorizPitch), 3.1);
    v.setInches(Box::Height, 1.0);
    v.setInches(Box::VertPitch, 1.5);
    v.raisePitchToHeight();
    EXPECT_DOUBLE_EQ(v.inches(Box::VertPitch), 1.5);
}
