// The clipboard text of a record: each block's lines exactly, empty lines left out, and the
// 1000-character limit.
#include "TCurrentRecordText.h"
#include "QtPrinters.h"
#include "TAddressTable.h"
#include "TCurrentRecordFixtures.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

enum Blocks { Name = 1, Address = 2, Phones = 4, Codes = 8, Comments = 16, All = 31 };

struct TextCase {
    uint32_t recno;
    int blocks;
    const char *expected; // UTF-8
};

class ClipboardText : public ::testing::TestWithParam<TextCase>
{
};

TRecordText textOf(const TCurrentRecordValues &record, int blocks)
{
    return TCurrentRecordText::GetRecordAsString(record, blocks & Name, blocks & Address, blocks & Phones,
                                                 blocks & Codes, blocks & Comments);
}

} // namespace

TEST_P(ClipboardText, IsExactlyTheChosenLines)
{
    const TextCase c = GetParam();
    const TRecordText text = textOf(fixtureRecord(c.recno), c.blocks);
    EXPECT_EQ(text.text, QString::fromUtf8(c.expected)) << "record " << c.recno;
    EXPECT_FALSE(text.cut);
}

INSTANTIATE_TEST_SUITE_P(
    FixtureRecords, ClipboardText,
    ::testing::Values(
        // A middle initial gets its period; the name line ends in a blank; two blanks after the city.
        TextCase{1, All,
                 "Mr. John Q. Smith \r\n7388 Congress Ave\r\nSan Francisco  CA 94110\r\n"
                 "Phone  :801.555.0181\r\nCodes :C\r\nComment 1 :Volunteer\r\n"},
        TextCase{2, Address | Phones,
                 "P.O. Box 1321\r\nUnit 7\r\nPortland  OR 97205\r\nPhone  :413-555-0188\r\n"
                 "Phone 2:(413) 555-0162\r\n"},
        // Title and organization follow the name; the country line ends in a blank.
        TextCase{150, Name | Address,
                 "José G. Muñoz \r\nVice President, Sales\r\nBay Area Realty\r\n8455 1st Ave\r\n"
                 "Montréal  QC H2X 1Y4\r\nCanada \r\n"},
        // A last name with a leading blank loses it.
        TextCase{88, Name, "Ms. Leading Smith \r\n"}, TextCase{12, Comments, "Comment 1 :Prefers email\r\n"},
        TextCase{6, Comments | Codes, "Comment 2 :Dues paid 1999\r\n"},
        // The blank record: only the city line's own blank is left.
        TextCase{3, All, " \r\n"}, TextCase{3, Codes, ""}, TextCase{1, 0, ""}));

TEST(ClipboardText, ATableWithoutAFieldReadsItAsEmpty)
{
    const TCurrentRecordValues record = fixtureRecord(1, "NOFAX");
    EXPECT_TRUE(record.value(QStringLiteral("FAX")).isEmpty());
    EXPECT_FALSE(record.value(QStringLiteral("LNAME")).isEmpty());
}

namespace {

struct LimitCase {
    int streetLength; // the rest of the text is "X\r\n" + street + "\r\n"
    int expectedLength;
    bool cut;
};

class ClipboardLimit : public ::testing::TestWithParam<LimitCase>
{
};

} // namespace

TEST_P(ClipboardLimit, CutsAtTheLimitAndSaysSo)
{
    const LimitCase c = GetParam();
    TCurrentRecordValues record;
    record.fields.insert(QStringLiteral("LNAME"), QStringLiteral("X"));
    record.fields.insert(QStringLiteral("STREET"), QString(c.streetLength, QLatin1Char('a')));
    const TRecordText text = textOf(record, Name | Address);
    EXPECT_EQ(text.text.size(), c.expectedLength);
    EXPECT_EQ(text.cut, c.cut);
    EXPECT_TRUE(text.text.startsWith(QStringLiteral("X \r\naaa")));
}

INSTANTIATE_TEST_SUITE_P(Lengths, ClipboardLimit,
                         ::testing::Values(
                             // "X \r\n" (4) + street + "\r\n" (2) + the city line " \r\n" (3)
                             LimitCase{991, 1000, false}, LimitCase{992, 1000, true},
                             LimitCase{5000, 1000, true}));

TEST(ClipboardLimit, NeverSplitsASurrogatePair)
{
    TCurrentRecordValues record;
    // "X \r\n" is 4 characters; 995 letters bring the text to 999, then a pair at 999 and 1000.
    record.fields.insert(QStringLiteral("LNAME"), QStringLiteral("X"));
    record.fields.insert(QStringLiteral("STREET"),
                         QString(995, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x93\xAB"));
    const TRecordText text = textOf(record, Name | Address);
    EXPECT_TRUE(text.cut);
    EXPECT_EQ(text.text.size(), 999);
    EXPECT_FALSE(text.text.back().isHighSurrogate());
}

TEST(ClipboardText, TheOpenAddressFileGivesTheSameValuesAsTheTable)
{
    TempDir dir;
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const QString copy = QString::fromStdString(dir.file("ADD0001")) + QLatin1String(ext);
        ASSERT_TRUE(QFile::copy(
            QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/ADD0001") + QLatin1String(ext), copy));
        QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    TAddressTable table;
    ASSERT_TRUE(table.OpenTableFile(QString::fromStdString(dir.file("ADD0001.DBF"))).ok);

    for (quint32 recno : {1u, 150u, 200u}) {
        ASSERT_TRUE(table.goTo(recno));
        const TCurrentRecordValues fromFile = TCurrentRecordValues::fromAddressTable(table);
        const TCurrentRecordValues fromTable = fixtureRecord(recno);
        EXPECT_EQ(fromFile.fields, fromTable.fields) << recno;
        EXPECT_EQ(fromFile.memo, fromTable.memo) << recno;
    }
}
