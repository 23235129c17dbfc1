// Lengths as types. Print positions and sizes are Inches; layout geometry is DesignPixels,
// which become inches only with a pixels-per-inch the caller names; report settings are
// thousandths of an inch (Mils), font sizes Points, letter page layouts Twips and pen widths
// hundredths of an inch. Every change of unit is a named conversion, and every conversion to
// whole units names the rounding rule it follows. Plain value types, free to copy.
#pragma once

#include <cmath>
#include <limits>

// The rounding rules. Each answers a whole number kept within the int range: geometry read
// from a damaged file can be any size, and a value beyond the range becomes its nearest end
// (not a number becomes 0), never undefined behaviour.
namespace Rounding {

inline int toInt(double whole)
{
    if (std::isnan(whole))
        return 0;
    if (whole <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (whole >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(whole);
}

// Nearest integer, halves to even: rescaled geometry, so zooming in and out returns to the
// same size and no direction is favoured.
inline int halfEven(double value)
{
    return toInt(std::nearbyint(value));
}

// The fraction dropped (toward zero): lengths stored in coarser units, sizes in whole pixels.
inline int truncate(double value)
{
    return toInt(std::trunc(value));
}

// Nearest integer, halves away from zero: font heights in pixels and point sizes.
inline int halfAwayFromZero(double value)
{
    return toInt(std::round(value));
}

} // namespace Rounding

// A length in inches, the unit of every print position, size and margin.
struct Inches {
    double value = 0.0;

    constexpr Inches() = default;
    constexpr explicit Inches(double inches) : value(inches) {}

    static constexpr double kPointsPerInch = 72.0;
    static constexpr double kTenthsOfMillimetrePerInch = 254.0;

    // Device dots at `dotsPerInch`.
    static constexpr Inches fromDots(double dots, double dotsPerInch) { return Inches(dots / dotsPerInch); }
    // Device dots at `dotsPerInch`, unrounded.
    constexpr double dotsF(double dotsPerInch) const { return value * dotsPerInch; }
    // Device dots at `dotsPerInch`, halves to even.
    int dots(double dotsPerInch) const { return Rounding::halfEven(value * dotsPerInch); }
    // Tenths of a millimetre, the printing service's unit for a custom paper: inches × 254,
    // halves to even.
    int tenthsOfMillimetre() const { return Rounding::halfEven(value * kTenthsOfMillimetrePerInch); }

    constexpr Inches operator-() const { return Inches(-value); }
    constexpr Inches &operator+=(Inches o)
    {
        value += o.value;
        return *this;
    }
    constexpr Inches &operator-=(Inches o)
    {
        value -= o.value;
        return *this;
    }
    friend constexpr Inches operator+(Inches a, Inches b) { return Inches(a.value + b.value); }
    friend constexpr Inches operator-(Inches a, Inches b) { return Inches(a.value - b.value); }
    friend constexpr Inches operator*(Inches a, double f) { return Inches(a.value * f); }
    friend constexpr Inches operator*(double f, Inches a) { return Inches(f * a.value); }
    friend constexpr Inches operator/(Inches a, double d) { return Inches(a.value / d); }
    // How many times `b` goes into `a`.
    friend constexpr double operator/(Inches a, Inches b) { return a.value / b.value; }
    friend constexpr bool operator==(Inches a, Inches b) { return a.value == b.value; }
    friend constexpr bool operator!=(Inches a, Inches b) { return a.value != b.value; }
    friend constexpr bool operator<(Inches a, Inches b) { return a.value < b.value; }
    friend constexpr bool operator<=(Inches a, Inches b) { return a.value <= b.value; }
    friend constexpr bool operator>(Inches a, Inches b) { return a.value > b.value; }
    friend constexpr bool operator>=(Inches a, Inches b) { return a.value >= b.value; }
};

// A size in inches: a width and a height, in that order.
struct InchSize {
    Inches width;
    Inches height;

    friend constexpr bool operator==(InchSize a, InchSize b)
    {
        return a.width == b.width && a.height == b.height;
    }
    friend constexpr bool operator!=(InchSize a, InchSize b) { return !(a == b); }
};

// A point on the paper in inches: x from the left edge, y from the top edge, in that order.
struct InchPoint {
    Inches x;
    Inches y;

    // The point `dx` to the right and `dy` down from this one.
    constexpr InchPoint offset(Inches dx, Inches dy) const { return {x + dx, y + dy}; }
    friend constexpr InchPoint operator+(InchPoint p, InchSize s) { return {p.x + s.width, p.y + s.height}; }
    friend constexpr InchSize operator-(InchPoint a, InchPoint b) { return {a.x - b.x, a.y - b.y}; }
    friend constexpr bool operator==(InchPoint a, InchPoint b) { return a.x == b.x && a.y == b.y; }
    friend constexpr bool operator!=(InchPoint a, InchPoint b) { return !(a == b); }
};

// A length in typographic points, 72 to the inch: font sizes.
struct Points {
    double value = 0.0;

    constexpr Points() = default;
    constexpr explicit Points(double points) : value(points) {}

    static constexpr Points fromInches(Inches inches)
    {
        return Points(inches.value * Inches::kPointsPerInch);
    }
    constexpr Inches toInches() const { return Inches(value / Inches::kPointsPerInch); }
    // Whole points by the named rule: sizes read back from a pixel height go halves away from
    // zero, zoomed sizes are truncated.
    int halfAwayFromZero() const { return Rounding::halfAwayFromZero(value); }
    int truncated() const { return Rounding::truncate(value); }
};

// A length in design pixels: the unit of layout geometry (an object's position and size, pen
// widths of shapes), screen pixels of a design surface at zoom 1.0. An inch on paper is as
// many design pixels as the display's pixels per inch, which every conversion is handed.
struct DesignPixels {
    double value = 0.0;

    constexpr DesignPixels() = default;
    constexpr explicit DesignPixels(double pixels) : value(pixels) {}

    // Requires: pixelsPerInch > 0 (as for every conversion below).
    constexpr Inches toInches(double pixelsPerInch) const { return Inches(value / pixelsPerInch); }
    static constexpr DesignPixels fromInches(Inches inches, double pixelsPerInch)
    {
        return DesignPixels(inches.value * pixelsPerInch);
    }
    // The height in pixels of letters `points` high: points × pixelsPerInch / 72, unrounded.
    static constexpr DesignPixels fromPoints(Points points, double pixelsPerInch)
    {
        return DesignPixels(points.value * pixelsPerInch / Inches::kPointsPerInch);
    }
    // The point size of letters this many pixels high: pixels × 72 / pixelsPerInch, unrounded.
    constexpr Points toPoints(double pixelsPerInch) const
    {
        return Points(value * Inches::kPointsPerInch / pixelsPerInch);
    }

    // Whole pixels by the named rule.
    int halfEven() const { return Rounding::halfEven(value); }
    int truncated() const { return Rounding::truncate(value); }
    int halfAwayFromZero() const { return Rounding::halfAwayFromZero(value); }
};

// A length in thousandths of an inch, as report settings store lengths. Whole numbers: a
// length is stored with its fraction of a thousandth dropped.
struct Mils {
    int value = 0;

    constexpr Mils() = default;
    constexpr explicit Mils(int mils) : value(mils) {}

    static constexpr double kPerInch = 1000.0;

    // inches × 1000, the fraction dropped.
    static Mils truncatedFrom(Inches inches) { return Mils(Rounding::truncate(inches.value * kPerInch)); }
    // value × 0.001 inches.
    constexpr Inches toInches() const { return Inches(value * (1.0 / kPerInch)); }
    friend constexpr bool operator==(Mils a, Mils b) { return a.value == b.value; }
    friend constexpr bool operator!=(Mils a, Mils b) { return a.value != b.value; }
};

// A length in hundredths of an inch: pen widths handed to the print engine, tab margins.
struct HundredthsOfInch {
    double value = 0.0;

    constexpr HundredthsOfInch() = default;
    constexpr explicit HundredthsOfInch(double hundredths) : value(hundredths) {}

    static constexpr double kPerInch = 100.0;

    // inches × 100, the fraction dropped.
    static HundredthsOfInch truncatedFrom(Inches inches)
    {
        return HundredthsOfInch(Rounding::truncate(inches.value * kPerInch));
    }
    constexpr Inches toInches() const { return Inches(value / kPerInch); }
};

// A length in twips, 1440 to the inch and 20 to the point: the page layout of letters. Whole
// numbers.
struct Twips {
    int value = 0;

    constexpr Twips() = default;
    constexpr explicit Twips(int twips) : value(twips) {}

    static constexpr int kPerInch = 1440;
    static constexpr int kPerPoint = 20;

    // inches × 1440, halves to even.
    static Twips fromInches(Inches inches) { return Twips(Rounding::halfEven(inches.value * kPerInch)); }
    // points × 20, halves to even.
    static Twips fromPoints(Points points) { return Twips(Rounding::halfEven(points.value * kPerPoint)); }
    constexpr Inches toInches() const { return Inches(value / double(kPerInch)); }
    constexpr Points toPoints() const { return Points(value / double(kPerPoint)); }
    // Device dots at a whole `dotsPerInch`: dotsPerInch × twips ÷ 1440, the product taken
    // first (so it cannot overflow) and the division truncating toward zero.
    int dots(int dotsPerInch) const
    {
        return Rounding::toInt(static_cast<double>(static_cast<long long>(dotsPerInch) * value / kPerInch));
    }
    friend constexpr bool operator==(Twips a, Twips b) { return a.value == b.value; }
    friend constexpr bool operator!=(Twips a, Twips b) { return a.value != b.value; }
};
