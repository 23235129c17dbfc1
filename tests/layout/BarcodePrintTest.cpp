// A label with an address block, a POSTNET, a FIM and an Intelligent Mail barcode printed to a
// PDF file: an independent renderer (pdftoppm) must find every bar where the inch arithmetic
// puts it, none thinner than 0.015 inch, and the address lines as text.
#include "MultiLineTestSupport.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGIntelligentMailBarCode.h"
#include "TGPostNetBarCode.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QImage>
#include <QProcess>

namespace {

constexpr double kDpi = 1200.0;

// The page region from (x, y) inches, `w` by `h` inches, rendered in grey at kDpi.
QImage renderRegion(const QString &pdf, const QString &prefix, double x, double y, double w, double h)
{
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(kDpi), QStringLiteral("-x"),
             QString::number(qRound(x * kDpi)), QStringLiteral("-y"), QString::number(qRound(y * kDpi)),
             QStringLiteral("-W"), QString::number(qRound(w * kDpi)), QStringLiteral("-H"),
             QString::number(qRound(h * kDpi)), QStringLiteral("-singlefile"), pdf, prefix});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QImage();
    return QImage(prefix + QStringLiteral(".pgm"));
}

struct DarkRun {
    double left, width; // inches from the region's left edge
};

// The dark runs along row `yInches` of the region.
std::vector<DarkRun> darkRuns(const QImage &image, double yInches)
{
    std::vector<DarkRun> runs;
    const int y = qRound(yInches * kDpi);
    int start = -1;
    for (int x = 0; x <= image.width(); ++x) {
        const bool dark = x < image.width() && qGray(image.pixel(x, y)) < 128;
        if (dark && start < 0)
            start = x;
        if (!dark && start >= 0) {
            runs.push_back({start / kDpi, (x - start) / kDpi});
            start = -1;
        }
    }
    return runs;
}

class BarcodePrint : public MultiLineSurface
{
};

TEST_F(BarcodePrint, EveryBarLandsWhereTheInchArithmeticSays)
{
    record.set(QStringLiteral("PREFIX"), QStringLiteral("Dr"));
    record.set(QStringLiteral("FNAME"), QStringLiteral("Ann"));
    record.set(QStringLiteral("MIDDLE"), QStringLiteral("B"));
    record.set(QStringLiteral("LNAME"), QStringLiteral("Lee"));
    record.set(QStringLiteral("STREET"), QStringLiteral("123 MAIN ST"));
    record.set(QStringLiteral("CITY"), QStringLiteral("Springfield"));
    record.set(QStringLiteral("STATE"), QStringLiteral("IL"));
    record.set(QStringLiteral("ZIP"), QStringLiteral("12345-6789"));

    // Design pixels at 96 per inch; the label's corner lies at (0.5, 1.0) inches.
    auto *fim = add<TGFIMBarCode>(384, 0);
    fim->FIMType = fimTypeC;
    auto *block = add<TGDMultiLineAddressLabel>(48, 96);
    block->setWidth(300);
    block->setHeight(100);
    auto *postnet = add<TGPostNetBarCode>(48, 200);
    postnet->ZipCodeField = QStringLiteral("ZIP");
    postnet->AddressField = QStringLiteral("STREET");
    auto *imb = add<TGIntelligentMailBarCode>(48, 240);
    imb->ChooseSettings(QStringLiteral("00"), QStringLiteral("270"), QStringLiteral("123456"), imbSerialFixed,
                        42, QString());

    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("label.pdf"));
    TPdfPrinterService service(pdf, 600);
    TReportPrinter printer(service);
    const InchPoint origin{Inches(0.5), Inches(1.0)};
    printer.OnPrint = [&](TBaseReport &job) {
        surface.setPrinting(true);
        surface.RefreshData();
        surface.PrintObjects(job, origin);
        surface.setPrinting(false);
    };
    printer.RunJob();
    ASSERT_FALSE(printer.IsAborted());
    const double tolerance = 2.0 / kDpi;
    const QString prefix = QString::fromStdString(dir.file("region"));

    // POSTNET: 62 bars 0.046 inch apart; full bars reach 0.125 inch above the base, half bars
    // 0.055 inch.
    {
        const TPostNetSymbol symbol = postnet->symbol();
        ASSERT_EQ(symbol.bars.size(), 62);
        const double x0 = 0.5 + 48 / 96.0, y0 = 1.0 + 200 / 96.0;
        const QImage image = renderRegion(pdf, prefix, x0 - 0.1, y0 - 0.05, 3.1, 0.25);
        ASSERT_FALSE(image.isNull());
        const std::vector<DarkRun> low = darkRuns(image, 0.05 + 0.100);
        const std::vector<DarkRun> high = darkRuns(image, 0.05 + 0.030);
        ASSERT_EQ(low.size(), 62u);
        QString states;
        size_t h = 0;
        for (int k = 0; k < 62; ++k) {
            EXPECT_NEAR(low[k].left, 0.1 + k * 0.046, tolerance) << "bar " << k;
            EXPECT_GE(low[k].width, 0.015 - 1.0 / kDpi) << "bar " << k;
            const bool full = h < high.size() && std::abs(high[h].left - low[k].left) < tolerance;
            states.append(QLatin1Char(full ? 'F' : 'H'));
            if (full)
                ++h;
        }
        EXPECT_EQ(states.toStdString(), symbol.bars.toStdString());
    }
    // FIM C: bars in columns 1, 3, 7, 11, 15 and 17, each 1/32 inch wide, 0.5625 inch high.
    {
        const double x0 = 0.5 + 384 / 96.0, y0 = 1.0;
        const QImage image = renderRegion(pdf, prefix, x0 - 0.1, y0, 0.8, 0.7);
        ASSERT_FALSE(image.isNull());
        const std::vector<DarkRun> runs = darkRuns(image, 0.3);
        const QList<int> columns = TGFIMBarCode::barColumns(fimTypeC);
        ASSERT_EQ(runs.size(), static_cast<size_t>(columns.size()));
        for (size_t i = 0; i < runs.size(); ++i) {
            EXPECT_NEAR(runs[i].left, 0.1 + (columns[int(i)] - 1) / 32.0, tolerance);
            // The pen is left as it was, so its outline may widen the column a little.
            EXPECT_GE(runs[i].width, 1 / 32.0 - 1 / kDpi);
            EXPECT_LE(runs[i].width, 1 / 32.0 + 3 / kDpi);
        }
        EXPECT_TRUE(darkRuns(image, 0.5625 + 0.01).empty());
    }
    // Intelligent Mail: 65 bars 1/22 inch apart, 0.020 inch wide; ascenders reach the top,
    // descenders the bottom of 0.145 inch, the tracker is the middle 0.048 inch.
    {
        const TIntelligentMailSymbol symbol = imb->symbol();
        ASSERT_EQ(symbol.bars.size(), 65);
        const double x0 = 0.5 + 48 / 96.0, y0 = 1.0 + 240 / 96.0;
        const QImage image = renderRegion(pdf, prefix, x0 - 0.1, y0 - 0.05, 3.2, 0.25);
        ASSERT_FALSE(image.isNull());
        const std::vector<DarkRun> middle = darkRuns(image, 0.05 + 0.0725);
        const std::vector<DarkRun> top = darkRuns(image, 0.05 + 0.015);
        const std::vector<DarkRun> bottom = darkRuns(image, 0.05 + 0.130);
        ASSERT_EQ(middle.size(), 65u);
        auto has = [&](const std::vector<DarkRun> &runs, double left) {
            return std::any_of(runs.begin(), runs.end(),
                               [&](const DarkRun &r) { return std::abs(r.left - left) < tolerance; });
        };
        QString states;
        for (int k = 0; k < 65; ++k) {
            EXPECT_NEAR(middle[k].left, 0.1 + k / 22.0, tolerance) << "bar " << k;
            EXPECT_GE(middle[k].width, 0.015) << "bar " << k;
            EXPECT_LE(middle[k].width, 0.025) << "bar " << k;
            const bool up = has(top, middle[k].left);
            const bool down = has(bottom, middle[k].left);
            states.append(QLatin1Char(up && down ? 'F' : up ? 'A' : down ? 'D' : 'T'));
        }
        EXPECT_EQ(states.toStdString(), symbol.bars.toStdString());
    }
    // The address block's lines as text.
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Dr Ann B. Lee"))) << text.toStdString();
    // (The reader shows the two blanks between city and state as one.)
    EXPECT_TRUE(text.simplified().contains(QStringLiteral("Springfield IL 12345-6789")))
        << text.toStdString();
}

} // namespace
