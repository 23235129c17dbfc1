// The current record as plain text for the clipboard ("Copy Record To Clipboard"): chosen
// blocks of lines, each line ended by CR LF, empty lines left out. Pure functions.
#pragma once

#include "TCurrentRecordValues.h"

#include <QString>

// The text and whether it had to be cut.
struct TRecordText {
    QString text;
    bool cut = false; // the text was longer than kMaxLength and holds its first kMaxLength characters
};

class TCurrentRecordText
{
public:
    // The clipboard text never holds more characters than this.
    static constexpr int kMaxLength = 1000;

    // The lines of the chosen blocks, in this order: name, title and organization; the
    // address; the phone numbers; the codes; the two comments. A text over kMaxLength
    // characters is cut there (never inside a surrogate pair) and marked as cut, so the
    // window can say so.
    static TRecordText GetRecordAsString(const TCurrentRecordValues &record, bool name, bool address,
                                         bool phones, bool codes, bool comments);

    // Leading blanks removed; trailing ones kept.
    static QString TrimLeft(const QString &text);
};
