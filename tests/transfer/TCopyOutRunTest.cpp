#include "TCopyOutRun.h"

#include "TestFiles.h"
#include "TransferFixture.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <sys/resource.h>

#include <gtest/gtest.h>

namespace {

std::vector<smallfile::Record> hundred()
{
    std::vector<smallfile::Record> out;
    for (int i = 0; i < 100; ++i)
        out.push_back({{"LNAME", QStringLiteral("Name%1").arg(99 - i, 2, 10, QLatin1Char('0'))},
                       {"CITY", i % 40 == 0 ? QStringLiteral("Keep") : QStringLiteral("Other")},
                       {"TAG", QStringLiteral("T1")}});
    return out;
}

TEST(CopyOutRun, FilterOfThreeInCurrentOrderToDbfReadByOutsideReaders)
{
    TempDir dir;
    TAddressTable table;
    auto records = hundred();
    records[0].push_back({"MEMO", QStringLiteral("12345678")}); // 8 characters: a blank is added
    ASSERT_TRUE(openEmpty(dir, table, records));
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")).ok);
    ASSERT_TRUE(table.setQuery(QStringLiteral("CITY = 'Keep'")).ok);
    const QString out = QString::fromStdString(dir.file("copy.dbf"));
    TStopAfter none;
    const TCopyOutcome c = TCopyOutRun::CopyDBF(table, out, none);
    ASSERT_TRUE(c.result.ok) << c.result.message.toStdString();
    EXPECT_EQ(c.copied, 3);
    if (!hasPython("dbfread"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    bool ok = false;
    const QString read = runPython(QStringLiteral("import dbfread\nfor r in dbfread.DBF('%1'):\n"
                                                  "  print(r['LNAME'], r['CITY'], repr(r['MEMO']), repr(r['TAG']), sep='|')")
                                       .arg(out),
                                   &ok);
    ASSERT_TRUE(ok) << read.toStdString();
    EXPECT_EQ(read, QStringLiteral("Name19|Keep|None|''\nName59|Keep|None|''\nName99|Keep|'12345678 '|''\n"));
}

TEST(CopyOutRun, Refusals)
{
    const QString open = QStringLiteral("/tmp/DATA/ADD0001.DBF");
    EXPECT_TRUE(TCopyOutRun::check(QStringLiteral("/tmp/x.dbf"), open, true).ok);
    EXPECT_EQ(TCopyOutRun::check(QStringLiteral("/tmp/x.txt"), open, true).message, QStringLiteral("Must have a .DBF extension"));
    EXPECT_EQ(TCopyOutRun::check(QStringLiteral("/tmp/data/../DATA/add0001.dbf"), open, true).message,
              QStringLiteral("Cannot copy a file to itself!"));
    EXPECT_TRUE(TCopyOutRun::check(QStringLiteral("/tmp/x.txt"), open, false).ok);
}

// A file that cannot grow past a few kilobytes stands for a full disk: the export says so and
// leaves neither a partial file nor a changed old one.
TEST(CopyOutRun, FullDiskRemovesThePartialTextFile)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table, hundred()));
    const QString out = QString::fromStdString(dir.file("full.txt"));
    ASSERT_TRUE(writeBytes(out, "old"));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 2048;
    setrlimit(RLIMIT_FSIZE, &small);
    // More than the limit, written in one piece past it.
    TStopAfter none;
    const TCopyOutcome c = TCopyOutRun::CopyASCII(table, out, none);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(c.result.ok);
    EXPECT_EQ(c.result.code, xbase::StatusCode::IoError);
    EXPECT_EQ(readBytes(out), QByteArray("old"));
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList({QStringLiteral("full.txt*")}, QDir::Files).size(), 1);
}

TEST(CopyOutRun, CancelKeepsWhatWasCopied)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table, hundred()));
    const QString out = QString::fromStdString(dir.file("part.txt"));
    TStopAfter stop(5);
    const TCopyOutcome c = TCopyOutRun::CopyASCII(table, out, stop);
    EXPECT_TRUE(c.result.ok);
    EXPECT_TRUE(c.cancelled);
    EXPECT_EQ(readBytes(out).count("\r\n"), 5);
}

} // namespace
