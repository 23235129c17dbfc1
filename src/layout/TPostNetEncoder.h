// The POSTNET symbol of a ZIP code as data: which digits are encoded, the correction digit and
// the bars, full ('F') and half ('H'), frame bars included. Drawing only paints this list.
// Stateless; every function is pure.
#pragma once

#include "TGEnums.h"

#include <QString>

struct TPostNetSymbol {
    QString digits;      // the encoded digits without the correction digit
    int checkDigit = -1; // -1 when there is no symbol
    QString bars;        // 'F' and 'H', empty when there is no symbol

    bool isEmpty() const { return bars.isEmpty(); }
};

class TPostNetEncoder
{
public:
    static constexpr double kPitchInches = 0.046;
    static constexpr double kBarWidthInches = 0.015;
    static constexpr double kFullHeightInches = 0.125;
    static constexpr double kHalfTopInches = 0.070; // a half bar's top below a full bar's top

    // The two delivery-point digits of an address line: the last two digits of its
    // right-most number group, fractions and ordinal street numbers skipped; "99" for a line
    // without digits or with APO or FPO as a word of its own (military post offices).
    static QString deliveryPoint(const QString &address);

    // True when the ZIP text is long enough and, compared as bytes, between "00000" and
    // "99999-9999"; anything else prints no barcode.
    static bool passesRangeTest(const QString &zipText);

    // The symbol for a record. A symbol has 32, 52 or 62 bars: 5 ZIP digits give the 5-digit
    // symbol whatever the type; 9 give the 5-digit, 9-digit or (with the delivery point from
    // `address`) 11-digit symbol the type asks for; any other count gives no symbol.
    static TPostNetSymbol encode(const QString &zipText, const QString &address, TBarCodeType type);

    // The correction digit of `digits`: what makes the digit sum a multiple of 10.
    static int correctionDigit(const QString &digits);
    // Frame bar, five bars per digit of `digits` followed by its correction digit, frame bar.
    static QString barsOf(const QString &digits);
};
