// The designer's zoom ladder in whole percents.
#include "TLabelZoom.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TLabelZoom, StepsInTensFrom40To160AndStops)
{
    std::vector<int> up{100};
    for (int i = 0; i < 8; ++i)
        up.push_back(TLabelZoom::zoomIn(up.back()));
    EXPECT_EQ(up, (std::vector<int>{100, 110, 120, 130, 140, 150, 160, 160, 160}));
    std::vector<int> down{100};
    for (int i = 0; i < 8; ++i)
        down.push_back(TLabelZoom::zoomOut(down.back()));
    EXPECT_EQ(down, (std::vector<int>{100, 90, 80, 70, 60, 50, 40, 40, 40}));
    // A factor reached by sums of tenths still stands at its whole percent.
    float factor = 1.0f;
    for (int i = 0; i < 5; ++i)
        factor += 0.1f;
    EXPECT_EQ(TLabelZoom::percentOf(factor), 150);
    EXPECT_EQ(TLabelZoom::zoomIn(TLabelZoom::percentOf(factor)), 160);
}
