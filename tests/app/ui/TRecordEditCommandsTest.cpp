// The record-editing commands on a small record form over a fixture copy, offscreen: adding
// with and without the "New Record" window, the duplicate question, saving with the memo rule,
// a post the file system refuses, deleting, cloning, the "Select a Date" window and the memo
// search with its "Searching" window.
#include "TRecordEditCommands.h"

#include "EditingTestForm.h"
#include "TMemoSearchForm.h"
#include "TNewRecordForm.h"
#include "TSelectDateForm.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

class EditCommands : public ::testing::Test
{
protected:
    // Answers the next window through `act`, which returns its result.
    void answerWindows(std::function<int(QDialog &)> act)
    {
        form.commands->setDialogRunner([this, act](QDialog &d) {
            ++windows;
            return act(d);
        });
    }

    TEditingTestForm form;
    int windows = 0;
};

TEST_F(EditCommands, AddWithBothLookUpsOffInsertsAtOnceWithCarriedValuesAndFocusOnLast)
{
    TAddingPrefs p;
    p.CarryCity = p.CarryState = true;
    p.SkipZip = true;
    form.commands->setPrefs(p);
    answerWindows([](QDialog &) { return int(QDialog::Rejected); });
    form.goToName("Coleman", "Ruth");
    form.pages->setCurrentWidget(form.memoPage);
    form.commands->AddButtonClick();

    EXPECT_EQ(windows, 0);
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(form.pages->currentWidget(), form.addressPage);
    EXPECT_EQ(form.focused(), form.box("LNAME"));
    EXPECT_EQ(form.box("CITY")->text(), QStringLiteral("Trois-Rivières"));
    EXPECT_EQ(form.box("STATE")->text(), QStringLiteral("QC"));
    EXPECT_TRUE(form.box("ZIP")->text().isEmpty());
    EXPECT_TRUE(form.box("STREET")->text().isEmpty());
    EXPECT_TRUE(form.memo->toPlainText().isEmpty());
    EXPECT_FALSE(form.box("ZIP")->focusPolicy() & Qt::TabFocus);
    EXPECT_GT(form.buttonRefreshes, 0);

    // Saved, the boxes take their Tab stops again.
    QTest::keyClicks(form.box("LNAME"), QStringLiteral("Quill"));
    ASSERT_TRUE(form.commands->SaveButtonClick());
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.value("LNAME"), QStringLiteral("Quill"));
    EXPECT_EQ(form.value("CITY"), QStringLiteral("Trois-Rivières"));
    EXPECT_TRUE(form.box("ZIP")->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(form.file.faults(), std::vector<std::string>());
}

TEST_F(EditCommands, TheNewRecordWindowFillsCityAndStateFromALowerCaseZip)
{
    TAddingPrefs p;
    p.PlugCityState = true;
    p.AutoDupCheck = true;
    form.commands->setPrefs(p);
    answerWindows([](QDialog &d) {
        auto &w = dynamic_cast<TNewRecordForm &>(d);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("New Record"));
        EXPECT_EQ(w.LastNameEdit->maxLength(), 30);
        EXPECT_EQ(w.ZipEdit->maxLength(), 10);
        QTest::keyClicks(w.LastNameEdit, QStringLiteral("Tremblay"));
        QTest::keyClicks(w.FirstNameEdit, QStringLiteral("Luc"));
        QTest::keyClicks(w.ZipEdit, QStringLiteral("g9a 5h7"));
        QTest::keyClick(w.ZipEdit, Qt::Key_Return); // Enter in the ZIP box presses "Ok [PgDn]"
        return w.result();
    });
    form.commands->AddButtonClick();
    EXPECT_EQ(windows, 1);
    ASSERT_TRUE(form.commands->isEditing());
    EXPECT_TRUE(form.asked.isEmpty()) << form.asked.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(form.box("LNAME")->text(), QStringLiteral("Tremblay"));
    EXPECT_EQ(form.box("ZIP")->text(), QStringLiteral("g9a 5h7"));
    EXPECT_EQ(form.box("CITY")->text(), QStringLiteral("Trois-Rivières"));
    EXPECT_EQ(form.box("STATE")->text(), QStringLiteral("QC"));
    EXPECT_EQ(form.focused(), form.box("MIDDLE"));
    form.commands->CancelButtonClick();
    EXPECT_FALSE(form.commands->isEditing());
}

TEST_F(EditCommands, ADuplicateNameAnsweredNoShowsTheExistingRecordAndAddsNothing)
{
    TAddingPrefs p;
    p.AutoDupCheck = true;
    form.commands->setPrefs(p);
    answerWindows([](QDialog &d) {
        auto &w = dynamic_cast<TNewRecordForm &>(d);
        EXPECT_EQ(w.ZipEdit, nullptr);
        QTest::keyClicks(w.LastNameEdit, QStringLiteral("coleman"));
        QTest::keyClicks(w.FirstNameEdit, QStringLiteral("RUTH"));
        QTest::keyClick(w.FirstNameEdit, Qt::Key_PageDown);
        return w.result();
    });
    const quint32 count = form.file.table.engine().recordCount();
    form.file.table.first();
    form.answers = {QMessageBox::No};
    form.commands->AddButtonClick();
    ASSERT_EQ(form.asked.size(), 1);
    EXPECT_TRUE(form.asked[0].startsWith(
        QStringLiteral("Possible Duplicate: Possible duplicate: \r\n\r\nRuth Coleman")));
    EXPECT_EQ(form.defaults[0], QMessageBox::No);
    EXPECT_EQ(form.beeps, 1);
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.file.table.recno(), 4u);
    EXPECT_EQ(form.box("FNAME")->text(), QStringLiteral("Ruth"));
    EXPECT_EQ(form.file.table.engine().recordCount(), count);

    // Cancelling the window adds nothing either.
    answerWindows([](QDialog &d) {
        dynamic_cast<TNewRecordForm &>(d).CancelButton->click();
        return d.result();
    });
    form.commands->AddButtonClick();
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.file.table.engine().recordCount(), count);
}

TEST_F(EditCommands, SavingTypedTextAndAMemoOfEightCharacters)
{
    form.goToName("Coleman", "Ruth");
    form.commands->EditButtonClick();
    ASSERT_TRUE(form.commands->isEditing());
    form.box("TITLE")->setText(QStringLiteral("Pastor"));
    form.memo->setPlainText(QStringLiteral("Call Mon"));
    ASSERT_TRUE(form.commands->SaveButtonClick());
    form.goToName("Coleman", "Ruth");
    EXPECT_EQ(form.value("TITLE"), QStringLiteral("Pastor"));
    EXPECT_EQ(form.file.table.memo(), QStringLiteral("Call Mon "));
    EXPECT_EQ(form.memo->toPlainText(), QStringLiteral("Call Mon "));
    EXPECT_EQ(form.file.faults(), std::vector<std::string>());
}

TEST_F(EditCommands, ARefusedPostShowsWhyAndKeepsTheEditOnScreen)
{
    std::signal(SIGXFSZ, SIG_IGN);
    form.commands->AddButtonClick();
    ASSERT_TRUE(form.commands->isEditing());
    form.box("LNAME")->setText(QStringLiteral("Unsaved"));
    form.memo->setPlainText(QString(2999, QLatin1Char('m')));
    struct rlimit old {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit tight = old;
    tight.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const bool saved = form.commands->SaveButtonClick();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_FALSE(saved);
    ASSERT_EQ(form.asked.size(), 1);
    EXPECT_TRUE(form.asked[0].startsWith(QStringLiteral("Information: The file could not be read or written. "
                                                        "The disk may be full, or the file read-only.\r\n\r\n")))
        << form.asked[0].toStdString();
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(form.box("LNAME")->text(), QStringLiteral("Unsaved"));
    EXPECT_EQ(form.memo->toPlainText().size(), 2999);
    ASSERT_TRUE(form.commands->SaveButtonClick());
    EXPECT_EQ(form.value("LNAME"), QStringLiteral("Unsaved"));
    EXPECT_EQ(form.file.table.memo().size(), 2999);
    EXPECT_EQ(form.file.faults(), std::vector<std::string>());
}

TEST_F(EditCommands, DeleteAsksFirstAndDropsAFilterLeftEmpty)
{
    ASSERT_TRUE(form.file.setFilter(QStringLiteral("UPPER(LNAME)=\"COLEMAN\" .and. UPPER(FNAME)=\"RUTH\"")));
    form.refresh();
    form.answers = {QMessageBox::No};
    form.commands->DeleteButtonClick();
    EXPECT_EQ(form.asked, QStringList{QStringLiteral("DELETE: Delete this record?")});
    EXPECT_EQ(form.file.table.visibleCount(), 1);
    form.answers = {QMessageBox::Yes};
    form.commands->DeleteButtonClick();
    EXPECT_TRUE(form.file.filter.isEmpty());
    EXPECT_GT(form.file.table.visibleCount(), 200);
    EXPECT_TRUE(form.file.table.hasRecord());
    EXPECT_EQ(form.box("LNAME")->text(), form.value("LNAME"));
    EXPECT_EQ(form.file.faults(), std::vector<std::string>());
}

TEST_F(EditCommands, CloneAsksThenCopiesAndSaysSo)
{
    form.goToName("Coleman", "Ruth");
    const quint32 count = form.file.table.engine().recordCount();
    form.answers = {QMessageBox::Yes};
    form.commands->mnuCloneClick();
    EXPECT_EQ(form.asked,
              (QStringList{QStringLiteral("Clone: Clone this record?"),
                           QStringLiteral("Information: Clone completed. Current record is an exact copy")}));
    EXPECT_EQ(form.file.table.engine().recordCount(), count + 1);
    EXPECT_EQ(form.file.table.recno(), count + 1);
    EXPECT_EQ(form.box("LNAME")->text(), QStringLiteral("Coleman"));
    EXPECT_FALSE(form.commands->isEditing());
}

TEST_F(EditCommands, TheDateWindowStartsOnTheShownDateAndWritesOrEmptiesTheDate)
{
    form.goToName("Smith", "John"); // 19970428
    const QString shown = form.dateBox->text();
    ASSERT_FALSE(shown.isEmpty());
    // Cancel changes nothing and starts no edit.
    answerWindows([](QDialog &d) {
        auto &w = dynamic_cast<TSelectDateForm &>(d);
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Select a Date"));
        EXPECT_EQ(w.selectedDate(), QDate(1997, 4, 28));
        w.MonthForwardButton->click();
        w.YearBackButton->click();
        EXPECT_EQ(w.selectedDate(), QDate(1996, 5, 28));
        EXPECT_EQ(w.LongDateLabel->text(), QLocale().toString(QDate(1996, 5, 28), QLocale::LongFormat));
        w.CancelButton->click();
        return w.result();
    });
    form.commands->DateLabelClick();
    EXPECT_FALSE(form.commands->isEditing());
    EXPECT_EQ(form.value("DATE"), QStringLiteral("19970428"));

    answerWindows([](QDialog &d) {
        auto &w = dynamic_cast<TSelectDateForm &>(d);
        w.TodayButton->click();
        w.OkButton->click();
        return w.result();
    });
    form.commands->DateLabelClick();
    EXPECT_TRUE(form.commands->isEditing());
    EXPECT_EQ(form.value("DATE"), QStringLiteral("20261210"));
    EXPECT_EQ(form.dateBox->text(), form.value("DisplayDate"));

    answerWindows([](QDialog &d) {
        dynamic_cast<TSelectDateForm &>(d).NoDateButton->click();
        return d.result();
    });
    form.commands->DateLabelClick();
    EXPECT_TRUE(form.value("DATE").isEmpty());
    EXPECT_TRUE(form.dateBox->text().isEmpty());
    ASSERT_TRUE(form.commands->SaveButtonClick());
    EXPECT_TRUE(form.value("DATE").isEmpty());
}

TEST(SelectDateForm, StartsOnTodayWhenTheShownDateDoesNotConvert)
{
    EXPECT_EQ(TSelectDateForm::startDate(QStringLiteral("not a date"), QDate(2026, 12, 10)),
              QDate(2026, 12, 10));
    EXPECT_EQ(TSelectDateForm::startDate(QString(), QDate(2026, 12, 10)), QDate(2026, 12, 10));
}

TEST_F(EditCommands, MemoSearchFindsShowsFindNextAndGoesBackWithABeepWhenNothingMatches)
{
    form.file.table.last();
    const quint32 start = form.file.table.recno();
    QString prompted = QStringLiteral("gift basket");
    form.commands->setTextPrompt([&prompted](QString &text) {
        text = prompted;
        return true;
    });
    form.findNext->hide();
    form.commands->SearchMemoButtonClick();
    EXPECT_TRUE(form.findNext->isVisibleTo(form.memoPage));
    EXPECT_TRUE(form.memo->toPlainText().contains(QStringLiteral("Gift basket"), Qt::CaseInsensitive));
    const quint32 first = form.file.table.recno();
    form.commands->SearchMemoNextButtonClick();
    EXPECT_NE(form.file.table.recno(), first);
    EXPECT_TRUE(form.memo->toPlainText().contains(QStringLiteral("gift basket"), Qt::CaseInsensitive));

    form.file.table.goTo(start);
    prompted = QStringLiteral("no memo holds this");
    form.commands->SearchMemoButtonClick();
    EXPECT_EQ(form.file.table.recno(), start);
    EXPECT_EQ(form.beeps, 1);
    EXPECT_FALSE(form.findNext->isVisibleTo(form.memoPage));

    // Starting an edit hides "Find Next".
    form.findNext->show();
    form.commands->EditButtonClick();
    EXPECT_FALSE(form.findNext->isVisibleTo(form.memoPage));
    form.commands->CancelButtonClick();
}

TEST(MemoSearchForm, ShowsTheTextAndCancelStopsTheSearch)
{
    TEditingFile file;
    file.table.next();
    const quint32 start = file.table.recno();
    TMemoSearchForm searching(QStringLiteral("no memo holds this"));
    EXPECT_EQ(searching.windowTitle(), QStringLiteral("Searching"));
    EXPECT_EQ(searching.TextLabel->text(), QStringLiteral("Searching for: no memo holds this"));
    int tested = 0;
    searching.setRecordHook([&](int n) {
        tested = n;
        if (n == 10)
            searching.CancelButton->click();
    });
    EXPECT_FALSE(searching.run(file.table, false));
    EXPECT_TRUE(searching.isCancelled());
    EXPECT_EQ(tested, 10);
    EXPECT_EQ(file.table.recno(), start);
    EXPECT_FALSE(searching.isVisible());
}

} // namespace
