// Designed reports printed to PDF over small address files and read back: the page from the
// settings, header and footer on every page, One Record Per Page, a memo continuing over
// pages, a memo line taller than the section, band shading and frames, and the batch run.
#include "TUserDefinedReport.h"

#include "ReportBandsFill.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TGDataSource.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TPdfPrinterService.h"
#include "TReportBands.h"
#include "TReportDefinitions.h"
#include "TReportPrinter.h"
#include "TReportRun.h"
#include "TReportSettingsList.h"
#include "TReportsBatch.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTextStream>

#include <functional>

namespace {

using smallfile::Record;

std::vector<Record> people(int count, const QString &memo = QString())
{
    std::vector<Record> out;
    for (int i = 0; i < count; ++i)
        out.push_back({{"LNAME", QStringLiteral("Person%1").arg(i, 2, 10, QLatin1Char('0'))},
                       {"FNAME", QStringLiteral("Pat")},
                       {"MEMO", memo}});
    return out;
}

QString memoOfLines(int lines)
{
    QStringList l;
    for (int i = 1; i <= lines; ++i)
        l << QStringLiteral("Memo line %1").arg(i);
    return l.join(QStringLiteral("\r\n"));
}

class DesignedReport : public ::testing::Test
{
protected:
    void open(const std::vector<Record> &records)
    {
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        bands = std::make_unique<TReportBands>(96, &session->table());
    }
    // A text object captioned `text` in `band`.
    void text(TReportPanel &band, const QString &caption, int x = 4)
    {
        reportbands::draw(band, TReportPanel::psLabel, QRect(x, 2, 120, 20));
        auto *label = static_cast<TGPLabel *>(band.objects().back());
        label->setCaption(caption);
    }
    void field(const QString &name)
    {
        reportbands::draw(bands->detail, TReportPanel::psDataLabel, QRect(4, 2, 150, 20));
        TGDataSource *data = bands->detail.DataSet();
        for (int i = 0; i < data->fieldCount(); ++i)
            if (data->fieldName(i) == name)
                static_cast<TGPDLabel *>(bands->detail.objects().back())
                    ->ChooseField(name, data->displayLabel(i));
    }
    int print(TUserDefinedReportOptions options = {}, TRecordChoice records = TRecordChoice::All)
    {
        bands->applySettings();
        TPdfPrinterService service(pdf);
        TReportPrinter job(service);
        TUserDefinedReport::setPaper(job, bands->settings);
        TReportRun run(*session);
        EXPECT_TRUE(run.start(QString(), {records, false}).result.ok);
        TUserDefinedReport body(session->table(), bands->settings, bands->header, bands->detail,
                                bands->footer, options);
        body.attach(job);
        job.RunJob();
        EXPECT_FALSE(job.IsAborted());
        printed = body.printedRecords();
        return job.PageNumber();
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/designed.pdf");
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TReportBands> bands;
    int printed = 0;
};

TEST_F(DesignedReport, OneRecordPerPagePrintsOneDetailBandPerPageWithHeaderAndFooter)
{
    ASSERT_NO_FATAL_FAILURE(open(people(3)));
    bands->settings.footerUsed = true;
    text(bands->header, QStringLiteral("HeadText"));
    text(bands->footer, QStringLiteral("FootText"));
    field(QStringLiteral("LNAME"));
    EXPECT_EQ(print({true, false}), 3);
    EXPECT_EQ(printed, 3);
    const QStringList pages = reportpdf::pages(pdf);
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("HeadText"))) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("FootText"))) << p;
        EXPECT_EQ(pages[p].count(QStringLiteral("Person")), 1) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Person0%1").arg(p))) << p;
    }
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 612, 1);
    EXPECT_NEAR(info.heightPoints, 792, 1);
}

TEST_F(DesignedReport, RecordsRunOnAndTheFooterSitsAtTheBottomOfEachPage)
{
    ASSERT_NO_FATAL_FAILURE(open(people(40)));
    bands->settings.footerUsed = true;
    text(bands->footer, QStringLiteral("FootText"));
    field(QStringLiteral("LNAME"));
    // 11 in less 1 in of margins and 33-pixel header and footer bands leave 9.3125 in: 27
    // detail bands of 33 pixels (0.34375 in).
    EXPECT_EQ(print(), 2);
    const QStringList pages = reportpdf::pages(pdf);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages[0].count(QStringLiteral("Person")), 27);
    EXPECT_EQ(pages[1].count(QStringLiteral("Person")), 13);
    bool footerSeen = false;
    for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
        if (w.text == QLatin1String("FootText")) {
            // The footer band starts 0.5 in + 33 px above the paper's bottom.
            EXPECT_NEAR(w.yMin, 792 - 36 - 33 * 0.75, 6);
            footerSeen = true;
        }
    EXPECT_TRUE(footerSeen);
}

TEST_F(DesignedReport, AFiftyLineMemoContinuesOnFollowingPagesFramedOnEach)
{
    ASSERT_NO_FATAL_FAILURE(open(people(1, memoOfLines(50))));
    bands->settings.memoUsed = true;
    bands->settings.footerUsed = true;
    bands->settings.frame(TReportBand::Memo) = {true, true, true, true, 2, 0, TGColor::clWhite};
    bands->settings.setPage(TReportPage::LetterLandscape);
    bands->settings.memoFont.size = 14;
    text(bands->header, QStringLiteral("HeadText"));
    text(bands->footer, QStringLiteral("FootText"));
    const int pages = print();
    EXPECT_GE(pages, 2);
    const QStringList text = reportpdf::pages(pdf);
    ASSERT_EQ(text.size(), pages);
    int lines = 0;
    for (const QString &page : text) {
        EXPECT_TRUE(page.contains(QStringLiteral("HeadText")));
        EXPECT_TRUE(page.contains(QStringLiteral("FootText")));
        lines += int(page.count(QStringLiteral("Memo line")));
    }
    EXPECT_EQ(lines, 50);
    EXPECT_TRUE(text.back().contains(QStringLiteral("Memo line 50")));
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 792, 1);
    // The frame's left border runs down the memo block on every page: at 0.5 in from the left,
    // dark in the middle of the section.
    for (int p = 1; p <= pages; ++p) {
        const QImage image = reportpdf::render(pdf, p, 72, folder + QStringLiteral("/memo%1").arg(p));
        ASSERT_FALSE(image.isNull());
        int dark = 0;
        for (int x = 34; x <= 40; ++x)
            dark = std::max(dark, 255 - qGray(image.pixel(x, 300)));
        EXPECT_GT(dark, 128) << "page " << p;
    }
}

TEST_F(DesignedReport, AMemoLineTallerThanTheSectionPrintsOnePerPageAndEnds)
{
    ASSERT_NO_FATAL_FAILURE(open(people(1, QStringLiteral("B\r\nC"))));
    bands->settings.memoUsed = true;
    bands->settings.detailUsed = false;
    bands->settings.memoFont.size = 900; // a line far taller than the page
    EXPECT_EQ(print(), 2);
}

TEST_F(DesignedReport, BandsAreShadedAndFramedAsTheirSettingsSay)
{
    ASSERT_NO_FATAL_FAILURE(open(people(1)));
    bands->settings.headerHeight = 96; // one inch
    bands->settings.frame(TReportBand::Header) = {false, false, false, false, 1, 100, 0x000000};
    bands->settings.detailHeight = 96;
    bands->settings.frame(TReportBand::Detail) = {false, true, false, true, 3, 0, TGColor::clWhite};
    print();
    // At 72 dpi: the header band from (36, 36) to (576, 108), the detail band below it.
    const QImage image = reportpdf::render(pdf, 1, 72, folder + QStringLiteral("/bands"));
    ASSERT_FALSE(image.isNull());
    EXPECT_LT(qGray(image.pixel(300, 70)), 40) << "header shaded black";
    EXPECT_GT(qGray(image.pixel(300, 30)), 230) << "above the header";
    EXPECT_GT(qGray(image.pixel(300, 150)), 230) << "inside the detail band";
    int topBorder = 255, bottomBorder = 255, leftSide = 0;
    for (int y = 106; y <= 112; ++y)
        topBorder = std::min(topBorder, qGray(image.pixel(300, y)));
    for (int y = 178; y <= 184; ++y)
        bottomBorder = std::min(bottomBorder, qGray(image.pixel(300, y)));
    for (int x = 34; x <= 40; ++x)
        leftSide = std::max(leftSide, 255 - qGray(image.pixel(x, 150)));
    EXPECT_LT(topBorder, 100);
    EXPECT_LT(bottomBorder, 100);
    EXPECT_LT(leftSide, 30) << "no left border was chosen";
}

TEST_F(DesignedReport, OneObjectOfEachToolPerBandPrints)
{
    ASSERT_NO_FATAL_FAILURE(open(people(2)));
    bands->settings.footerUsed = true;
    bands->settings.headerHeight = bands->settings.detailHeight = bands->settings.footerHeight = 60;
    bands->applySettings();
    reportbands::fillWithEveryTool(*bands);
    EXPECT_EQ(print(), 1);
    EXPECT_EQ(printed, 2);
    const QString text = reportpdf::pages(pdf).join(QString());
    // The text tool's "<text>" in each band, and the page number in the header.
    EXPECT_EQ(text.count(QStringLiteral("<text>")), 2 + 2) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("##"))) << "the page number prints as the number";
}

struct PaperCase {
    double widthInches, heightInches;
    double widthPoints, heightPoints;
};
class DesignedReportPaper : public DesignedReport, public ::testing::WithParamInterface<PaperCase>
{
};

TEST_P(DesignedReportPaper, FollowsThePageOfTheSettings)
{
    const PaperCase c = GetParam();
    ASSERT_NO_FATAL_FAILURE(open(people(1)));
    bands->settings.pageWidth = int(c.widthInches * 96);
    bands->settings.pageHeight = int(c.heightInches * 96);
    field(QStringLiteral("LNAME"));
    EXPECT_EQ(print(), 1);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, c.widthPoints, 1);
    EXPECT_NEAR(info.heightPoints, c.heightPoints, 1);
    EXPECT_TRUE(reportpdf::pages(pdf).join(QString()).contains(QStringLiteral("Person00")));
}

// A4 landscape by its pixel sizes; a custom 5 × 7 inch page; a size no paper has keeps Letter.
INSTANTIATE_TEST_SUITE_P(Cases, DesignedReportPaper,
                         ::testing::Values(PaperCase{11.68, 8.27, 842, 595}, PaperCase{5, 7, 360, 504},
                                           PaperCase{0, 0, 612, 792}, PaperCase{500, 11, 612, 792}));

TEST_F(DesignedReport, DamagedSettingsPrintWithoutEndlessPages)
{
    ASSERT_NO_FATAL_FAILURE(open(people(2, memoOfLines(3))));
    field(QStringLiteral("LNAME"));
    const std::vector<std::function<void(TReportSettingsList &)>> damage = {
        [](TReportSettingsList &l) { l.lengths[6] = Mils(2000000); }, // a header far taller than the page
        [](TReportSettingsList &l) { l.lengths[7] = Mils(-5000); },   // a negative detail band
        [](TReportSettingsList &l) {
            l.flags[2] = true;
            l.size1 = 0;
            l.number = 7;
            l.groups[2].numbers = {99, -5, -1};
            l.groups[2].flags = {true, true, true, true};
        },
    };
    for (size_t i = 0; i < damage.size(); ++i) {
        TReportSettingsList list = TReportSettings::defaults(96).toList();
        damage[i](list);
        bands->settings = TReportSettings::fromList(list, 96);
        const int pages = print();
        EXPECT_GE(pages, 1) << i;
        EXPECT_LE(pages, 8) << i;
        EXPECT_EQ(printed, 2) << i;
    }
}

TEST_F(DesignedReport, TheBatchPrintsADesignedReportByItsDescription)
{
    ASSERT_NO_FATAL_FAILURE(open(people(3)));
    field(QStringLiteral("LNAME"));
    bands->settings.setPage(TReportPage::A4Portrait);
    TReportDefinitions defs;
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/sysdata")));
    ASSERT_TRUE(defs.open(folder + QLatin1Char('/')));
    ASSERT_TRUE(defs.SaveReport(true, 0, QStringLiteral("Names only"), bands->settings.pageDescription(),
                                bands->header, bands->detail, bands->footer, bands->settings));
    defs.close();

    TReportsBatchOptions options;
    QString error;
    ASSERT_TRUE(TReportsBatch::parse({QStringLiteral("--report"), QStringLiteral("Names only"),
                                      QStringLiteral("--one-per-page"), QStringLiteral("--pdf"), pdf},
                                     options, error))
        << error.toStdString();
    options.programFolder = folder + QLatin1Char('/');
    EXPECT_EQ(TReportsBatch::print(*session, options, error), 3) << error.toStdString();
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 595, 1);
    EXPECT_TRUE(reportpdf::pages(pdf).at(2).contains(QStringLiteral("Person02")));
    options.designed = QStringLiteral("No such report");
    EXPECT_EQ(TReportsBatch::print(*session, options, error), -1);
    EXPECT_EQ(error, QStringLiteral("unknown report: No such report"));
}

} // namespace
