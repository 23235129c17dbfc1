#include "TExtendedFloat.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace TExtendedFloat {

Bytes fromDouble(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int exp = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t frac = bits & ((std::uint64_t(1) << 52) - 1);

    std::uint64_t mantissa = 0;
    int exponent = 0; // biased by 16383
    if (exp == 0x7FF) {
        exponent = 0x7FFF;
        mantissa = (std::uint64_t(1) << 63) | (frac << 11);
    } else if (exp == 0) {
        if (frac != 0) {
            // A subnormal double is a normal extended: shift the leading one up to bit 63.
            int shift = 0;
            while ((frac & (std::uint64_t(1) << 52)) == 0) {
                frac <<= 1;
                ++shift;
            }
            mantissa = frac << 11;
            exponent = 1 - 1023 - shift + 16383;
        }
    } else {
        mantissa = (std::uint64_t(1) << 63) | (frac << 11);
        exponent = exp - 1023 + 16383;
    }
    Bytes out{};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const unsigned top = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
    out[8] = static_cast<std::uint8_t>(top & 0xFF);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

double toDouble(const Bytes &bytes)
{
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | bytes[i];
    const unsigned top = unsigned(bytes[8]) | (unsigned(bytes[9]) << 8);
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = static_cast<int>(top & 0x7FFFu);
    double value = 0.0;
    if (exponent == 0x7FFF) {
        const bool isInfinity = (mantissa << 1) == 0;
        value =
            isInfinity ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa != 0) {
        // Denormals (exponent 0) use the exponent of 1; ldexp saturates to 0 or infinity.
        const int e = (exponent == 0 ? 1 : exponent) - 16383 - 63;
        value = std::ldexp(static_cast<double>(mantissa), e);
    }
    return negative ? -value : value;
}

} // namespace TExtendedFloat
