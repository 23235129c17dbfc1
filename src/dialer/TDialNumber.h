// The rules for a phone number taken from a record before it reaches a modem's command line or
// the telephony service. Stateless.
#pragma once

#include <QString>
#include <QUrl>

class TDialNumber
{
public:
    // The characters of `text` a dial string may hold, in their order: the digits, the dial
    // modifiers * # + , W P T ! @ and the blanks, hyphens and parentheses people write numbers
    // with. Everything else (letters, semicolons, control characters) is dropped, so a record
    // can never add a command of its own after the dial command. Empty when no digit, "*" or
    // "#" is left: separators and modifiers alone dial nothing.
    static QString dialable(const QString &text);
    // Whether `text` holds anything to dial once filtered.
    static bool hasDialable(const QString &text) { return !dialable(text).isEmpty(); }

    // A "tel:" link for the desktop's telephony handler: the digits, "+", "*", "#", hyphens and
    // parentheses of `text`. The modem-only modifiers and blanks, which a link may not hold,
    // are dropped. An empty link when nothing is left.
    static QUrl telLink(const QString &text);

    // Shown when a number holds nothing to dial.
    static QString nothingToDialText() { return QStringLiteral("There is no number to dial."); }
};
