// The printer check before printing windows and at start-up.
#include "TPrinterCheck.h"

#include <gtest/gtest.h>

namespace {

struct PrinterCase {
    int printers;
    bool hasDefault;
    const char *message;
};
class PrinterCheck : public ::testing::TestWithParam<PrinterCase>
{
};

TEST_P(PrinterCheck, NeedsAPrinterAndADefault)
{
    const PrinterCase c = GetParam();
    EXPECT_EQ(TPrinterCheck::message(c.printers, c.hasDefault), QLatin1String(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterCheck,
    ::testing::Values(
        PrinterCase{0, false,
                    "There are no installed printers.\r\nUnable to perform printer related operations"},
        PrinterCase{0, true,
                    "There are no installed printers.\r\nUnable to perform printer related operations"},
        PrinterCase{2, false,
                    "There is no default printer selected.\r\nUnable to perform printer related operations"},
        PrinterCase{1, true, ""}));

TEST(PrinterCheckSystem, PdfOutputAlwaysPassesTheCheck)
{
    EXPECT_EQ(TPrinterCheck::systemMessage(), QString());
}

} // namespace
