// A printer's calibration: kept per printer in the settings file, worked out from the test
// sheet's crosshairs, applied to every page a printer job draws (and to a PDF file only when
// asked), and the test sheet itself with its rulers' labels.
#include "TPrinterCalibration.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "TCalibrationSheet.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

class PrinterCalibration : public ::testing::Test
{
protected:
    TempDir dir;
    TIniFile ini{QString::fromStdString(dir.file("CORVAN.ini"))};
    QString pdf = QString::fromStdString(dir.file("out.pdf"));

    // Two pages, each with the word "Mark" at (2, 3) inches; the word's corner on each page.
    std::vector<QPointF> printMarks(const TPrinterCalibration &calibration)
    {
        TPdfPrinterService service(pdf, 600);
        TReportPrinter job(service);
        EXPECT_TRUE(job.SetPaperSize(1, {}));
        job.setCalibration(calibration);
        job.OnPrint = [](TBaseReport &r) {
            r.SelectFont(QStringLiteral("Arial"), 12);
            for (int page = 0; page < 2; ++page) {
                if (page > 0)
                    r.StartNewPage();
                const InchPoint at{Inches(2), Inches(3)};
                r.DrawTextInRect(r.InchRect(at, {Inches(5), Inches(4)}), at, QStringLiteral("Mark"));
            }
        };
        job.RunJob();
        EXPECT_FALSE(job.IsAborted());
        std::vector<QPointF> out;
        for (int page = 1; page <= 2; ++page)
            for (const reportpdf::Word &w : reportpdf::words(pdf, page))
                if (w.text == QLatin1String("Mark"))
                    out.emplace_back(w.xMin / 72.0, w.yMin / 72.0);
        return out;
    }
};

} // namespace

TEST_F(PrinterCalibration, TheValuesOfEachPrinterRoundTripThroughTheSettingsFile)
{
    TPrinterCalibration laser;
    laser.horizontalOffset = Inches(0.0625);
    laser.verticalOffset = Inches(-0.125);
    laser.horizontalScale = 98.5;
    laser.verticalScale = 101.25;
    laser.applyToPdf = true;
    ASSERT_TRUE(laser.save(ini, QStringLiteral("Laser")));
    TPrinterCalibration odd;
    odd.verticalOffset = Inches(0.5);
    ASSERT_TRUE(odd.save(ini, QStringLiteral("Odd]Name")));

    EXPECT_EQ(TPrinterCalibration::load(ini, QStringLiteral("Laser")), laser);
    EXPECT_EQ(TPrinterCalibration::load(ini, QStringLiteral("Odd]Name")), odd);
    EXPECT_TRUE(TPrinterCalibration::load(ini, QStringLiteral("Other")).isIdentity());
    EXPECT_EQ(ini.readString(QStringLiteral("Printer Calibration Laser"), QStringLiteral("HorizontalScale")),
              QStringLiteral("98.500"));
}

struct DamagedCase {
    const char *key;
    const char *value;
};
class DamagedCalibration : public ::testing::TestWithParam<DamagedCase>
{
};

TEST_P(DamagedCalibration, AValueItCannotMeanReadsAsNoCorrection)
{
    TempDir dir;
    TIniFile ini(QString::fromStdString(dir.file("CORVAN.ini")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Printer Calibration P"), QString::fromLatin1(GetParam().key),
                                QString::fromLatin1(GetParam().value)));
    EXPECT_TRUE(TPrinterCalibration::load(ini, QStringLiteral("P")).isIdentity());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedCalibration,
    ::testing::Values(DamagedCase{"HorizontalOffset", "1.5"}, DamagedCase{"VerticalOffset", "-7"},
                      DamagedCase{"VerticalOffset", "x"}, DamagedCase{"HorizontalScale", "0"},
                      DamagedCase{"VerticalScale", "250"}, DamagedCase{"VerticalScale", "nan"},
                      DamagedCase{"HorizontalScale", "1e400"}));

TEST(PrinterCalibrationMath, TheCrosshairsMeasuredGiveTheCorrectionThatPutsThemBack)
{
    // A printer shifting 0.1 in right and 0.05 in up and printing 1 % large across.
    const QPointF first(1.0 * 1.01 + 0.1, 1.0 - 0.05);
    const QPointF second(7.0 * 1.01 + 0.1, 9.0 - 0.05);
    TPrinterCalibration c;
    ASSERT_TRUE(TPrinterCalibration::fromMeasurements(first, second, c));
    EXPECT_NEAR(c.horizontalScale, 100.0 / 1.01, 1e-9);
    EXPECT_NEAR(c.verticalScale, 100.0, 1e-9);
    // Drawn corrected, a point lands where it was meant: 1.01 * (s * p + o) + 0.1 = p.
    for (double p : {0.0, 1.0, 4.25, 8.5})
        EXPECT_NEAR(1.01 * (c.horizontalScale / 100.0 * p + c.horizontalOffset.value) + 0.1, p, 1e-9);
    EXPECT_NEAR(c.measuredFirst().x(), first.x(), 1e-9);
    EXPECT_NEAR(c.measuredSecond().y(), second.y(), 1e-9);

    // Beyond 1 in of shift or 90..110 %, or crosshairs measured the wrong way round: refused.
    TPrinterCalibration untouched;
    EXPECT_FALSE(TPrinterCalibration::fromMeasurements({2.5, 1}, {8.5, 9}, untouched));
    EXPECT_FALSE(TPrinterCalibration::fromMeasurements({1, 1}, {8, 9}, untouched));
    EXPECT_FALSE(TPrinterCalibration::fromMeasurements({7, 1}, {1, 9}, untouched));
    EXPECT_TRUE(untouched.isIdentity());
}

TEST_F(PrinterCalibration, TheOffsetAndScaleMoveWhatIsDrawnOnEveryPage)
{
    const std::vector<QPointF> plain = printMarks({});
    ASSERT_EQ(plain.size(), 2u);
    for (const QPointF &p : plain) {
        EXPECT_NEAR(p.x(), 2.0, 0.02);
        EXPECT_NEAR(p.y(), 3.0, 0.02);
    }
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.25);
    c.verticalOffset = Inches(-0.5);
    c.horizontalScale = 95.0;
    c.verticalScale = 105.0;
    const std::vector<QPointF> moved = printMarks(c);
    ASSERT_EQ(moved.size(), 2u);
    for (std::size_t i = 0; i < moved.size(); ++i) {
        EXPECT_NEAR(moved[i].x(), plain[i].x() * 0.95 + 0.25, 0.02) << i;
        EXPECT_NEAR(moved[i].y(), plain[i].y() * 1.05 - 0.5, 0.02) << i;
    }
}

TEST_F(PrinterCalibration, APdfFileIsCorrectedOnlyWhenItsCalibrationAsksForIt)
{
    TPdfPrinterService service(pdf);
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.3);
    ASSERT_TRUE(c.save(ini, service.printerNames().at(0)));
    EXPECT_TRUE(TPrinterCalibration::forService(ini, service).isIdentity());
    const std::vector<QPointF> asIs = printMarks(TPrinterCalibration::forService(ini, service));
    ASSERT_FALSE(asIs.empty());
    EXPECT_NEAR(asIs[0].x(), 2.0, 0.02);

    c.applyToPdf = true;
    ASSERT_TRUE(c.save(ini, service.printerNames().at(0)));
    EXPECT_EQ(TPrinterCalibration::forService(ini, service), c);
    const std::vector<QPointF> moved = printMarks(TPrinterCalibration::forService(ini, service));
    ASSERT_FALSE(moved.empty());
    EXPECT_NEAR(moved[0].x(), 2.3, 0.02);
}

TEST_F(PrinterCalibration, TheTestSheetPrintsItsRulersAndCrosshairs)
{
    TPdfPrinterService service(pdf);
    TReportPrinter job(service);
    ASSERT_TRUE(job.SetPaperSize(1, {}));
    TCalibrationSheet::attach(job, QStringLiteral("PDF"));
    job.RunJob();
    ASSERT_FALSE(job.IsAborted());
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    const QString text = reportpdf::pages(pdf).value(0);
    EXPECT_TRUE(text.contains(TCalibrationSheet::title())) << text.toStdString();
    for (int inch = 1; inch <= 7; ++inch)
        EXPECT_TRUE(text.contains(TCalibrationSheet::rulerLabel(inch))) << inch;
    // The crosshair labels sit beside their crosshairs: A near (1, 1), B near (7, 9) inches.
    double ax = -1, bx = -1, by = -1;
    for (const reportpdf::Word &w : reportpdf::words(pdf, 1)) {
        if (w.text == QLatin1String("A") && ax < 0 && w.yMin / 72.0 < 1.5)
            ax = w.xMin / 72.0;
        if (w.text == QLatin1String("B") && w.yMin / 72.0 > 8.5) {
            bx = w.xMin / 72.0;
            by = w.yMin / 72.0;
        }
    }
    EXPECT_NEAR(ax, 1.12, 0.05);
    EXPECT_NEAR(bx, 7.12, 0.05);
    EXPECT_NEAR(by, 9.0, 0.15);
}
