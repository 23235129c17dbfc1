// The Windows symbol typefaces layouts name ("WingDings", "Symbol"), which this system does
// not have: one table per typeface maps its character codes to Unicode, and the glyphs are
// drawn with a typeface that holds them. Stateless helpers.
#pragma once

#include <QString>

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
    // `text` as the typeface `name` shows it: each character, taken as its Windows-1252 code,
    // replaced by its glyph; characters without one, and all text of other typefaces, stay.
    static QString mapText(const QString &name, const QString &text);
};
