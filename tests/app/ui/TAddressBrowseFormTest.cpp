// The "Address Browse" window offscreen over a copy of the address fixture: the column file,
// the rows, clicks and keys moving the table's record, the beeps at either end, the tag
// toggled by a double-click or "&Tag", the column order written back and the placement kept.
#include "TAddressBrowseForm.h"

#include "EditingFixture.h"
#include "TBrowseColumns.h"
#include "TBrowseModel.h"
#include "TIniFile.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class BrowseForm : public ::testing::Test
{
protected:
    BrowseForm() : folder(QString::fromStdString(programDir.path()) + QLatin1Char('/'))
    {
        file.table.setGlobalTagId(QStringLiteral("NEWID"));
    }

    // The main window's toggle: TAG becomes the identifier, or empty when it was the
    // identifier, posted at once; a filter that then shows nothing is applied again.
    std::function<void()> toggle()
    {
        return [this] {
            ++toggles;
            const bool tagged = file.table.isTagged();
            file.table.setValue(QStringLiteral("TAG"), tagged ? QString() : file.table.globalTagId());
            file.table.post();
            if (file.table.visibleCount() == 0)
                file.reapplyFilter();
        };
    }
    std::unique_ptr<TAddressBrowseForm> open()
    {
        auto form = std::make_unique<TAddressBrowseForm>(file.table, folder,
                                                         folder + QStringLiteral("CORVAN.ini"), toggle());
        form->show();
        return form;
    }
    void writeColumnFile(const QByteArray &bytes)
    {
        QDir().mkpath(folder + QStringLiteral("SYSDATA"));
        QFile f(folder + QStringLiteral("SYSDATA/FIELDS.LST"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QPoint cellCentre(TAddressBrowseForm &form, int row)
    {
        form.Grid->scrollTo(form.model()->index(row, 0));
        return form.Grid->visualRect(form.model()->index(row, 0)).center();
    }

    TEditingFile file;
    TempDir programDir;
    QString folder;
    int toggles = 0;
};

TEST_F(BrowseForm, OpensOnTheCurrentRecordWithAColumnFileNamingAMissingField)
{
    writeColumnFile("OLDFIELD\r\nCITY\r\n");
    QList<quint32> walked;
    for (bool on = bool(file.table.first()); on; on = bool(file.table.next()))
        walked.append(file.table.recno());
    ASSERT_TRUE(file.table.goTo(walked[200]));

    auto form = open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Address Browse"));
    EXPECT_EQ(form->shownColumns().mid(0, 3),
              QStringList({QStringLiteral("LNAME"), QStringLiteral("CITY"), QStringLiteral("FNAME")}));
    QList<quint32> rows;
    for (int r = 0; r < form->model()->rowCount(); ++r)
        rows.append(form->model()->recnoOf(r));
    EXPECT_EQ(rows, walked);
    EXPECT_EQ(form->Grid->currentIndex().row(), 200);
    EXPECT_TRUE(
        form->Grid->viewport()->rect().intersects(form->Grid->visualRect(form->model()->index(200, 0))));
    EXPECT_EQ(file.table.recno(), walked[200]);
    QCoreApplication::processEvents();
    form->Grid->viewport()->repaint();
    EXPECT_GT(form->model()->rowsRead(), 0);
    EXPECT_LT(form->model()->rowsRead(), 100) << "only the rows on the screen are read";
}

TEST_F(BrowseForm, ClicksAndButtonsMoveTheTableRecordAndBeepAtEitherEnd)
{
    auto form = open();
    TBrowseModel &model = *form->model();
    QTest::mouseClick(form->Grid->viewport(), Qt::LeftButton, {}, cellCentre(*form, 3));
    EXPECT_EQ(file.table.recno(), model.recnoOf(3));
    QTest::keyClick(form->Grid, Qt::Key_Down);
    EXPECT_EQ(file.table.recno(), model.recnoOf(4));

    form->LastButton->click();
    EXPECT_EQ(file.table.recno(), model.recnoOf(model.rowCount() - 1));
    form->NextButton->click();
    EXPECT_EQ(form->beepCount(), 1);
    EXPECT_EQ(file.table.recno(), model.recnoOf(model.rowCount() - 1));
    form->PriorButton->click();
    EXPECT_EQ(file.table.recno(), model.recnoOf(model.rowCount() - 2));
    form->FirstButton->click();
    EXPECT_EQ(file.table.recno(), model.recnoOf(0));
    form->PriorButton->click();
    EXPECT_EQ(form->beepCount(), 2);
    form->NextButton->click();
    EXPECT_EQ(file.table.recno(), model.recnoOf(1));
    EXPECT_EQ(form->beepCount(), 2);
}

TEST_F(BrowseForm, DoubleClickAndTagToggleTheCurrentRecordAndRefreshItsRow)
{
    auto form = open();
    TBrowseModel &model = *form->model();
    const int tagged = int(model.columnFields().indexOf(QStringLiteral("Tagged")));
    // A double-click reaches the grid after the press of its first click.
    const QPoint cell = cellCentre(*form, 5);
    QTest::mouseClick(form->Grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(toggles, 0);
    QTest::mouseDClick(form->Grid->viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(toggles, 1);
    EXPECT_EQ(file.table.recno(), model.recnoOf(5));
    EXPECT_TRUE(file.table.isTagged());
    EXPECT_EQ(model.data(model.index(5, tagged)).toString(), QStringLiteral("Yes"));
    QTest::mouseClick(form->TagButton, Qt::LeftButton);
    EXPECT_EQ(toggles, 2);
    EXPECT_EQ(model.data(model.index(5, tagged)).toString(), QStringLiteral("No"));
}

TEST_F(BrowseForm, UntaggingUnderATagFilterDropsTheRowAndMovesToTheNextOne)
{
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(file.table.setValue(QStringLiteral("TAG"), QStringLiteral("NEWID")).ok);
        ASSERT_TRUE(file.table.post().ok);
        file.table.next();
    }
    ASSERT_TRUE(file.setFilter(QStringLiteral("TAG = 'NEWID'")));
    auto form = open();
    ASSERT_EQ(form->model()->rowCount(), 3);
    const quint32 second = form->model()->recnoOf(1);
    const quint32 third = form->model()->recnoOf(2);
    QTest::mouseClick(form->Grid->viewport(), Qt::LeftButton, {}, cellCentre(*form, 1));
    ASSERT_EQ(file.table.recno(), second);
    form->TagButton->click();
    EXPECT_EQ(form->model()->rowCount(), 2);
    EXPECT_EQ(form->model()->rowOf(second), -1);
    EXPECT_EQ(file.table.recno(), third);
    EXPECT_EQ(form->Grid->currentIndex().row(), 1);
}

TEST_F(BrowseForm, ClosingWritesTheColumnOrderTheUserMadeAndTheWindowPlacement)
{
    auto form = open();
    QHeaderView *header = form->Grid->horizontalHeader();
    header->moveSection(0, 2); // Last Name after First Name and Middle
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());

    const QStringList order = TBrowseColumns(folder).read();
    EXPECT_EQ(order.mid(0, 3),
              QStringList({QStringLiteral("FNAME"), QStringLiteral("MIDDLE"), QStringLiteral("LNAME")}));
    EXPECT_EQ(order[12], QStringLiteral("DATE")) << "hidden fields keep their places";
    EXPECT_EQ(order.size(), 28);
    TIniFile ini(folder + QStringLiteral("CORVAN.ini"));
    EXPECT_NE(ini.readInteger(QStringLiteral("TAddressBrowseForm_Placement"), QStringLiteral("Bottom"), 0),
              0);

    // The next window shows the columns that way.
    auto again = open();
    EXPECT_EQ(again->shownColumns().mid(0, 3), order.mid(0, 3));
}

TEST_F(BrowseForm, HelpAndF1AskForTheBrowseTopicAndTheSizeScalesAbove96Dpi)
{
    auto form = open();
    QList<int> topics;
    QObject::connect(form.get(), &TAddressBrowseForm::helpRequested,
                     [&](int topic) { topics.append(topic); });
    form->HelpButton->click();
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_EQ(topics, QList<int>({1034, 1034}));
    EXPECT_EQ(TAddressBrowseForm::scaledDesignSize(96), QSize(640, 400));
    EXPECT_EQ(TAddressBrowseForm::scaledDesignSize(120), QSize(760, 475));
    EXPECT_EQ(TAddressBrowseForm::scaledDesignSize(144), QSize(912, 570));
}

} // namespace
