// The single-instance rule: a second start finds the first, asks it to come to the front and
// ends; once the first has ended, a start is the first again.
#include "TSingleInstance.h"

#include "TempDir.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, ASecondStartRaisesTheFirstAndEnds)
{
    TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    auto first = std::make_unique<TSingleInstance>(QStringLiteral("corvantis"), folder);
    ASSERT_TRUE(first->start());
    EXPECT_TRUE(first->isFirst());
    QSignalSpy raised(first.get(), &TSingleInstance::raiseRequested);

    TSingleInstance second(QStringLiteral("corvantis"), folder);
    EXPECT_FALSE(second.start());
    EXPECT_FALSE(second.isFirst());
    EXPECT_TRUE(raised.count() > 0 || raised.wait(3000));

    // Another program's name does not count.
    TSingleInstance other(QStringLiteral("other"), folder);
    EXPECT_TRUE(other.start());

    first.reset();
    TSingleInstance third(QStringLiteral("corvantis"), folder);
    EXPECT_TRUE(third.start());
}

} // namespace
