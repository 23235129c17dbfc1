#include "TDbfImportRun.h"

#include "TDbfSource.h"
#include "TImportTargets.h"
#include "TransferFixture.h"

#include <gtest/gtest.h>

namespace {

// Makes a dBase III table with a DBT memo file through an outside DBF library.
bool makeTable(const QString &path, const QString &spec, const QString &rowsPython, const QString &type = QStringLiteral("db3"))
{
    bool ok = false;
    const QString out = runPython(QStringLiteral("import dbf, datetime\n"
                                                 "t = dbf.Table('%1', '%2', dbf_type='%3')\n"
                                                 "t.open(dbf.READ_WRITE)\n"
                                                 "for r in %4:\n"
                                                 "  t.append(r)\n"
                                                 "for r in t:\n"
                                                 "  if r[0].strip() == 'Gone': dbf.delete(r)\n"
                                                 "t.close()\n")
                                      .arg(path, spec, type, rowsPython),
                                  &ok);
    if (!ok)
        ADD_FAILURE() << out.toStdString();
    return ok;
}

TEST(DbfImportRun, MatchesByNameOrCaptionAndConvertsTypes)
{
    TempDir dir;
    const QString src = QString::fromStdString(dir.file("SRC.DBF"));
    ASSERT_TRUE(makeTable(src,
                          QStringLiteral("LNAME C(20); FNAME C(40); ZIP C(10); LAST_NAME C(10); CITY N(8,2); "
                                         "CODES D; USER1 L; NOTE M"),
                          QStringLiteral("[('Lee', 'A'*40, '02134', 'x', 12.5, datetime.date(1997,12,25), True, 'memo one'),"
                                         " ('Gone', 'B', '1', 'y', 0, None, False, ''),"
                                         " ('Ek', 'Bo', '', 'z', 7, None, None, 'two')]")));
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TDbfSource source;
    ASSERT_TRUE(source.open(src, table.path()).ok);
    TImportTargets targets(table, TImportTargets::Kind::Table);
    source.autoMatch(targets);
    // LNAME, FNAME and ZIP by name; "Last Name" is LNAME's caption but LNAME has it already.
    EXPECT_EQ(source.matchedTo(targets.byNameOrCaption(QStringLiteral("LNAME"))->index), QStringLiteral("LNAME"));
    EXPECT_EQ(source.matchedTo(targets.byNameOrCaption(QStringLiteral("ZIP"))->index), QStringLiteral("ZIP"));
    EXPECT_EQ(source.fields()[3].match, TDbfSource::kUnmatched);
    EXPECT_EQ(source.matchedTo(targets.byNameOrCaption(QStringLiteral("MEMO"))->index), QStringLiteral("NOTE"));
    EXPECT_EQ(source.fitting('M'), QStringList{QStringLiteral("NOTE")});

    TStopAfter none;
    const TImportOutcome o = TDbfImportRun::run(table, source, none);
    EXPECT_TRUE(o.isComplete());
    EXPECT_EQ(o.imported, 2); // the row marked deleted is not read
    EXPECT_EQ(o.cutValues, 1);
    EXPECT_TRUE(table.CheckValidIndex());
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("ZIP"), QStringLiteral("CITY"), QStringLiteral("CODES"),
                           QStringLiteral("USER1"), QStringLiteral("MEMO")}),
              (QStringList{QStringLiteral("Lee|02134|12.50|19971225|T|memo one"), QStringLiteral("Ek||7.00|||two")}));
}

TEST(DbfImportRun, RefusesTheOpenFileAndEmptyTables)
{
    TempDir dir;
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TDbfSource source;
    EXPECT_EQ(source.open(QString::fromStdString(dir.path()) + QStringLiteral("/./add0001.dbf").replace(QStringLiteral("add0001.dbf"), QStringLiteral("ADD0001.DBF")), table.path()).message,
              QStringLiteral("Cannot import a file to itself"));
    const QString empty = QString::fromStdString(dir.file("EMPTY.DBF"));
    ASSERT_TRUE(makeTable(empty, QStringLiteral("A C(5)"), QStringLiteral("[]")));
    EXPECT_EQ(source.open(empty, table.path()).message, QStringLiteral("There are no records in EMPTY.DBF"));
    EXPECT_EQ(source.open(QString::fromStdString(dir.file("NONE.DBF")), table.path()).message,
              QStringLiteral("Unable to open the file NONE.DBF"));
}

struct DateCase {
    const char *text;
    const char *expected; // "" when not a date
};
class OlderDates : public ::testing::TestWithParam<DateCase> {};
TEST_P(OlderDates, ReadWithoutTheLocale)
{
    QString out;
    const bool read = TDbfImportRun::olderDate(QString::fromLatin1(GetParam().text), out);
    EXPECT_EQ(out, QString::fromLatin1(GetParam().expected));
    EXPECT_EQ(read, *GetParam().expected != 0);
}
INSTANTIATE_TEST_SUITE_P(Cases, OlderDates,
                         ::testing::Values(DateCase{"19971225", "19971225"}, DateCase{"12/25/97", "19971225"},
                                           DateCase{"1/2/05", "20050102"}, DateCase{"03-04-1999", "19990304"},
                                           DateCase{"12/25/29", "20291225"}, DateCase{"12/25/30", "19301225"},
                                           DateCase{"13/25/97", ""}, DateCase{"19971340", ""}, DateCase{"soon", ""}));

TEST(DbfImportRun, FirstVersionMapsNotesAndDatesAndTheMemoRule)
{
    TempDir dir;
    const QString src = QString::fromStdString(dir.file("OLD1.DBF"));
    ASSERT_TRUE(makeTable(src,
                          QStringLiteral("LNAME C(20); FNAME C(20); MIDDLE C(1); TITLE C(20); ORG C(20); STREET C(30); "
                                         "CITY C(20); STATE C(2); ZIP C(10); COUNTRY C(20); PHONE C(20); EMAIL C(30); "
                                         "FAX C(20); NOTES C(30); PREFIX C(5); CARRIER C(4); DATE C(10); MEMO M"),
                          QStringLiteral("[('Lee','Ann','Q','Boss','Acme','1 Main','Oslo','MA','02134','NO','555','a@b','556',"
                                         "'vip','Dr','C001','12/25/97','12345678'),"
                                         " ('Ek','Bo','','','','','','','','','','','','','','','garbage','')]")));
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TDbfSource source;
    ASSERT_TRUE(source.open(src, table.path()).ok);
    EXPECT_TRUE(TDbfImportRun::recognise(source, TDbfImportRun::Older::V1).ok);
    EXPECT_EQ(TDbfImportRun::recognise(source, TDbfImportRun::Older::V2).message,
              QStringLiteral("OLD1.DBF does not appear to be a Corvantis 2.x DBF"));
    TStopAfter none;
    const TImportOutcome o = TDbfImportRun::runOlder(table, source, TDbfImportRun::Older::V1, none);
    EXPECT_EQ(o.imported, 2);
    EXPECT_EQ(o.unreadDates, 1);
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("CODES"), QStringLiteral("DATE"), QStringLiteral("PREFIX"),
                           QStringLiteral("MEMO")}),
              (QStringList{QStringLiteral("Lee|vip|19971225|Dr|12345678 "), QStringLiteral("Ek||||")}));
}

TEST(DbfImportRun, SecondVersionKeepsItsDeletedMark)
{
    TempDir dir;
    const QString src = QString::fromStdString(dir.file("OLD2.DBF"));
    ASSERT_TRUE(makeTable(src,
                          QStringLiteral("LNAME C(20); FNAME C(20); MIDDLE C(1); TITLE C(20); ORG C(20); STREET C(30); "
                                         "STREET2 C(30); CITY C(20); STATE C(2); ZIP C(10); COUNTRY C(20); PHONE C(20); "
                                         "PHONE2 C(20); EMAIL C(30); FAX C(20); CODES C(10); PREFIX C(5); DATE C(8); "
                                         "USER1 C(10); USER2 C(10); ISDEL L; MEMO M; TAG C(8)"),
                          QStringLiteral("[('Lee','Ann','','','','','Apt 2','','','','','','777','','','c1','','19990101',"
                                         "'u1','u2',True,'note','TAGGED'),"
                                         " ('Ek','Bo','','','','','','','','','','','','','','','','','','',False,'','')]")));
    TAddressTable table;
    ASSERT_TRUE(openEmpty(dir, table));
    TDbfSource source;
    ASSERT_TRUE(source.open(src, table.path()).ok);
    ASSERT_TRUE(TDbfImportRun::recognise(source, TDbfImportRun::Older::V2).ok);
    TStopAfter none;
    EXPECT_EQ(TDbfImportRun::runOlder(table, source, TDbfImportRun::Older::V2, none).imported, 2);
    ASSERT_TRUE(table.setOrderTag(QString()).ok);
    EXPECT_EQ(rows(table, {QStringLiteral("LNAME"), QStringLiteral("STREET2"), QStringLiteral("PHONE2"), QStringLiteral("DATE"),
                           QStringLiteral("USER2"), QStringLiteral("ISDEL"), QStringLiteral("TAG"), QStringLiteral("MEMO")}),
              (QStringList{QStringLiteral("Lee|Apt 2|777|19990101|u2|T||note "), QStringLiteral("Ek|||||F||")}));
}

} // namespace
