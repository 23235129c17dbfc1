// Record deletion: all records for good, the records matching a filter, and those not matching.
#include "TRecordDeleter.h"

#include "TProgress.h"
#include "TempDir.h"
#include "ToolFileChecks.h"

#include <gtest/gtest.h>

namespace {

class DeleteTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(QString::fromStdString(dir.path()),
                                     {{{"LNAME", QStringLiteral("A")}, {"STATE", QStringLiteral("NY")}},
                                      {{"LNAME", QStringLiteral("B")}, {"STATE", QStringLiteral("NJ")}},
                                      {{"LNAME", QStringLiteral("C")}, {"STATE", QStringLiteral("NY")}},
                                      {{"LNAME", QStringLiteral("D")}, {"STATE", QStringLiteral("CA")}},
                                      {{"LNAME", QStringLiteral("E")}, {"ISDEL", QStringLiteral("T")}},
                                      {{"LNAME", QStringLiteral("F")}, {"*marked", QString()}}});
        ASSERT_TRUE(session);
    }
    QString visibleNames()
    {
        QVector<quint32> recnos;
        session->table().visibleRecnos(recnos);
        QString out;
        QStringList values;
        for (quint32 r : recnos) {
            session->table().recordValues(r, {QStringLiteral("LNAME")}, values);
            out += values.value(0);
        }
        return out;
    }
    TempDir dir;
    std::unique_ptr<TAddressSession> session;
};

TEST_F(DeleteTable, NotMatchingAFilterLeavesExactlyTheFilteredRecordsAndCountsOnlyNewDeletions)
{
    TAddressTable &table = session->table();
    const QString query = table.query();
    qint64 deleted = 0;
    ASSERT_TRUE(TRecordDeleter::run(table, TRecordDeleter::Choice::NotMatchingFilter,
                                    QStringLiteral("STATE = \"NY\""), TProgress::none(), deleted)
                    .ok);
    EXPECT_EQ(deleted, 2); // B and D; E and F were deleted before
    EXPECT_EQ(table.query(), query);
    EXPECT_EQ(visibleNames(), QStringLiteral("AC"));
    QStringList values;
    table.recordValues(2, {QStringLiteral("ISDEL")}, values);
    EXPECT_EQ(values.value(0), QStringLiteral("T"));
    toolcheck::expectSoundFile(*session);
}

TEST_F(DeleteTable, MatchingAFilterDeletesOnlyThose)
{
    qint64 deleted = 0;
    ASSERT_TRUE(TRecordDeleter::run(session->table(), TRecordDeleter::Choice::MatchingFilter,
                                    QStringLiteral("STATE = \"NY\""), TProgress::none(), deleted)
                    .ok);
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(visibleNames(), QStringLiteral("BD"));
    toolcheck::expectSoundFile(*session);
}

TEST_F(DeleteTable, DeletingAllEmptiesTheFileHiddenRecordsToo)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setQuery(QStringLiteral("STATE = \"NY\" .and. !ISDEL")).ok);
    EXPECT_EQ(TRecordDeleter::recordsInFile(table), 6);
    qint64 deleted = 0;
    ASSERT_TRUE(
        TRecordDeleter::run(table, TRecordDeleter::Choice::All, QString(), TProgress::none(), deleted).ok);
    EXPECT_EQ(deleted, 6);
    EXPECT_EQ(table.engine().recordCount(), 0u);
    toolcheck::expectSoundFile(*session);
}

} // namespace
