// The "Getting Started" window: Enter presses "Ok" wherever the focus is, and "Ok" stores the
// check box.
#include "TGettingStarted.h"

#include "TAddingPrefs.h"
#include "TIniFile.h"
#include "TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace {

struct EnterCase {
    const char *name;
    QWidget *(*focus)(TGettingStarted &); // the control that has the focus, or null for the first one
    Qt::Key key;
};

class GettingStartedEnter : public ::testing::TestWithParam<EnterCase>
{
};

TEST_P(GettingStartedEnter, PressesOkAndStoresTheCheckBox)
{
    const EnterCase c = GetParam();
    TempDir dir;
    TIniFile ini(QString::fromStdString(dir.file("CORVAN.ini")));
    TGettingStarted window(ini);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    window.DontShowCheck->setChecked(true);
    if (c.focus)
        c.focus(window)->setFocus(Qt::OtherFocusReason);
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, c.key);
    EXPECT_FALSE(window.isVisible()) << c.name;
    EXPECT_EQ(window.result(), QDialog::Accepted) << c.name;
    EXPECT_TRUE(TAddingPrefs::loadGettingStarted(ini)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Focus, GettingStartedEnter,
    ::testing::Values(
        EnterCase{"first focus", nullptr, Qt::Key_Return},
        EnterCase{"text", [](TGettingStarted &w) -> QWidget * { return w.TextView; }, Qt::Key_Return},
        EnterCase{"text, keypad", [](TGettingStarted &w) -> QWidget * { return w.TextView; }, Qt::Key_Enter},
        EnterCase{"check box", [](TGettingStarted &w) -> QWidget * { return w.DontShowCheck; },
                  Qt::Key_Return}));

} // namespace
