#include "TPostNetEncoder.h"

namespace {

// Two full bars among five per digit, weights 7, 4, 2, 1, 0 (0 is 7 + 4).
constexpr const char *kDigitBars[10] = {"FFHHH", "HHHFF", "HHFHF", "HHFFH", "HFHHF",
                                        "HFHFH", "HFFHH", "FHHHF", "FHHFH", "FHFHH"};

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber();
}

// True when `word` stands in `text` with no letter or digit right before or after it.
bool containsWord(const QString &text, const QString &word)
{
    for (qsizetype at = text.indexOf(word); at >= 0; at = text.indexOf(word, at + 1)) {
        const bool startsWord = at == 0 || !isWordChar(text[at - 1]);
        const qsizetype end = at + word.size();
        const bool endsWord = end >= text.size() || !isWordChar(text[end]);
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

QString digitsOf(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (isAsciiDigit(c))
            digits.append(c);
    return digits;
}

} // namespace

QString TPostNetEncoder::deliveryPoint(const QString &address)
{
    const QString text = address.toUpper();
    if (containsWord(text, QStringLiteral("APO")) || containsWord(text, QStringLiteral("FPO")))
        return QStringLiteral("99");

    QChar tens = QLatin1Char(' ');
    QChar units = QLatin1Char(' ');
    bool unitFound = false;
    bool tensFound = false;
    bool afterFraction = false;
    bool inOrdinal = false;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            if (!afterFraction && !inOrdinal && !(unitFound && tensFound)) {
                if (unitFound) {
                    tens = c;
                    tensFound = true;
                } else {
                    units = c;
                    unitFound = true;
                }
            }
        } else if (c == QLatin1Char(' ')) {
            if (unitFound)
                break;
            afterFraction = false;
            inOrdinal = false;
        } else if (c == QLatin1Char('/') && unitFound) {
            // The digits after a fraction bar are the fraction's: start again before it and
            // skip the digits in front of the bar up to the next blank.
            tens = units = QLatin1Char(' ');
            unitFound = tensFound = false;
            afterFraction = true;
        } else if (unitFound && !tensFound) {
            tens = QLatin1Char('0');
            tensFound = true;
        } else {
            const QString pair = text.mid(i, 2);
            if (pair == QLatin1String("ST") || pair == QLatin1String("ND") || pair == QLatin1String("RD") ||
                pair == QLatin1String("TH"))
                inOrdinal = true;
        }
    }
    if (!unitFound)
        return QStringLiteral("99");
    if (tens == QLatin1Char(' '))
        tens = QLatin1Char('0');
    return QString(tens) + units;
}

bool TPostNetEncoder::passesRangeTest(const QString &zipText)
{
    if (zipText.size() <= 4)
        return false;
    const QByteArray bytes = zipText.toLatin1();
    return bytes >= QByteArrayLiteral("00000") && bytes <= QByteArrayLiteral("99999-9999");
}

int TPostNetEncoder::correctionDigit(const QString &digits)
{
    int sum = 0;
    for (QChar c : digits)
        sum += c.unicode() - '0';
    return (10 - sum % 10) % 10;
}

QString TPostNetEncoder::barsOf(const QString &digits)
{
    QString bars = QStringLiteral("F");
    for (QChar c : digits)
        bars += QLatin1String(kDigitBars[c.unicode() - '0']);
    bars += QLatin1String(kDigitBars[correctionDigit(digits)]);
    bars += QLatin1Char('F');
    return bars;
}

TPostNetSymbol TPostNetEncoder::encode(const QString &zipText, const QString &address, TBarCodeType type)
{
    TPostNetSymbol symbol;
    if (!passesRangeTest(zipText))
        return symbol;
    const QString zip = digitsOf(zipText);
    if (zip.size() == 5 || (zip.size() == 9 && type == pnbc5Digit))
        symbol.digits = zip.left(5);
    else if (zip.size() == 9 && type == pnbc9Digit)
        symbol.digits = zip;
    else if (zip.size() == 9 && type == pnbc11Digit)
        symbol.digits = zip + deliveryPoint(address);
    else
        return symbol;
    symbol.checkDigit = correctionDigit(symbol.digits);
    symbol.bars = barsOf(symbol.digits);
    return symbol;
}
