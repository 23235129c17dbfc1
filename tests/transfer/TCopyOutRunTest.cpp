#include "TCopyOutRun.h"

#include "TestFiles.h"
#include "TransferFixture.h"

#include "TDelimitedLine.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

// The copy marks its text as Windows-1252, so dbfread, left to the file's own mark, reads
// accents, quotes and commas as stored; so does LibreOffice (converting it to UTF-8 text
// headless), whose dBase import takes the character set as its filter option (it assumes
// IBM 850 otherwise, whatever the file says) and is given the one the mark names.
TEST(CopyOutRun, DbfCopyReadsTheSameInLibreOfficeAndDbfread)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table,
                          {{{"LNAME", QStringLiteral("O\"Neil")}, {"FNAME", QStringLiteral("Zo\u00EB")},
                            {"CITY", QStringLiteral("Lee, Jr")}},
                           {{"LNAME", QStringLiteral("Ek")}, {"FNAME", QStringLiteral("Bj\u00F6rn")}, {"CITY", QStringLiteral("Lund")}}}));
    ASSERT_TRUE(table.setOrderTag(QStringLiteral("LNAME")).ok);
    ASSERT_TRUE(table.setQuery(QStringLiteral("!ISDEL")).ok);
    const QString out = QString::fromStdString(dir.file("COPY.DBF"));
    TStopAfter none;
    ASSERT_TRUE(TCopyOutRun::CopyDBF(table, out, none).result.ok);
    const QString expected = QStringLiteral("Ek|Bj\u00F6rn|Lund\nO\"Neil|Zo\u00EB|Lee, Jr\n");

    if (hasPython("dbfread")) {
        bool ok = false;
        const QString read = runPython(QStringLiteral("import dbfread\nfor r in dbfread.DBF('%1'):\n"
                                                      "  print(r['LNAME'], r['FNAME'], r['CITY'], sep='|')")
                                           .arg(out),
                                       &ok);
        EXPECT_TRUE(ok) << read.toStdString();
        EXPECT_EQ(read, expected);
    }
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QProcess convert;
    convert.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + QString::fromStdString(dir.file("profile")),
                            QStringLiteral("--headless"), QStringLiteral("--infilter=dBase:ANSI"), QStringLiteral("--convert-to"),
                            QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"), QStringLiteral("--outdir"),
                            QString::fromStdString(dir.file("lo")), out});
    ASSERT_TRUE(convert.waitForFinished(180000));
    const QByteArray csv = readBytes(QString::fromStdString(dir.file("lo/COPY.csv")));
    if (csv.isEmpty())
        GTEST_SKIP() << "LibreOffice cannot read DBF files here (libreoffice-base-drivers): "
                     << convert.readAllStandardError().constData();
    QString values;
    const QList<QByteArray> lines = csv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const QStringList fields = TDelimitedLine::split(QString::fromUtf8(lines[i].trimmed()));
        values += fields.value(0) + QLatin1Char('|') + fields.value(1) + QLatin1Char('|') + fields.value(8) + QLatin1Char('\n');
    }
    EXPECT_EQ(values, expected) << csv.constData();
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
