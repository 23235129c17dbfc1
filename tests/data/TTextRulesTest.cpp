// Text rules: Windows-1252, dates, trimming, the memo storing rule, tag identifiers.
#include "TCp1252.h"
#include "TDateText.h"
#include "TGlobalTagId.h"
#include "TText.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = TCp1252::toString(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(TCp1252::fromString(text), all);
}

TEST(Cp1252, MapsTheHighBlockAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(TCp1252::toString(QByteArray("\x80\x8A\x9F\xA0\xFF\x81")),
              QString::fromUtf16(u"\u20AC\u0160\u0178\u00A0\u00FF\u0081"));
    EXPECT_EQ(TCp1252::fromString(QString::fromUtf16(u"M\u00FCller \u20AC\u2122")),
              QByteArray("M\xFCller \x80\x99"));
    // U+0080 has no byte (0x80 is the euro); CJK and a character outside the BMP give one "?" each.
    EXPECT_EQ(TCp1252::fromString(QString::fromUtf16(u"\u0080\u4E2D\U0001F600x")), QByteArray("???x"));
}

struct YmdCase {
    const char *text;
    QDate expected; // invalid: shows empty
};

class YmdDates : public ::testing::TestWithParam<YmdCase>
{
};

TEST_P(YmdDates, OnlyEightDigitsOfAValidDate)
{
    const YmdCase c = GetParam();
    EXPECT_EQ(TDateText::fromYmd(QLatin1String(c.text)), c.expected);
    EXPECT_EQ(TDateText::display(QLatin1String(c.text), QStringLiteral("M/d/yyyy")).isEmpty(),
              !c.expected.isValid());
}

INSTANTIATE_TEST_SUITE_P(Cases, YmdDates,
                         ::testing::Values(YmdCase{"19970428", QDate(1997, 4, 28)},
                                           YmdCase{"20000229", QDate(2000, 2, 29)},
                                           YmdCase{"19000229", QDate()}, YmdCase{"1997", QDate()},
                                           YmdCase{"ABCDEFGH", QDate()}, YmdCase{"19971345", QDate()},
                                           YmdCase{"", QDate()}, YmdCase{" 9970428", QDate()},
                                           YmdCase{"1997042", QDate()}, YmdCase{"199704281", QDate()},
                                           YmdCase{"00000000", QDate()}));

TEST(DateText, ShowsAndReadsTheShortPattern)
{
    EXPECT_EQ(TDateText::display(QStringLiteral("19970428"), QStringLiteral("M/d/yyyy")),
              QStringLiteral("4/28/1997"));
    EXPECT_EQ(TDateText::display(QStringLiteral("19970428"), QStringLiteral("dd.MM.yy")),
              QStringLiteral("28.04.97"));
    EXPECT_EQ(TDateText::toYmd(QDate(1997, 4, 28)), QStringLiteral("19970428"));
    EXPECT_EQ(TDateText::toYmd(QDate()), QString());
    EXPECT_EQ(TDateText::fromDisplay(QStringLiteral("4/28/1997"), QStringLiteral("M/d/yyyy")),
              QDate(1997, 4, 28));
    EXPECT_EQ(TDateText::fromDisplay(QStringLiteral("28.04.97"), QStringLiteral("dd.MM.yy")),
              QDate(1997, 4, 28));
    EXPECT_EQ(TDateText::fromDisplay(QStringLiteral("28.04.07"), QStringLiteral("dd.MM.yy")),
              QDate(2007, 4, 28));
    EXPECT_FALSE(TDateText::fromDisplay(QStringLiteral("tomorrow"), QStringLiteral("M/d/yyyy")).isValid());
    // The system pattern round-trips its own text.
    const QDate day(2026, 12, 10);
    EXPECT_EQ(TDateText::fromDisplay(TDateText::display(TDateText::toYmd(day))), day);
}

struct TrimCase {
    const char *text;
    const char *left;
    const char *right;
    const char *both;
};

class BlankTrim : public ::testing::TestWithParam<TrimCase>
{
};

TEST_P(BlankTrim, SpacesOnly)
{
    const TrimCase c = GetParam();
    EXPECT_EQ(TText::TrimLeft(QLatin1String(c.text)), QLatin1String(c.left));
    EXPECT_EQ(TText::TrimRight(QLatin1String(c.text)), QLatin1String(c.right));
    EXPECT_EQ(TText::Trim(QLatin1String(c.text)), QLatin1String(c.both));
}

INSTANTIATE_TEST_SUITE_P(Cases, BlankTrim,
                         ::testing::Values(TrimCase{"  a b  ", "a b  ", "  a b", "a b"},
                                           TrimCase{"   ", "", "", ""}, TrimCase{"", "", "", ""},
                                           TrimCase{"\ta\t", "\ta\t", "\ta\t", "\ta\t"},
                                           TrimCase{" x\r\n ", "x\r\n ", " x\r\n", "x\r\n"}));

struct MemoCase {
    const char *text;
    int length;
    const char *stored;
};

class MemoStoring : public ::testing::TestWithParam<MemoCase>
{
};

TEST_P(MemoStoring, BlankAppendedWhenLengthIsAPositiveMultipleOfFour)
{
    const MemoCase c = GetParam();
    EXPECT_EQ(TText::memoLength(QLatin1String(c.text)), c.length);
    EXPECT_EQ(TText::memoForStoring(QLatin1String(c.text)), QLatin1String(c.stored));
    EXPECT_EQ(TText::memoForStoring(std::string_view(c.text)), std::string(c.stored));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MemoStoring,
    ::testing::Values(MemoCase{"abcdefgh", 8, "abcdefgh "}, MemoCase{"abcdefg", 7, "abcdefg"},
                      MemoCase{"", 0, ""}, MemoCase{"abcd", 4, "abcd "},
                      MemoCase{"ab\r\ncdef", 8, "ab\r\ncdef "}, MemoCase{"ab\ncdef", 8, "ab\ncdef "},
                      MemoCase{"ab\ncde", 7, "ab\ncde"}, MemoCase{"abcdef\r\n", 8, "abcdef \r\n"},
                      MemoCase{"abcdef\n", 8, "abcdef \n"}, MemoCase{"\r\n\r\n", 4, "\r\n \r\n"},
                      MemoCase{"abcdefgh ", 9, "abcdefgh "}));

TEST(MemoStoring, StoredLengthIsNeverAMultipleOfFour)
{
    QString text;
    for (int i = 0; i < 40; ++i) {
        text += (i % 5 == 4) ? QStringLiteral("\r\n") : QStringLiteral("x");
        const qsizetype stored = TText::memoLength(TText::memoForStoring(text));
        EXPECT_TRUE(stored % 4 != 0) << i;
    }
}

struct TagCase {
    QDateTime now;
    const char *expected;
};

class TagIds : public ::testing::TestWithParam<TagCase>
{
};

TEST_P(TagIds, Base36OfYearThenMonthDayTime)
{
    const TagCase c = GetParam();
    EXPECT_EQ(TGlobalTagId::make(c.now), QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TagIds,
    ::testing::Values(TagCase{QDateTime(QDate(2024, 3, 14), QTime(9, 26, 53)), "T5703FX"},
                      TagCase{QDateTime(QDate(2026, 1, 1), QTime(0, 0, 0)), "V1O4S3K"},
                      TagCase{QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), "VKD1NQV"},
                      TagCase{QDateTime(QDate(1995, 1, 1), QTime(0, 0, 0)), "1O4S3K"},
                      TagCase{QDateTime(QDate(2031, 1, 1), QTime(0, 0, 0)), "101O4S3K"}));

TEST(TagIds, Base36Digits)
{
    EXPECT_EQ(TGlobalTagId::base36(0), QString());
    EXPECT_EQ(TGlobalTagId::base36(35), QStringLiteral("Z"));
    EXPECT_EQ(TGlobalTagId::base36(36), QStringLiteral("10"));
    EXPECT_EQ(TGlobalTagId::base36(2176782335), QStringLiteral("ZZZZZZ"));
}

} // namespace
