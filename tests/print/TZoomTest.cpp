// Preview zoom rules.
#include "TZoom.h"

#include <gtest/gtest.h>

struct ZoomCase {
    double request;
    double expected;
};
class ZoomRequest : public ::testing::TestWithParam<ZoomCase>
{
};

TEST_P(ZoomRequest, Resolves)
{
    const InchSize letter{Inches(8.5), Inches(11.0)};
    const QSize view(816, 528); // page width 100 %, whole page 50 %
    EXPECT_DOUBLE_EQ(TZoom::resolve(GetParam().request, letter, view, 96.0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZoomRequest,
                         ::testing::Values(ZoomCase{15 - TZoom::kZoomInc, 10},
                                           ZoomCase{195 + TZoom::kZoomInc, 200}, ZoomCase{0, 10},
                                           ZoomCase{10, 10}, ZoomCase{200, 200}, ZoomCase{137.5, 137.5},
                                           ZoomCase{-2, 100}, ZoomCase{-1.9, 100}, ZoomCase{-1.89, 50},
                                           ZoomCase{-0.01, 50}, ZoomCase{-1, 50}));

TEST(Zoom, ModesGiveRequests)
{
    EXPECT_EQ(TZoom::requestForMode(1), TZoom::kWholePageRequest);
    EXPECT_EQ(TZoom::requestForMode(2), TZoom::kPageWidthRequest);
    EXPECT_EQ(TZoom::requestForMode(100), 100);
    // Whole page takes the lesser of the two fits.
    EXPECT_DOUBLE_EQ(TZoom::wholePagePercent({Inches(8.5), Inches(11)}, QSize(408, 2000), 96), 50);
}
