// corvantis-batch letters on a program folder made in the test: one PDF, one PDF per record,
// the record choices, a printer, and the failures each with its message and exit status.
#include "TLettersBatch.h"

#include "LetterPrintSupport.h"
#include "QtPrinters.h"
#include "TAddressSession.h"
#include "TFilterFile.h"
#include "TLetterTemplates.h"
#include "TPdfPrinterService.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTextStream>

using namespace lettertest;

namespace {

class LettersBatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = QString::fromStdString(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("sysdata")));
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("DATA")));
        address = folder + QStringLiteral("DATA/add0001.DBF");
        {
            TAddressTable table;
            makeAddressFile(address,
                            {{"Ann", "Lee", "Salem"},
                             {"Bob", "Moreno", "Bend", true},
                             {"Carla", "Nguyen", "Eugene"},
                             {"Ann", "Lee", "Bend"}},
                            table);
        }
        TLetterTemplates letters;
        ASSERT_TRUE(letters.open(folder).ok);
        ASSERT_TRUE(
            letters.append(QStringLiteral("Welcome"), *letter({QStringLiteral("Dear [First] of [City]")}))
                .ok);
    }
    int run(const QStringList &args, TLettersBatch::PrinterMaker printers = {})
    {
        out.clear();
        err.clear();
        QTextStream o(&out);
        QTextStream e(&err);
        return TLettersBatch(folder, std::move(printers)).run(args, o, e);
    }
    QString file(const char *name) const { return folder + QLatin1String(name); }

    TempDir dir;
    QString folder;
    QString address;
    QString out;
    QString err;
};

// In the user's order, Last Name first.
TEST_F(LettersBatch, AllRecordsGoToOnePdfOnTheLettersPaper)
{
    ASSERT_EQ(run({"--letter", "welcome", "--pdf", file("all.pdf")}), TLettersBatch::kOk)
        << err.toStdString();
    EXPECT_EQ(out, QStringLiteral("Printed 3 letters, 3 pages, to ") + file("all.pdf") + QLatin1Char('\n'));
    EXPECT_EQ(pdfPageTexts(file("all.pdf")),
              QStringList({"Dear Ann of Salem", "Dear Ann of Bend", "Dear Carla of Eugene"}));
    EXPECT_TRUE(pdfPageSize(file("all.pdf")).startsWith(QLatin1String("612 x 792")));
}

TEST_F(LettersBatch, PdfEachWritesOneFileNamedAfterEachRecord)
{
    ASSERT_EQ(run({"--letter", "Welcome", "--file", address, "--copies", "2", "--pdf-each", file("mail")}),
              TLettersBatch::kOk)
        << err.toStdString();
    const QStringList files =
        QDir(file("mail")).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    EXPECT_EQ(files, QStringList({"Ann Lee (2).pdf", "Ann Lee.pdf", "Carla Nguyen.pdf"}));
    EXPECT_EQ(pdfPageTexts(file("mail/Ann Lee (2).pdf")),
              QStringList({"Dear Ann of Bend", "Dear Ann of Bend"}));
    EXPECT_TRUE(
        out.endsWith(QStringLiteral("Printed 3 letters, 6 pages, to ") + file("mail") + QLatin1Char('\n')));
}

TEST_F(LettersBatch, TaggedAndFilterPrintTheRecordsTheyMatch)
{
    QString tagId;
    {
        TAddressSession session(folder + QStringLiteral("CORVAN.ini"));
        session.loadSettings();
        tagId = session.tagId();
        ASSERT_EQ(session.open(address).outcome, TOpenOutcome::Opened);
        xbase::Table &t = session.table().engine();
        ASSERT_TRUE(t.go(3).ok());
        ASSERT_TRUE(t.setFieldValue("TAG", tagId.toStdString()).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_EQ(run({"--letter", "Welcome", "--tagged", "--pdf", file("tagged.pdf")}), TLettersBatch::kOk)
        << err.toStdString();
    EXPECT_EQ(pdfPageTexts(file("tagged.pdf")), QStringList{"Dear Carla of Eugene"});

    TFilterCriteria bend;
    bend.setText(TFilterCriteria::qCity, QStringLiteral("Bend"));
    ASSERT_TRUE(TFilterFile::SaveFilterTo(file("bend.flt"), bend));
    ASSERT_EQ(run({"--letter", "Welcome", "--filter", file("bend.flt"), "--pdf", file("bend.pdf")}),
              TLettersBatch::kOk)
        << err.toStdString();
    // The deleted Bob of Bend stays out.
    EXPECT_EQ(pdfPageTexts(file("bend.pdf")), QStringList{"Dear Ann of Bend"});
}

TEST_F(LettersBatch, APrinterIsAskedForByName)
{
    QString asked;
    const QString pdf = file("printer.pdf");
    const auto printers = [&](const QString &name, QString &) -> std::unique_ptr<TPrinterService> {
        asked = name;
        return std::make_unique<TPdfPrinterService>(pdf, 300);
    };
    ASSERT_EQ(run({"--letter", "Welcome", "--printer", "Office"}, printers), TLettersBatch::kOk)
        << err.toStdString();
    EXPECT_EQ(asked, QStringLiteral("Office"));
    EXPECT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(run({"--letter", "Welcome", "--printer", "Nowhere"}), TLettersBatch::kFailure);
    EXPECT_EQ(err, QStringLiteral("There is no printer Nowhere\n"));
}

struct FailureCase {
    QStringList args;
    int code;
    const char *message; // the first line on the error stream
};

class LettersBatchFailures : public LettersBatch, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(LettersBatchFailures, SayWhatIsWrong)
{
    const FailureCase c = GetParam();
    QStringList args = c.args;
    for (QString &a : args)
        a.replace(QStringLiteral("@"), folder);
    EXPECT_EQ(run(args), c.code);
    EXPECT_EQ(err.section(QLatin1Char('\n'), 0, 0),
              QString::fromLatin1(c.message).replace(QStringLiteral("@"), folder));
    EXPECT_TRUE(out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LettersBatchFailures,
    ::testing::Values(
        FailureCase{{"--pdf", "@x.pdf"}, TLettersBatch::kBadUse, "--letter is missing"},
        FailureCase{
            {"--letter", "Welcome"}, TLettersBatch::kBadUse, "Give one of --pdf, --pdf-each and --printer"},
        FailureCase{{"--letter", "Welcome", "--all", "--tagged", "--pdf", "@x.pdf"},
                    TLettersBatch::kBadUse,
                    "Give one of --filter, --tagged and --all"},
        FailureCase{{"--letter", "Welcome", "--copies", "0", "--pdf", "@x.pdf"},
                    TLettersBatch::kBadUse,
                    "--copies takes a whole number from 1 to 999"},
        FailureCase{{"--letter", "Welcome", "--pdf"}, TLettersBatch::kBadUse, "--pdf needs a value"},
        FailureCase{{"--letter", "Welcome", "--bogus"}, TLettersBatch::kBadUse, "Unknown argument --bogus"},
        FailureCase{{"--letter", "Goodbye", "--pdf", "@x.pdf"},
                    TLettersBatch::kFailure,
                    "There is no letter \"Goodbye\" in LETTER.DBF"},
        FailureCase{{"--letter", "Welcome", "--file", "@DATA/none.dbf", "--pdf", "@x.pdf"},
                    TLettersBatch::kFailure,
                    "File @DATA/none.dbf not found"},
        FailureCase{{"--letter", "Welcome", "--pdf", "@nofolder/x.pdf"},
                    TLettersBatch::kFailure,
                    "Unable to print: the printer PDF could not be opened"}));

TEST_F(LettersBatch, ALetterThatIsNotRtfIsRefused)
{
    xbase::Table t;
    ASSERT_TRUE(t.open(QString(folder + QStringLiteral("sysdata/LETTER.DBF")).toStdString(),
                       xbase::OpenMode::Exclusive)
                    .ok());
    ASSERT_TRUE(t.goTop().ok());
    ASSERT_TRUE(t.lockRecord().ok());
    ASSERT_TRUE(t.setFieldValue("RTF", "{\\rtf1 {{{ broken").ok());
    ASSERT_TRUE(t.post().ok());
    ASSERT_TRUE(t.close().ok());
    EXPECT_EQ(run({"--letter", "Welcome", "--pdf", file("x.pdf")}), TLettersBatch::kFailure);
    EXPECT_TRUE(err.startsWith(QStringLiteral("The letter \"Welcome\" cannot be read: ")))
        << err.toStdString();
    EXPECT_FALSE(QFile::exists(file("x.pdf")));
}

TEST(LettersBatchNames, RecordFileNamesHoldNoPathCharacters)
{
    EXPECT_EQ(TLettersBatch::fileNameFor(QStringLiteral("Dr. Ann B. Lee "), QString(), 4),
              QStringLiteral("Dr. Ann B. Lee.pdf"));
    EXPECT_EQ(TLettersBatch::fileNameFor(QStringLiteral("A/B\\C:D"), QString(), 4),
              QStringLiteral("A_B_C_D.pdf"));
    EXPECT_EQ(TLettersBatch::fileNameFor(QString(), QStringLiteral("Acme"), 4), QStringLiteral("Acme.pdf"));
    EXPECT_EQ(TLettersBatch::fileNameFor(QStringLiteral(".."), QString(), 4), QStringLiteral("_..pdf"));
    EXPECT_EQ(TLettersBatch::fileNameFor(QString(), QString(), 7), QStringLiteral("Record 7.pdf"));
}

} // namespace
