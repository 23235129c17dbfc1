#include "TCalibrationSheet.h"

#include "TBaseReport.h"
#include "TPrinterCalibration.h"

#include <QColor>

namespace {

constexpr double kRulerLine = 0.5; // the rulers' base lines lie half an inch in from the edges

void line(TBaseReport &job, double x1, double y1, double x2, double y2)
{
    job.MovePenTo({Inches(x1), Inches(y1)});
    job.DrawLineTo({Inches(x2), Inches(y2)});
}

// Tick lengths: inch, half, quarter, eighth.
double tickLength(int eighths)
{
    if (eighths % 8 == 0)
        return 0.25;
    if (eighths % 4 == 0)
        return 0.15;
    if (eighths % 2 == 0)
        return 0.1;
    return 0.06;
}

void text(TBaseReport &job, double x, double y, const QString &s)
{
    const InchPoint at{Inches(x), Inches(y)};
    job.DrawTextInRect(job.InchRect(at, {Inches(x + 6.5), Inches(y + 0.4)}), at, s);
}

void crosshair(TBaseReport &job, double x, double y, const QString &name)
{
    constexpr double arm = 0.35;
    line(job, x - arm, y, x + arm, y);
    line(job, x, y - arm, x, y + arm);
    job.SelectBrush(Qt::white, TBrushStyle::Clear);
    job.DrawEllipse({Inches(x - 0.1), Inches(y - 0.1)}, {Inches(x + 0.1), Inches(y + 0.1)});
    job.SelectFont(QStringLiteral("Arial"), 10);
    job.SetBold(true);
    text(job, x + 0.12, y + 0.08, name);
}

} // namespace

void TCalibrationSheet::draw(TBaseReport &job, const QString &printer)
{
    job.SelectPen(Qt::black, TPenStyle::Solid, -1);
    job.SelectBrush(Qt::white, TBrushStyle::Clear);
    job.SelectFont(QStringLiteral("Arial"), 7);

    // Top ruler: ticks hang down from the paper's top edge region onto the base line.
    line(job, 0, kRulerLine, kHorizontalRulerInches, kRulerLine);
    for (int e = 1; e <= kHorizontalRulerInches * 8; ++e) {
        const double x = e / 8.0;
        line(job, x, kRulerLine, x, kRulerLine - tickLength(e));
        if (e % 8 == 0 && e / 8 < kHorizontalRulerInches)
            text(job, x + 0.03, kRulerLine - 0.22, rulerLabel(e / 8));
    }
    // Left ruler.
    line(job, kRulerLine, 0, kRulerLine, kVerticalRulerInches);
    for (int e = 1; e <= kVerticalRulerInches * 8; ++e) {
        const double y = e / 8.0;
        line(job, kRulerLine, y, kRulerLine - tickLength(e), y);
        if (e % 8 == 0 && e / 8 < kVerticalRulerInches && e / 8 > 1)
            text(job, 0.04, y + 0.03, rulerLabel(e / 8));
    }

    crosshair(job, TPrinterCalibration::kFirstCrossInches, TPrinterCalibration::kFirstCrossInches,
              QStringLiteral("A"));
    crosshair(job, TPrinterCalibration::kSecondCrossXInches, TPrinterCalibration::kSecondCrossYInches,
              QStringLiteral("B"));

    job.SelectFont(QStringLiteral("Arial"), 14);
    job.SetBold(true);
    text(job, 1.5, 2.0, title());
    job.SelectFont(QStringLiteral("Arial"), 10);
    const QStringList lines = {
        QStringLiteral("Printer: ") + printer + QStringLiteral(" (printed without calibration)"),
        QStringLiteral(
            "Measure from the paper's left edge and from its top edge to the centre of each crosshair."),
        QStringLiteral("A is drawn 1 in across and 1 in down, B 7 in across and 9 in down."),
        QStringLiteral("The rulers are drawn to scale; check them with a ruler of your own."),
        QStringLiteral("Enter the four distances in the Printer Calibration window and press Save."),
    };
    double y = 2.5;
    for (const QString &l : lines) {
        text(job, 1.5, y, l);
        y += 0.25;
    }
}

void TCalibrationSheet::attach(TBaseReport &job, const QString &printer)
{
    job.OnBeforePrint = nullptr;
    job.OnPrint = [printer](TBaseReport &j) { draw(j, printer); };
    job.OnPrintPage = nullptr;
    job.OnAfterPrint = nullptr;
    job.OnPrintHeader = nullptr;
    job.OnNewPage = nullptr;
}
