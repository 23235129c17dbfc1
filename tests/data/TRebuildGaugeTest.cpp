// The rebuild window's bar: the engine's reports turned into positions.
#include "TRebuildGauge.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

TEST(RebuildGauge, PackingShowsTheEnginesPercentage)
{
    QList<int> shown;
    TRebuildGauge gauge([&](int p) { shown.append(p); });
    for (int p : {0, 0, 40, 100, 130})
        EXPECT_TRUE(gauge.report(p));
    EXPECT_EQ(shown, (QList<int>{0, 40, 100}));
}

TEST(RebuildGauge, IndexingSumsEveryTagsRiseOverTwentyOneAndStopsAtOneHundred)
{
    QList<int> shown;
    TRebuildGauge gauge([&](int p) { shown.append(p); });
    gauge.report(100);
    gauge.setPhase(TRebuildGauge::Phase::Indexing);
    // The first report of the phase shows, even at the same position as before.
    gauge.report(0);
    EXPECT_EQ(shown.last(), 0);
    gauge.report(50);
    EXPECT_EQ(gauge.position(), 2); // 50 / 21 = 2.38
    gauge.report(100);
    EXPECT_EQ(gauge.position(), 5); // 100 / 21 = 4.76
    // The next tag starts again at 0.
    gauge.report(0);
    gauge.report(100);
    EXPECT_EQ(gauge.position(), 10); // 200 / 21 = 9.52
    for (int tag = 2; tag < 26; ++tag) {
        gauge.report(0);
        gauge.report(100);
    }
    EXPECT_EQ(gauge.position(), 100); // 2600 / 21 would be 124
    for (int i = 1; i < shown.size(); ++i)
        EXPECT_GE(shown.at(i), i == 1 ? 0 : shown.at(i - 1));
}

TEST(RebuildGauge, AskedToStopWhenCancelled)
{
    bool cancel = false;
    TRebuildGauge gauge([](int) {}, [&] { return cancel; });
    EXPECT_TRUE(gauge.report(10));
    cancel = true;
    EXPECT_FALSE(gauge.report(20));
}

} // namespace
