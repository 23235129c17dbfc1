// Paper codes and the page sizes they select.
#include "TPaperSizes.h"

#include <gtest/gtest.h>

struct PaperCase {
    int code;
    double heightInches, widthInches; // the size handed over with a custom code
    double expectWidthMm, expectHeightMm;
};
class PaperCode : public ::testing::TestWithParam<PaperCase>
{
};

TEST_P(PaperCode, SelectsItsSize)
{
    const PaperCase c = GetParam();
    const QPageSize size = TPaperSizes::pageSize(c.code, {Inches(c.widthInches), Inches(c.heightInches)});
    if (c.expectWidthMm == 0) {
        EXPECT_FALSE(size.isValid()) << c.code;
        return;
    }
    ASSERT_TRUE(size.isValid()) << c.code;
    const QSizeF mm = size.size(QPageSize::Millimeter);
    EXPECT_NEAR(mm.width(), c.expectWidthMm, 0.6) << c.code;
    EXPECT_NEAR(mm.height(), c.expectHeightMm, 0.6) << c.code;
}

INSTANTIATE_TEST_SUITE_P(Cases, PaperCode,
                         ::testing::Values(PaperCase{1, 0, 0, 215.9, 279.4}, PaperCase{9, 0, 0, 210, 297},
                                           PaperCase{11, 0, 0, 148, 210}, PaperCase{19, 0, 0, 98.4, 225.4},
                                           PaperCase{20, 0, 0, 104.8, 241.3}, PaperCase{23, 0, 0, 127, 292.1},
                                           PaperCase{27, 0, 0, 110, 220}, PaperCase{28, 0, 0, 162, 229},
                                           PaperCase{31, 0, 0, 114, 162}, PaperCase{32, 0, 0, 114, 229},
                                           PaperCase{35, 0, 0, 176, 125}, PaperCase{36, 0, 0, 110, 230},
                                           PaperCase{37, 0, 0, 98.4, 190.5}, PaperCase{38, 0, 0, 92.1, 165.1},
                                           // Custom: inches × 254 tenths of a millimetre, rounded.
                                           PaperCase{0, 4.125, 9.5, 241.3, 104.8},
                                           PaperCase{0, 1.00002, 2.00002, 50.8, 25.4},
                                           // Unknown codes and empty custom sizes select nothing.
                                           PaperCase{24, 0, 0, 0, 0}, PaperCase{2, 0, 0, 0, 0},
                                           PaperCase{0, 0, 5, 0, 0}, PaperCase{0, -1, 5, 0, 0}));

TEST(PaperCodes, CustomSizeIsHandedOverInTenthsOfAMillimetre)
{
    const QPageSize size = TPaperSizes::pageSize(0, {Inches(9.1234), Inches(4.0)});
    // 9.1234 in × 254 = 2317.34 → 2317 tenths.
    EXPECT_DOUBLE_EQ(size.size(QPageSize::Millimeter).width(), 231.7);
    EXPECT_EQ(TPaperSizes::codeOf(QPageSize::EnvelopeMonarch), 37);
    EXPECT_EQ(TPaperSizes::codeOf(QPageSize::Legal), -1);
}

TEST(PaperCodes, StandardInchSizesAreExact)
{
    // A #10 envelope is 4 1/8 × 9 1/2 in; the paper table's inch figure is rounded to 4.12.
    EXPECT_DOUBLE_EQ(TPaperSizes::inches(TPaperSizes::pageSize(20)).width(), 4.125);
    EXPECT_DOUBLE_EQ(TPaperSizes::inches(TPaperSizes::pageSize(20)).height(), 9.5);
    EXPECT_DOUBLE_EQ(TPaperSizes::inches(TPaperSizes::pageSize(38)).width(), 3.625);
    EXPECT_DOUBLE_EQ(TPaperSizes::inches(QPageSize(QSizeF(2.63, 1.0), QPageSize::Inch)).width(), 2.63);
}
