// The font a new letter is typed in, kept in the settings file's "Letter" section. A value
// object; the designer reads it when it opens and writes it after the "Default Font" command.
#pragma once

#include <QString>

class QTextCharFormat;
class TIniFile;

struct TLetterDefaultFont {
    QString name = QStringLiteral("Arial");
    int pointSize = 10;
    bool bold = false;
    bool italic = false;

    // The keys "DefaultFontName", "DefaultFontSize", "DefaultFontBold", "DefaultFontItalic";
    // a size below 1 or above 1638 points reads as the default 10.
    static TLetterDefaultFont read(const TIniFile &ini);
    // False when the settings file could not be written.
    bool write(TIniFile &ini) const;

    // The menu caption: "&Default Font: Arial, 10 pt " with ", bold" and ", italic" after it.
    QString caption() const;
    // `current` with this font's name and size, and bold and italic switched on when this font
    // has them (an attribute already on stays on).
    QTextCharFormat appliedTo(const QTextCharFormat &current) const;
};
