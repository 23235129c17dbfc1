// The in-memory label setup: its two default sets, the rules of user-defined sheets and the
// range check of rows read from the tables, and where each label of a sheet lies.
#include "TLabelSetup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TLabelSetup, NewSetupStartsFromTheCatalogues5160Sheet)
{
    const TLabelSetup s = TLabelSetup::newSetupDefaults();
    EXPECT_TRUE(s.Description.isEmpty());
    EXPECT_EQ(s.TplDescrip, QStringLiteral("Avery 5160  Address"));
    EXPECT_FLOAT_EQ(s.HorizPitch, 2.75f);
    EXPECT_FLOAT_EQ(s.VertPitch, 1.0f);
    EXPECT_EQ(s.ProdType, QStringLiteral("ADDRESS/SHIPPING LABELS"));
    EXPECT_EQ(s.PaperSize, QStringLiteral("LTR"));
    EXPECT_EQ(s.LblShape, QStringLiteral("RR"));
    EXPECT_TRUE(s.Binary.isEmpty());
    // The tenth row lies where the stock has it: 0.5 + 9 x 1.0.
    EXPECT_NEAR(s.labelOrigin(27).y(), 9.5, 1e-6);
    EXPECT_NEAR(s.labelOrigin(2).x(), 0.188 + 2 * 2.75, 1e-6);

    const TLabelSetup e = TLabelSetup::emptyListDefaults();
    EXPECT_EQ(e.Description, QStringLiteral("Default Label Setup"));
    EXPECT_EQ(e.ProdType, QStringLiteral("ADDRESS LABELS"));
    EXPECT_FLOAT_EQ(e.HorizPitch, 2.75f);
}

struct ValidCase {
    float height, width;
    int across, down;
    float hpitch, vpitch, sheetWidth, sheetDepth;
    const char *message;
};
class ValidLabel : public ::testing::TestWithParam<ValidCase>
{
};
TEST_P(ValidLabel, FirstBrokenRuleGivesItsMessage)
{
    const ValidCase c = GetParam();
    TLabelSetup s;
    s.LblHeight = c.height;
    s.LblWidth = c.width;
    s.NbrAcross = c.across;
    s.NbrDown = c.down;
    s.HorizPitch = c.hpitch;
    s.VertPitch = c.vpitch;
    s.SheetWidth = c.sheetWidth;
    s.SheetDepth = c.sheetDepth;
    EXPECT_EQ(s.validLabelMessage(), QLatin1String(c.message));
}
INSTANTIATE_TEST_SUITE_P(
    Cases, ValidLabel,
    ::testing::Values(
        // A 1 x 1 sheet needs no pitches; with two columns the pitch check applies.
        ValidCase{1, 2, 1, 1, 0, 0, 8.5, 11, ""},
        ValidCase{1, 2, 2, 1, 0, 0, 8.5, 11, "Horizontal Pitch must be at least = Label Width"},
        ValidCase{1, 2, 1, 2, 0, 0, 8.5, 11, "Vertical Pitch must be at least = Label Height"},
        // 7 mm is 0.276 inch and fails; 8 mm (0.315 inch) passes, as the message says.
        ValidCase{0.276f, 2, 1, 1, 0, 0, 8.5, 11, "Label Height must be at least .3 inches (or 8mm)"},
        ValidCase{0.315f, 2, 1, 1, 0, 0, 8.5, 11, ""},
        ValidCase{1, 0.49f, 1, 1, 0, 0, 8.5, 11, "Label Width must be at least .5 inch (or 13mm)"},
        ValidCase{1, 0.512f, 1, 1, 0, 0, 8.5, 11, ""},
        // Only the first broken rule is told.
        ValidCase{0.2f, 0.2f, 2, 2, 0, 0, 0, 0, "Label Height must be at least .3 inches (or 8mm)"},
        ValidCase{1, 2, 1, 1, 0, 0, 0.29f, 11, "Page Width must be at least .3 inch"},
        ValidCase{1, 2, 1, 1, 0, 0, 8.5, 0.29f, "Page Height must be at least .3 inches"}));

struct RangeCase {
    int across, down;
    float height, hpitch, sheetWidth;
    double midX;
    const char *column;
};
class RowRange : public ::testing::TestWithParam<RangeCase>
{
};
TEST_P(RowRange, NamesTheFirstColumnThatCannotMakeASheet)
{
    const RangeCase c = GetParam();
    TLabelSetup s = TLabelSetup::newSetupDefaults();
    s.NbrAcross = c.across;
    s.NbrDown = c.down;
    s.LblHeight = c.height;
    s.HorizPitch = c.hpitch;
    s.SheetWidth = c.sheetWidth;
    s.MidExtraX = c.midX;
    EXPECT_EQ(s.invalidColumn(), QLatin1String(c.column));
}
INSTANTIATE_TEST_SUITE_P(
    Cases, RowRange,
    ::testing::Values(
        RangeCase{3, 10, 1, 2.75f, 8.5f, 0, ""}, RangeCase{0, 10, 1, 2.75f, 8.5f, 0, "NBRACROSS"},
        RangeCase{11, 10, 1, 2.75f, 8.5f, 0, "NBRACROSS"}, RangeCase{3, -1, 1, 2.75f, 8.5f, 0, "NBRDOWN"},
        RangeCase{3, 31, 1, 2.75f, 8.5f, 0, "NBRDOWN"}, RangeCase{3, 10, 0, 2.75f, 8.5f, 0, "LBLHEIGHT"},
        RangeCase{3, 10, std::numeric_limits<float>::quiet_NaN(), 2.75f, 8.5f, 0, "LBLHEIGHT"},
        RangeCase{3, 10, 1, 0, 8.5f, 0, "HORIZPITCH"}, RangeCase{1, 10, 1, 0, 8.5f, 0, ""},
        RangeCase{3, 10, 1, -2, 8.5f, 0, "HORIZPITCH"}, RangeCase{3, 10, 1, 2.75f, 0, 0, "SHEETWIDTH"},
        RangeCase{3, 10, 1, 2.75f, 8.5f, -0.1, "MIDEXTRAX"}));

TEST(TLabelSetup, ExtraGapsShiftTheRightAndLowerHalves)
{
    TLabelSetup s;
    s.NbrAcross = 2;
    s.NbrDown = 2;
    s.LeftMarg = 0;
    s.TopMarg = 0;
    s.HorizPitch = 3;
    s.VertPitch = 2;
    s.MidExtraX = 0.25;
    EXPECT_NEAR(s.labelOrigin(0).x(), 0.0, 1e-9);
    EXPECT_NEAR(s.labelOrigin(1).x(), 3.25, 1e-9);
    s.NbrAcross = 3;
    EXPECT_NEAR(s.labelOrigin(1).x(), 3.25, 1e-9);
    EXPECT_NEAR(s.labelOrigin(2).x(), 6.25, 1e-9);
    EXPECT_NEAR(s.labelOrigin(0).x(), 0.0, 1e-9);
}

TEST(TLabelSetup, SheetNameShapesAndPapers)
{
    TLabelSetup s;
    s.TplDescrip.clear();
    EXPECT_EQ(s.sheetName(), QStringLiteral("[User Defined]"));
    s.TplDescrip = QStringLiteral("Avery 5160  Address");
    s.Art = QStringLiteral("AV5160");
    s.makeUserDefined();
    EXPECT_EQ(s.Manufac, QStringLiteral("USER"));
    EXPECT_TRUE(s.Art.isEmpty());
    EXPECT_EQ(s.sheetName(), QStringLiteral("[User Defined]"));
    EXPECT_EQ(TLabelSetup::shapeIndex(QStringLiteral("SR")), 1);
    EXPECT_EQ(TLabelSetup::shapeIndex(QStringLiteral("XX")), 2);
    ASSERT_EQ(TLabelSetup::papers().size(), 7);
    EXPECT_EQ(TLabelSetup::papers().at(3).caption, QStringLiteral("A4 Landscape ( 297 x 210mm)"));
    EXPECT_EQ(TLabelSetup::paperIndex(QStringLiteral("a5")), 4);
}
