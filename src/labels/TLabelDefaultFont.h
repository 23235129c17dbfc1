// The font new text on a label starts from, kept in the settings file's "Label" section. A
// value object; the label designer reads it when it opens and writes it after "Default Font".
#pragma once

#include "TGFont.h"

#include <QString>

class TIniFile;

struct TLabelDefaultFont {
    QString name = QStringLiteral("Arial");
    int pointSize = 10;
    bool bold = false;
    bool italic = false;

    // The keys "DefaultFontName", "DefaultFontSize", "DefaultFontBold", "DefaultFontItalic";
    // a size below 1 or above 1638 points reads as the default 10.
    static TLabelDefaultFont read(const TIniFile &ini);
    // False when the settings file could not be written.
    bool write(TIniFile &ini) const;

    // The button caption: "Default Font: Arial, 10 pt " with ", bold" and ", italic" after it.
    QString caption() const;
    // The surface font of this name, size and style.
    TGFont font() const;
    static TLabelDefaultFont fromFont(const TGFont &font);
};
