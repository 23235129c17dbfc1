#include "TIntelligentMailEncoder.h"

#include <array>

namespace {

__extension__ typedef unsigned __int128 UInt128;

// Which character bit each bar's descender and ascender show: character (0 = A .. 9 = J)
// and bit, for the 65 bars from left to right.
struct BarBits {
    unsigned char descChar, descBit, ascChar, ascBit;
};
constexpr BarBits kBars[65] = {
    {7, 2, 4, 3},  {1, 10, 0, 0}, {9, 12, 2, 8}, {5, 5, 6, 11}, {8, 9, 3, 1},  {0, 1, 5, 12},  {2, 5, 1, 8},
    {4, 4, 9, 11}, {6, 3, 8, 10}, {3, 9, 7, 6},  {5, 11, 1, 4}, {8, 5, 2, 12}, {9, 10, 0, 2},  {7, 1, 6, 7},
    {3, 6, 4, 9},  {0, 3, 8, 6},  {6, 4, 2, 7},  {1, 1, 9, 9},  {7, 10, 5, 2}, {4, 0, 3, 8},   {6, 2, 0, 4},
    {8, 11, 1, 0}, {9, 8, 3, 12}, {2, 6, 7, 7},  {5, 1, 4, 10}, {1, 12, 6, 9}, {7, 3, 8, 0},   {5, 8, 9, 7},
    {4, 6, 2, 10}, {3, 4, 0, 5},  {8, 4, 5, 7},  {7, 11, 1, 9}, {6, 0, 9, 6},  {0, 6, 4, 8},   {2, 1, 3, 2},
    {5, 9, 8, 12}, {4, 11, 6, 1}, {9, 5, 7, 4},  {3, 3, 1, 2},  {0, 7, 2, 0},  {1, 3, 4, 1},   {6, 10, 3, 5},
    {8, 7, 9, 4},  {2, 11, 5, 6}, {0, 8, 7, 12}, {4, 2, 8, 1},  {5, 10, 3, 0}, {9, 3, 0, 9},   {6, 5, 2, 4},
    {7, 8, 1, 7},  {5, 0, 4, 5},  {2, 3, 0, 10}, {6, 12, 9, 2}, {3, 11, 1, 6}, {8, 8, 7, 9},   {5, 4, 0, 11},
    {1, 5, 2, 2},  {9, 1, 4, 12}, {8, 3, 6, 6},  {7, 0, 3, 7},  {4, 7, 7, 5},  {0, 12, 1, 11}, {2, 9, 9, 0},
    {6, 8, 5, 3},  {3, 10, 8, 2},
};

int reversed13(int value)
{
    int out = 0;
    for (int bit = 0; bit < 13; ++bit)
        if (value & (1 << bit))
            out |= 1 << (12 - bit);
    return out;
}

int bitCount(int value)
{
    int n = 0;
    for (; value; value &= value - 1)
        ++n;
    return n;
}

// The 13-bit characters with `ones` bits set: each pair of a pattern and its mirror image
// from the front, the symmetric patterns from the back.
template <size_t N> std::array<int, N> characterTable(int ones)
{
    std::array<int, N> table{};
    size_t low = 0;
    size_t high = N - 1;
    for (int value = 0; value < 8192; ++value) {
        if (bitCount(value) != ones)
            continue;
        const int mirror = reversed13(value);
        if (mirror < value)
            continue;
        if (mirror == value) {
            table[high--] = value;
        } else {
            table[low++] = value;
            table[low++] = mirror;
        }
    }
    return table;
}

const std::array<int, 1287> &fiveOf13()
{
    static const std::array<int, 1287> table = characterTable<1287>(5);
    return table;
}

const std::array<int, 78> &twoOf13()
{
    static const std::array<int, 78> table = characterTable<78>(2);
    return table;
}

bool allDigits(const QString &text)
{
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

UInt128 decimal(const QString &digits)
{
    UInt128 value = 0;
    for (QChar c : digits)
        value = value * 10 + static_cast<unsigned>(c.unicode() - '0');
    return value;
}

} // namespace

int TIntelligentMailEncoder::frameCheckSequence(const unsigned char bytes[13])
{
    constexpr int kPolynomial = 0x0F35;
    int fcs = 0x07FF;
    auto step = [&](int data, int bits) {
        for (int bit = 0; bit < bits; ++bit) {
            if ((fcs ^ data) & 0x400)
                fcs = (fcs << 1) ^ kPolynomial;
            else
                fcs <<= 1;
            fcs &= 0x7FF;
            data <<= 1;
        }
    };
    // The top byte holds only six bits of the value.
    step(bytes[0] << 5, 6);
    for (int i = 1; i < 13; ++i)
        step(bytes[i] << 3, 8);
    return fcs;
}

TIntelligentMailSymbol TIntelligentMailEncoder::encode(const QString &tracking, const QString &routing)
{
    TIntelligentMailSymbol symbol;
    if (tracking.size() != 20 || !allDigits(tracking)) {
        symbol.error = QStringLiteral("The tracking code must be 20 digits.");
        return symbol;
    }
    if (tracking[1] > QLatin1Char('4')) {
        symbol.error = QStringLiteral("The second digit of the barcode identifier must be 0 to 4.");
        return symbol;
    }
    const int routingLength = static_cast<int>(routing.size());
    if (!allDigits(routing) ||
        (routingLength != 0 && routingLength != 5 && routingLength != 9 && routingLength != 11)) {
        symbol.error = QStringLiteral("The routing code must be 0, 5, 9 or 11 digits.");
        return symbol;
    }

    // The routing code, offset so that each length has values of its own.
    UInt128 value = 0;
    if (routingLength == 5)
        value = decimal(routing) + 1;
    else if (routingLength == 9)
        value = decimal(routing) + 100000 + 1;
    else if (routingLength == 11)
        value = decimal(routing) + 1000000000 + 100000 + 1;
    value = value * 10 + static_cast<unsigned>(tracking[0].unicode() - '0');
    value = value * 5 + static_cast<unsigned>(tracking[1].unicode() - '0');
    for (int i = 2; i < 20; ++i)
        value = value * 10 + static_cast<unsigned>(tracking[i].unicode() - '0');

    unsigned char bytes[13];
    for (int i = 12; i >= 0; --i)
        bytes[i] = static_cast<unsigned char>((value >> (8 * (12 - i))) & 0xFF);
    const int fcs = frameCheckSequence(bytes);

    int codewords[10];
    codewords[9] = static_cast<int>(value % 636);
    value /= 636;
    for (int i = 8; i >= 1; --i) {
        codewords[i] = static_cast<int>(value % 1365);
        value /= 1365;
    }
    codewords[0] = static_cast<int>(value);
    // The orientation is in the last codeword, the top bit of the check in the first.
    codewords[9] *= 2;
    if (fcs & 0x400)
        codewords[0] += 659;

    int characters[10];
    for (int i = 0; i < 10; ++i) {
        const int cw = codewords[i];
        characters[i] =
            cw < 1287 ? fiveOf13()[static_cast<size_t>(cw)] : twoOf13()[static_cast<size_t>(cw - 1287)];
        if (fcs & (1 << i))
            characters[i] ^= 0x1FFF;
    }

    symbol.bars.reserve(kBarCount);
    for (const BarBits &b : kBars) {
        const bool descender = (characters[b.descChar] >> b.descBit) & 1;
        const bool ascender = (characters[b.ascChar] >> b.ascBit) & 1;
        symbol.bars.append(QLatin1Char(ascender && descender ? 'F' : ascender ? 'A' : descender ? 'D' : 'T'));
    }
    return symbol;
}
