// Windows-1252 bytes to and from QString. Tables and text files of the address book hold
// Windows-1252; the program works on QString, and this class is the one place that converts.
#pragma once

#include <QByteArray>
#include <QString>

class TCp1252
{
public:
    // Every byte becomes one character. The five bytes Windows-1252 leaves undefined
    // (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, so decoding and encoding
    // again gives the same bytes back.
    static QString toString(const QByteArray &bytes);
    static QString toString(const char *data, qsizetype size);

    // Every character becomes one byte; a character Windows-1252 cannot hold becomes "?"
    // (a surrogate pair counts as one character and gives one "?").
    static QByteArray fromString(const QString &text);

    // One byte, one character.
    static QChar toChar(unsigned char byte);
    // The byte for a character, or '?' when Windows-1252 has none.
    static char fromChar(char32_t codePoint);
};
