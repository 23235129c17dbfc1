#include "TLetterPageLayout.h"

#include <gtest/gtest.h>

#include <QTextDocument>

TEST(TLetterPageLayout, ANewLetterIsLetterPaperWithInchMargins)
{
    const TLetterPageLayout page;
    EXPECT_EQ(page.paperWidth, 12240);
    EXPECT_EQ(page.paperHeight, 15840);
    EXPECT_EQ(page.marginLeft, 1440);
    EXPECT_EQ(page.marginRight, 1440);
    EXPECT_EQ(page.marginTop, 1440);
    EXPECT_EQ(page.marginBottom, 1440);
    EXPECT_EQ(page.textWidth(), 9360);
    EXPECT_TRUE(page.isUsable());
    QTextDocument empty;
    EXPECT_EQ(TLetterPageLayout::of(empty), page);
}

TEST(TLetterPageLayout, TravelsWithTheDocumentAndItsCopies)
{
    TLetterPageLayout page;
    page.paperWidth = 16838;
    page.paperHeight = 11906;
    page.marginLeft = 720;
    page.marginBottom = 0;
    QTextDocument doc;
    page.applyTo(doc);
    EXPECT_EQ(TLetterPageLayout::of(doc), page);
    doc.setPlainText(QStringLiteral("text"));
    EXPECT_EQ(TLetterPageLayout::of(doc), page);
}

struct UsableCase {
    TLetterPageLayout in;
    TLetterPageLayout out;
};
class PageUsable : public ::testing::TestWithParam<UsableCase>
{
};

TEST_P(PageUsable, LeavesRoomToLayOutText)
{
    const UsableCase c = GetParam();
    EXPECT_EQ(c.in.usable(), c.out);
    EXPECT_TRUE(c.out.isUsable());
    EXPECT_EQ(c.in.isUsable(), c.in == c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PageUsable,
    ::testing::Values(UsableCase{{12240, 15840, 1440, 1440, 1440, 1440},
                                 {12240, 15840, 1440, 1440, 1440, 1440}},
                      UsableCase{{0, -5, 1440, 1440, 1440, 1440}, {12240, 15840, 1440, 1440, 1440, 1440}},
                      UsableCase{{200000, 143, 0, 0, 0, 0}, {12240, 15840, 0, 0, 0, 0}},
                      UsableCase{{12240, 15840, -10, 7000, 0, 0}, {12240, 15840, 0, 7000, 0, 0}},
                      // Margins that leave too little are shrunk in proportion.
                      UsableCase{{1440, 1440, 1296, 1296, 648, 0}, {1440, 1440, 648, 648, 648, 0}},
                      UsableCase{{144, 144, 10, 10, 10, 10}, {144, 144, 0, 0, 0, 0}}));

struct BoundsCase {
    TLetterPageLayout page;
    int dpiX, dpiY, offsetX, offsetY;
    QRect expected;
};
class PrinterBounds : public ::testing::TestWithParam<BoundsCase>
{
};

TEST_P(PrinterBounds, CountTheMarginsFromThePapersEdge)
{
    const BoundsCase c = GetParam();
    EXPECT_EQ(c.page.DeterminePrinterBounds(c.dpiX, c.dpiY, c.offsetX, c.offsetY), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterBounds,
    ::testing::Values(
        // Letter with inch margins at 600 dpi and no unprintable edge: 6.5 × 9 inches.
        BoundsCase{{}, 600, 600, 0, 0, QRect(600, 600, 3900, 5400)},
        // The unprintable edges move the rectangle, not its far side.
        BoundsCase{{}, 600, 600, 25, 50, QRect(575, 550, 3925, 5450)},
        BoundsCase{{}, 300, 600, 0, 0, QRect(300, 600, 1950, 5400)},
        // Each product is divided by itself, truncating: 11906 × 72 / 1440 = 595.3 → 595, and
        // 1134 × 72 / 1440 = 56.7 → 56.
        BoundsCase{{11906, 16838, 1134, 1134, 1134, 1134},
                   72,
                   72,
                   0,
                   0,
                   QRect(56, 56, 595 - 56 - 56, 841 - 56 - 56)},
        BoundsCase{
            {12240, 15840, 1000, 1000, 0, 0}, 96, 96, 10, 10, QRect(56, -10, 816 - 66 - 56, 1056 + 10)}));

// Page settings used to be taken as typed: a width of 0 divided by zero in the preview's zoom,
// and margins as large as the paper left no text area to lay out.
struct ProblemCase {
    int width, height, left, right, top, bottom;
    bool refused;
};
class PageProblem : public ::testing::TestWithParam<ProblemCase>
{
};
TEST_P(PageProblem, RefusesNegativeValuesAndPaperNotLargerThanItsMargins)
{
    const ProblemCase c = GetParam();
    TLetterPageLayout l;
    l.paperWidth = c.width;
    l.paperHeight = c.height;
    l.marginLeft = c.left;
    l.marginRight = c.right;
    l.marginTop = c.top;
    l.marginBottom = c.bottom;
    EXPECT_EQ(!l.problem().isEmpty(), c.refused) << l.problem().toStdString();
}
INSTANTIATE_TEST_SUITE_P(Cases, PageProblem,
                         ::testing::Values(ProblemCase{12240, 15840, 1440, 1440, 1440, 1440, false},
                                           ProblemCase{0, 15840, 0, 0, 1440, 1440, true},
                                           ProblemCase{2880, 15840, 1440, 1440, 1440, 1440, true},
                                           ProblemCase{2881, 15840, 1440, 1440, 1440, 1440, false},
                                           ProblemCase{12240, 2880, 1440, 1440, 1440, 1440, true},
                                           ProblemCase{12240, 15840, -1, 1440, 1440, 1440, true},
                                           ProblemCase{12240, 15840, 1440, 1440, 1440, -5, true}));
