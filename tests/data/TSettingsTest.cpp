// The typed settings on top of the settings file: adding preferences, the tag identifier,
// field lengths and the recent-file list.
#include "TAddingPrefs.h"
#include "TFieldLengths.h"
#include "TIniFile.h"
#include "TRecentFiles.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(AddingPrefs, ReadsKeysIgnoringCaseWithDefaultsForTheRest)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), "[adding]\nplugdate=yes\nPLUGCITYSTATE=2\nSkipFirstName=1\nCarryZip=0x1\n"
                           "DefaultCountry=  Canada \n");
    const TAddingPrefs prefs = TAddingPrefs::load(ini);
    EXPECT_FALSE(prefs.PlugDate);
    EXPECT_TRUE(prefs.PlugCityState);
    EXPECT_TRUE(prefs.SkipfirstName);
    EXPECT_FALSE(prefs.CarryZip); // leading number 0
    EXPECT_FALSE(prefs.AutoDupCheck);
    EXPECT_EQ(prefs.DefaultCountry, QStringLiteral("Canada"));
}

TEST(AddingPrefs, SaveWritesEveryKeyAndLoadsBackEqual)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    TAddingPrefs prefs;
    prefs.PlugDate = true;
    prefs.CarrySA2 = true;
    prefs.Skipcomments2 = true;
    prefs.DefaultCountry = QStringLiteral("USA");
    ASSERT_TRUE(prefs.save(ini));
    EXPECT_EQ(ini.keys(QStringLiteral("Adding")).size(), 29);
    EXPECT_EQ(ini.readString(QStringLiteral("Adding"), QStringLiteral("Skipcomments2")), QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("Adding"), QStringLiteral("SkipDate")), QStringLiteral("0"));
    EXPECT_TRUE(TAddingPrefs::load(ini) == prefs);
}

TEST(AddingPrefs, MissingTagIdIsMadeAndWrittenBackAtOnce)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    const QDateTime when(QDate(2024, 3, 14), QTime(9, 26, 53));
    EXPECT_EQ(TAddingPrefs::loadGlobalTagId(ini, when), QStringLiteral("T5703FX"));
    EXPECT_EQ(readBytes(ini.path()), QByteArray("[Misc]\nGlobalTagId=T5703FX\n"));
    // A stored identifier is kept, whatever the clock says.
    EXPECT_EQ(TAddingPrefs::loadGlobalTagId(ini, QDateTime(QDate(2026, 1, 1), QTime(0, 0))),
              QStringLiteral("T5703FX"));
}

struct LengthCase {
    const char *stored; // nullptr: key missing
    int expected;
};

class FieldZipLength : public ::testing::TestWithParam<LengthCase>
{
};

TEST_P(FieldZipLength, OutOfRangeOrUnparsableGivesTheDefault)
{
    const LengthCase c = GetParam();
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), c.stored ? QByteArray("[NewFileFieldLengths]\nFieldZIP=") + c.stored + "\n"
                                    : QByteArray("[NewFileFieldLengths]\n"));
    EXPECT_EQ(TFieldLengths::load(ini).length(QStringLiteral("ZIP")), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldZipLength,
                         ::testing::Values(LengthCase{"3", 10}, LengthCase{"4", 10}, LengthCase{"5", 5},
                                           LengthCase{"80", 80}, LengthCase{"81", 10}, LengthCase{"-5", 10},
                                           LengthCase{"abc", 10}, LengthCase{"25 wide", 25},
                                           LengthCase{nullptr, 10}));

TEST(FieldLengths, DefaultsAndSaveLimitsAll18)
{
    const TFieldLengths defaults;
    EXPECT_EQ(defaults.length(QStringLiteral("FAX")), 40);
    EXPECT_EQ(defaults.length(QStringLiteral("PREFIX")), 12);
    EXPECT_EQ(defaults.length(QStringLiteral("STATE")), 20);
    EXPECT_EQ(TFieldLengths::windowDefaults().length(QStringLiteral("FAX")), 30);

    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    TFieldLengths lengths;
    lengths.setLength(TFieldLengths::indexOf(QStringLiteral("lname")), 2);
    lengths.setLength(TFieldLengths::indexOf(QStringLiteral("CITY")), 77);
    ASSERT_TRUE(lengths.save(ini));
    EXPECT_EQ(ini.keys(QStringLiteral("NewFileFieldLengths")).size(), TFieldLengths::kCount);
    EXPECT_EQ(ini.readInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldLNAME"), 0), 30);
    EXPECT_EQ(TFieldLengths::load(ini).length(QStringLiteral("CITY")), 77);
}

TEST(RecentFiles, NewestFirstAtMostFourExactComparison)
{
    const QStringList old{QStringLiteral("/a.DBF"), QStringLiteral("/b.DBF"), QStringLiteral("/c.DBF"),
                          QStringLiteral("/d.DBF")};
    EXPECT_EQ(TRecentFiles::added(old, QStringLiteral("/c.DBF")),
              (QStringList{QStringLiteral("/c.DBF"), QStringLiteral("/a.DBF"), QStringLiteral("/b.DBF"),
                           QStringLiteral("/d.DBF")}));
    EXPECT_EQ(TRecentFiles::added(old, QStringLiteral("/A.DBF")),
              (QStringList{QStringLiteral("/A.DBF"), QStringLiteral("/a.DBF"), QStringLiteral("/b.DBF"),
                           QStringLiteral("/c.DBF")}));

    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    ASSERT_TRUE(TRecentFiles::save(ini, old));
    ASSERT_TRUE(TRecentFiles::save(ini, {QStringLiteral("/x.DBF")}));
    EXPECT_EQ(readBytes(ini.path()), QByteArray("[MRU]\nItem1=/x.DBF\n"));
    EXPECT_EQ(TRecentFiles::load(ini), QStringList{QStringLiteral("/x.DBF")});
}

} // namespace
