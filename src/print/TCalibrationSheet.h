// The printer calibration test sheet: a ruler along the top and one down the left side of the
// page, marked every eighth of an inch and labelled every inch ("1 in", "2 in" ...), and two
// crosshairs, A at 1 in across and 1 in down and B at 7 in across and 9 in down, with the
// instructions for measuring them. Printed without any calibration, so the measurements show
// what the printer itself does. Stateless.
#pragma once

#include <QString>

class TBaseReport;

class TCalibrationSheet
{
public:
    // Lengths of the rulers, inches from the paper's edge.
    static constexpr int kHorizontalRulerInches = 8;
    static constexpr int kVerticalRulerInches = 10;

    static QString title() { return QStringLiteral("Printer Calibration Test Sheet"); }
    // The label of the ruler mark `inches` from the edge.
    static QString rulerLabel(int inches) { return QString::number(inches) + QStringLiteral(" in"); }

    // Draws the sheet on the current page of the running `job`; `printer` is named on it.
    static void draw(TBaseReport &job, const QString &printer);
    // Sets the job's OnPrint to draw the sheet and clears its other callbacks.
    static void attach(TBaseReport &job, const QString &printer);
};
