// The "New Record" window: which boxes show for each preference, and the keys that press
// "Ok [PgDn]".
#include "TNewRecordForm.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct BoxesCase {
    bool names;
    bool zip;
    int boxes;          // boxes shown
    bool zipOnFirstRow; // the ZIP box takes the last-name box's place
};
class NewRecordBoxes : public ::testing::TestWithParam<BoxesCase>
{
};

TEST_P(NewRecordBoxes, FollowThePreferences)
{
    const BoxesCase c = GetParam();
    TNewRecordForm form(c.names, c.zip, 30, 30, 10);
    EXPECT_EQ(form.findChildren<QLineEdit *>().size(), c.boxes);
    EXPECT_EQ(form.LastNameEdit != nullptr, c.names);
    EXPECT_EQ(form.ZipEdit != nullptr, c.zip);
    if (c.zip) {
        auto *grid = form.findChild<QGridLayout *>();
        ASSERT_NE(grid, nullptr);
        int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(grid->indexOf(form.ZipEdit), &row, &column, &rowSpan, &columnSpan);
        EXPECT_EQ(row == 0, c.zipOnFirstRow);
    }
}

INSTANTIATE_TEST_SUITE_P(Preferences, NewRecordBoxes,
                         ::testing::Values(BoxesCase{true, true, 3, false}, BoxesCase{true, false, 2, false},
                                           BoxesCase{false, true, 1, true}));

TEST(NewRecordForm, PgDnAnywhereEnterInTheZipAndTabOutOfTheFirstNameWithoutZipPressOk)
{
    {
        TNewRecordForm form(true, true, 30, 30, 10);
        form.show();
        QTest::keyClick(form.LastNameEdit, Qt::Key_Return); // Enter in a name box does not end it
        EXPECT_TRUE(form.isVisible());
        QTest::keyClick(form.LastNameEdit, Qt::Key_PageDown);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    {
        TNewRecordForm form(true, true, 30, 30, 10);
        form.show();
        QTest::keyClicks(form.ZipEdit, QStringLiteral("12345678901"));
        EXPECT_EQ(form.zip(), QStringLiteral("1234567890")); // at most the field's width
        QTest::keyClick(form.ZipEdit, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    {
        TNewRecordForm form(true, false, 30, 30, 10);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.FirstNameEdit->setFocus();
        QTest::keyClicks(form.FirstNameEdit, QStringLiteral("Ann"));
        QTest::keyClick(form.FirstNameEdit, Qt::Key_Tab);
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(form.firstName(), QStringLiteral("Ann"));
    }
}

} // namespace
