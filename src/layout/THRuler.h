// A horizontal inch ruler for the designer windows: sixteenth-inch ticks, longer at half
// inches, full height at inches with the inch number beside. A window's widget shows it.
#pragma once

#include "TGColor.h"

#include <QString>

class QPainter;

class THRuler
{
public:
    enum TAlignHRuler { alNone, alTop, alBottom };

    // The inch value at the left edge.
    double StartInch = 0.0;
    TAlignHRuler AlignHRuler() const { return m_align; }
    // Values other than alNone, alTop and alBottom are ignored.
    void setAlignHRuler(int align);
    TColor Color = 0x00FFFF;
    int Width = 768;
    int Height = 33;

    // The x of tick `index` counted from the left edge: round(index × pixelsPerInch / 16),
    // so sixteen ticks always make an inch.
    static int tickX(int index, double pixelsPerInch);
    // The tick counter at the left edge: truncate(StartInch × 16).
    int firstTick() const;
    // How far tick `counter` reaches down: inches to the bottom, half inches half way, others a quarter.
    int tickBottom(int counter) const;

    void Paint(QPainter &painter, double pixelsPerInch) const;

private:
    TAlignHRuler m_align = alNone;
};
