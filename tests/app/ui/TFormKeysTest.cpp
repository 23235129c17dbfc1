// The keyboard rules of the record form, pressed with QTest on a small form over a fixture copy:
// PgDn / PgUp with and without Ctrl, the questions of PgDn and Esc while editing (Esc in the
// memo too), Enter to the next box, Ctrl+Enter and Alt+Enter, typing that starts an edit,
// overwrite and Insert mode, and a double-click.
#include "TFormKeys.h"

#include "EditingTestForm.h"

#include <QLabel>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

class FormKeys : public ::testing::Test
{
protected:
    void press(QWidget *w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(w, key, mods);
    }
    quint32 recno() const { return form.file.table.recno(); }

    TEditingTestForm form;
};

TEST_F(FormKeys, PageKeysMoveWhileBrowsingWithCtrlToTheEnds)
{
    form.file.table.last();
    const quint32 last = recno();
    form.file.table.first();
    const quint32 first = recno();
    QLineEdit *box = form.box("CITY");
    box->setFocus();

    press(box, Qt::Key_PageUp); // at the first record: a beep
    EXPECT_EQ(form.beeps, 1);
    press(box, Qt::Key_PageDown);
    const quint32 second = recno();
    EXPECT_NE(second, first);
    press(box, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(recno(), last);
    EXPECT_EQ(form.box("LNAME")->text(), form.value("LNAME"));
    press(box, Qt::Key_PageDown);
    EXPECT_EQ(form.beeps, 2);
    press(form.memo, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(recno(), first);
    EXPECT_TRUE(form.asked.isEmpty());
}

TEST_F(FormKeys, PgDnWhileEditingOnlyAsksToSaveAndPgUpDoesNothing)
{
    form.file.table.first();
    const quint32 here = recno();
    form.commands->EditButtonClick();
    QLineEdit *box = form.box("TITLE");
    box->setText(QStringLiteral("Changed"));

    form.answers = {QMessageBox::No};
    press(box, Qt::Key_PageDown);
    EXPECT_EQ(form.asked, QStringList{QStringLiteral("Save: Save changes?")});
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(recno(), here);
    press(box, Qt::Key_PageUp);
    press(box, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(recno(), here);
    EXPECT_EQ(form.asked.size(), 2);

    form.answers = {QMessageBox::Yes};
    press(box, Qt::Key_PageDown);
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(recno(), here);
    EXPECT_EQ(form.value("TITLE"), QStringLiteral("Changed"));
}

TEST_F(FormKeys, EscInABoxOrTheMemoAsksToCancel)
{
    const QString title = form.value("TITLE");
    for (QWidget *w : {static_cast<QWidget *>(form.box("TITLE")), static_cast<QWidget *>(form.memo)}) {
        form.asked.clear();
        form.commands->EditButtonClick();
        form.box("TITLE")->setText(QStringLiteral("Changed"));
        form.answers = {QMessageBox::No};
        press(w, Qt::Key_Escape);
        EXPECT_EQ(form.asked, QStringList{QStringLiteral("Cancel: Cancel changes?")});
        EXPECT_EQ(form.defaults.last(), QMessageBox::No);
        EXPECT_TRUE(form.commands->isEditing());
        form.answers = {QMessageBox::Yes};
        press(w, Qt::Key_Escape);
        EXPECT_FALSE(form.commands->isEditing());
        EXPECT_EQ(form.box("TITLE")->text(), title);
    }
    // While browsing Esc asks nothing.
    form.asked.clear();
    press(form.box("TITLE"), Qt::Key_Escape);
    EXPECT_TRUE(form.asked.isEmpty());
}

TEST_F(FormKeys, EnterGoesToTheNextBoxPastSkippedOnes)
{
    TAddingPrefs p;
    p.SkipState = true;
    form.commands->setPrefs(p);
    form.commands->AddButtonClick();
    form.box("CITY")->setFocus();
    press(form.box("CITY"), Qt::Key_Return);
    EXPECT_EQ(form.focused(), form.box("ZIP"));
    press(form.box("ZIP"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form.focused(), form.box("COUNTRY"));
    EXPECT_TRUE(form.commands->isEditing());
    form.commands->CancelButtonClick();
}

TEST_F(FormKeys, CtrlEnterSavesAndAltEnterSavesThenOffersAnotherRecord)
{
    form.commands->EditButtonClick();
    form.box("TITLE")->setText(QStringLiteral("First"));
    press(form.box("TITLE"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.value("TITLE"), QStringLiteral("First"));
    EXPECT_TRUE(form.asked.isEmpty());

    form.commands->EditButtonClick();
    form.box("TITLE")->setText(QStringLiteral("Second"));
    form.answers = {QMessageBox::Yes};
    press(form.memo, Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(form.asked, QStringList{QStringLiteral("Add: Add another record?")});
    EXPECT_EQ(form.value("TITLE"), QString()); // the new record
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(form.focused(), form.box("LNAME"));
    form.commands->CancelButtonClick();
    EXPECT_EQ(form.value("TITLE"), QStringLiteral("Second"));
}

TEST_F(FormKeys, TypingStartsAnEditAndOverwritesUntilInsertIsPressed)
{
    form.goToName("Coleman", "Ruth");
    QLineEdit *box = form.box("ORG"); // "First Baptist Church"
    EXPECT_EQ(form.modeLabel->text(), QStringLiteral("OVR"));
    box->setFocus();
    box->setCursorPosition(0);
    QTest::keyClicks(box, QStringLiteral("Wo"));
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(box->text(), QStringLiteral("Worst Baptist Church"));

    press(box, Qt::Key_Insert);
    EXPECT_TRUE(form.keys->isInsertMode());
    EXPECT_EQ(form.modeLabel->text(), QStringLiteral("INS"));
    EXPECT_FALSE(form.memo->overwriteMode());
    QTest::keyClicks(box, QStringLiteral("xy"));
    EXPECT_EQ(box->text(), QStringLiteral("Woxyrst Baptist Church"));

    press(box, Qt::Key_Insert);
    EXPECT_TRUE(form.memo->overwriteMode());
    box->setCursorPosition(box->text().size());
    QTest::keyClicks(box, QStringLiteral("!")); // at the end there is nothing to replace
    EXPECT_EQ(box->text(), QStringLiteral("Woxyrst Baptist Church!"));
    ASSERT_TRUE(form.commands->SaveButtonClick());
    EXPECT_EQ(form.value("ORG"), QStringLiteral("Woxyrst Baptist Church!"));
}

TEST_F(FormKeys, TypingIntoTheReadOnlyDateBoxStartsNothing)
{
    form.keys->install({form.dateBox}, nullptr, nullptr);
    const QString shown = form.dateBox->text();
    form.dateBox->setFocus();
    QTest::keyClicks(form.dateBox, QStringLiteral("12"));
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.dateBox->text(), shown);
    const quint32 here = recno();
    press(form.dateBox, Qt::Key_PageDown); // the other keys still apply
    EXPECT_NE(recno(), here);
}

TEST_F(FormKeys, ADoubleClickOnABoxOrTheMemoStartsAnEdit)
{
    QTest::mouseDClick(form.box("CITY"), Qt::LeftButton);
    EXPECT_TRUE(form.commands->isEditing());
    form.commands->CancelButtonClick();
    form.pages->setCurrentWidget(form.memoPage);
    QTest::mouseDClick(form.memo->viewport(), Qt::LeftButton);
    EXPECT_TRUE(form.commands->isEditing());
    form.commands->CancelButtonClick();
}

TEST_F(FormKeys, AMemoChangedWithoutKeysStartsAnEditButShowingARecordDoesNot)
{
    form.file.table.next(); // the form shows the next record's memo
    EXPECT_FALSE(form.commands->isEditing());
    QTextCursor cursor = form.memo->textCursor();
    cursor.insertText(QStringLiteral("pasted "));
    EXPECT_TRUE(form.commands->isEditing());
    form.commands->CancelButtonClick();
}

TEST_F(FormKeys, WhileEditingTheFocusStaysInTheBoxes)
{
    form.saveButton->setFocus();
    form.commands->EditButtonClick();
    EXPECT_EQ(form.focused(), form.box("LNAME"));
    form.commands->CancelButtonClick();
}

} // namespace
