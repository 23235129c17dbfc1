// The text objects' menu items per class, their check marks and the plain commands.
#include "TGTextObjectMenu.h"
#include "TGCounterLabel.h"
#include "TGDateTimeLabel.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGPageNumberLabel.h"
#include "TGSymbolLabel.h"

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

TEST(TGTextObjectMenu, ItemsPerClass)
{
    TGOwner owner;
    const QStringList common{"-", "Font", "3D Effects", "Alignment", "Background Color", "Transparent"};
    const QStringList rotation{"-", "Rotation"};
    struct Case {
        std::unique_ptr<TGBaseLabel> object;
        QStringList items;
    };
    Case cases[] = {
        {std::make_unique<TGPLabel>(&owner), common + QStringList{"-", "Text"} + rotation},
        {std::make_unique<TGCounterLabel>(&owner), common + QStringList{"-", "Counter Settings"} + rotation},
        {std::make_unique<TGPDLabel>(&owner), common + QStringList{"-", "Field"}},
        {std::make_unique<TGSymbolLabel>(&owner),
         QStringList{"-", "3D Effects", "Background Color", "Transparent", "-", "Symbol Selector"}},
        {std::make_unique<TGDateTimeLabel>(&owner), common + QStringList{"-", "Date Format", "Time Format"}},
        {std::make_unique<TGPageNumberLabel>(&owner), common},
    };
    for (Case &c : cases) {
        QMenu menu;
        TGTextObjectMenu::addItems(&menu, c.object.get(), nullptr);
        EXPECT_EQ(texts(menu), c.items) << c.object->ClassName().constData();
    }
}

TEST(TGTextObjectMenu, CommandsAndCheckMarks)
{
    TGOwner owner;
    TGPLabel label(&owner);
    QMenu menu;
    TGTextObjectMenu::addItems(&menu, &label, nullptr);
    EXPECT_TRUE(find(menu, QStringLiteral("Alignment/Left"))->isChecked());
    EXPECT_TRUE(find(menu, QStringLiteral("Transparent"))->isChecked());
    find(menu, QStringLiteral("Alignment/Center"))->trigger();
    EXPECT_EQ(label.Alignment(), taCenter);
    find(menu, QStringLiteral("Transparent"))->trigger();
    EXPECT_FALSE(label.Transparent());
    find(menu, QStringLiteral("Rotation/270 Degrees"))->trigger();
    EXPECT_EQ(label.Angle(), 270);

    TGDateTimeLabel date(&owner);
    QMenu dateMenu;
    TGTextObjectMenu::addItems(&dateMenu, &date, nullptr);
    EXPECT_TRUE(find(dateMenu, QStringLiteral("Date Format/Windows Short Date"))->isChecked());
    find(dateMenu, QStringLiteral("Date Format/No Date"))->trigger();
    find(dateMenu, QStringLiteral("Time Format/Windows Long Time"))->trigger();
    EXPECT_EQ(date.DateFormat, dtfDateNone);
    EXPECT_EQ(date.TimeFormat, dtfTimeLong);
}

} // namespace
