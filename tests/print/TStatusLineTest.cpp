// Status line codes.
#include "TStatusLine.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

struct StatusCase {
    const char *format;
    const char *expected;
};
class StatusLine : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(StatusLine, ReplacesCodes)
{
    const QStringList text{QStringLiteral("Smith"), QStringLiteral("Jones")};
    EXPECT_EQ(TStatusLine::format(QString::fromUtf8(GetParam().format), 3, text, 2, 9),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StatusLine,
    ::testing::Values(StatusCase{"Printing Page %p\r%0\r%1", "Printing Page 3\rSmith\rJones"},
                      StatusCase{"%%p", "%p"}, StatusCase{"%P of %L from %F", "3 of 9 from 2"},
                      StatusCase{"[%2][%9]", "[][]"}, StatusCase{"100%", "100%"}, StatusCase{"%x%", "%x%"},
                      StatusCase{"%%%p", "%3"},
                      StatusCase{"\rPreview Stopped at page %p!", "\rPreview Stopped at page 3!"}));

TEST(StatusLine, CarriageReturnsBreakTheLabel)
{
    EXPECT_EQ(TStatusLine::labelText(QStringLiteral("\rPrint Completed!\r\nx")),
              QStringLiteral("\nPrint Completed!\nx"));
}
