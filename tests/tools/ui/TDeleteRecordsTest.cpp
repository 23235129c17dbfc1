// "Delete Records" through its buttons: the question defaults to No and a No deletes nothing;
// Delete Now with the filter choices; the count of all records shown before deleting them all.
#include "TDeleteRecords.h"

#include "TempDir.h"
#include "ToolFileChecks.h"
#include "ToolWindowSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class DeleteRecordsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session =
            smallfile::session(folder, {{{"LNAME", QStringLiteral("A")}, {"STATE", QStringLiteral("NY")}},
                                        {{"LNAME", QStringLiteral("B")}, {"STATE", QStringLiteral("NJ")}},
                                        {{"LNAME", QStringLiteral("C")}, {"ISDEL", QStringLiteral("T")}}});
        ASSERT_TRUE(session);
    }
    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
};

TEST_F(DeleteRecordsWindow, AllRecordsSaysHowManyAndAsksWithNoAsDefault)
{
    TDeleteRecords window(*session);
    window.show();
    EXPECT_FALSE(window.DeleteFilter->isEnabled()); // no filter set
    EXPECT_TRUE(window.DeleteAll->isChecked());
    EXPECT_TRUE(window.AllCountLabel->text().contains(QStringLiteral("3 records")));
    {
        toolwindow::Boxes no(QMessageBox::No);
        QTest::mouseClick(window.DeleteNowButton, Qt::LeftButton);
        ASSERT_EQ(no.captions, QStringList{QStringLiteral("DELETE")});
        EXPECT_EQ(no.defaults.value(0), QMessageBox::No);
    }
    EXPECT_EQ(session->table().engine().recordCount(), 3u);
    toolwindow::Boxes yes;
    QTest::mouseClick(window.DeleteNowButton, Qt::LeftButton);
    EXPECT_EQ(yes.texts.value(1), QStringLiteral("Deleted 3 records"));
    EXPECT_EQ(
        yes.texts.value(2),
        QStringLiteral("For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(session->table().engine().recordCount(), 0u);
    toolcheck::expectSoundFile(*session);
}

TEST_F(DeleteRecordsWindow, NotMatchingTheFilterDeletesTheOthers)
{
    TFilterCriteria criteria;
    criteria.setText(TFilterCriteria::qState, QStringLiteral("NY"));
    ASSERT_EQ(session->setCriteria(criteria).count, 1);
    TDeleteRecords window(*session);
    window.show();
    ASSERT_TRUE(window.DeleteNotFilter->isEnabled());
    toolwindow::clickIndicator(window.DeleteNotFilter);
    toolwindow::Boxes yes;
    QTest::mouseClick(window.DeleteNowButton, Qt::LeftButton);
    EXPECT_EQ(yes.texts.value(1), QStringLiteral("Deleted 1 records")); // B; C was deleted before
    session->reapplyFilter();
    ASSERT_TRUE(session->clearFilter().message.isEmpty());
    QVector<quint32> shown;
    session->table().visibleRecnos(shown);
    EXPECT_EQ(shown, QVector<quint32>{1});
    toolcheck::expectSoundFile(*session);
}

} // namespace
