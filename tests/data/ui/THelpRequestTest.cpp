// A window's help request: the Help button and F1 hand its topic to the installed handler,
// a replaced handler is handed back, and with none installed a request does nothing.
#include "THelpRequest.h"

#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(THelpRequest, HelpButtonAndF1AskTheInstalledHandlerForTheWindowsTopic)
{
    QList<std::pair<QWidget *, int>> asked;
    const THelpRequest::Handler before =
        THelpRequest::setHandler([&asked](QWidget *window, int topic) { asked.append({window, topic}); });
    EXPECT_FALSE(before);
    QDialog window;
    auto *help = new QPushButton(QStringLiteral("Help"), &window);
    THelpRequest::wire(&window, help, 3100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::keyClick(&window, Qt::Key_F1);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0], std::make_pair(static_cast<QWidget *>(&window), 3100));
    EXPECT_EQ(asked[1], asked[0]);

    const THelpRequest::Handler replaced = THelpRequest::setHandler({});
    ASSERT_TRUE(replaced);
    QTest::mouseClick(help, Qt::LeftButton);
    EXPECT_EQ(asked.size(), 2) << "no handler: the request does nothing";
}
