// "Check State and Zip  Codes" through its buttons: the questionable records listed in the
// grid by name, blanks on request, a missing reference list reported, and the temporary index
// removed with the window.
#include "TStateZipCheck.h"

#include "TSystemTables.h"
#include "TToolGridModel.h"
#include "TempDir.h"
#include "ToolFileChecks.h"
#include "ToolWindowSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

smallfile::Record place(const char *name, const char *state, const char *zip)
{
    return {{"LNAME", QLatin1String(name)}, {"STATE", QLatin1String(state)}, {"ZIP", QLatin1String(zip)}};
}

class StateZipWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(
            folder, {place("Ok", "NY", "10001"), place("Wrong", "NJ", "10001"), place("Blank", "", "")});
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    }
    void makeList()
    {
        const QString path = TSystemTables::dbfPath(session->programFolder(), TSystemTable::Csz);
        QDir().mkpath(TSystemTables::folder(session->programFolder()));
        ASSERT_TRUE(xbase::Table::create(path.toStdString(), TSystemTables::fields(TSystemTable::Csz)).ok());
        xbase::Table t;
        ASSERT_TRUE(t.open(path.toStdString(), xbase::OpenMode::Exclusive).ok());
        ASSERT_TRUE(t.addTag(TSystemTables::tag(TSystemTable::Csz)).ok());
        for (const auto &row :
             {std::array<const char *, 3>{"NY", "10000", "14999"}, {"NJ", "07000", "08999"}}) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.setFieldValue("STATE", row[0]).ok());
            ASSERT_TRUE(t.setFieldValue("LOW_ZIP", row[1]).ok());
            ASSERT_TRUE(t.setFieldValue("HIGH_ZIP", row[2]).ok());
            ASSERT_TRUE(t.post().ok());
        }
        ASSERT_TRUE(t.close().ok());
    }
    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
};

TEST_F(StateZipWindow, ListsTheQuestionableRecordsAndRemovesItsIndex)
{
    makeList();
    QString index;
    {
        TStateZipCheck window(*session);
        window.show();
        index = window.indexPath();
        toolwindow::clickIndicator(window.CheckBlanks);
        QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
        EXPECT_EQ(window.CountLabel->text(),
                  QStringLiteral("Found 2 records with questionable state or zipcodes"));
        ASSERT_TRUE(window.ResultPanel->isVisible());
        ASSERT_EQ(window.ChkStateZip->model()->rowCount(), 2);
        EXPECT_EQ(window.gridModel()->recnoOf(0), 3u); // Blank, then Wrong: by name
        EXPECT_EQ(window.gridModel()->recnoOf(1), 2u);
        EXPECT_TRUE(QFile::exists(index));
        window.ChkStateZip->setCurrentIndex(window.gridModel()->index(1, 0));
        QTest::mouseClick(window.TagButton, Qt::LeftButton);
        QStringList values;
        session->table().recordValues(2, {QStringLiteral("Tagged")}, values);
        EXPECT_EQ(values.value(0), QStringLiteral("Yes"));
        QTest::mouseClick(window.CloseButton, Qt::LeftButton);
    }
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
    toolcheck::expectSoundFile(*session);
}

TEST_F(StateZipWindow, AListThatCannotBeOpenedIsReported)
{
    // The system folder is a file, so the list can be neither opened nor created.
    QFile blocker(TSystemTables::folder(session->programFolder()).chopped(1));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TStateZipCheck window(*session);
    window.show();
    toolwindow::Boxes boxes;
    QTest::mouseClick(window.CheckitButton, Qt::LeftButton);
    ASSERT_EQ(boxes.texts.size(), 1);
    EXPECT_TRUE(boxes.texts.value(0).contains(QStringLiteral("CSZ.DBF")))
        << boxes.texts.value(0).toStdString();
    EXPECT_FALSE(window.ResultPanel->isVisible());
    EXPECT_TRUE(toolcheck::indexFilesIn(folder).isEmpty());
}

TEST_F(StateZipWindow, AnEntryAddedToTheListCountsInTheCheck)
{
    makeList();
    TStateZipCheck window(*session);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(window.EditListButton, Qt::LeftButton);
    ASSERT_TRUE(window.ListPanel->isVisible());
    EXPECT_FALSE(window.SetupPanel->isVisible());
    EXPECT_EQ(window.EditListButton->text(), QStringLiteral("Stop Editing"));
    ASSERT_EQ(window.CszGrid->model()->rowCount(), 2);
    QTest::mouseClick(window.AddButton, Qt::LeftButton);
    ASSERT_EQ(window.CszGrid->model()->rowCount(), 3);
    // The new entry: blank, so first in the order of the STATE tag.
    const int row = window.CszGrid->currentIndex().row();
    ASSERT_GE(row, 0);
    const char *texts[] = {"Nowhere", "", "00000", "00001"};
    for (int column : {1, 2, 3}) {
        const QModelIndex cell = window.CszGrid->model()->index(row, column);
        window.CszGrid->setCurrentIndex(cell);
        window.CszGrid->edit(cell);
        QWidget *editor = QApplication::focusWidget();
        ASSERT_TRUE(editor) << column;
        QTest::keyClicks(editor, column == 1 ? QStringLiteral("XX") : QLatin1String(texts[column]));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QTest::mouseClick(window.SaveListButton, Qt::LeftButton);
    QTest::mouseClick(window.EditListButton, Qt::LeftButton);
    EXPECT_FALSE(window.ListPanel->isVisible());
    EXPECT_TRUE(window.SetupPanel->isVisible());
    EXPECT_EQ(window.EditListButton->text(), QStringLiteral("Edit State/Province File"));

    xbase::Table list;
    ASSERT_TRUE(list.open(TSystemTables::dbfPath(session->programFolder(), TSystemTable::Csz).toStdString(),
                          xbase::OpenMode::ReadOnly)
                    .ok());
    TStateZipFinder::Ranges ranges;
    ASSERT_TRUE(TStateZipFinder::readRanges(list, ranges).ok);
    EXPECT_EQ(ranges.value(QStringLiteral("XX")), (std::pair<QString, QString>{"00000", "00001"}));
    xbase::CheckReport report;
    ASSERT_TRUE(list.check(report).ok());
    EXPECT_TRUE(report.faults.empty());
}

} // namespace
