// The Windows symbol typefaces layouts and metafiles name ("WingDings", "Wingdings 2",
// "Wingdings 3", "Webdings", "Symbol"), which this system does not have: one table per
// typeface maps its character codes to Unicode, and the glyphs are drawn with a typeface that
// holds them. Stateless helpers.
#pragma once

#include <QString>
#include <QStringList>

class TSymbolFonts
{
public:
    // The typeface every mapped glyph is drawn with.
    static QString glyphFamily() { return QStringLiteral("Symbola"); }

    // True for a typeface with a table (names compared without regard to letter case).
    static bool isSymbolFont(const QString &name);
    // The typeface to draw text of `name` with: glyphFamily() for a symbol typeface, else
    // `name` itself.
    static QString drawingFamily(const QString &name);
    // The Unicode character the typeface `name` shows for `code` (32..255); empty when `name`
    // has no table or the code no character.
    static QString glyph(const QString &name, int code);
    // The code a character of symbol text stands for: U+F020..U+F0FF (where Unicode text
    // keeps the characters of a symbol typeface) as that code less 0xF000, any other
    // character as its Windows-1252 code; -1 for a character Windows-1252 lacks.
    static int codeOf(QChar ch);
    // `text` as the typeface `name` shows it: each character replaced by the glyph of its
    // code (codeOf); characters without one, and all text of other typefaces, stay.
    static QString mapText(const QString &name, const QString &text);
    // The typefaces with a table, as layouts spell them.
    static QStringList familyNames();
};
