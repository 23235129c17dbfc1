// Symbol typefaces: codes mapped to their Unicode glyphs, and the typeface they are drawn with
// holding those glyphs.
#include "TSymbolFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

struct GlyphCase {
    const char *font;
    int code;
    char32_t expected; // 0: no glyph
};

class SymbolGlyph : public ::testing::TestWithParam<GlyphCase>
{
};

TEST_P(SymbolGlyph, CodeShowsItsUnicodeCharacter)
{
    const GlyphCase c = GetParam();
    const QString g = TSymbolFonts::glyph(QString::fromLatin1(c.font), c.code);
    if (c.expected == 0)
        EXPECT_TRUE(g.isEmpty());
    else
        EXPECT_EQ(g, QString::fromUcs4(&c.expected, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SymbolGlyph,
    ::testing::Values(
        GlyphCase{"WingDings", 0x4A, U'\u263A'}, GlyphCase{"WingDings", 0xFC, U'\u2714'},
        GlyphCase{"wingdings", 0x22, U'\u2702'}, GlyphCase{"WingDings", 0x28, U'\U0001F57F'},
        GlyphCase{"WingDings", 0x81, U'\u2460'}, GlyphCase{"WingDings", 0x5E, U'\u2648'},
        GlyphCase{"WingDings", 0x5C, U'\U0001F549'}, GlyphCase{"WingDings", 0xFF, 0},
        GlyphCase{"WingDings", 0x7F, 0}, GlyphCase{"Symbol", 0x61, U'\u03B1'},
        GlyphCase{"Symbol", 0x57, U'\u03A9'}, GlyphCase{"Symbol", 0xA5, U'\u221E'},
        GlyphCase{"Symbol", 0x2B, U'+'}, GlyphCase{"Symbol", 0x30, U'0'}, GlyphCase{"Symbol", 0xF0, 0},
        GlyphCase{"Symbol", 31, 0}, GlyphCase{"Symbol", 256, 0}, GlyphCase{"Arial", 0x41, 0},
        // First, last and a few codes between of each table.
        GlyphCase{"Wingdings 2", 0x21, U'\U0001F58A'}, GlyphCase{"Wingdings 2", 0x50, U'\U0001F5F8'},
        GlyphCase{"Wingdings 2", 0x52, U'\u2611'}, GlyphCase{"Wingdings 2", 0x54, U'\u2612'},
        GlyphCase{"WINGDINGS 2", 0x6A, U'\u2460'}, GlyphCase{"Wingdings 2", 0x80, U'\u2609'},
        GlyphCase{"Wingdings 2", 0xC0, U'\u2B1F'}, GlyphCase{"Wingdings 2", 0xF9, U'\u2042'},
        GlyphCase{"Wingdings 2", 0xFA, 0}, GlyphCase{"Wingdings 2", 0x7F, 0},
        GlyphCase{"Wingdings 3", 0x21, U'\u2B60'}, GlyphCase{"Wingdings 3", 0x70, U'\u25B2'},
        GlyphCase{"Wingdings 3", 0x75, U'\u25B6'}, GlyphCase{"Wingdings 3", 0x80, U'\U0001F783'},
        GlyphCase{"Wingdings 3", 0xC0, U'\U0001F83F'}, GlyphCase{"Wingdings 3", 0xF0, U'\U0001F897'},
        GlyphCase{"Wingdings 3", 0xF1, 0}, GlyphCase{"Webdings", 0x21, U'\U0001F577'},
        GlyphCase{"Webdings", 0x61, U'\u2714'}, GlyphCase{"webdings", 0x62, U'\U0001F6B2'},
        GlyphCase{"Webdings", 0x7E, U'\U0001F5F2'}, GlyphCase{"Webdings", 0x80, U'\U0001F6B9'},
        GlyphCase{"Webdings", 0xE9, U'\u267F'}, GlyphCase{"Webdings", 0xFF, U'\U0001F54A'},
        GlyphCase{"Webdings", 0x7F, 0}, GlyphCase{"Wingdings2", 0x21, 0}));

TEST(TSymbolFonts, TextOfASymbolTypefaceIsMappedByWindowsCode)
{
    // "ü" is code 0xFC; a character outside Windows-1252 stays as it is.
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("WingDings"), QStringLiteral("J\u00FC\u4E00")),
              QStringLiteral("\u263A\u2714\u4E00"));
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("Arial"), QStringLiteral("J")), QStringLiteral("J"));
    EXPECT_EQ(TSymbolFonts::drawingFamily(QStringLiteral("Symbol")), TSymbolFonts::glyphFamily());
    EXPECT_EQ(TSymbolFonts::drawingFamily(QStringLiteral("Webdings")), TSymbolFonts::glyphFamily());
    EXPECT_EQ(TSymbolFonts::drawingFamily(QStringLiteral("Arial")), QStringLiteral("Arial"));
    // "€" is code 0x80, and a glyph outside the first plane takes two UTF-16 units.
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("Webdings"), QStringLiteral("a\u20AC")),
              QStringLiteral("\u2714\U0001F6B9"));
}

TEST(TSymbolFonts, PrivateUseCodesOfUnicodeTextStandForTheirLowByte)
{
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0xF0FC)), 0xFC);
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0xF020)), 0x20);
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0xF01F)), -1);
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0x20AC)), 0x80);
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0x0081)), 0x81);
    EXPECT_EQ(TSymbolFonts::codeOf(QChar(0x4E00)), -1);
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("Wingdings 3"), QStringLiteral("\uF070\uF071")),
              QStringLiteral("\u25B2\u25BC"));
}

// Every code of every table has its glyph in the typeface the glyphs are drawn with, so a
// symbol never falls back to another typeface or to a box. The misses, if any, are named.
TEST(TSymbolFonts, DrawingTypefaceHoldsEveryMappedGlyph)
{
    ASSERT_TRUE(QFontDatabase::families().contains(TSymbolFonts::glyphFamily()));
    QFont font(TSymbolFonts::glyphFamily());
    ASSERT_EQ(QFontInfo(font).family(), TSymbolFonts::glyphFamily());
    const QFontMetrics fm(font);
    for (const QString &name : TSymbolFonts::familyNames()) {
        QStringList misses;
        int mapped = 0;
        for (int code = 0x21; code <= 0xFF; ++code) {
            const QString g = TSymbolFonts::glyph(name, code);
            if (g.isEmpty())
                continue;
            ++mapped;
            const char32_t c = g.toUcs4().value(0);
            if (!fm.inFontUcs4(c))
                misses << QStringLiteral("%1 U+%2").arg(code, 2, 16).arg(quint32(c), 4, 16, QLatin1Char('0'));
        }
        EXPECT_GT(mapped, 180) << name.toStdString();
        EXPECT_TRUE(misses.isEmpty())
            << name.toStdString() << ": " << misses.join(QStringLiteral(", ")).toStdString();
    }
}

} // namespace
