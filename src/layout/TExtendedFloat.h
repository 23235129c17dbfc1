// The 80-bit extended float of layout streams (x87 layout: 64-bit mantissa with an explicit
// integer bit, 15-bit exponent biased by 16383, sign; little-endian), converted to and from
// double without relying on the compiler's long double.
#pragma once

#include <array>
#include <cstdint>

namespace TExtendedFloat {
using Bytes = std::array<std::uint8_t, 10>;
// Exact for every finite double; infinities and NaNs keep their kind.
Bytes fromDouble(double value);
// Rounds the 64-bit mantissa to the nearest double; out-of-range values become infinities or
// zeros, NaNs stay NaNs. Never traps on any bit pattern.
double toDouble(const Bytes &bytes);
} // namespace TExtendedFloat
