// `corvantis-batch reports`: the arguments, and the run that prints a report into a PDF file.
#include "TReportsBatch.h"

#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TFilterFile.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QTextStream>

namespace {

struct ParseCase {
    QStringList args;
    bool ok;
    int report;
    TRecordChoice records;
};

class BatchArguments : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(BatchArguments, AreReadOrRefused)
{
    const ParseCase c = GetParam();
    TReportsBatchOptions o;
    QString error;
    EXPECT_EQ(TReportsBatch::parse(c.args, o, error), c.ok) << error.toStdString();
    if (c.ok) {
        EXPECT_EQ(o.report, c.report);
        EXPECT_EQ(o.records, c.records);
    } else {
        EXPECT_FALSE(error.isEmpty());
    }
}

const QString kPdf = QStringLiteral("out.pdf");
INSTANTIATE_TEST_SUITE_P(
    Cases, BatchArguments,
    ::testing::Values(
        ParseCase{{QStringLiteral("--report"), QStringLiteral("2"), QStringLiteral("--pdf"), kPdf},
                  true,
                  2,
                  TRecordChoice::MatchingFilter},
        ParseCase{{QStringLiteral("--report"), QStringLiteral("3. Organization,Name,Phone,Fax "),
                   QStringLiteral("--all"), QStringLiteral("--pdf"), kPdf},
                  true,
                  3,
                  TRecordChoice::All},
        ParseCase{
            {QStringLiteral("--report"), QStringLiteral("5"), QStringLiteral("--pdf"), kPdf}, false, 0, {}},
        ParseCase{{QStringLiteral("--report"), QStringLiteral("1")}, false, 0, {}},
        ParseCase{{QStringLiteral("--report"), QStringLiteral("1"), QStringLiteral("--pdf")}, false, 0, {}},
        ParseCase{{QStringLiteral("--all"), QStringLiteral("--tagged"), QStringLiteral("--pdf"), kPdf},
                  false,
                  0,
                  {}},
        ParseCase{{QStringLiteral("--bogus"), QStringLiteral("--pdf"), kPdf}, false, 0, {}}));

class ReportsBatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 0; i < 120; ++i)
            records.push_back({{"LNAME", QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'))},
                               {"STATE", i % 2 ? QStringLiteral("CA") : QStringLiteral("NV")}});
        ASSERT_TRUE(smallfile::create(folder + QStringLiteral("/DATA/ADD0001.DBF"), records));
    }
    int run(QStringList args)
    {
        args << QStringLiteral("--file") << folder + QStringLiteral("/DATA/ADD0001.DBF")
             << QStringLiteral("--pdf") << pdf;
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        return TReportsBatch::run(args, folder, o, e);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/out.pdf");
    QString out, err;
};

TEST_F(ReportsBatch, PrintsTheChosenReportOverEveryRecordToThePdf)
{
    ASSERT_EQ(run({QStringLiteral("--report"), QStringLiteral("1"), QStringLiteral("--all")}), 0)
        << err.toStdString();
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_GE(info.pages, 2);
    EXPECT_TRUE(out.contains(QString::number(info.pages) + QStringLiteral(" pages"))) << out.toStdString();
    const QString text = reportpdf::pages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("Person000")));
    EXPECT_TRUE(text.contains(QStringLiteral("Person119")));
}

TEST_F(ReportsBatch, AFilterFileChoosesTheRecords)
{
    TFilterCriteria criteria;
    criteria.setText(TFilterCriteria::qState, QStringLiteral("CA"));
    const QString flt = folder + QStringLiteral("/ca.flt");
    ASSERT_TRUE(TFilterFile::SaveFilterTo(flt, criteria));
    ASSERT_EQ(run({QStringLiteral("--report"), QStringLiteral("2"), QStringLiteral("--filter"), flt,
                   QStringLiteral("--title"), QStringLiteral("Californians")}),
              0)
        << err.toStdString();
    const QString text = reportpdf::pages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("Californians")));
    EXPECT_TRUE(text.contains(QStringLiteral("Person001")));
    EXPECT_FALSE(text.contains(QStringLiteral("Person000")));
}

TEST_F(ReportsBatch, AMissingFileOrBadArgumentsFailWithAMessage)
{
    QTextStream o(&out), e(&err);
    EXPECT_EQ(TReportsBatch::run({QStringLiteral("--report")}, folder, o, e), 2);
    EXPECT_FALSE(err.isEmpty());
    err.clear();
    EXPECT_EQ(TReportsBatch::run({QStringLiteral("--file"), folder + QStringLiteral("/none.dbf"),
                                  QStringLiteral("--pdf"), pdf},
                                 folder, o, e),
              1);
    EXPECT_TRUE(err.contains(QStringLiteral("not found"))) << err.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
