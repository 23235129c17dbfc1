// Text rules shared by every part of the address book: blank trimming and how a memo text is
// prepared for storing.
#pragma once

#include <QString>

#include <string>
#include <string_view>

class TText
{
public:
    // Remove leading, trailing or both leading and trailing blanks: the space character
    // only, never tabs or line breaks.
    static QString TrimLeft(const QString &text);
    static QString TrimRight(const QString &text);
    static QString Trim(const QString &text);

    // The length of a memo text with every line break counted as two characters, whatever
    // its bytes ("\r\n", a lone "\n" or a lone "\r").
    static qsizetype memoLength(const QString &text);
    // The text as it is stored: when memoLength() is a positive multiple of 4, one blank is
    // appended to the last line (before a line break that ends the text), so the stored
    // length is never such a multiple.
    static QString memoForStoring(const QString &text);
    // The same rule on Windows-1252 bytes (one byte a character), without decoding them.
    static std::string memoForStoring(std::string_view bytes);
};
