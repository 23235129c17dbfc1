// The records an output run goes through: every record the user can see, the filter's matches,
// or the current one, from the first record or from the current one.
#include "TOutputRecords.h"

#include "AddressFixture.h"
#include "TAddressSession.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class OutputRecords : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString folder = QString::fromStdString(dir.path());
        session = std::make_unique<TAddressSession>(folder + QStringLiteral("/CORVAN.ini"));
        session->loadSettings();
        const QString path = fixture::copy(QStringLiteral("ADD0001"), folder + QStringLiteral("/DATA"));
        ASSERT_EQ(session->open(path).outcome, TOpenOutcome::Opened);
    }
    void filterState(const char *state)
    {
        TFilterCriteria c;
        c.setText(TFilterCriteria::qState, QLatin1String(state));
        (void)session->setCriteria(c); // the test checks the filter through the visible count
        ASSERT_TRUE(session->isFilterSet());
    }
    // The record numbers from the current record to the end.
    QList<quint32> walk()
    {
        QList<quint32> out;
        TAddressTable &t = session->table();
        while (t.hasRecord()) {
            out.append(t.recno());
            if (!t.next())
                break;
        }
        return out;
    }

    TempDir dir;
    std::unique_ptr<TAddressSession> session;
};

TEST_F(OutputRecords, AllRecordsIgnoresTheFilterButLeavesOutEveryDeletedRecord)
{
    filterState("CA");
    const qint64 matching = session->table().visibleCount();
    const TOutputStart start = TOutputRecords::apply(*session, {TRecordChoice::All, false}, 1);
    ASSERT_TRUE(start.result.ok);
    EXPECT_TRUE(start.hasRecord);
    const QList<quint32> all = walk();
    EXPECT_GT(all.size(), matching);
    // 77 is marked and ISDEL, 99 ISDEL alone, 123 marked alone.
    for (quint32 hidden : {77u, 99u, 123u})
        EXPECT_FALSE(all.contains(hidden)) << hidden;
    EXPECT_EQ(all.size(), fixture::shownOrder(QStringLiteral("ADD0001"), QStringLiteral("LNAME")).size());
}

TEST_F(OutputRecords, MatchingFilterKeepsTheSessionsQuery)
{
    filterState("CA");
    const qint64 matching = session->table().visibleCount();
    const TOutputStart start = TOutputRecords::apply(*session, {TRecordChoice::MatchingFilter, false}, 1);
    ASSERT_TRUE(start.result.ok);
    EXPECT_EQ(session->table().query(), session->recordQuery());
    EXPECT_EQ(walk().size(), matching);
}

TEST_F(OutputRecords, StartFromCurrentStartsThereOrAtTheFirstWhenTheQueryHidesIt)
{
    const QList<quint32> order = walk();
    ASSERT_GT(order.size(), 10);
    const quint32 middle = order.at(order.size() / 2);
    TOutputStart start = TOutputRecords::apply(*session, {TRecordChoice::All, true}, middle);
    EXPECT_FALSE(start.outOfRange);
    EXPECT_EQ(session->table().recno(), middle);
    EXPECT_EQ(walk(), order.mid(order.size() / 2));

    // Record 99 has ISDEL set: never among the chosen records.
    start = TOutputRecords::apply(*session, {TRecordChoice::All, true}, 99);
    EXPECT_TRUE(start.outOfRange);
    EXPECT_TRUE(start.hasRecord);
    EXPECT_EQ(session->table().recno(), order.first());
}

TEST_F(OutputRecords, OnlyCurrentStaysOnTheCurrentRecord)
{
    ASSERT_TRUE(session->table().goTo(150).ok);
    const TOutputStart start = TOutputRecords::apply(*session, {TRecordChoice::OnlyCurrent, false}, 150);
    EXPECT_TRUE(start.hasRecord);
    EXPECT_FALSE(start.outOfRange);
    EXPECT_EQ(session->table().recno(), 150u);
}

} // namespace
