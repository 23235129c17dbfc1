#include "TAsciiImportRun.h"

#include "TAsciiColumns.h"
#include "TCopyOutRun.h"
#include "TImportTargets.h"
#include "TImportText.h"
#include "TestFiles.h"
#include "TransferFixture.h"

#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

struct Imported {
    TImportOutcome outcome;
    TAsciiColumns columns;
};

// Imports `bytes` into `table` with column c matched to the caption captions[c] ("" skips it).
Imported import(TAddressTable &table, const QByteArray &bytes, const QStringList &captions,
                TProgress &progress)
{
    Imported out;
    TImportText text;
    text.setBytes(bytes);
    TImportTargets targets(table, TImportTargets::Kind::Text);
    EXPECT_TRUE(out.columns.scan(text, &targets).ok);
    for (int c = 0; c < captions.size() && c < out.columns.columnCount(); ++c)
        if (!captions[c].isEmpty())
            out.columns.columns()[c].match = captions[c];
    out.outcome = TAsciiImportRun::run(table, text, out.columns, targets, progress);
    return out;
}

// `count` lines "Name<i>,<rest(i)>".
QByteArray numberedLines(int count, const std::function<QByteArray(int)> &rest)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "Name" + QByteArray::number(i) + "," + rest(i) + "\n";
    return out;
}

const QStringList kNames = {QStringLiteral("LNAME"), QStringLiteral("FNAME"), QStringLiteral("CITY")};
const QStringList kCaptions = {QStringLiteral("Last Name"), QStringLiteral("First Name"),
                               QStringLiteral("City")};

TEST(AsciiImportRun, QuotesInsideFieldsLeaveLaterFieldsInPlace)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TStopAfter none;
    const Imported r = import(table, "O\"Neil,Pat,Boston\n\"a\"\"b\",\"Lee, Ann\",Paris\n", kCaptions, none);
    EXPECT_TRUE(r.outcome.isComplete());
    EXPECT_EQ(r.outcome.imported, 2);
    EXPECT_TRUE(r.outcome.rebuild.ok);
    EXPECT_TRUE(table.CheckValidIndex());
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, kNames),
              (QStringList{QStringLiteral("O\"Neil|Pat|Boston"), QStringLiteral("a\"b|Lee, Ann|Paris")}));
}

TEST(AsciiImportRun, ShortLinesPadLongValuesAreCutAndCounted)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TStopAfter none;
    const QByteArray longName(45, 'L');
    const Imported r =
        import(table, "Smith,Ann,Boston,x,y\n\nJones\n" + longName + ",Bo,Rome,1,2\n", kCaptions, none);
    EXPECT_EQ(r.outcome.imported, 3); // the blank line is no record
    EXPECT_EQ(r.outcome.cutValues, 1);
    EXPECT_EQ(r.outcome.notes().size(), 1);
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, kNames), (QStringList{QStringLiteral("Smith|Ann|Boston"), QStringLiteral("Jones||"),
                                                QString(30, QLatin1Char('L')) + QStringLiteral("|Bo|Rome")}));
}

TEST(AsciiImportRun, SingleLineFileIsRefused)
{
    TImportText text;
    text.setBytes("a,b,c\n\n");
    TAsciiColumns columns;
    const TResult r = columns.scan(text);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Unable to import from this file"));
}

TEST(AsciiImportRun, CancelAfterTenOfHundredStillRebuilds)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QByteArray bytes = numberedLines(100, [](int) -> QByteArray { return "F,C"; });
    TStopAfter stop(10);
    const Imported r = import(table, bytes, kCaptions, stop);
    EXPECT_EQ(r.outcome.end, TImportOutcome::End::Cancelled);
    EXPECT_EQ(r.outcome.message(true), QStringLiteral("Import cancelled after importing 10 records."));
    EXPECT_TRUE(table.CheckValidIndex());
    EXPECT_EQ(table.engine().recordCount(), 10u);
}

TEST(AsciiImportRun, WriteFailureIsReportedNotCompleted)
{
    TImportOutcome o;
    o.end = TImportOutcome::End::WriteError;
    o.imported = 7;
    EXPECT_EQ(o.message(true),
              QStringLiteral("Unknown error writing to data file after importing 7 records."));
    EXPECT_FALSE(o.message(false).contains(QLatin1String("complete")));
    EXPECT_TRUE(o.message(false).contains(QLatin1String("7")));
}

// The batches are written on a second thread: a write that fails there (the file may not grow
// past a size the system sets) stops the import, which reports the records written before it,
// and those are exactly the records in the file, readable and indexed.
TEST(AsciiImportRun, WriteFailureOnTheWritingThreadKeepsWhatWasWritten)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    const QByteArray bytes =
        numberedLines(20000, [](int i) -> QByteArray { return "First,City" + QByteArray::number(i % 97); });
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead
    rlimit limit = before;
    limit.rlim_cur = 3u << 20;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    TStopAfter none;
    const Imported r = import(table, bytes, kCaptions, none);
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(r.outcome.end, TImportOutcome::End::WriteError);
    EXPECT_GT(r.outcome.imported, 0);
    EXPECT_LT(r.outcome.imported, 20000);
    EXPECT_TRUE(r.outcome.message(true).contains(QString::number(r.outcome.imported)));
    EXPECT_FALSE(r.outcome.message(false).contains(QLatin1String("complete")));
    EXPECT_EQ(table.engine().recordCount(), static_cast<uint32_t>(r.outcome.imported));
    EXPECT_TRUE(r.outcome.rebuild.ok) << r.outcome.rebuild.message.toStdString();
    EXPECT_TRUE(table.CheckValidIndex());
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    const QStringList got = rows(table, kNames);
    ASSERT_EQ(got.size(), r.outcome.imported);
    EXPECT_EQ(got.front(), QStringLiteral("Name0|First|City0"));
    const int last = static_cast<int>(r.outcome.imported) - 1;
    EXPECT_EQ(got.back(), QStringLiteral("Name%1|First|City%2").arg(last).arg(last % 97));
    // Opened again, the file holds the same records.
    const QString path = QString::fromStdString(dir.file("ADD0001.DBF"));
    table.close();
    const TResult reopened = table.OpenTableFile(path);
    ASSERT_TRUE(reopened.ok) << path.toStdString() << ": " << reopened.message.toStdString();
    EXPECT_EQ(table.engine().recordCount(), static_cast<uint32_t>(r.outcome.imported));
    EXPECT_TRUE(table.CheckValidIndex());
}

TEST(AsciiImportRun, ContactListHeadingsMatchWithoutClicking)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TImportText text;
    // The heading line of a web mail contact list and of a desktop mail program.
    text.setBytes(
        "Given Name,Family Name,E-mail 1 - Value,Address 1 - City,Unknown\nAnn,Lee,ann@x.org,Oslo,zz\n"
        "Bo,Ek,bo@x.org,Rome,zz\n");
    TImportTargets targets(table, TImportTargets::Kind::Text);
    TAsciiColumns columns;
    ASSERT_TRUE(columns.scan(text, &targets).ok);
    EXPECT_TRUE(columns.hasHeading());
    EXPECT_EQ(columns.MatchedFieldName(QStringLiteral("first name")), QStringLiteral("Given Name"));
    EXPECT_EQ(columns.MatchedFieldName(QStringLiteral("Email")), QStringLiteral("E-mail 1 - Value"));
    EXPECT_EQ(columns.columns()[4].match, QString());
    TStopAfter none;
    const TImportOutcome o = TAsciiImportRun::run(table, text, columns, targets, none);
    EXPECT_EQ(o.imported, 2); // the heading is no record
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("FNAME"), QStringLiteral("EMAIL"), QStringLiteral("CITY")}),
              (QStringList{QStringLiteral("Ann|ann@x.org|Oslo"), QStringLiteral("Bo|bo@x.org|Rome")}));

    TImportText other;
    other.setBytes(
        "Title,First Name,Middle Name,Last Name,Company,Business Street,E-mail Address\nMr,A,B,C,D,E,F\n");
    ASSERT_TRUE(columns.scan(other, &targets).ok);
    EXPECT_EQ(columns.MatchedFieldName(QStringLiteral("Organization")), QStringLiteral("Company"));
    EXPECT_EQ(columns.MatchedFieldName(QStringLiteral("Prefix")), QStringLiteral("Title"));
}

// A file exported to text and imported again gives the same records, and an outside reader of
// comma-separated files reads the export's fields as they were.
TEST(AsciiImportRun, ExportThenImportGivesTheSameRecords)
{
    TempDir dir;
    TAddressTable source;
    const std::vector<smallfile::Record> records = {
        {{"LNAME", QStringLiteral("O\"Neil")},
         {"FNAME", QStringLiteral("Ann, Jr")},
         {"CITY", QStringLiteral("Z\xfcrich")}},
        {{"LNAME", QStringLiteral("\"Quoted\"")},
         {"FNAME", QStringLiteral("a\"\"b")},
         {"CITY", QStringLiteral(",")}},
        {{"LNAME", QStringLiteral("Plain")},
         {"ZIP", QStringLiteral("02134")},
         {"CODES", QStringLiteral("x,y")}},
    };
    ASSERT_TRUE(openEmpty(dir, source, records));
    const QString csv = QString::fromStdString(dir.file("out.txt"));
    TStopAfter none;
    const TCopyOutcome copied = TCopyOutRun::CopyASCII(source, csv, none);
    ASSERT_TRUE(copied.result.ok) << copied.result.message.toStdString();
    EXPECT_EQ(copied.copied, 3);

    TempDir second;
    TAddressTable back;
    ASSERT_TRUE(openEmpty(second, back));
    TImportText text;
    ASSERT_TRUE(text.load(csv).ok);
    TImportTargets targets(back, TImportTargets::Kind::Text);
    TAsciiColumns columns;
    ASSERT_TRUE(columns.scan(text, &targets).ok);
    ASSERT_EQ(columns.columnCount(), 20);
    for (int c = 0; c < 20; ++c)
        columns.columns()[c].match = targets.byNameOrCaption(TCopyOutRun::asciiFields()[c])->caption;
    const TImportOutcome o = TAsciiImportRun::run(back, text, columns, targets, none);
    EXPECT_EQ(o.imported, 3);
    ASSERT_TRUE(source.setOrderTag(QString()).ok);
    ASSERT_TRUE(back.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(back, TCopyOutRun::asciiFields()), rows(source, TCopyOutRun::asciiFields()));

    bool ok = false;
    const QString out = runPython(
        QStringLiteral("import csv\nfor r in csv.reader(open('%1', encoding='cp1252', newline='')):\n"
                       "  print(len(r), r[3], r[1], r[8], sep='|')")
            .arg(csv),
        &ok);
    ASSERT_TRUE(ok) << out.toStdString();
    EXPECT_EQ(out, QStringLiteral("20|O\"Neil|Ann, Jr|Z\xfcrich\n20|\"Quoted\"|a\"\"b|,\n20|Plain||\n"));
}

TEST(AsciiImportRun, ExportWithEmptyMiddleWritesTwoQuotes)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(
        openEmpty(dir, table, {{{"PREFIX", QStringLiteral("Dr")}, {"FNAME", QStringLiteral("Ann")}}}));
    const QString path = QString::fromStdString(dir.file("one.txt"));
    TStopAfter none;
    ASSERT_TRUE(TCopyOutRun::CopyASCII(table, path, none).result.ok);
    EXPECT_TRUE(readBytes(path).startsWith("\"Dr\",\"Ann\",\"\",\"\","));
    EXPECT_TRUE(readBytes(path).endsWith("\"\"\r\n"));
}

} // namespace
