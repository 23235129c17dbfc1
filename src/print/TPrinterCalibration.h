// How far one printer puts its page off: the shift and the stretch to apply to every label,
// envelope and letter page it prints, so that what is drawn lands where it was measured to be.
// Kept per printer in the settings file, in the section "Printer Calibration " + the printer's
// name; the calibration window writes it, print runs read it. A plain value, free to copy.
#pragma once

#include "Units.h"

#include <QPointF>
#include <QString>
#include <QTransform>

class QPainter;
class TIniFile;
class TPrinterService;

class TPrinterCalibration
{
public:
    // Values accepted from the settings file and the window; anything beyond them (a
    // hand-edited or damaged file) reads as no correction for that value.
    static constexpr double kMaxOffsetInches = 1.0;
    static constexpr double kMinScalePercent = 90.0;
    static constexpr double kMaxScalePercent = 110.0;

    // Where the test sheet puts its two crosshairs, inches from the paper's top-left corner.
    // Both fit on Letter and on A4.
    static constexpr double kFirstCrossInches = 1.0;
    static constexpr double kSecondCrossXInches = 7.0;
    static constexpr double kSecondCrossYInches = 9.0;

    // Added to every position after scaling (inches, right and down positive).
    Inches horizontalOffset;
    Inches verticalOffset;
    // Percent applied to every position, measured from the paper's top-left corner.
    double horizontalScale = 100.0;
    double verticalScale = 100.0;
    // Also applied when the printer writes a PDF file (a file is usually exact).
    bool applyToPdf = false;

    bool isIdentity() const;
    // A value out of its range set back to none.
    void bringInRange();

    // The correction that makes a sheet whose crosshairs (printed without correction at
    // kFirstCross and kSecondCross) were measured at `first` and `second` (inches) print true.
    // A measurement that would leave a scale or offset out of range fails: false, `into`
    // untouched.
    static bool fromMeasurements(QPointF first, QPointF second, TPrinterCalibration &into);
    // Where the crosshairs of an uncorrected test sheet lie on a printer this corrects:
    // the inverse of fromMeasurements().
    QPointF measuredFirst() const;
    QPointF measuredSecond() const;

    // The device transform for a painter whose inch is `dotsPerInchX` by `dotsPerInchY`.
    QTransform transform(double dotsPerInchX, double dotsPerInchY) const;
    // Sets that transform on the active `painter`, replacing any other.
    void applyTo(QPainter &painter, double dotsPerInchX, double dotsPerInchY) const;

    // The section of the settings file that holds `printer`'s values.
    static QString sectionName(const QString &printer);
    // The values kept for `printer`; none when the section is missing.
    static TPrinterCalibration load(const TIniFile &ini, const QString &printer);
    // Writes the values of `printer`. False when the settings file could not be written (it
    // is then as it was).
    bool save(TIniFile &ini, const QString &printer) const;

    // The correction a run printing on `service` applies: the values kept for its selected
    // printer, or none when the service writes a PDF file and those values do not ask for it.
    static TPrinterCalibration forService(const TIniFile &ini, const TPrinterService &service);

    friend bool operator==(const TPrinterCalibration &a, const TPrinterCalibration &b)
    {
        return a.horizontalOffset == b.horizontalOffset && a.verticalOffset == b.verticalOffset &&
               a.horizontalScale == b.horizontalScale && a.verticalScale == b.verticalScale &&
               a.applyToPdf == b.applyToPdf;
    }
};
