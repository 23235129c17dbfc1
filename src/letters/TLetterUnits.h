// Lengths of the page and paragraph dialogs: twips (1440 to the inch) shown and typed in
// inches, centimetres, twips or points. Stateless.
#pragma once

#include <QString>

#include <optional>

enum class TLengthUnit { Inch, Cm, Twips };

class TLetterUnits
{
public:
    static constexpr double kTwipsPerInch = 1440.0;
    static constexpr double kTwipsPerCm = 566.929;

    // "Inch" and "Cm" with two decimals ("1.00", "2.54"), "Twips" as the integer ("1440").
    static QString display(int twips, TLengthUnit unit);
    // The twips of a typed length, rounded to the nearest twip (halves to even); an empty text
    // is 0. Nothing for a text that is not a number or a length beyond ±100 inches.
    static std::optional<int> parse(const QString &text, TLengthUnit unit);

    // Points shown for a length in twips: Round(twips ÷ 1440 × 72).
    static QString displayPoints(int twips);
    // The twips of typed points: Round(points ÷ 72 × 1440); empty is 0, nothing when not a
    // number or beyond ±7200 points.
    static std::optional<int> parsePoints(const QString &text);
};
