#include "TDialNumber.h"

#include <gtest/gtest.h>

struct DialableCase {
    const char *text;
    const char *expected;
};

class DialNumberDialable : public ::testing::TestWithParam<DialableCase>
{
};

TEST_P(DialNumberDialable, KeepsOnlyWhatADialStringMayHold)
{
    const DialableCase c = GetParam();
    EXPECT_EQ(TDialNumber::dialable(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected)) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DialNumberDialable,
    ::testing::Values(DialableCase{"9555-0100", "9555-0100"},
                      DialableCase{"(555) 010-0100", "(555) 010-0100"},
                      DialableCase{"+1 555 0100", "+1 555 0100"}, DialableCase{"9,W555*70#", "9,W555*70#"},
                      DialableCase{"P!@T123", "P!@T123"},
                      // A record's text can hold another command: it never reaches the modem.
                      DialableCase{"555-0100;\r\nATH", "555-0100T"},
                      DialableCase{"555-0100;+++ath0", "555-0100+++0"},
                      DialableCase{"555\x07"
                                   "0100\x1b",
                                   "5550100"},
                      DialableCase{"call 555-0100 ext 12", " 555-0100  12"},
                      DialableCase{"\xc2\xbd\xe2\x91\xa0 555", " 555"},
                      // Nothing to dial: empty, blanks, separators or modifiers alone, letters.
                      DialableCase{"", ""}, DialableCase{"   ", ""}, DialableCase{"( ) -", ""},
                      DialableCase{",W@", ""}, DialableCase{"n/a", ""}, DialableCase{"none", ""}));

TEST(TDialNumber, TelLinkHoldsOnlyWhatALinkMay)
{
    EXPECT_EQ(TDialNumber::telLink(QStringLiteral("+1 (555) 010-0100")).toString(),
              QStringLiteral("tel:+1(555)010-0100"));
    EXPECT_EQ(TDialNumber::telLink(QStringLiteral("9,W555-0100")).toString(),
              QStringLiteral("tel:9555-0100"));
    // "#" would start a fragment: it is encoded.
    EXPECT_EQ(TDialNumber::telLink(QStringLiteral("*70#")).toString(QUrl::FullyEncoded),
              QStringLiteral("tel:*70%23"));
    EXPECT_TRUE(TDialNumber::telLink(QStringLiteral("555-0100;rm -rf"))
                    .toString()
                    .startsWith(QStringLiteral("tel:555-0100")));
    EXPECT_FALSE(TDialNumber::telLink(QString()).isValid());
    EXPECT_FALSE(TDialNumber::telLink(QStringLiteral("none")).isValid());
}
