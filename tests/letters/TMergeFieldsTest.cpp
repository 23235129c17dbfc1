#include "TMergeFields.h"
#include "TMergeRecordMap.h"

#include <gtest/gtest.h>

namespace {

TMergeRecordMap person(const QString &prefix, const QString &first, const QString &middle,
                       const QString &last)
{
    return {{QStringLiteral("PREFIX"), prefix},
            {QStringLiteral("FNAME"), first},
            {QStringLiteral("MIDDLE"), middle},
            {QStringLiteral("LNAME"), last}};
}

TMergeDates march5()
{
    return {QDate(2026, 3, 5), QStringLiteral("M/d/yy"), QLocale(QLocale::English, QLocale::UnitedStates)};
}

} // namespace

TEST(TMergeFields, TheTwentyFiveNamesInTheInsertListOrder)
{
    const QStringList expected = {QStringLiteral("Full Name"),
                                  QStringLiteral("Name and Address"),
                                  QStringLiteral("First"),
                                  QStringLiteral("Last"),
                                  QStringLiteral("Middle"),
                                  QStringLiteral("Prefix"),
                                  QStringLiteral("Title"),
                                  QStringLiteral("Organization"),
                                  QStringLiteral("Street"),
                                  QStringLiteral("Street 2"),
                                  QStringLiteral("City+State+Zip"),
                                  QStringLiteral("City"),
                                  QStringLiteral("State"),
                                  QStringLiteral("Province"),
                                  QStringLiteral("Zip"),
                                  QStringLiteral("Postal Code"),
                                  QStringLiteral("Country"),
                                  QStringLiteral("Phone"),
                                  QStringLiteral("Phone 2"),
                                  QStringLiteral("Fax"),
                                  QStringLiteral("E-Mail"),
                                  QStringLiteral("Today's Date"),
                                  QStringLiteral("Long Date"),
                                  QStringLiteral("Comment 1"),
                                  QStringLiteral("Comment 2")};
    EXPECT_EQ(TMergeFields::names(), expected);
    EXPECT_EQ(TMergeFields::token(QStringLiteral("Name and Address")), QStringLiteral("[Name and Address]"));
    EXPECT_TRUE(TMergeFields::isField(QStringLiteral("Today's Date")));
    EXPECT_FALSE(TMergeFields::isField(QStringLiteral("Firstname")));
    EXPECT_FALSE(TMergeFields::isField(QStringLiteral("first")));
}

struct NameLineCase {
    const char *prefix;
    const char *first;
    const char *middle;
    const char *last;
    const char *expected;
};
class NameLine : public ::testing::TestWithParam<NameLineCase>
{
};

TEST_P(NameLine, EachFilledPartIsFollowedByOneSpace)
{
    const NameLineCase c = GetParam();
    const TMergeRecordMap r = person(QString::fromUtf8(c.prefix), QString::fromUtf8(c.first),
                                     QString::fromUtf8(c.middle), QString::fromUtf8(c.last));
    EXPECT_EQ(TMergeFields::NameLine(r).toStdString(), c.expected);
    EXPECT_EQ(TMergeFields::value(QStringLiteral("Full Name"), r, march5()).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, NameLine,
                         ::testing::Values(NameLineCase{"Dr.", "Ann", "B", "Lee", "Dr. Ann B. Lee "},
                                           // An empty middle initial gives no stray period.
                                           NameLineCase{"", "Ann", "", "Lee", "Ann Lee "},
                                           NameLineCase{"", "John", "Q", "Public", "John Q. Public "},
                                           NameLineCase{"Mr.", "", "", "Smith", "Mr. Smith "},
                                           NameLineCase{"", "", "", "", ""},
                                           // Leading blanks of a value are dropped with it.
                                           NameLineCase{"  Ms.", " Jo", "", "Ray", "Ms. Jo Ray "}));

struct BlockCase {
    std::vector<std::pair<const char *, const char *>> fields;
    const char *expected;
};
class AddressBlock : public ::testing::TestWithParam<BlockCase>
{
};

TEST_P(AddressBlock, HasEachPresentLineFollowedByCrLf)
{
    const BlockCase c = GetParam();
    TMergeRecordMap r;
    for (const auto &f : c.fields)
        r.set(QString::fromUtf8(f.first), QString::fromUtf8(f.second));
    EXPECT_EQ(TMergeFields::NameAndAddress(r).toStdString(), c.expected);
    EXPECT_EQ(TMergeFields::value(QStringLiteral("Name and Address"), r, march5()).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressBlock,
    ::testing::Values(
        BlockCase{{{"PREFIX", "Dr."},
                   {"FNAME", "Ann"},
                   {"MIDDLE", "B"},
                   {"LNAME", "Lee"},
                   {"TITLE", "Director"},
                   {"ORG", "Acme Corp"},
                   {"STREET", "1 Main St"},
                   {"STREET2", "Suite 5"},
                   {"CITY", "Springfield"},
                   {"STATE", "IL"},
                   {"ZIP", "62701"},
                   {"COUNTRY", "USA"}},
                  "Dr. Ann B. Lee \r\nDirector,  Acme Corp\r\n1 Main St\r\nSuite 5\r\nSpringfield IL  "
                  "62701\r\nUSA\r\n"},
        // Title or organisation alone is that one alone.
        BlockCase{{{"FNAME", "Ann"}, {"TITLE", "Director"}}, "Ann \r\nDirector\r\n"},
        BlockCase{{{"FNAME", "Ann"}, {"ORG", "Acme Corp"}}, "Ann \r\nAcme Corp\r\n"},
        // City and ZIP without a state are two blanks apart; a ZIP or a city alone stands alone.
        BlockCase{{{"CITY", "Springfield"}, {"ZIP", "62701"}}, "Springfield  62701\r\n"},
        BlockCase{{{"ZIP", "62701"}}, "62701\r\n"}, BlockCase{{{"CITY", "Springfield"}}, "Springfield\r\n"},
        BlockCase{{{"STATE", "IL"}}, "IL\r\n"},
        BlockCase{{{"CITY", "Springfield"}, {"STATE", "IL"}}, "Springfield IL\r\n"},
        BlockCase{{{"STREET", "1 Main St"}, {"COUNTRY", "Canada"}}, "1 Main St\r\nCanada\r\n"},
        // Trailing blanks never make a line.
        BlockCase{{{"TITLE", "   "}, {"ORG", "Acme   "}}, "Acme\r\n"}, BlockCase{{}, ""}));

TEST(TMergeFields, EveryFieldHasItsRecordValue)
{
    const TMergeRecordMap r = {{QStringLiteral("PREFIX"), QStringLiteral("Dr.")},
                               {QStringLiteral("FNAME"), QStringLiteral("Ann")},
                               {QStringLiteral("MIDDLE"), QStringLiteral("B")},
                               {QStringLiteral("LNAME"), QStringLiteral("Lee")},
                               {QStringLiteral("TITLE"), QStringLiteral("Dir")},
                               {QStringLiteral("ORG"), QStringLiteral("Acme")},
                               {QStringLiteral("STREET"), QStringLiteral("1 Main")},
                               {QStringLiteral("STREET2"), QStringLiteral("Apt 2")},
                               {QStringLiteral("CITY"), QStringLiteral("Salem")},
                               {QStringLiteral("STATE"), QStringLiteral("OR")},
                               {QStringLiteral("ZIP"), QStringLiteral("97301")},
                               {QStringLiteral("COUNTRY"), QStringLiteral("USA")},
                               {QStringLiteral("PHONE"), QStringLiteral("555-1")},
                               {QStringLiteral("PHONE2"), QStringLiteral("555-2")},
                               {QStringLiteral("FAX"), QStringLiteral("555-3")},
                               {QStringLiteral("EMAIL"), QStringLiteral("a@b.c")},
                               {QStringLiteral("USER1"), QStringLiteral("c1")},
                               {QStringLiteral("USER2"), QStringLiteral("c2  ")}};
    const QHash<QString, QString> v = TMergeFields::values(r, march5());
    EXPECT_EQ(v.size(), 25);
    const std::vector<std::pair<const char *, const char *>> expected = {
        {"Full Name", "Dr. Ann B. Lee "},
        {"First", "Ann"},
        {"Last", "Lee"},
        {"Middle", "B"},
        {"Prefix", "Dr."},
        {"Title", "Dir"},
        {"Organization", "Acme"},
        {"Street", "1 Main"},
        {"Street 2", "Apt 2"},
        {"City+State+Zip", "Salem OR 97301"},
        {"City", "Salem"},
        {"State", "OR"},
        {"Province", "OR"},
        {"Zip", "97301"},
        {"Postal Code", "97301"},
        {"Country", "USA"},
        {"Phone", "555-1"},
        {"Phone 2", "555-2"},
        {"Fax", "555-3"},
        {"E-Mail", "a@b.c"},
        {"Today's Date", "3/5/26"},
        {"Long Date", "Mar 5, 2026"},
        {"Comment 1", "c1"},
        {"Comment 2", "c2"},
        {"Name and Address",
         "Dr. Ann B. Lee \r\nDir,  Acme\r\n1 Main\r\nApt 2\r\nSalem OR  97301\r\nUSA\r\n"}};
    for (const auto &e : expected)
        EXPECT_EQ(v.value(QString::fromUtf8(e.first)).toStdString(), e.second) << e.first;
    EXPECT_TRUE(TMergeFields::value(QStringLiteral("Firstname"), r, march5()).isEmpty());
}

struct CityStateZipCase {
    const char *city;
    const char *state;
    const char *zip;
    const char *expected;
};
class CityStateZipField : public ::testing::TestWithParam<CityStateZipCase>
{
};

TEST_P(CityStateZipField, IsTheThreeJoinedByOneBlankAndTrimmed)
{
    const CityStateZipCase c = GetParam();
    const TMergeRecordMap r = {{QStringLiteral("CITY"), QString::fromUtf8(c.city)},
                               {QStringLiteral("STATE"), QString::fromUtf8(c.state)},
                               {QStringLiteral("ZIP"), QString::fromUtf8(c.zip)}};
    EXPECT_EQ(TMergeFields::cityStateZip(r).toStdString(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CityStateZipField,
                         ::testing::Values(CityStateZipCase{"Salem", "OR", "97301", "Salem OR 97301"},
                                           CityStateZipCase{"Salem", "", "97301", "Salem  97301"},
                                           CityStateZipCase{"", "", "97301", "97301"},
                                           CityStateZipCase{"Salem", "", "", "Salem"},
                                           CityStateZipCase{"", "", "", ""}));

TEST(TMergeFields, TheDatesFollowThePatternAndTheLocaleGiven)
{
    const TMergeRecordMap r;
    TMergeDates dates = march5();
    dates.shortDatePattern = QStringLiteral("dd.MM.yyyy");
    EXPECT_EQ(TMergeFields::value(QStringLiteral("Today's Date"), r, dates), QStringLiteral("05.03.2026"));
    dates.today = QDate(2025, 12, 31);
    EXPECT_EQ(TMergeFields::value(QStringLiteral("Long Date"), r, dates), QStringLiteral("Dec 31, 2025"));
    dates.locale = QLocale(QLocale::German, QLocale::Germany);
    EXPECT_EQ(TMergeFields::value(QStringLiteral("Long Date"), r, dates), QStringLiteral("Dez. 31, 2025"));
    EXPECT_TRUE(TMergeDates::system().today.isValid());
}
