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

} // namespace
