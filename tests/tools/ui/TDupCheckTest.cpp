// "Check and Repair Duplicates" through its buttons: the check lists the pairs in the grid, a
// cell typed into and Save posts, Delete takes the record out of the list, Tag All tags the
// list, a close during the run cancels it, and the temporary index goes with the window.
#include "TDupCheck.h"

#include "TToolGridModel.h"
#include "TempDir.h"
#include "ToolFileChecks.h"
#include "ToolWindowSupport.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

smallfile::Record person(const char *last, const char *first, const char *street = "")
{
    return {
        {"LNAME", QLatin1String(last)}, {"FNAME", QLatin1String(first)}, {"STREET", QLatin1String(street)}};
}

class DupCheckWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session =
            smallfile::session(folder, {person("Jones", "John", "1 Elm"), person("Smith", "Al", "2 Oak"),
                                        person("JONES", "john", "3 Ash"), person("Lee", "Ann", "1 Elm St")});
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    }
    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
};

TEST_F(DupCheckWindow, ListsThePairEditsDeletesAndTagsAndRemovesItsIndex)
{
    QString index;
    {
        TDupCheck window(*session);
        window.show();
        index = window.indexPath();
        QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
        EXPECT_EQ(window.CountLabel->text(), QStringLiteral("Found 1 possible duplicates"));
        ASSERT_TRUE(window.ResultPanel->isVisible());
        ASSERT_EQ(window.ChkDupsGrid->model()->rowCount(), 2);
        EXPECT_TRUE(QFile::exists(index));

        // Type into the first name cell of the first row and save.
        TToolGridModel *model = window.gridModel();
        const int column = int(model->columnFields().indexOf(QStringLiteral("FNAME")));
        ASSERT_GE(column, 0);
        const QModelIndex cell = model->index(0, column);
        window.ChkDupsGrid->setCurrentIndex(cell);
        window.ChkDupsGrid->edit(cell);
        QWidget *editor = QApplication::focusWidget();
        ASSERT_TRUE(editor);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, QStringLiteral("Johnny"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::mouseClick(window.SaveButton, Qt::LeftButton);
        const quint32 edited = model->recnoOf(0);
        QStringList values;
        session->table().recordValues(edited, {QStringLiteral("FNAME")}, values);
        EXPECT_EQ(values.value(0), QStringLiteral("Johnny"));

        toolwindow::Boxes yes;
        QTest::mouseClick(window.TagAllButton, Qt::LeftButton);
        EXPECT_EQ(yes.texts.value(0), QStringLiteral("Tag all possible duplicates?"));
        EXPECT_EQ(yes.captions.value(0), QStringLiteral("TAG ALL"));
        for (int row = 0; row < 2; ++row) {
            session->table().recordValues(model->recnoOf(row), {QStringLiteral("Tagged")}, values);
            EXPECT_EQ(values.value(0), QStringLiteral("Yes"));
        }
        window.ChkDupsGrid->setCurrentIndex(model->index(1, 0));
        QTest::mouseClick(window.DeleteButton, Qt::LeftButton);
        EXPECT_EQ(yes.texts.value(1), QStringLiteral("Delete this record?"));
        EXPECT_EQ(window.ChkDupsGrid->model()->rowCount(), 1);
        QTest::mouseClick(window.OkButton, Qt::LeftButton);
    }
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
    QVector<quint32> shown;
    ASSERT_TRUE(session->table().setOrderTag(QString()).ok);
    session->table().visibleRecnos(shown);
    EXPECT_EQ(shown.size(), 3); // the deleted record is hidden
    toolcheck::expectSoundFile(*session);
}

TEST_F(DupCheckWindow, TheStreetCheckCountsOnTheCharactersAsked)
{
    TDupCheck window(*session);
    window.show();
    toolwindow::clickIndicator(window.KindofCheck->button(2));
    ASSERT_TRUE(window.AddressChars->isVisible());
    window.AddressChars->selectAll();
    QTest::keyClicks(window.AddressChars, QStringLiteral("5"));
    QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
    EXPECT_EQ(window.finder().pairs(), 1); // "1 Elm" and "1 Elm St"
    EXPECT_EQ(window.gridModel()->columnField(1), QStringLiteral("STREET"));
}

TEST_F(DupCheckWindow, NoPairShowsNoResultPanel)
{
    ASSERT_TRUE(session->table().goTo(3).ok);
    ASSERT_TRUE(session->table().setValue(QStringLiteral("LNAME"), QStringLiteral("Other")).ok);
    ASSERT_TRUE(session->table().post().ok);
    TDupCheck window(*session);
    window.show();
    QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
    EXPECT_EQ(window.CountLabel->text(), QStringLiteral("Found 0 possible duplicates"));
    EXPECT_FALSE(window.ResultPanel->isVisible());
}

TEST_F(DupCheckWindow, ClosingDuringTheCheckCancelsItAndTheWindowGoesAfterwards)
{
    TDupCheck window(*session);
    window.show();
    bool closedWhileRunning = false;
    QTimer::singleShot(0, &window, [&window, &closedWhileRunning] {
        closedWhileRunning = window.isRunning();
        window.close();
    });
    QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
    EXPECT_TRUE(closedWhileRunning);
    EXPECT_TRUE(window.cancelled());
    EXPECT_FALSE(window.isVisible());
    EXPECT_LT(window.finder().pairs(), 2);
}

} // namespace
