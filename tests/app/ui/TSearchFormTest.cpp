// The "Search" window offscreen: the sort names in menu order with the current one selected,
// the prompt following the selection, the focus in the text box, and what "Ok", "Cancel",
// an empty text and "Help" hand back.
#include "TSearchForm.h"

#include "TSortOrders.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SearchForm, ListsTheSortNamesWithTheCurrentOneSelectedAndThePromptFollowsTheSelection)
{
    TSearchForm form(QStringLiteral("CITY"));
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Search"));
    EXPECT_EQ(form.OrderLabel->text(), QStringLiteral("Search &Order"));
    QStringList items;
    for (int i = 0; i < form.OrderCombo->count(); ++i)
        items << form.OrderCombo->itemText(i);
    EXPECT_EQ(items, TSortOrders::names());
    EXPECT_EQ(form.sortName(), QStringLiteral("City"));
    EXPECT_EQ(form.PromptLabel->text(), QStringLiteral("Search City starting with..."));
    EXPECT_EQ(form.focusWidget(), form.SearchEdit);

    // Down from the top through every item, then back up one.
    form.OrderCombo->setFocus();
    QTest::keyClick(form.OrderCombo, Qt::Key_Home);
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(form.sortName(), TSortOrders::names()[i]);
        EXPECT_EQ(form.PromptLabel->text(),
                  QStringLiteral("Search ") + TSortOrders::names()[i] + QStringLiteral(" starting with..."));
        QTest::keyClick(form.OrderCombo, Qt::Key_Down);
    }
    QTest::keyClick(form.OrderCombo, Qt::Key_Up);
    EXPECT_EQ(form.PromptLabel->text(), QStringLiteral("Search Date starting with..."));

    TSearchForm unknown(QStringLiteral("Name"));
    EXPECT_EQ(unknown.sortName(), QStringLiteral("Last Name"));
}

TEST(SearchForm, OkWithATextAsksForASearchCancelAndAnEmptyTextDoNot)
{
    struct Case {
        const char *typed;
        bool ok;
        bool wants;
    };
    for (const Case c : {Case{"bak", true, true}, Case{"bak", false, false}, Case{"", true, false}}) {
        TSearchForm form(QStringLiteral("Last Name"));
        form.show();
        QTest::keyClicks(form.SearchEdit, QLatin1String(c.typed));
        QTest::mouseClick(c.ok ? form.OkButton : form.CancelButton, Qt::LeftButton);
        EXPECT_EQ(form.result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(form.wantsSearch(), c.wants) << c.typed << c.ok;
        EXPECT_EQ(form.text(), QLatin1String(c.typed));
        EXPECT_EQ(form.sortName(), QStringLiteral("Last Name"));
    }
}

TEST(SearchForm, HelpAndF1AskForTopic1026)
{
    TSearchForm form(QStringLiteral("Zip"));
    form.show();
    QSignalSpy help(&form, &TSearchForm::helpRequested);
    QTest::mouseClick(form.HelpButton, Qt::LeftButton);
    QTest::keyClick(&form, Qt::Key_F1);
    ASSERT_EQ(help.size(), 2);
    EXPECT_EQ(help[0][0].toInt(), 1026);
    EXPECT_EQ(help[1][0].toInt(), 1026);
    EXPECT_TRUE(form.isVisible());
}

} // namespace
