// The calculated fields of an address record.
#include "TCalcFields.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char *prefix, *fname, *middle, *lname;
    const char *fullName, *withPrefix;
};
class CalcNames : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(CalcNames, JoinWithSingleBlanks)
{
    const NameCase c = GetParam();
    const QString prefix = QString::fromUtf8(c.prefix), fname = QString::fromUtf8(c.fname),
                  middle = QString::fromUtf8(c.middle), lname = QString::fromUtf8(c.lname);
    EXPECT_EQ(TCalcFields::FullName(fname, middle, lname), QString::fromUtf8(c.fullName));
    EXPECT_EQ(TCalcFields::FullNameWithPrefix(prefix, fname, middle, lname), QString::fromUtf8(c.withPrefix));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalcNames,
    ::testing::Values(NameCase{"Mr.", "John", "Q", "Smith", "John Q Smith", "Mr. John Q Smith"},
                      // An empty middle initial leaves one blank between first and last name.
                      NameCase{"Dr.", "Anna", "", "Zywiec", "Anna Zywiec", "Dr. Anna Zywiec"},
                      // Prefix, first name and middle all empty: one blank, then the last name.
                      NameCase{"", "", "", "Smith", " Smith", " Smith"},
                      NameCase{"", "Jane", "", "Doe", "Jane Doe", "Jane Doe"},
                      NameCase{"Ms.", "", "R", "Ray", " R Ray", "Ms.  R Ray"},
                      NameCase{"", "", "", "", " ", " "},
                      // Cut to 35 characters.
                      NameCase{"Prof.", "Bartholomew", "X", "Wolfeschlegelsteinhausenbergdo",
                               "Bartholomew X Wolfeschlegelsteinhau",
                               "Prof. Bartholomew X Wolfeschlegelst"}));

struct CityCase {
    const char *city, *state, *zip, *expected;
};
class CalcCityStateZip : public ::testing::TestWithParam<CityCase>
{
};

TEST_P(CalcCityStateZip, JoinsWithoutAComma)
{
    const CityCase c = GetParam();
    EXPECT_EQ(TCalcFields::CityStateZip(QString::fromUtf8(c.city), QString::fromUtf8(c.state),
                                        QString::fromUtf8(c.zip)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalcCityStateZip,
    ::testing::Values(CityCase{"Portland", "OR", "97205", "Portland OR 97205"},
                      CityCase{"", "OR", "97205", "OR 97205"}, CityCase{"", "", "97205", "97205"},
                      CityCase{"Montréal", "Québec", "H2X 1Y4", "Montréal Québec H2X 1Y4"},
                      CityCase{"Llanfairpwllgwyngyllgogerychwyrndrob", "WA", "1",
                               "Llanfairpwllgwyngyllgogerychwyrndro"}));

struct DateCase {
    const char *stored, *pattern, *shown;
};
class CalcDisplayDate : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(CalcDisplayDate, ShowsOnlyValidEightDigitDates)
{
    const DateCase c = GetParam();
    EXPECT_EQ(TCalcFields::DisplayDate(QLatin1String(c.stored), QLatin1String(c.pattern)),
              QLatin1String(c.shown));
}

INSTANTIATE_TEST_SUITE_P(Cases, CalcDisplayDate,
                         ::testing::Values(DateCase{"19970428", "M/d/yy", "4/28/97"},
                                           DateCase{"19970428", "dd.MM.yyyy", "28.04.1997"},
                                           DateCase{"1997", "M/d/yy", ""}, DateCase{"ABCDEFGH", "M/d/yy", ""},
                                           DateCase{"19971345", "M/d/yy", ""},
                                           DateCase{"1997-04-28", "M/d/yy", ""}, DateCase{"", "M/d/yy", ""},
                                           DateCase{"20000229", "M/d/yyyy", "2/29/2000"},
                                           DateCase{"19000229", "M/d/yyyy", ""}));

TEST(CalcFields, TaggedOnlyWhenTheIdentifierMatchesExactly)
{
    EXPECT_TRUE(TCalcFields::Tagged(QStringLiteral("T5703FX"), QStringLiteral("T5703FX")));
    EXPECT_FALSE(TCalcFields::Tagged(QStringLiteral("t5703fx"), QStringLiteral("T5703FX")));
    EXPECT_FALSE(TCalcFields::Tagged(QStringLiteral("T5703F"), QStringLiteral("T5703FX")));
    EXPECT_FALSE(TCalcFields::Tagged(QString(), QStringLiteral("T5703FX")));
}

} // namespace
