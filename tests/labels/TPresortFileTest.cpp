// PRESORT.PSL: the bytes written (CR LF), a byte-identical round trip, damaged and hostile
// files refused with a clear message, and a write that fails leaving the earlier file.
#include "TPresortFile.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

const QStringList kLines{"** 5-digit 10001", "10001", "** ADC FARGO ND  580", "58001", "** Unknown", "00123"};

TEST(PresortFile, WritesOneLineEachEndedByCrLf)
{
    EXPECT_EQ(
        TPresortFile::encode(kLines),
        QByteArray("** 5-digit 10001\r\n10001\r\n** ADC FARGO ND  580\r\n58001\r\n** Unknown\r\n00123\r\n"));
    EXPECT_TRUE(TPresortFile::encode({}).isEmpty());
}

TEST(PresortFile, RoundTripIsByteIdentical)
{
    TempDir dir;
    const QString path = QString::fromStdString(dir.file("PRESORT.PSL"));
    ASSERT_TRUE(TPresortFile::save(path, kLines).ok);
    const QByteArray written = readBytes(path);
    QStringList lines;
    ASSERT_TRUE(TPresortFile::load(path, lines).ok);
    EXPECT_EQ(lines, kLines);
    const QString again = QString::fromStdString(dir.file("again.psl"));
    ASSERT_TRUE(TPresortFile::save(again, lines).ok);
    EXPECT_EQ(readBytes(again), written);
}

TEST(PresortFile, ReadsLfEndsAndALastLineWithoutEnd)
{
    QStringList lines;
    ASSERT_TRUE(TPresortFile::decode("** 3-digit 606\n60601\r\n6060", lines).ok);
    EXPECT_EQ(lines, (QStringList{"** 3-digit 606", "60601", "6060"}));
    ASSERT_TRUE(TPresortFile::decode(QByteArray(), lines).ok);
    EXPECT_TRUE(lines.isEmpty());
}

struct DamagedCase {
    QByteArray bytes;
    const char *message;
};
class DamagedPresortFile : public ::testing::TestWithParam<DamagedCase>
{
};

TEST_P(DamagedPresortFile, IsRefusedNamingTheLine)
{
    const DamagedCase c = GetParam();
    QStringList lines{"left over"};
    const TResult r = TPresortFile::decode(c.bytes, lines);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.code, xbase::StatusCode::Corruption);
    EXPECT_EQ(r.message, QLatin1String(c.message));
    EXPECT_TRUE(lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPresortFile,
    ::testing::Values(
        DamagedCase{"10001\r\n\r\n10002\r\n", "The presort file PRESORT.PSL is damaged: line 2 is empty"},
        DamagedCase{
            "100012\r\n",
            "The presort file PRESORT.PSL is damaged: line 1 is neither a group header nor a ZIP key"},
        DamagedCase{
            "1000 \r\n",
            "The presort file PRESORT.PSL is damaged: line 1 is neither a group header nor a ZIP key"},
        DamagedCase{
            raw("10001\r\n10\0002\r\n"),
            "The presort file PRESORT.PSL is damaged: line 2 holds a character that is not printable text"},
        DamagedCase{
            "10001\r1\r\n",
            "The presort file PRESORT.PSL is damaged: line 1 holds a character that is not printable text"},
        DamagedCase{
            "** ADC \xC9VRY\r\n",
            "The presort file PRESORT.PSL is damaged: line 1 holds a character that is not printable text"},
        DamagedCase{
            "** " + QByteArray(78, 'X') + "\r\n",
            "The presort file PRESORT.PSL is damaged: line 1 is a group header too long for a label"}));

TEST(PresortFile, LoadTellsAMissingATooLargeAndAnUnreadableFileApart)
{
    TempDir dir;
    QStringList lines;
    const QString missing = QString::fromStdString(dir.file("PRESORT.PSL"));
    EXPECT_EQ(TPresortFile::load(missing, lines).code, xbase::StatusCode::NotFound);

    const QString large = QString::fromStdString(dir.file("large.psl"));
    QByteArray bytes;
    while (bytes.size() <= TPresortFile::kMaxBytes)
        bytes += "10001\r\n";
    ASSERT_TRUE(writeBytes(large, bytes));
    const TResult tooLarge = TPresortFile::load(large, lines);
    EXPECT_EQ(tooLarge.code, xbase::StatusCode::Corruption);
    EXPECT_EQ(tooLarge.message,
              QStringLiteral("The presort file PRESORT.PSL is damaged: it is larger than any presort"));

    const QString folder = QString::fromStdString(dir.file("folder.psl"));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(TPresortFile::load(folder, lines).code, xbase::StatusCode::IoError);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(PresortFile, AFailedWriteLeavesTheEarlierFile)
{
    TempDir dir;
    // A name so long that no temporary file can be made beside it, for any user.
    const QString path = QString::fromStdString(dir.file(std::string(251, 'P')));
    ASSERT_TRUE(writeBytes(path, "10001\r\n"));
    const TResult failed = TPresortFile::save(path, kLines);
    EXPECT_EQ(failed.code, xbase::StatusCode::IoError);
    EXPECT_TRUE(failed.message.startsWith(QStringLiteral("Unable to write ") + path))
        << qPrintable(failed.message);
    EXPECT_EQ(readBytes(path), QByteArray("10001\r\n"));
}

} // namespace
