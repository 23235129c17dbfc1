// The "Zip Code Count Report" printed to PDF and read back: four columns per page, the page
// number on each page, odd lines shaded.
#include "TZipCountReport.h"

#include "ReportPdf.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TZipCodeCount.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

namespace {

class ZipReport : public ::testing::Test
{
protected:
    int print(const QStringList &lines, int paperCode = 1)
    {
        TPdfPrinterService service(pdf);
        EXPECT_TRUE(service.setPaperSize(paperCode, {}));
        TReportPrinter job(service);
        TZipCountReport report(lines);
        report.attach(job);
        job.RunJob();
        return job.PageNumber();
    }
    static QStringList keys(int count)
    {
        TZipCodeCount c;
        for (int i = 0; i < count; ++i)
            for (int n = 0; n <= i % 3; ++n)
                c.add(QStringLiteral("%1").arg(10000 + i * 7, 5, 10, QLatin1Char('0')));
        return c.reportLines();
    }

    TempDir dir;
    QString pdf = QString::fromStdString(dir.file("zip.pdf"));
};

TEST_F(ZipReport, FillsFourColumnsBeforeANewPage)
{
    const QStringList lines = keys(400);
    const int pages = print(lines);
    ASSERT_EQ(pages, 2);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 2);
    EXPECT_NEAR(info.widthPoints, 612, 0.5);
    const QStringList texts = reportpdf::pages(pdf);
    ASSERT_EQ(texts.size(), 2);
    for (int p = 0; p < 2; ++p) {
        EXPECT_TRUE(texts.at(p).contains(QStringLiteral("Zip Code Count Report")));
        EXPECT_TRUE(texts.at(p).contains(QStringLiteral("Page %1").arg(p + 1)));
    }
    // The first line of page 1 holds the first key of each of the four columns.
    static const QRegularExpression kRow(
        QStringLiteral("^\\s*(\\d{5})\\s+([\\d,]+)\\s+(\\d{5})\\s+([\\d,]+)\\s+(\\d{5})\\s+([\\d,]+)\\s+(\\d{"
                       "5})\\s+([\\d,]+)\\s*$"));
    int fullRows = 0;
    for (const QString &line : texts.at(0).split(QLatin1Char('\n')))
        if (kRow.match(line).hasMatch())
            ++fullRows;
    EXPECT_GT(fullRows, 40);
    // Every count is printed once, on one page or the other.
    const QString all = texts.join(QString());
    EXPECT_TRUE(all.contains(QStringLiteral("10000")));
    EXPECT_TRUE(all.contains(QStringLiteral("%1").arg(10000 + 399 * 7)));
    // The two words of a line stay on one row: key, then its count right-aligned.
    EXPECT_TRUE(all.contains(QRegularExpression(QStringLiteral("10007\\s+2\\b"))));
}

TEST_F(ZipReport, OddLinesOfEachColumnAreShaded)
{
    print(keys(20));
    const QImage page = reportpdf::render(pdf, 1, 100, QString::fromStdString(dir.file("page")));
    ASSERT_FALSE(page.isNull());
    // The third cell of column 0 (1.75 to 2.375 inches) holds no text; line 1 starts at the
    // section's top (1 inch) and lines are about 0.16 inch high.
    const auto grey = [&page](double xInches, double yInches) {
        return qGray(page.pixel(int(xInches * 100), int(yInches * 100)));
    };
    const int line1 = grey(2.0, 1.05);
    const int line2 = grey(2.0, 1.05 + 0.16);
    const int line3 = grey(2.0, 1.05 + 0.32);
    EXPECT_NEAR(line1, 242, 4);
    EXPECT_NEAR(line2, 255, 1);
    EXPECT_NEAR(line3, 242, 4);
    // Column 1 starts its own count: its first line is shaded too.
    print(keys(400));
    const QImage full = reportpdf::render(pdf, 1, 100, QString::fromStdString(dir.file("full")));
    EXPECT_NEAR(qGray(full.pixel(int((2.0 + 1.875) * 100), 105)), 242, 4);
}

TEST_F(ZipReport, OnA4TheColumnsShareTheSection)
{
    print(keys(400), 9);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_NEAR(info.widthPoints, 595, 1);
    for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
        EXPECT_LE(w.xMax, info.widthPoints - 36 + 0.5) << w.text.toStdString();
    EXPECT_NEAR(TZipCountReport::columnPitch(Inches(8.27)).value, 7.27 / 4, 1e-9);
    EXPECT_DOUBLE_EQ(TZipCountReport::columnPitch(Inches(8.5)).value, 1.875);
}

} // namespace
