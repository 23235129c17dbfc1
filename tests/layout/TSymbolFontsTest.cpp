// Symbol typefaces: codes mapped to their Unicode glyphs, and a symbol printed to PDF comes
// out as that glyph.
#include "TSymbolFonts.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGOwner.h"
#include "TGSymbolLabel.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <QProcess>

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
    ::testing::Values(GlyphCase{"WingDings", 0x4A, U'\u263A'}, GlyphCase{"WingDings", 0xFC, U'\u2714'},
                      GlyphCase{"wingdings", 0x22, U'\u2702'}, GlyphCase{"WingDings", 0x28, U'\U0001F57F'},
                      GlyphCase{"WingDings", 0x81, U'\u2460'}, GlyphCase{"WingDings", 0x5E, U'\u2648'},
                      GlyphCase{"WingDings", 0xFF, 0}, GlyphCase{"WingDings", 0x7F, 0},
                      GlyphCase{"Symbol", 0x61, U'\u03B1'}, GlyphCase{"Symbol", 0x57, U'\u03A9'},
                      GlyphCase{"Symbol", 0xA5, U'\u221E'}, GlyphCase{"Symbol", 0x30, U'0'},
                      GlyphCase{"Symbol", 0xF0, 0}, GlyphCase{"Symbol", 31, 0}, GlyphCase{"Symbol", 256, 0},
                      GlyphCase{"Arial", 0x41, 0}));

TEST(TSymbolFonts, TextOfASymbolTypefaceIsMappedByWindowsCode)
{
    // "ü" is code 0xFC; a character outside Windows-1252 stays as it is.
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("WingDings"), QStringLiteral("J\u00FC\u4E00")),
              QStringLiteral("\u263A\u2714\u4E00"));
    EXPECT_EQ(TSymbolFonts::mapText(QStringLiteral("Arial"), QStringLiteral("J")), QStringLiteral("J"));
    EXPECT_EQ(TSymbolFonts::drawingFamily(QStringLiteral("Symbol")), TSymbolFonts::glyphFamily());
    EXPECT_EQ(TSymbolFonts::drawingFamily(QStringLiteral("Arial")), QStringLiteral("Arial"));
}

TEST(TSymbolFonts, WingDingsSymbolPrintsAsItsGlyph)
{
    freshRegistry({TGSurfaceKind::Label});
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
    surface.setSize(400, 300);
    auto *symbol =
        static_cast<TGSymbolLabel *>(surface.insertObject(std::make_unique<TGSymbolLabel>(&owner)));
    surface.WireObject(symbol);
    symbol->ChooseSymbol(TGFont(QStringLiteral("WingDings"), 24), 0xFC);

    TempDir dir;
    const QString pdf = QString::fromStdString(dir.file("symbol.pdf"));
    TPdfPrinterService service(pdf, 300);
    TReportPrinter printer(service);
    printer.OnPrint = [&](TBaseReport &job) {
        surface.setPrinting(true);
        surface.PrintObjects(job, {Inches(1.0), Inches(1.0)});
        surface.setPrinting(false);
    };
    printer.RunJob();
    ASSERT_FALSE(printer.IsAborted());

    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("\u2714"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("\u00FC"))) << text.toStdString();
}

} // namespace
