#include "TLetterUnits.h"

#include <cmath>

namespace {

// Halves go to even, so a value converted back and forth keeps its twips.
int roundTwips(double twips)
{
    return static_cast<int>(std::nearbyint(twips));
}

std::optional<double> number(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

constexpr double kLimitTwips = 144000.0; // 100 inches

} // namespace

QString TLetterUnits::display(int twips, TLengthUnit unit)
{
    switch (unit) {
    case TLengthUnit::Inch:
        return QString::number(twips / kTwipsPerInch, 'f', 2);
    case TLengthUnit::Cm:
        return QString::number(twips / kTwipsPerCm, 'f', 2);
    case TLengthUnit::Twips:
        break;
    }
    return QString::number(twips);
}

std::optional<int> TLetterUnits::parse(const QString &text, TLengthUnit unit)
{
    const std::optional<double> value = number(text);
    if (!value)
        return std::nullopt;
    const double twips = unit == TLengthUnit::Inch ? *value * kTwipsPerInch
                         : unit == TLengthUnit::Cm ? *value * kTwipsPerCm
                                                   : *value;
    if (std::fabs(twips) > kLimitTwips)
        return std::nullopt;
    return roundTwips(twips);
}

QString TLetterUnits::displayPoints(int twips)
{
    return QString::number(roundTwips(twips / kTwipsPerInch * 72.0));
}

std::optional<int> TLetterUnits::parsePoints(const QString &text)
{
    const std::optional<double> value = number(text);
    if (!value || std::fabs(*value) > 7200.0)
        return std::nullopt;
    return roundTwips(*value / 72.0 * kTwipsPerInch);
}
