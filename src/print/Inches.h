// A length in inches, the unit of every print position, size and margin, with the named
// conversions to the units devices and the printing service use. Rounding is to the nearest
// integer with halves to even, so converting back and forth is stable.
#pragma once

#include <cmath>

struct Inches {
    double value = 0.0;

    constexpr explicit Inches(double inches = 0.0) : value(inches) {}

    static constexpr Inches fromPoints(double points) { return Inches(points / 72.0); }
    static constexpr Inches fromDots(double dots, double dotsPerInch) { return Inches(dots / dotsPerInch); }
    static constexpr Inches fromHundredths(double hundredths) { return Inches(hundredths / 100.0); }

    /// Device dots at `dotsPerInch`, unrounded.
    constexpr double dotsF(double dotsPerInch) const { return value * dotsPerInch; }
    /// Device dots at `dotsPerInch`, rounded (halves to even).
    int dots(double dotsPerInch) const { return roundEven(value * dotsPerInch); }
    /// Tenths of a millimetre, the printing service's paper unit: inches × 254, rounded.
    int tenthsOfMillimetre() const { return roundEven(value * 254.0); }
    /// Typographic points (1/72 inch).
    constexpr double points() const { return value * 72.0; }

    /// Nearest integer, halves to even.
    static int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
};
