// "Search and Replace" through its controls: the field choice limits the boxes, the question
// names the condition and action with No as default, and the values typed are replaced.
#include "TSearchAndReplace.h"

#include "TempDir.h"
#include "ToolFileChecks.h"
#include "ToolWindowSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SearchAndReplaceWindow, ReplacesTheTypedValueInTheChosenField)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto session =
        smallfile::session(folder, {{{"LNAME", QStringLiteral("a")}, {"CITY", QStringLiteral("xabcy")}},
                                    {{"LNAME", QStringLiteral("b")}, {"CITY", QStringLiteral("Abc")}},
                                    {{"LNAME", QStringLiteral("c")}, {"CITY", QStringLiteral("zzz")}}});
    ASSERT_TRUE(session);
    TSearchAndReplace window(*session);
    window.show();
    EXPECT_FALSE(window.ReplaceFilter->isEnabled());
    window.TargetField->setFocus();
    window.TargetField->setCurrentIndex(window.TargetField->findText(QStringLiteral("City")));
    EXPECT_EQ(window.FindValue->maxLength(), session->table().fieldWidth(QStringLiteral("CITY")));
    toolwindow::clickIndicator(window.FindPartial);
    toolwindow::clickIndicator(window.CaseSensitive);
    toolwindow::clickIndicator(window.ReplacePartial);
    QTest::keyClicks(window.FindValue, QStringLiteral("abc"));
    QTest::keyClicks(window.ReplaceValue, QStringLiteral("X"));
    toolwindow::Boxes yes;
    QTest::mouseClick(window.ReplaceButton, Qt::LeftButton);
    ASSERT_GE(yes.texts.size(), 3);
    EXPECT_EQ(yes.captions.value(0), QStringLiteral("Replace"));
    EXPECT_EQ(yes.defaults.value(0), QMessageBox::No);
    EXPECT_EQ(yes.texts.value(0),
              QStringLiteral("Find records where field City\rcontains: \"abc\" (not case "
                             "sensitive)\rand replace only the matching text with \"X\""));
    EXPECT_EQ(yes.texts.value(1), QStringLiteral("Replaced 2 records"));
    EXPECT_EQ(yes.texts.value(2), QStringLiteral("Replacement done"));
    QStringList values;
    session->table().recordValues(1, {QStringLiteral("CITY")}, values);
    EXPECT_EQ(values.value(0), QStringLiteral("xXy"));
    session->table().recordValues(2, {QStringLiteral("CITY")}, values);
    EXPECT_EQ(values.value(0), QStringLiteral("X"));
    toolcheck::expectSoundFile(*session);
}

} // namespace
