// The Intelligent Mail barcode as data: 65 bars of four states from the 20 tracking digits
// (barcode identifier, service type, mailer ID, serial number) and a routing code of 0, 5, 9
// or 11 digits. Bars are 'F' full, 'A' ascender, 'D' descender, 'T' tracker. Drawing only
// paints this list. Stateless; every function is pure.
#pragma once

#include <QString>

struct TIntelligentMailSymbol {
    QString bars;  // 65 states, empty when the input was refused
    QString error; // why the input was refused

    bool isEmpty() const { return bars.isEmpty(); }
};

class TIntelligentMailEncoder
{
public:
    static constexpr int kBarCount = 65;
    // Printed dimensions: 22 bars per inch (20 to 24 allowed), bars 0.020 inch wide (0.015
    // to 0.025), a full bar 0.145 inch high, the tracker 0.048 inch in its middle.
    static constexpr double kPitchInches = 1.0 / 22.0;
    static constexpr double kBarWidthInches = 0.020;
    static constexpr double kFullHeightInches = 0.145;
    static constexpr double kTrackerHeightInches = 0.048;
    // How far an ascender reaches above the tracker, and a descender below it.
    static constexpr double kExtenderInches = (kFullHeightInches - kTrackerHeightInches) / 2.0;

    // The symbol of `tracking` (20 digits, the second 0 to 4) and `routing` (0, 5, 9 or 11
    // digits). Anything else is refused with a message and no bars.
    static TIntelligentMailSymbol encode(const QString &tracking, const QString &routing);

    // The 11-bit frame check sequence of the 13-byte big-endian binary value (its top two
    // bits unused).
    static int frameCheckSequence(const unsigned char bytes[13]);
};
