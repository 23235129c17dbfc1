// The browse grid's column file: reading puts each named field at its line's position, skips
// what names no field and survives damaged files; writing replaces the file in one step.
#include "TBrowseColumns.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

QString folderOf(const TempDir &dir)
{
    return QString::fromStdString(dir.path()) + QLatin1Char('/');
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    ASSERT_TRUE(writeBytes(path, bytes)) << path.toStdString();
}

// The default order with `name` moved to `position`.
QStringList moved(const QString &name, int position)
{
    QStringList order = TBrowseColumns::defaultOrder();
    order.move(order.indexOf(name), position);
    return order;
}

struct ReadCase {
    const char *what;
    QByteArray bytes;
    QStringList expected;
};

class ColumnFileRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ColumnFileRead, GivesEachNamedFieldItsLinePosition)
{
    const ReadCase c = GetParam();
    TempDir dir;
    writeFile(folderOf(dir) + QStringLiteral("SYSDATA/FIELDS.LST"), c.bytes);
    EXPECT_EQ(TBrowseColumns(folderOf(dir)).read(), c.expected) << c.what;
}

QByteArray blankLines(int n)
{
    return QByteArray(n, '\n');
}

INSTANTIATE_TEST_SUITE_P(
    Files, ColumnFileRead,
    ::testing::Values(
        ReadCase{"two names", "FNAME\r\nLNAME\r\n",
                 [] {
                     QStringList o = moved("FNAME", 0);
                     o.move(o.indexOf(QStringLiteral("LNAME")), 1);
                     return o;
                 }()},
        ReadCase{"a removed field keeps its line", "OLDFIELD\r\nTagged\r\n", moved("Tagged", 1)},
        ReadCase{"any case, blanks around", "  city \nx\n", moved("CITY", 0)},
        ReadCase{"past the last position", blankLines(60) + "LNAME", moved("LNAME", 27)},
        ReadCase{"binary bytes", QByteArray("\0\xff\x01LNAME\0\n\xfe", 11), TBrowseColumns::defaultOrder()},
        ReadCase{"an overlong line", QByteArray(1000, 'A') + "\nCITY", moved("CITY", 1)},
        ReadCase{"no line end", "ZIP", moved("ZIP", 0)}));

TEST(ColumnFile, MissingFileGivesTheDefaultOrderOfAllFieldObjects)
{
    TempDir dir;
    const QStringList order = TBrowseColumns(folderOf(dir)).read();
    ASSERT_EQ(order.size(), 28);
    EXPECT_EQ(order.first(), QStringLiteral("LNAME"));
    EXPECT_EQ(order[22], QStringLiteral("MEMO"));
    EXPECT_EQ(order.last(), QStringLiteral("CityStateZip"));
}

TEST(ColumnFile, WriteReplacesTheFileFoundIgnoringCaseAndReadsBack)
{
    TempDir dir;
    const QString lower = folderOf(dir) + QStringLiteral("sysdata/fields.lst");
    writeFile(lower, "CITY\n");
    QStringList reversed = TBrowseColumns::defaultOrder();
    std::reverse(reversed.begin(), reversed.end());
    const TBrowseColumns columns(folderOf(dir));
    EXPECT_EQ(columns.path(), lower);
    ASSERT_TRUE(columns.write(reversed));
    EXPECT_EQ(columns.read(), reversed);
    EXPECT_EQ(QDir(folderOf(dir) + QStringLiteral("sysdata")).entryList(QDir::Files),
              QStringList{QStringLiteral("fields.lst")});
    QFile f(lower);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().startsWith("CityStateZip\r\nFullNameWithPrefix\r\n"));
}

TEST(ColumnFile, WriteCreatesTheFolderAndAFailedWriteSaysSo)
{
    TempDir dir;
    const TBrowseColumns columns(folderOf(dir));
    ASSERT_TRUE(columns.write(TBrowseColumns::defaultOrder()));
    EXPECT_EQ(columns.read(), TBrowseColumns::defaultOrder());
    // A folder in the file's place cannot be replaced.
    TempDir other;
    QDir().mkpath(folderOf(other) + QStringLiteral("SYSDATA/FIELDS.LST"));
    EXPECT_FALSE(TBrowseColumns(folderOf(other)).write(TBrowseColumns::defaultOrder()));
}

TEST(ColumnFile, FileLargerThanTheLimitIsIgnored)
{
    TempDir dir;
    writeFile(folderOf(dir) + QStringLiteral("SYSDATA/FIELDS.LST"),
              "CITY\n" + QByteArray(int(TBrowseColumns::kMaxBytes), '\n'));
    EXPECT_EQ(TBrowseColumns(folderOf(dir)).read(), TBrowseColumns::defaultOrder());
}

} // namespace
