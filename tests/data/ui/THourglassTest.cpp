#include "THourglass.h"

#include <QApplication>
#include <QCursor>
#include <gtest/gtest.h>

namespace {

Qt::CursorShape overrideShape()
{
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
}

TEST(Hourglass, NestedHourglassesEndWithTheOutermost)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    {
        THourglass outer;
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        {
            THourglass inner;
            EXPECT_EQ(overrideShape(), Qt::WaitCursor);
        }
        EXPECT_EQ(overrideShape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
