// "Symbol Selector": columns by point size, the current symbol selected, the font caption,
// and the chosen character on Ok.
#include "TGSymbolSelectorDialog.h"
#include "TGOwner.h"
#include "TGSymbolLabel.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGSymbolSelectorDialog, ColumnsByPointSize)
{
    const std::pair<int, int> cases[] = {{5, 1},  {6, 14}, {10, 14}, {11, 10}, {20, 10}, {24, 8},
                                         {40, 6}, {50, 4}, {60, 3},  {72, 2},  {73, 1}};
    for (const auto &[points, columns] : cases)
        EXPECT_EQ(TGSymbolSelectorDialog::columnsForPoints(points), columns) << points;
}

TEST(TGSymbolSelectorDialog, SelectsTheCurrentSymbolAndTakesTheChoice)
{
    TGOwner owner;
    TGSymbolLabel symbol(&owner);
    TGSymbolSelectorDialog dialog(&symbol);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Symbol Selector"));
    EXPECT_EQ(dialog.SymbolGrid->columnCount(), 8); // 24 points
    EXPECT_EQ(dialog.selectedIndex(), '[' - 32);
    TGFont font(QStringLiteral("Arial"), 12);
    font.setStyle(fsItalic);
    EXPECT_EQ(TGSymbolSelectorDialog::fontCaption(font), QStringLiteral("Arial, 12pt Italic "));
    font.setStyle(fsBold | fsItalic);
    EXPECT_EQ(TGSymbolSelectorDialog::fontCaption(font), QStringLiteral("Arial, 12pt Bold "));
    dialog.setChosenFont(font);
    EXPECT_EQ(dialog.SymbolGrid->columnCount(), 10);
    EXPECT_EQ(dialog.selectedIndex(), '[' - 32);
    dialog.selectIndex(0xA9 - 32);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(symbol.Caption(), QString(QChar(0xA9)));
    EXPECT_EQ(symbol.Font().size(), 12);
}

TEST(TGSymbolSelectorDialog, ShowsTheGlyphsOfASymbolTypeface)
{
    TGOwner owner;
    TGSymbolLabel symbol(&owner); // WingDings 24 points: 8 columns
    TGSymbolSelectorDialog dialog(&symbol);
    auto cell = [&](int code) { return dialog.SymbolGrid->item((code - 32) / 8, (code - 32) % 8); };
    ASSERT_NE(cell(0x4A), nullptr);
    EXPECT_EQ(cell(0x4A)->text(), QStringLiteral("\u263A"));
    EXPECT_EQ(cell(0xFC)->text(), QStringLiteral("\u2714"));
    EXPECT_EQ(cell(0x4A)->font().family(), QStringLiteral("Symbola"));
    // Another typeface shows the characters themselves.
    dialog.setChosenFont(TGFont(QStringLiteral("Arial"), 24));
    EXPECT_EQ(cell(0x4A)->text(), QStringLiteral("J"));
}

} // namespace
