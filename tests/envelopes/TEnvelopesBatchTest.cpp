// corvantis-batch envelopes: the arguments read or refused, one envelope page per record in a
// PDF of the envelope's size with the names in place, the start record, the pre-print check's
// warnings on the terminal, the PDF printer's calibration when it asks for PDF files, and the
// failures with their exit codes; the address file is left byte for byte as it was.
#include "TEnvelopesBatch.h"

#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TEnvelopePanel.h"
#include "TEnvelopeSetups.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGOwner.h"
#include "TIniFile.h"
#include "TPrinterCalibration.h"
#include "TempDir.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    QStringList args;
    bool ok;
};
class EnvelopesBatchArguments : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(EnvelopesBatchArguments, AreReadOrRefused)
{
    TEnvelopesBatchOptions o;
    QString error;
    EXPECT_EQ(TEnvelopesBatch::parse(GetParam().args, o, error), GetParam().ok) << error.toStdString();
    EXPECT_EQ(error.isEmpty(), GetParam().ok);
}
const QString kS = QStringLiteral("--setup");
const QString kP = QStringLiteral("--pdf");
INSTANTIATE_TEST_SUITE_P(
    Cases, EnvelopesBatchArguments,
    ::testing::Values(ParseCase{{kS, QStringLiteral("Business"), kP, QStringLiteral("o.pdf")}, true},
                      ParseCase{{kS, QStringLiteral("B"), QStringLiteral("--tagged"),
                                 QStringLiteral("--start"), QStringLiteral("4"), QStringLiteral("--printer"),
                                 QStringLiteral("P")},
                                true},
                      ParseCase{{kP, QStringLiteral("o.pdf")}, false}, // no setup
                      ParseCase{{kS, QStringLiteral("B")}, false},     // no output
                      ParseCase{{kS, QStringLiteral("B"), kP, QStringLiteral("o"),
                                 QStringLiteral("--printer"), QStringLiteral("P")},
                                false},
                      ParseCase{{kS, QStringLiteral("B"), kP, QStringLiteral("o"), QStringLiteral("--start"),
                                 QStringLiteral("0")},
                                false},
                      ParseCase{{kS, QStringLiteral("B"), kP, QStringLiteral("o"), QStringLiteral("--all"),
                                 QStringLiteral("--filter"), QStringLiteral("x.flt")},
                                false},
                      ParseCase{{kS, QStringLiteral("B"), kP, QStringLiteral("o"), QStringLiteral("--copies"),
                                 QStringLiteral("2")},
                                false}));

class EnvelopesBatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (const char *name : {"Adams", "Baker", "Clark"})
            records.push_back({{"FNAME", QStringLiteral("Ann")},
                               {"LNAME", QString::fromLatin1(name)},
                               {"STREET", QStringLiteral("1 MAIN ST")},
                               {"CITY", QStringLiteral("Salem")},
                               {"STATE", QStringLiteral("OR")},
                               {"ZIP", QStringLiteral("97301")}});
        ASSERT_TRUE(smallfile::create(file, records));
        saveSetup(false);
    }

    // The setup "Business": #10 with an address block at (3.5, 2) inches, and a FIM put
    // 2.34 in from the right edge when `misplacedFim`.
    void saveSetup(bool misplacedFim)
    {
        TEnvelopeSetups setups;
        ASSERT_TRUE(setups.open(folder).ok);
        TEnvelopeRow row;
        if (!setups.rows().isEmpty())
            row = setups.rows().first();
        else
            row.binary = setups.nextBinaryName();
        row.description = QStringLiteral("Business");
        row.number = 20;
        TGOwner owner;
        TEnvelopePanel surface(&owner, 96);
        surface.setSize(912, 396);
        auto *block = static_cast<TGDMultiLineAddressLabel *>(
            surface.insertObject(std::make_unique<TGDMultiLineAddressLabel>(&owner)));
        block->setLeft(336);
        block->setTop(192);
        block->setWidth(300);
        block->setHeight(90);
        if (misplacedFim)
            surface.insertObject(std::make_unique<TGFIMBarCode>(&owner))->setLeft(636);
        ASSERT_TRUE(setups.save(row, surface).ok);
    }

    int run(QStringList args)
    {
        args << QStringLiteral("--file") << file << QStringLiteral("--pdf") << pdf;
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return TEnvelopesBatch::run(args, folder, o, e);
    }

    // Where the word `text` begins on `page`, in inches; (-1, -1) when it is missing.
    QPointF wordAt(int page, const QString &text) const
    {
        for (const reportpdf::Word &w : reportpdf::words(pdf, page))
            if (w.text == text)
                return {w.xMin / 72.0, w.yMin / 72.0};
        return {-1, -1};
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path()) + QStringLiteral("/");
    QString file = folder + QStringLiteral("DATA/ADD0001.DBF");
    QString pdf = folder + QStringLiteral("out.pdf");
    QString out, err;
};

TEST_F(EnvelopesBatch, PrintsOneEnvelopePagePerRecordWithTheAddressInPlace)
{
    const QByteArray before = readBytes(file);
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("business"), QStringLiteral("--all")}), 0)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("3 envelopes printed"))) << out.toStdString();
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.widthPoints, 9.5 * 72, 0.5);
    EXPECT_NEAR(info.heightPoints, 4.125 * 72, 0.5);
    int page = 1;
    for (const char *name : {"Adams", "Baker", "Clark"}) {
        EXPECT_TRUE(reportpdf::pages(pdf).value(page - 1).contains(QLatin1String(name))) << name;
        const QPointF at = wordAt(page, QStringLiteral("Ann"));
        EXPECT_NEAR(at.x(), 3.5, 0.1) << name;
        EXPECT_NEAR(at.y(), 2.0, 0.1) << name;
        ++page;
    }
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(EnvelopesBatch, StartSkipsTheRecordsBeforeIt)
{
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business"), QStringLiteral("--start"),
                   QStringLiteral("3")}),
              0)
        << err.toStdString();
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    EXPECT_TRUE(reportpdf::pages(pdf).value(0).contains(QStringLiteral("Clark")));
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business"), QStringLiteral("--start"),
                   QStringLiteral("4")}),
              1);
}

TEST_F(EnvelopesBatch, TheCheckWarnsOnTheTerminalAndThePdfCalibrationApplies)
{
    saveSetup(true);
    TIniFile ini(folder + QStringLiteral("CORVAN.ini"));
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.25);
    ASSERT_TRUE(c.save(ini, QStringLiteral("PDF")));
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business")}), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("warning: The FIM's rightmost bar stands 2.344 in")))
        << err.toStdString();
    EXPECT_NEAR(wordAt(1, QStringLiteral("Ann")).x(), 3.5, 0.1); // a PDF file is not corrected unasked

    c.applyToPdf = true;
    ASSERT_TRUE(c.save(ini, QStringLiteral("PDF")));
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business")}), 0) << err.toStdString();
    EXPECT_NEAR(wordAt(1, QStringLiteral("Ann")).x(), 3.75, 0.1);
}

TEST_F(EnvelopesBatch, FailuresAnswerOneAndWrongUseTwo)
{
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Nothing")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("There is no envelope setup Nothing"))) << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business"), QStringLiteral("--bogus")}), 2);
    QFile::remove(folder + QStringLiteral("sysdata/BIN00001.E"));
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Business")}), 1);
    EXPECT_TRUE(err.contains(TEnvelopeSetups::missingLayoutMessage())) << err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
