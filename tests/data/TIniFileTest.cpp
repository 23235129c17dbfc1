#include "TIniFile.h"
#include "TIniDocument.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A hand-edited file: comments, blank lines, odd spacing, an unknown section, a repeated
// section and a key without "=".
const QByteArray kEdited = "; settings\n"
                           "\n"
                           "[Other]\n"
                           "Keep = this  value \n"
                           "\n"
                           "[ adding ]\n"
                           "  plugDATE =  2\n"
                           "PlugCityState=yes\n"
                           "; a comment=1\n"
                           "NoEqualsSign\n"
                           "DefaultCountry=  United States  \n"
                           "\n"
                           "[Adding]\n"
                           "PlugDate=0\n";

struct ReadCase {
    const char *section;
    const char *key;
    const char *expected; // nullptr: missing
};

class IniRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(IniRead, FindsSectionsAndKeysIgnoringCaseAndBlanks)
{
    const ReadCase c = GetParam();
    const std::optional<QString> value =
        TIniDocument(kEdited).value(QLatin1String(c.section), QLatin1String(c.key));
    if (!c.expected)
        EXPECT_FALSE(value.has_value()) << c.section << "/" << c.key;
    else
        EXPECT_EQ(value.value_or(QStringLiteral("<missing>")), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(ReadCase{"Adding", "PlugDate", "2"}, // the first of two equal sections wins
                      ReadCase{"ADDING", "plugdate", "2"}, ReadCase{"adding", "PLUGCITYSTATE", "yes"},
                      ReadCase{"Adding", "DefaultCountry", "United States"},
                      ReadCase{"other", "keep", "this  value"}, ReadCase{"Adding", "; a comment", nullptr},
                      ReadCase{"Adding", "NoEqualsSign", nullptr}, ReadCase{"Adding", "Keep", nullptr},
                      ReadCase{"Missing", "PlugDate", nullptr}));

struct IntegerCase {
    const char *value; // nullptr: key missing
    int defaultValue;
    int expected;
};

class IniInteger : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(IniInteger, LeadingNumberOrDefault)
{
    const IntegerCase c = GetParam();
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    if (c.value)
        writeBytes(ini.path(), QByteArray("[Adding]\nPlugDate=") + c.value + "\n");
    EXPECT_EQ(ini.readInteger(QStringLiteral("Adding"), QStringLiteral("PlugDate"), c.defaultValue),
              c.expected);
    EXPECT_EQ(ini.readBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), c.defaultValue != 0),
              c.expected != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniInteger,
                         ::testing::Values(IntegerCase{"yes", 0, 0}, IntegerCase{"2", 0, 2},
                                           IntegerCase{"1", 0, 1}, IntegerCase{"0", 1, 0},
                                           IntegerCase{"yes", 1, 1}, IntegerCase{"", 7, 7},
                                           IntegerCase{nullptr, 7, 7}, IntegerCase{"12abc", 0, 12},
                                           IntegerCase{"-3", 0, -3}, IntegerCase{"+4", 0, 4},
                                           IntegerCase{"- 3", 5, 5},
                                           IntegerCase{"99999999999", 0, 2147483647},
                                           IntegerCase{"-99999999999", 0, -2147483647 - 1}));

TEST(IniDocument, ReadThenWriteGivesTheSameBytes)
{
    const QByteArray inputs[] = {
        kEdited,
        QByteArray(),
        QByteArray("\n\n\r\n"),
        QByteArray("\xEF\xBB\xBF[A]\r\nx=1\r\ny=2"),
        raw("[A]\rx=1\r"),
        raw("[A]\nx=\0\xFF\n=\n[\n]\n"),
    };
    for (const QByteArray &bytes : inputs)
        EXPECT_EQ(TIniDocument(bytes).bytes(), bytes);
}

TEST(IniFile, MissingFileReadsDefaultsAndFirstWriteCreatesIt)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    EXPECT_EQ(ini.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), QStringLiteral("x")),
              QStringLiteral("x"));
    EXPECT_FALSE(QFileInfo::exists(ini.path()));

    ASSERT_TRUE(ini.writeBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), true));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), QStringLiteral("T5703FX")));
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("Adding"), QStringLiteral("Count"), -12));
    EXPECT_EQ(readBytes(ini.path()),
              QByteArray("[Adding]\nPlugDate=1\nCount=-12\n\n[Misc]\nGlobalTagId=T5703FX\n"));
}

TEST(IniFile, WriteKeepsEveryOtherLineByteForByte)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), kEdited);

    // An existing key (in the first of the two sections, keeping its spelling), a new key
    // in an existing section and a new section.
    ASSERT_TRUE(ini.writeBool(QStringLiteral("ADDING"), QStringLiteral("PlugDate"), false));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Other"), QStringLiteral("New"), QStringLiteral(" spaced ")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("MRU"), QStringLiteral("Item1"), QStringLiteral("/home/a b.DBF")));

    const QByteArray expected = "; settings\n"
                                "\n"
                                "[Other]\n"
                                "Keep = this  value \n"
                                "New= spaced \n"
                                "\n"
                                "[ adding ]\n"
                                "plugDATE=0\n"
                                "PlugCityState=yes\n"
                                "; a comment=1\n"
                                "NoEqualsSign\n"
                                "DefaultCountry=  United States  \n"
                                "\n"
                                "[Adding]\n"
                                "PlugDate=0\n"
                                "\n"
                                "[MRU]\n"
                                "Item1=/home/a b.DBF\n";
    EXPECT_EQ(readBytes(ini.path()), expected);
    // Values read back without surrounding blanks.
    EXPECT_EQ(ini.readString(QStringLiteral("other"), QStringLiteral("NEW")), QStringLiteral("spaced"));
}

TEST(IniFile, TwoReadersOfOneFileSeeEachOthersWrites)
{
    TempDir dir;
    TIniFile first(qs(dir.file("CORVAN.ini")));
    TIniFile second(first.path());
    EXPECT_EQ(second.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")), QString());
    ASSERT_TRUE(
        first.writeString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"), QStringLiteral("V1")));
    EXPECT_EQ(second.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")), QStringLiteral("V1"));
    // A change made outside the program is seen by the next read too.
    writeBytes(first.path(), "[Misc]\nGlobalTagId=V2\n");
    EXPECT_EQ(first.readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")), QStringLiteral("V2"));
}

TEST(IniFile, KeepsCrLfAndAddsLineEndToALastLineWithoutOne)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), "[Misc]\r\nGettingStarted=1\r\n[Adding]\r\nPlugDate=1");
    ASSERT_TRUE(ini.writeBool(QStringLiteral("Adding"), QStringLiteral("CarryZip"), true));
    ASSERT_TRUE(ini.writeBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), false));
    EXPECT_EQ(readBytes(ini.path()),
              QByteArray("[Misc]\r\nGettingStarted=0\r\n[Adding]\r\nPlugDate=1\r\nCarryZip=1\r\n"));
}

TEST(IniFile, DeleteKeyRemovesOnlyThatLine)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), "[MRU]\nItem1=a\nitem2=b\n; note\n");
    ASSERT_TRUE(ini.deleteKey(QStringLiteral("mru"), QStringLiteral("Item2")));
    ASSERT_TRUE(ini.deleteKey(QStringLiteral("MRU"), QStringLiteral("Item3")));
    EXPECT_EQ(readBytes(ini.path()), QByteArray("[MRU]\nItem1=a\n; note\n"));
}

TEST(IniFile, ReadsWindows1252AndUtf8LinesAndWritesUtf8)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), "\xEF\xBB\xBF[Adding]\nDefaultCountry=Espa\xF1"
                           "a\nOther=Espa\xC3\xB1"
                           "a\n");
    const QString spain = QStringLiteral("Espa\u00F1a");
    EXPECT_EQ(ini.readString(QStringLiteral("Adding"), QStringLiteral("DefaultCountry")), spain);
    EXPECT_EQ(ini.readString(QStringLiteral("Adding"), QStringLiteral("Other")), spain);
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("Adding"), QStringLiteral("Third"), QStringLiteral("\u00C9ire\nx")));
    EXPECT_EQ(readBytes(ini.path()), QByteArray("\xEF\xBB\xBF[Adding]\nDefaultCountry=Espa\xF1"
                                                "a\nOther=Espa\xC3\xB1"
                                                "a\nThird=\xC3\x89ire x\n"));
}

TEST(IniFile, DamagedFileNeverCrashesAndKeepsItsBytes)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) & 0xFF));
    junk += "\n[Adding]\nPlugDate=1\n" + QByteArray(200000, '[') + QByteArray(1, '\0') + "=\r";
    writeBytes(ini.path(), junk);
    EXPECT_TRUE(ini.readBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), false));
    ASSERT_TRUE(ini.writeBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), false));
    QByteArray expected = junk;
    expected.replace("PlugDate=1", "PlugDate=0");
    EXPECT_EQ(readBytes(ini.path()), expected);
}

TEST(IniFile, OversizedFileReadsDefaultsAndIsNotWritten)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    const QByteArray big = "[Adding]\nPlugDate=1\n" + QByteArray(TIniFile::kMaxBytes, 'x');
    writeBytes(ini.path(), big);
    EXPECT_FALSE(ini.readBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), false));
    EXPECT_FALSE(ini.writeBool(QStringLiteral("Adding"), QStringLiteral("PlugDate"), false));
    EXPECT_EQ(readBytes(ini.path()), big);
}

TEST(IniFile, WriteIntoMissingFolderFailsCleanly)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("no/such/folder/CORVAN.ini")));
    EXPECT_FALSE(ini.writeString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")));
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("d")),
              QStringLiteral("d"));
}

} // namespace
