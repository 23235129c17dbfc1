#include "TDelimitedLine.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *line;
    std::vector<std::string> fields;
};

class LineSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplit, GivesTheFields)
{
    const SplitCase c = GetParam();
    std::vector<std::string> fields;
    TDelimitedLine::split(c.line, fields);
    EXPECT_EQ(fields, c.fields) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineSplit,
    ::testing::Values(SplitCase{"\"Lee, Ann\",Boston", {"Lee, Ann", "Boston"}},
                      // A quote inside an unquoted field is a character and opens nothing.
                      SplitCase{"O\"Neil,Boston", {"O\"Neil", "Boston"}},
                      SplitCase{"O\"Neil,Boston,\"MA\"", {"O\"Neil", "Boston", "MA"}},
                      // A doubled quote inside quotes is one quote; the comma after still splits.
                      SplitCase{"\"a\"\"b\",x", {"a\"b", "x"}}, SplitCase{"\"\"\"\",x", {"\"", "x"}},
                      // A one-character field made of a quote is not quoted.
                      SplitCase{"a,\",b", {"a", "\"", "b"}}, SplitCase{"\"", {"\""}},
                      SplitCase{"\"\",x", {"", "x"}}, SplitCase{"a,", {"a", ""}}, SplitCase{"", {""}},
                      SplitCase{",,", {"", "", ""}}, SplitCase{"\"open,b", {"\"open", "b"}}));

TEST(DelimitedLine, ColumnsPastTheLimitAreCountedNotKept)
{
    std::string line;
    for (int i = 0; i < 300; ++i)
        line += (i ? "," : "") + std::to_string(i);
    std::vector<std::string> fields;
    EXPECT_EQ(TDelimitedLine::split(line, fields), 300);
    ASSERT_EQ(fields.size(), 255u);
    EXPECT_EQ(fields.back(), "254");
}

TEST(DelimitedLine, QuotedValueSplitsBackToItself)
{
    for (const std::string v : {"", "plain", "a\"b", "\"", "Lee, Ann", "\"\"", "x,\"y\",z"}) {
        std::string line;
        TDelimitedLine::appendQuoted(line, v);
        line += ",end";
        std::vector<std::string> fields;
        TDelimitedLine::split(line, fields);
        ASSERT_EQ(fields.size(), 2u) << line;
        EXPECT_EQ(fields[0], v) << line;
    }
}

} // namespace
