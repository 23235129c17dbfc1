#include "TCp1252.h"

namespace {

// Characters of the bytes 0x80 to 0x9F; the undefined bytes map to the control character of
// the same number.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

QChar TCp1252::toChar(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHigh[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

char TCp1252::fromChar(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

QString TCp1252::toString(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i)
        out[i] = toChar(static_cast<unsigned char>(data[i]));
    return text;
}

QString TCp1252::toString(const QByteArray &bytes)
{
    return toString(bytes.constData(), bytes.size());
}

QByteArray TCp1252::fromString(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes.append('?');
            ++i;
            continue;
        }
        bytes.append(fromChar(c.unicode()));
    }
    return bytes;
}
