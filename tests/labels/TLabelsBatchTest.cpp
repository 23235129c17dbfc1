// corvantis-batch labels: the arguments read or refused, the label sheets written to a PDF
// (page count, names at their positions), a presorted run with its header labels, the failures
// with their exit codes, and an address file left byte for byte as it was.
#include "TLabelsBatch.h"

#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TGPostNetBarCode.h"
#include "TLabelSetups.h"
#include "TempDir.h"

#include <QFile>
#include <QTextStream>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    QStringList args;
    bool ok;
};
class LabelsBatchArguments : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(LabelsBatchArguments, AreReadOrRefused)
{
    TLabelsBatchOptions o;
    QString error;
    EXPECT_EQ(TLabelsBatch::parse(GetParam().args, o, error), GetParam().ok) << error.toStdString();
    EXPECT_EQ(error.isEmpty(), GetParam().ok);
}
const QString kS = QStringLiteral("--setup");
const QString kP = QStringLiteral("--pdf");
INSTANTIATE_TEST_SUITE_P(
    Cases, LabelsBatchArguments,
    ::testing::Values(
        ParseCase{{kS, QStringLiteral("Mail"), kP, QStringLiteral("o.pdf")}, true},
        ParseCase{{kS, QStringLiteral("Mail"), QStringLiteral("--all"), QStringLiteral("--copies"),
                   QStringLiteral("3"), QStringLiteral("--start"), QStringLiteral("4"),
                   QStringLiteral("--printer"), QStringLiteral("P")},
                  true},
        ParseCase{{kP, QStringLiteral("o.pdf")}, false}, // no setup
        ParseCase{{kS, QStringLiteral("Mail")}, false},  // no output
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--printer"),
                   QStringLiteral("P")},
                  false}, // both outputs
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--copies"),
                   QStringLiteral("0")},
                  false},
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--start"),
                   QStringLiteral("x")},
                  false},
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--all"),
                   QStringLiteral("--tagged")},
                  false},
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--presort"),
                   QStringLiteral("--copies"), QStringLiteral("2")},
                  false},
        ParseCase{{kS, QStringLiteral("M"), kP, QStringLiteral("o"), QStringLiteral("--bogus")}, false}));

class LabelsBatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 0; i < 70; ++i)
            records.push_back({{"FNAME", QStringLiteral("Ann")},
                               {"LNAME", QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'))},
                               {"STREET", QStringLiteral("1 MAIN ST")},
                               {"CITY", QStringLiteral("Salem")},
                               {"STATE", QStringLiteral("OR")},
                               {"ZIP", i % 7 ? QStringLiteral("97301") : QStringLiteral("10001")}});
        ASSERT_TRUE(smallfile::create(file, records));
        // A setup "Mailing" on the default 30-up sheet with an address block and a POSTNET.
        TLabelSetups setups;
        ASSERT_TRUE(setups.open(folder).ok);
        TLabelSetup setup = TLabelSetup::newSetupDefaults();
        setup.Description = QStringLiteral("Mailing");
        setup.Binary = QStringLiteral("BIN00001.L");
        quint32 recno = 0;
        ASSERT_TRUE(setups
                        .save(setup, recno,
                              [](const QString &path) {
                                  TGOwner owner;
                                  TGLabelPanel surface(&owner, 96);
                                  surface.setSize(252, 96);
                                  auto *block = static_cast<TGDMultiLineAddressLabel *>(surface.insertObject(
                                      std::make_unique<TGDMultiLineAddressLabel>(&owner)));
                                  block->setLeft(10);
                                  block->setTop(4);
                                  block->setWidth(230);
                                  block->setHeight(60);
                                  auto *postnet = static_cast<TGPostNetBarCode *>(
                                      surface.insertObject(std::make_unique<TGPostNetBarCode>(&owner)));
                                  postnet->setLeft(10);
                                  postnet->setTop(70);
                                  postnet->ZipCodeField = QStringLiteral("ZIP");
                                  postnet->AddressField = QStringLiteral("STREET");
                                  return surface.SaveToFile(path);
                              })
                        .ok);
    }
    int run(QStringList args)
    {
        args << QStringLiteral("--file") << file << QStringLiteral("--pdf") << pdf;
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return TLabelsBatch::run(args, folder, o, e);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path()) + QStringLiteral("/");
    QString file = folder + QStringLiteral("DATA/ADD0001.DBF");
    QString pdf = folder + QStringLiteral("out.pdf");
    QString out, err;
};

TEST_F(LabelsBatch, WritesThirtyUpSheetsWithTheNamesAtTheirPositions)
{
    QFile before(file);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();

    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("mailing"), QStringLiteral("--all")}), 0)
        << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("70 labels printed"))) << out.toStdString();
    EXPECT_EQ(reportpdf::info(pdf).pages, 3);
    const TLabelSetup s = TLabelSetup::newSetupDefaults();
    for (const int i : {0, 4, 29}) {
        const QString name = QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'));
        bool found = false;
        for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
            if (w.text == name) {
                found = true;
                EXPECT_GT(w.xMin / 72.0, s.labelOrigin(i).x()) << i;
                EXPECT_LT(w.xMin / 72.0, s.labelOrigin(i).x() + s.LblWidth) << i;
                EXPECT_GT(w.yMin / 72.0, s.labelOrigin(i).y() - 0.05) << i;
                EXPECT_LT(w.yMin / 72.0, s.labelOrigin(i).y() + s.LblHeight) << i;
            }
        EXPECT_TRUE(found) << i;
    }
    QFile after(file);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
}

TEST_F(LabelsBatch, StartAndCopiesPlaceTheFirstLabels)
{
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Mailing"), QStringLiteral("--copies"),
                   QStringLiteral("2"), QStringLiteral("--start"), QStringLiteral("30")}),
              0)
        << err.toStdString();
    // 140 labels: one on the first sheet at position 30, then 139 more on five sheets.
    EXPECT_EQ(reportpdf::info(pdf).pages, 6);
    const QString first = reportpdf::pages(pdf).value(0);
    EXPECT_TRUE(first.contains(QStringLiteral("Person000")));
    EXPECT_FALSE(first.contains(QStringLiteral("Person001")));
}

TEST_F(LabelsBatch, APresortedRunPutsAHeaderBeforeEachGroup)
{
    ASSERT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Mailing"), QStringLiteral("--presort")}), 0)
        << err.toStdString();
    const QString text = reportpdf::pages(pdf).join(QString());
    // 60 pieces for 97301 and 10 for 10001: two 5-digit groups, the bigger ZIP first in key order.
    EXPECT_EQ(text.count(QStringLiteral("**")), 2) << text.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("72 labels printed"))) << out.toStdString();
    EXPECT_LT(text.indexOf(QStringLiteral("Person000")), text.indexOf(QStringLiteral("Person001")));
}

TEST_F(LabelsBatch, FailuresAnswerOneAndWrongUseTwo)
{
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Nothing")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("There is no label setup Nothing"))) << err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Mailing"), QStringLiteral("--start"),
                   QStringLiteral("31")}),
              1);
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Mailing"), QStringLiteral("--bogus")}), 2);
    QFile::remove(folder + QStringLiteral("sysdata/BIN00001.L"));
    EXPECT_EQ(run({QStringLiteral("--setup"), QStringLiteral("Mailing")}), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("Label definition file has been removed"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
