// "Convert Case" through its controls: no field checked gives its message, the question has No
// as default, and Convert rewrites the chosen records.
#include "TConvertToUpper.h"

#include "TempDir.h"
#include "ToolFileChecks.h"
#include "ToolWindowSupport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ConvertCaseWindow, ConvertsTheCheckedFieldsOfAllRecords)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto session =
        smallfile::session(folder, {{{"LNAME", QStringLiteral("smith")}, {"CITY", QStringLiteral("rome")}},
                                    {{"LNAME", QStringLiteral("MARY-ANN o'NEIL")}}});
    ASSERT_TRUE(session);
    TConvertToUpper window(*session);
    window.show();
    EXPECT_FALSE(window.rFilterRecords->isEnabled());
    toolwindow::clickIndicator(window.AllCheck); // unchecks every field
    {
        toolwindow::Boxes boxes;
        QTest::mouseClick(window.ConvertButton, Qt::LeftButton);
        EXPECT_EQ(boxes.texts, QStringList{QStringLiteral("No fields checked for conversion")});
    }
    toolwindow::clickIndicator(window.FieldChecks[0]); // "Last"
    toolwindow::clickIndicator(window.rFirstLetter);
    toolwindow::clickIndicator(window.rAllRecords);
    toolwindow::Boxes yes;
    QTest::mouseClick(window.ConvertButton, Qt::LeftButton);
    EXPECT_EQ(yes.texts.value(0), QStringLiteral("Convert now? This process cannot be undone.."));
    EXPECT_EQ(yes.defaults.value(0), QMessageBox::No);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    QStringList values;
    session->table().recordValues(1, {QStringLiteral("LNAME"), QStringLiteral("CITY")}, values);
    EXPECT_EQ(values, (QStringList{"Smith", "rome"}));
    session->table().recordValues(2, {QStringLiteral("LNAME")}, values);
    EXPECT_EQ(values.value(0), QStringLiteral("Mary-ann O'neil"));
    toolcheck::expectSoundFile(*session);
}

} // namespace
