// Colours as layouts store them: 32-bit values 0x00BBGGRR (red in the low byte), values with
// the high bit set naming system colours, and the colour names streams write for the values
// that have one.
#pragma once

#include <QByteArray>
#include <QColor>

#include <optional>

using TColor = quint32;

namespace TGColor {
constexpr TColor clBlack = 0x000000;
constexpr TColor clGray = 0x808080;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;

// The name of `colour`, or an empty array when it has none.
QByteArray name(TColor colour);
// The colour a name stands for (exact spelling, as streams hold it).
std::optional<TColor> fromName(const QByteArray &name);
// The colour to draw with: system colours map to fixed stand-ins (window text black, window
// and button faces white or grey); clNone is transparent.
QColor toQColor(TColor colour);
TColor fromQColor(const QColor &colour);
} // namespace TGColor
