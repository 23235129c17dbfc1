// Multi-line text: wrapping within the width, placeholders, fitting the box to the lines, and
// printing line by line where only lines whose top lies inside the box print.
#include "MultiLineTestSupport.h"
#include "TGDMultiLineLabel.h"
#include "TGMultiLineLabel.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QFontMetrics>

namespace {

TEST_F(MultiLineSurface, WrappedLinesFitTheWidthAndKeepEveryWord)
{
    auto *text = add<TGMultiLineLabel>(10, 10);
    const QString words =
        QStringLiteral("The quick brown fox jumps over the lazy dog and keeps running far away");
    text->setItems({words, QString(), QStringLiteral("Short")});
    text->ToggleWordWrap();
    ASSERT_TRUE(text->WordWrap());
    const QFontMetrics fm(text->scaledFont());
    ASSERT_GT(text->wrappedLines().size(), 4);
    for (const QString &line : text->wrappedLines())
        EXPECT_LE(fm.horizontalAdvance(line), text->Width()) << line.toStdString();
    // Hard breaks stay, and the words come back in order.
    EXPECT_TRUE(text->wrappedLines().contains(QString()));
    EXPECT_EQ(text->wrappedLines().last().toStdString(), "Short");
    const QStringList firstParagraph = text->wrappedLines().mid(0, text->wrappedLines().indexOf(QString()));
    EXPECT_EQ(firstParagraph.join(QLatin1Char(' ')).toStdString(), words.toStdString());
    // A narrower box breaks again.
    const qsizetype before = text->wrappedLines().size();
    text->setWidth(100);
    EXPECT_GT(text->wrappedLines().size(), before);
}

TEST_F(MultiLineSurface, FitToLinesGivesEachLineTheHeightOfXXX)
{
    auto *text = add<TGMultiLineLabel>(0, 0);
    text->setItems(
        {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("a much longer third line here")});
    text->setWidth(20);
    text->FitToLines();
    const QFontMetrics fm(text->scaledFont());
    EXPECT_EQ(text->Height(), 3 * fm.height());
    EXPECT_EQ(text->Width(), fm.horizontalAdvance(QStringLiteral("a much longer third line here")));
}

TEST_F(MultiLineSurface, PlaceholdersForNoText)
{
    auto *text = add<TGMultiLineLabel>(0, 0);
    auto *memo = add<TGDMultiLineLabel>(0, 100);
    EXPECT_EQ(text->placeholder().toStdString(), "<blank>");
    EXPECT_EQ(memo->placeholder().toStdString(), "<blank memo>");
    // Nothing prints for no text.
    EXPECT_TRUE(printed().texts.empty());
}

TEST_F(MultiLineSurface, OnlyLinesWhoseTopLiesInsideTheBoxPrint)
{
    auto *text = add<TGMultiLineLabel>(48, 24);
    text->setItems({QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3"), QStringLiteral("L4"),
                    QStringLiteral("L5")});
    text->FitToLines();
    text->setHeight(text->Height() * 3 / 5);
    const TextSpy spy = printed();
    ASSERT_FALSE(spy.texts.empty());
    // Three lines of five fit; each starts at the box's left, one line height below the other.
    ASSERT_EQ(spy.texts.size(), 3u);
    EXPECT_EQ(spy.texts[2].text.toStdString(), "L3");
    EXPECT_NEAR(spy.texts[0].x, 0.5 + 48 / 96.0, 1.0 / 600);
    EXPECT_NEAR(spy.texts[0].y, 1.0 + 24 / 96.0, 1.0 / 600);
    EXPECT_GT(spy.texts[1].y, spy.texts[0].y);
    EXPECT_NEAR(spy.texts[2].y - spy.texts[1].y, spy.texts[1].y - spy.texts[0].y, 1.0 / 300);
    EXPECT_NEAR(spy.texts[0].clip.bottom, 1.0 + (24 + text->Height()) / 96.0, 1e-9);
}

TEST_F(MultiLineSurface, ADamagedFontSizeStillPrintsAtOnePointOrMore)
{
    auto *text = add<TGMultiLineLabel>(0, 0);
    text->setItems({QStringLiteral("Tiny")});
    TGFont font = text->Font();
    font.setSize(0);
    text->setFont(font);
    text->setHeight(200);
    const TextSpy spy = printed();
    ASSERT_EQ(spy.texts.size(), 1u);
    EXPECT_GE(spy.texts[0].font.points, 1.0);
    EXPECT_GE(text->scaledFont().pixelSize(), 1);
    // A zoom that truncates the size to 0 still draws at 1 point or more.
    font.setSize(1);
    text->setFont(font);
    text->setScaleFactor(0.5f);
    EXPECT_GE(text->scaledFont().pixelSize(), 1);
}

} // namespace
