#include "Cp1252.h"

#include <gtest/gtest.h>

using xbase::Cp1252;

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    bool lossy = true;
    EXPECT_EQ(Cp1252::fromUtf8(Cp1252::toUtf8(all), &lossy), all);
    EXPECT_FALSE(lossy);
}

struct Cp1252Case {
    const char *bytes;
    const char *utf8;
};
class Cp1252Pairs : public ::testing::TestWithParam<Cp1252Case>
{
};
TEST_P(Cp1252Pairs, ConvertBothWays)
{
    const Cp1252Case c = GetParam();
    EXPECT_EQ(Cp1252::toUtf8(c.bytes), c.utf8);
    EXPECT_EQ(Cp1252::fromUtf8(c.utf8), c.bytes);
}
INSTANTIATE_TEST_SUITE_P(Cases, Cp1252Pairs,
                         ::testing::Values(Cp1252Case{"MONTR\xC9"
                                                      "AL",
                                                      "MONTR\xC3\x89"
                                                      "AL"},
                                           Cp1252Case{"\x80"
                                                      "50",
                                                      "\xE2\x82\xAC"
                                                      "50"},
                                           Cp1252Case{"\x96\x9A\x9F\xFF",
                                                      "\xE2\x80\x93\xC5\xA1\xC5\xB8\xC3\xBF"},
                                           Cp1252Case{"plain", "plain"}));

TEST(Cp1252, UnmappableAndMalformedTextBecomesQuestionMarks)
{
    bool lossy = false;
    EXPECT_EQ(Cp1252::fromUtf8("a\xE4\xB8\xAD"
                               "b",
                               &lossy),
              "a?b"); // a CJK character
    EXPECT_TRUE(lossy);
    EXPECT_EQ(Cp1252::fromUtf8("\xC3", &lossy), "?"); // cut short
    EXPECT_EQ(Cp1252::fromUtf8("\xF0\x9F\x98\x80", &lossy), "?");
    EXPECT_EQ(Cp1252::fromUtf8("x\x80y", &lossy), "x?y"); // stray continuation byte
}
