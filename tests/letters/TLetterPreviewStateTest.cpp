// The preview's zoom steps and their stops, and going through pages and back.
#include "TLetterPreviewState.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> steps(bool in)
{
    TLetterPreviewState s;
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i) {
        (void)(in ? s.zoomIn() : s.zoomOut()); // the stop is seen in the zoom itself
        seen.push_back(s.zoom);
    }
    return seen;
}

TEST(PreviewZoom, InGoesTo125Then156ThenStops)
{
    EXPECT_EQ(steps(true), (std::vector<int>{125, 156, 156, 156, 156}));
}

TEST(PreviewZoom, OutGoesTo75Then56Then42ThenStops)
{
    EXPECT_EQ(steps(false), (std::vector<int>{75, 56, 42, 42, 42}));
}

TEST(PreviewZoom, FitTruncatesAndIgnoresAnEmptyPage)
{
    TLetterPreviewState s;
    s.fit(800, 816);
    EXPECT_EQ(s.zoom, 98);
    s.fit(800, 0);
    EXPECT_EQ(s.zoom, 98);
}

TEST(PreviewPages, NextOnTheLastAndPreviousOnTheFirstDoNothing)
{
    TLetterPreviewState s;
    EXPECT_FALSE(s.previousPage());
    s.nextIndex = 1;
    EXPECT_TRUE(s.nextPage());
    EXPECT_EQ(s.pageIndex, 1);
    EXPECT_EQ(s.caption(), QStringLiteral("Preview Letters Page 2"));
    s.nextIndex = 0; // the last page
    EXPECT_FALSE(s.nextPage());
    EXPECT_EQ(s.pageNumber, 2);
    EXPECT_TRUE(s.previousPage());
    EXPECT_EQ(s.pageIndex, 0);
    EXPECT_EQ(s.pageNumber, 1);
    EXPECT_FALSE(s.previousPage());
    s.nextIndex = 1;
    ASSERT_TRUE(s.nextPage());
    s.restart();
    EXPECT_EQ(s.pageIndex, 0);
    EXPECT_EQ(s.pageNumber, 1);
    EXPECT_FALSE(s.previousPage());
}

} // namespace
