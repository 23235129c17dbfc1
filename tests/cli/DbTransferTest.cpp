// corvantis-db create, import and export, run as the program itself: the commands, their exit
// statuses, the round trip through the export and a second new file, and failed imports and
// exports that leave nothing half-written.
#include "Table.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct DbRun {
    int status = -1;
    QString out;
    QString err;
};

// Runs corvantis-db with `args`; with `maxFileBytes` every file it writes is held below that
// size, as on a full disk (the signal the limit raises is ignored, so the write fails).
DbRun db(const QStringList &args, qint64 maxFileBytes = 0)
{
    const QString program = QStringLiteral(CORVANTIS_BINARY_DIR "/corvantis-db");
    QProcess p;
    if (maxFileBytes > 0) {
        QString line = QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(maxFileBytes / 512);
        p.start(QStringLiteral("/bin/sh"), QStringList{QStringLiteral("-c"), line, program} + args);
    } else {
        p.start(program, args);
    }
    p.waitForFinished(120000);
    DbRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class DbTransfer : public ::testing::Test
{
protected:
    QString file(const char *name) const { return QString::fromStdString(dir.file(name)); }
    TempDir dir;
};

TEST_F(DbTransfer, CreateImportExportAndImportIntoASecondFileGiveTheSameRecords)
{
    const QString a = file("ADD0001.DBF");
    EXPECT_EQ(db({QStringLiteral("create"), a}).status, 0);
    const DbRun again = db({QStringLiteral("create"), a});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("exists already"))) << again.err.toStdString();

    // A spreadsheet's CSV with a heading of contact-list column names, in UTF-8.
    const QString csv = file("people.csv");
    ASSERT_TRUE(writeBytes(csv, "First Name,Last Name,City,Notes\r\n"
                                "Ann,\"O\"\"Neil\",Montr\xC3\xA9" "al,x\r\n"
                                "Bo,\"Lee, Jr\",Oslo,\r\n"
                                "\r\n"
                                "Cy,Abel,Paris,y\r\n"));
    const DbRun imported = db({QStringLiteral("import"), a, csv});
    ASSERT_EQ(imported.status, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, QStringLiteral("Import complete. Imported 3 records.\n"));

    // vCards, matched by their fixed mapping, recognised by content whatever the name.
    const QString cards = file("cards.txt");
    ASSERT_TRUE(writeBytes(cards, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ek;Bo;;;\r\nFN:Bo Ek\r\n"
                                  "ADR;TYPE=home:;;1 Main St;Lund;;22100;Sweden\r\nEND:VCARD\r\n"));
    const DbRun vcard = db({QStringLiteral("import"), a, cards});
    ASSERT_EQ(vcard.status, 0) << vcard.err.toStdString();

    const QString out = file("out.csv");
    const DbRun exported = db({QStringLiteral("export"), a, out, QStringLiteral("--csv")});
    ASSERT_EQ(exported.status, 0) << exported.err.toStdString();
    EXPECT_EQ(exported.out, QStringLiteral("Exported 4 records to ") + out + QLatin1Char('\n'));
    const QByteArray first = readBytes(out);
    EXPECT_TRUE(first.startsWith("\"\",\"Cy\",\"\",\"Abel\",")) << first.constData();
    EXPECT_TRUE(first.contains("\"O\"\"Neil\"")) << first.constData();
    EXPECT_TRUE(first.contains("Montr\xE9" "al")) << first.constData(); // the file's Windows-1252

    // The export's own layout (20 columns, no heading) matches field for field.
    const QString b = file("ADD0002.DBF");
    const DbRun second = db({QStringLiteral("import"), b, out, QStringLiteral("--into-new")});
    ASSERT_EQ(second.status, 0) << second.err.toStdString();
    EXPECT_EQ(second.out, QStringLiteral("Import complete. Imported 4 records.\n"));
    const QString again2 = file("again.csv");
    ASSERT_EQ(db({QStringLiteral("export"), b, again2}).status, 0);
    EXPECT_EQ(readBytes(again2), first);
    EXPECT_EQ(db({QStringLiteral("check"), b}).status, 0);

    // A DBF export: the copy opens with the same records.
    const QString copy = file("COPY.DBF");
    ASSERT_EQ(db({QStringLiteral("export"), a, copy}).status, 0);
    xbase::Table t;
    ASSERT_TRUE(t.open(copy.toStdString(), xbase::OpenMode::ReadOnly).ok());
    EXPECT_EQ(t.recordCount(), 4u);
    EXPECT_FALSE(QFileInfo::exists(file("~COPY.DBF")));
}

TEST_F(DbTransfer, AJsonMappingNamesTheColumnsAndBadUseIsTwo)
{
    const QString a = file("ADD0001.DBF");
    ASSERT_EQ(db({QStringLiteral("create"), a}).status, 0);
    const QString csv = file("plain.csv");
    ASSERT_TRUE(writeBytes(csv, "Lee,Oslo,ignored\nEk,Lund,ignored\n"));
    // Without a heading nor the export's layout nothing matches by itself.
    const DbRun unmatched = db({QStringLiteral("import"), a, csv});
    EXPECT_EQ(unmatched.status, 1);
    EXPECT_TRUE(unmatched.err.contains(QStringLiteral("--match"))) << unmatched.err.toStdString();
    const QString map = file("map.json");
    ASSERT_TRUE(writeBytes(map, "{\"Field 1\": \"LNAME\", \"Field 2\": \"City\"}"));
    const DbRun mapped = db({QStringLiteral("import"), a, csv, QStringLiteral("--match"), map});
    ASSERT_EQ(mapped.status, 0) << mapped.err.toStdString();
    const QString out = file("out.txt");
    ASSERT_EQ(db({QStringLiteral("export"), a, out, QStringLiteral("--all")}).status, 0);
    EXPECT_TRUE(readBytes(out).startsWith("\"\",\"\",\"\",\"Ek\",\"\",\"\",\"\",\"\",\"Lund\"")) << readBytes(out).constData();

    for (const QStringList &args :
         {QStringList{QStringLiteral("import"), a}, QStringList{QStringLiteral("export"), a, out, QStringLiteral("--csv"), QStringLiteral("--dbf")},
          QStringList{QStringLiteral("export"), a, out, QStringLiteral("--tagged"), QStringLiteral("--all")},
          QStringList{QStringLiteral("create"), a, QStringLiteral("--into-new")}}) {
        const DbRun r = db(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("Usage: corvantis-db"))) << r.err.toStdString();
    }
}

TEST_F(DbTransfer, AFailedImportLeavesTheFileAsItWasAndAFailedExportLeavesNoFile)
{
    const QString a = file("ADD0001.DBF");
    ASSERT_EQ(db({QStringLiteral("create"), a}).status, 0);
    const QString small = file("small.csv");
    ASSERT_TRUE(writeBytes(small, "First Name,Last Name\nAnn,Lee\nBo,Ek\n"));
    ASSERT_EQ(db({QStringLiteral("import"), a, small}).status, 0);
    const QString dumpBefore = db({QStringLiteral("dump"), a}).out;

    // A source whose second record's memo lies past the end of its memo file.
    const QString source = file("SOURCE.DBF");
    {
        xbase::Table t;
        ASSERT_TRUE(xbase::Table::create(source.toStdString(), {{"LNAME", 'C', 20, 0, 0}, {"NOTES", 'M', 10, 0, 0}}).ok());
        ASSERT_TRUE(t.open(source.toStdString(), xbase::OpenMode::Exclusive).ok());
        for (const char *name : {"Good", "Bad"}) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.setFieldValue("LNAME", name).ok());
            ASSERT_TRUE(t.setFieldValue("NOTES", "a memo").ok());
            ASSERT_TRUE(t.post().ok());
        }
        ASSERT_TRUE(t.close().ok());
    }
    QByteArray bytes = readBytes(source);
    const int header = static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
    const int length = static_cast<unsigned char>(bytes[10]) | (static_cast<unsigned char>(bytes[11]) << 8);
    bytes.replace(header + length + 21, 10, "    999999");
    ASSERT_TRUE(writeBytes(source, bytes));
    const DbRun damaged = db({QStringLiteral("import"), a, source});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_TRUE(damaged.err.contains(QStringLiteral("is as it was"))) << damaged.err.toStdString();
    EXPECT_EQ(db({QStringLiteral("dump"), a}).out, dumpBefore);
    EXPECT_EQ(db({QStringLiteral("check"), a}).status, 0);

    // A full disk while the records are written.
    QByteArray many = "First Name,Last Name,City\n";
    for (int i = 0; i < 6000; ++i)
        many += "Given" + QByteArray::number(i) + ",Family" + QByteArray::number(i) + ",Some City\n";
    const QString big = file("big.csv");
    ASSERT_TRUE(writeBytes(big, many));
    const qint64 limit = (QFileInfo(a).size() / 512 + 200) * 512;
    const DbRun full = db({QStringLiteral("import"), a, big}, limit);
    EXPECT_EQ(full.status, 1);
    EXPECT_TRUE(full.err.contains(QStringLiteral("is as it was"))) << full.err.toStdString();
    EXPECT_EQ(db({QStringLiteral("dump"), a}).out, dumpBefore);
    EXPECT_EQ(db({QStringLiteral("check"), a}).status, 0);

    // An export that fails leaves no file: a text export and a DBF export.
    const QString c = file("ADD0003.DBF");
    ASSERT_EQ(db({QStringLiteral("import"), c, big, QStringLiteral("--into-new")}).status, 0);
    const QString text = file("out.csv");
    EXPECT_EQ(db({QStringLiteral("export"), c, text}, 4096).status, 1);
    EXPECT_FALSE(QFileInfo::exists(text));
    const QString table = file("OUT.DBF");
    const DbRun dbf = db({QStringLiteral("export"), c, table}, 4096);
    EXPECT_EQ(dbf.status, 1);
    EXPECT_FALSE(QFileInfo::exists(table));
    EXPECT_FALSE(QFileInfo::exists(file("~OUT.DBF")));
    EXPECT_FALSE(QFileInfo::exists(file("~OUT.FPT")));
}

} // namespace
