// "What's this?": a right click offers the item, text boxes keep their own menu items, the
// popup shows the control's text and closes on the next click.
#include "TWhatsThis.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Right-clicks `control` through its window and hands the menu that opens to `act`, which
// returns the action to click (or null to close the menu).
void rightClick(QWidget *control, std::function<QAction *(QMenu *)> act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *menu = qobject_cast<QMenu *>(w);
            if (!menu || !menu->isVisible())
                continue;
            timer->stop();
            timer->deleteLater();
            if (QAction *a = act(menu))
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            else
                menu->close();
            return;
        }
    });
    timer->start(5);
    QWidget *top = control->window();
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, {},
                      control->mapTo(top, control->rect().center()));
}

QAction *whatsThisItem(QMenu *menu)
{
    for (QAction *a : menu->actions())
        if (a->text() == TWhatsThis::menuCaption())
            return a;
    return nullptr;
}

class WhatsThis : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto *layout = new QVBoxLayout(&window);
        box = new QLineEdit(QStringLiteral("some text"), &window);
        memo = new QPlainTextEdit(QStringLiteral("a memo"), &window);
        button = new QPushButton(QStringLiteral("Go"), &window);
        plain = new QPushButton(QStringLiteral("Plain"), &window);
        for (QWidget *w : {static_cast<QWidget *>(box), static_cast<QWidget *>(memo),
                           static_cast<QWidget *>(button), static_cast<QWidget *>(plain)})
            layout->addWidget(w);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
    QLineEdit *box = nullptr;
    QPlainTextEdit *memo = nullptr;
    QPushButton *button = nullptr;
    QPushButton *plain = nullptr;
};

TEST_F(WhatsThis, ARightClickOffersTheItemAndThePopupShowsTheText)
{
    TWhatsThis::describe(button, QStringLiteral("Starts it."));
    EXPECT_EQ(button->whatsThis(), QStringLiteral("Starts it."));
    QStringList items;
    rightClick(button, [&](QMenu *menu) {
        for (QAction *a : menu->actions())
            items << a->text();
        return whatsThisItem(menu);
    });
    EXPECT_EQ(items, QStringList{TWhatsThis::menuCaption()});
    QLabel *popup = TWhatsThis::popup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->text(), QStringLiteral("Starts it."));
    // The next click closes it.
    QTest::mouseClick(popup, Qt::LeftButton);
    EXPECT_EQ(TWhatsThis::popup(), nullptr);

    // Described again: the new text replaces the old, and the item is offered once.
    TWhatsThis::describe(button, QStringLiteral("Starts it now."));
    int offered = 0;
    rightClick(button, [&](QMenu *menu) {
        for (QAction *a : menu->actions())
            offered += a->text() == TWhatsThis::menuCaption() ? 1 : 0;
        return whatsThisItem(menu);
    });
    EXPECT_EQ(offered, 1);
    ASSERT_NE(TWhatsThis::popup(), nullptr);
    EXPECT_EQ(TWhatsThis::popup()->text(), QStringLiteral("Starts it now."));
    TWhatsThis::popup()->close();
}

TEST_F(WhatsThis, TextBoxesKeepTheirOwnMenuWithTheItemAtItsEnd)
{
    TWhatsThis::describe(box, QStringLiteral("A box."));
    TWhatsThis::describe(memo, QStringLiteral("A memo."));
    for (QWidget *control : {static_cast<QWidget *>(box), static_cast<QWidget *>(memo)}) {
        QStringList items;
        rightClick(control, [&](QMenu *menu) {
            for (QAction *a : menu->actions())
                if (!a->isSeparator())
                    items << a->text();
            return whatsThisItem(menu);
        });
        ASSERT_GT(items.size(), 3) << items.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(items.last(), TWhatsThis::menuCaption());
        EXPECT_TRUE(items.filter(QStringLiteral("Copy")).size() == 1)
            << items.join(QLatin1Char('|')).toStdString();
        ASSERT_NE(TWhatsThis::popup(), nullptr);
        EXPECT_EQ(TWhatsThis::popup()->text(), TWhatsThis::text(control));
        TWhatsThis::popup()->close();
    }
    // The box's own items still work: Select All selects the text.
    rightClick(box, [](QMenu *menu) -> QAction * {
        for (QAction *a : menu->actions())
            if (a->text().remove(QLatin1Char('&')).startsWith(QLatin1String("Select All")))
                return a;
        return nullptr;
    });
    EXPECT_EQ(box->selectedText(), QStringLiteral("some text"));
    EXPECT_EQ(TWhatsThis::popup(), nullptr);
}

TEST_F(WhatsThis, AControlNeverDescribedHasNoText)
{
    EXPECT_TRUE(TWhatsThis::text(plain).isEmpty());
    EXPECT_EQ(TWhatsThis::showText(plain, QPoint(10, 10)), nullptr);
    EXPECT_EQ(TWhatsThis::popup(), nullptr);
}

} // namespace
