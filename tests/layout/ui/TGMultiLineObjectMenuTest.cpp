// The multi-line objects' and barcodes' menu items per class, their check marks and the
// commands that need no dialog.
#include "TGMultiLineObjectMenu.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGPostNetBarCode.h"

#include <QMenu>

#include <gtest/gtest.h>

namespace {

QStringList texts(const QMenu &menu)
{
    QStringList out;
    for (QAction *a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QAction *find(const QMenu &menu, const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    const QMenu *current = &menu;
    for (int i = 0; i < parts.size(); ++i)
        for (QAction *a : current->actions())
            if (a->text() == parts[i]) {
                if (i + 1 == parts.size())
                    return a;
                current = a->menu();
                break;
            }
    return nullptr;
}

TEST(TGMultiLineObjectMenu, ItemsPerClass)
{
    TGOwner owner;
    const QStringList common{"-", "Font", "Alignment", "-"};
    struct Case {
        std::unique_ptr<TGGraphicControl> object;
        QStringList items;
    };
    Case cases[] = {
        {std::make_unique<TGMultiLineLabel>(&owner), common + QStringList{"Text", "Word Wrap"}},
        {std::make_unique<TGDMultiLineLabel>(&owner), common + QStringList{"Memo Field", "Word Wrap"}},
        {std::make_unique<TGDMultiLineAddressLabel>(&owner), common + QStringList{"Address Layout"}},
        {std::make_unique<TGFIMBarCode>(&owner),
         QStringList{"-", "Set FIM to Type A", "Set FIM to Type B", "Set FIM to Type C"}},
        {std::make_unique<TGIntelligentMailBarCode>(&owner), QStringList{"-", "Intelligent Mail Settings"}},
        {std::make_unique<TGPostNetBarCode>(&owner), QStringList{}},
    };
    for (Case &c : cases) {
        QMenu menu;
        TGMultiLineObjectMenu::addItems(&menu, c.object.get(), nullptr);
        EXPECT_EQ(texts(menu), c.items) << c.object->ClassName().constData();
    }
}

TEST(TGMultiLineObjectMenu, CommandsAndCheckMarks)
{
    TGOwner owner;
    TGDataPanel surface(&owner, 96);
    int changes = 0;
    surface.LabelChangedEvent = [&](TGBasePanel *) { ++changes; };
    auto *text =
        static_cast<TGMultiLineLabel *>(surface.insertObject(std::make_unique<TGMultiLineLabel>(&owner)));
    text->setItems({QStringLiteral("a few words that wrap in a narrow box")});
    text->setWidth(40);
    QMenu menu;
    TGMultiLineObjectMenu::addItems(&menu, text, nullptr);
    EXPECT_TRUE(find(menu, QStringLiteral("Alignment/Left"))->isChecked());
    EXPECT_FALSE(find(menu, QStringLiteral("Word Wrap"))->isChecked());
    find(menu, QStringLiteral("Alignment/Right"))->trigger();
    EXPECT_EQ(text->Alignment(), taRightJustify);
    find(menu, QStringLiteral("Word Wrap"))->trigger();
    EXPECT_TRUE(text->WordWrap());
    EXPECT_GT(text->wrappedLines().size(), 1);
    EXPECT_EQ(changes, 2);

    // A FIM changes type at once and stays 0.625 inch square on screen.
    auto *fim = static_cast<TGFIMBarCode *>(surface.insertObject(std::make_unique<TGFIMBarCode>(&owner)));
    fim->SetBounds(0, 0, 100, 30);
    EXPECT_EQ(fim->Width(), 60);
    EXPECT_EQ(fim->Height(), 60);
    QMenu fimMenu;
    TGMultiLineObjectMenu::addItems(&fimMenu, fim, nullptr);
    EXPECT_TRUE(find(fimMenu, QStringLiteral("Set FIM to Type A"))->isChecked());
    find(fimMenu, QStringLiteral("Set FIM to Type C"))->trigger();
    EXPECT_EQ(fim->FIMType, fimTypeC);
}

} // namespace
