#include "RtfTestSupport.h"

#include "TLetterPageLayout.h"
#include "TRtfPicture.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

using namespace rtftest;
using Paragraphs = std::vector<std::string>;

// ---- paragraphs -----------------------------------------------------------------------------

struct ParagraphCase {
    const char *rtf;
    Paragraphs expected;
};
class ReaderParagraphs : public ::testing::TestWithParam<ParagraphCase>
{
};

TEST_P(ReaderParagraphs, SplitsTheTextWhereTheRtfEndsParagraphs)
{
    const ParagraphCase c = GetParam();
    EXPECT_EQ(paragraphs(*read(c.rtf)), c.expected) << c.rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderParagraphs,
    ::testing::Values(ParagraphCase{"{\\rtf1 Hello\\par World\\par}", {"Hello", "World"}},
                      // The last paragraph needs no \par; a \par at the end makes no empty paragraph.
                      ParagraphCase{"{\\rtf1 Hello\\par World}", {"Hello", "World"}},
                      ParagraphCase{"{\\rtf1 One\\par\\par Three\\par}", {"One", "", "Three"}},
                      ParagraphCase{"{\\rtf1 }", {""}},
                      // Line breaks in the source are not text; a backslash before one ends a paragraph.
                      ParagraphCase{"{\\rtf1 Hel\r\nlo\\\r\nnext}", {"Hello", "next"}},
                      // The space after a control word belongs to the word; the next one is text.
                      ParagraphCase{"{\\rtf1 \\b  bold\\b0 x}", {" boldx"}},
                      ParagraphCase{"{\\rtf1 a\\tab b\\line c\\cell d\\row e}", {"a\tb\u2028c\td", "e"}},
                      // Text after the document's group is ignored, and so are leading blanks.
                      ParagraphCase{" \r\n{\\rtf1 in} out", {"in"}},
                      ParagraphCase{"{\\rtf1 {\\b x}{\\i y}z}", {"xyz"}}));

// ---- characters -----------------------------------------------------------------------------

struct CharacterCase {
    const char *rtf;
    const char16_t *expected;
};
class ReaderCharacters : public ::testing::TestWithParam<CharacterCase>
{
};

TEST_P(ReaderCharacters, DecodesEscapesWindows1252AndUnicode)
{
    const CharacterCase c = GetParam();
    EXPECT_EQ(read(c.rtf)->toRawText(), QString::fromUtf16(c.expected)) << c.rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderCharacters,
    ::testing::Values(
        CharacterCase{"{\\rtf1 a\\\\b\\{c\\}}", u"a\\b{c}"},
        CharacterCase{"{\\rtf1\\ansi caf\\'e9 \\'80 \\'93q\\'94}", u"café € “q”"},
        // Raw bytes above 127 are Windows-1252 too.
        CharacterCase{"{\\rtf1 caf\xe9}", u"café"},
        // \uN is followed by \ucN fallback characters (1 by default) that are skipped.
        CharacterCase{"{\\rtf1 \\u8364?x}", u"€x"}, CharacterCase{"{\\rtf1 \\u8364\\'80x}", u"€x"},
        CharacterCase{"{\\rtf1 \\uc2\\u8364??x}", u"€x"}, CharacterCase{"{\\rtf1 \\uc0\\u8364 x}", u"€x"},
        CharacterCase{"{\\rtf1 {\\uc2 \\u937 ab}c\\u937 ?d}", u"ΩcΩd"},
        // Negative arguments stand for the upper half; a pair of them for a surrogate pair.
        CharacterCase{"{\\rtf1 \\u-3913?\\u-10179?\\u-8704?}", u"\uF0B7\U0001F600"},
        // A group ends the fallback early.
        CharacterCase{"{\\rtf1 {\\uc3\\u937 a}bc}", u"Ωbc"},
        CharacterCase{"{\\rtf1 a\\~b\\-c\\_d}", u"a\u00A0b\u00ADc\u2011d"},
        // Control characters, paragraph separators, object and frame characters are not text.
        CharacterCase{"{\\rtf1 a\x7f\\'01b\\u8233?c\\u65532?d\\u64976?\\u64977?e\\u9?f\\u9?g}",
                      u"abcde\tf\tg"},
        CharacterCase{"{\\rtf1 \\lquote x\\rquote \\ldblquote y\\rdblquote \\emdash \\endash \\bullet }",
                      u"‘x’“y”—–•"}));

// ---- skipped groups -------------------------------------------------------------------------

struct SkipCase {
    const char *rtf;
    const char *expected;
};
class ReaderSkips : public ::testing::TestWithParam<SkipCase>
{
};

TEST_P(ReaderSkips, LeavesOutWhatIsNotBodyText)
{
    const SkipCase c = GetParam();
    EXPECT_EQ(read(c.rtf)->toPlainText().toStdString(), c.expected) << c.rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderSkips,
    ::testing::Values(SkipCase{"{\\rtf1 a{\\*\\unknowndest text {nested} more}b}", "ab"},
                      SkipCase{"{\\rtf1 a{\\*\\generator Writer 7;}b}", "ab"},
                      SkipCase{"{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}body}",
                               "body"},
                      SkipCase{"{\\rtf1{\\header head}{\\footer foot}{\\footnote note}body}", "body"},
                      SkipCase{"{\\rtf1 \\madeupword1 a\\anotherword b}", "ab"},
                      // A field shows its result, not its instruction.
                      SkipCase{"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}!}", "link!"},
                      // Binary data in a skipped group, even with braces in it, is skipped whole.
                      SkipCase{"{\\rtf1 a{\\*\\blob \\bin4 }}{x}b}c}", "ab"},
                      SkipCase{"{\\rtf1 a\\bin3 x}yb}", "ab"},
                      // The fallback picture of a shape picture is not read twice.
                      SkipCase{"{\\rtf1 a{\\nonshppict{\\pict\\wmetafile8 0102}}b}", "ab"},
                      // A list number's own definition is skipped, its shown text is kept.
                      SkipCase{"{\\rtf1{\\pn\\pnlvlblt{\\pntxtb x}}{\\pntext 1.\\tab}item}", "1.\titem"}));

// ---- formats --------------------------------------------------------------------------------

TEST(TRtfReader, CharacterFormatsFollowTheFontAndColourTablesAndTheGroups)
{
    const auto doc =
        read("{\\rtf1\\ansi\\deff1"
             "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
             "{\\f1\\fswiss{\\*\\panose 020b0604020202020204}Arial{\\*\\falt Helvetica};}"
             "\\f2\\fmodern Courier New;}"
             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}"
             "Plain {\\b Bold}{\\i Italic}{\\ul Under}{\\strike Strike}{\\f0\\fs36 Times}"
             "{\\cf1 Red}{\\chcbpat2 Green}{\\super Up}{\\f2\\b\\i\\plain Reset}\\b Heavy\\b0 Light}");
    const QString text = doc->toPlainText();
    const auto at = [&](const char *word) {
        const int pos = static_cast<int>(text.indexOf(QLatin1String(word)));
        EXPECT_GE(pos, 0) << word;
        return formatAt(*doc, pos);
    };
    const QTextCharFormat plain = at("Plain");
    EXPECT_EQ(family(plain), QStringLiteral("Arial"));
    EXPECT_EQ(plain.fontPointSize(), 12.0);
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_FALSE(plain.fontItalic());

    EXPECT_EQ(at("Bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(at("Italic").fontItalic());
    EXPECT_TRUE(at("Under").fontUnderline());
    EXPECT_TRUE(at("Strike").fontStrikeOut());
    EXPECT_EQ(family(at("Times")), QStringLiteral("Times New Roman"));
    EXPECT_EQ(at("Times").fontPointSize(), 18.0);
    EXPECT_EQ(at("Red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(at("Green").background().color(), QColor(0, 128, 0));
    EXPECT_EQ(plain.foreground().style(), Qt::NoBrush);
    EXPECT_EQ(at("Up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    // \plain goes back to the default font (\deff1) at 12 points, not bold or italic.
    const QTextCharFormat reset = at("Reset");
    EXPECT_EQ(family(reset), QStringLiteral("Arial"));
    EXPECT_EQ(reset.fontWeight(), QFont::Normal);
    EXPECT_FALSE(reset.fontItalic());
    EXPECT_EQ(at("Heavy").fontWeight(), QFont::Bold);
    EXPECT_EQ(at("Light").fontWeight(), QFont::Normal);
}

TEST(TRtfReader, ValuesOutOfRangeAndUnknownIndexesChangeNothing)
{
    const auto doc = read("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
                          "\\fs20 a\\fs0 b\\fs99999 c\\f7 d\\cf9 e\\li999999 f\\par}");
    EXPECT_EQ(formatAt(*doc, 1).fontPointSize(), 10.0);
    EXPECT_EQ(formatAt(*doc, 2).fontPointSize(), 10.0);
    EXPECT_EQ(family(formatAt(*doc, 3)), QStringLiteral("Arial"));
    EXPECT_EQ(formatAt(*doc, 4).foreground().style(), Qt::NoBrush);
    EXPECT_EQ(doc->begin().blockFormat().leftMargin(), 0.0);
}

TEST(TRtfReader, ParagraphFormatsAreThoseInForceAtTheParagraphEnd)
{
    const auto doc =
        read("{\\rtf1 \\pard\\qc Centred\\par"
             "\\pard\\qr\\li1440\\ri720\\fi-360\\sb240\\sa120 Right\\par"
             "\\pard\\qj\\sl360\\slmult1\\tx720\\tqr\\tx5040\\tqc\\tx3000\\tqdec\\tx4000 Just\\par"
             "\\pard\\sl-300 Exact\\par\\pard\\sl300 AtLeast\\par"
             "\\qc Left\\pard\\par}");
    std::vector<QTextBlockFormat> f;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        f.push_back(b.blockFormat());
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[0].alignment(), Qt::AlignHCenter);
    EXPECT_EQ(f[1].alignment(), Qt::AlignRight);
    // Indents and spacing are kept in 96-dpi pixels, 15 twips each.
    EXPECT_EQ(f[1].leftMargin(), 96.0);
    EXPECT_EQ(f[1].rightMargin(), 48.0);
    EXPECT_EQ(f[1].textIndent(), -24.0);
    EXPECT_EQ(f[1].topMargin(), 16.0);
    EXPECT_EQ(f[1].bottomMargin(), 8.0);
    EXPECT_EQ(f[2].alignment(), Qt::AlignJustify);
    EXPECT_EQ(f[2].lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_EQ(f[2].lineHeight(), 150.0);
    const QList<QTextOption::Tab> tabs = f[2].tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(tabs[0].position, 48.0);
    EXPECT_EQ(tabs[0].type, QTextOption::LeftTab);
    EXPECT_EQ(tabs[1].type, QTextOption::RightTab);
    EXPECT_EQ(tabs[1].position, 336.0);
    EXPECT_EQ(tabs[2].type, QTextOption::CenterTab);
    EXPECT_EQ(tabs[3].type, QTextOption::DelimiterTab);
    EXPECT_EQ(f[3].lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_EQ(f[3].lineHeight(), 20.0);
    EXPECT_EQ(f[4].lineHeightType(), QTextBlockFormat::MinimumHeight);
    // \pard before \par: the paragraph takes the settings in force when it ends.
    EXPECT_EQ(f[5].alignment(), Qt::AlignLeft);
    EXPECT_TRUE(f[5].tabPositions().isEmpty());
}

// ---- page breaks and the page ---------------------------------------------------------------

struct BreakCase {
    const char *rtf;
    Paragraphs text;
    std::vector<bool> breakBefore;
};
class ReaderPageBreaks : public ::testing::TestWithParam<BreakCase>
{
};

TEST_P(ReaderPageBreaks, StartTheFollowingParagraphOnANewPage)
{
    const BreakCase c = GetParam();
    const auto doc = read(c.rtf);
    EXPECT_EQ(paragraphs(*doc), c.text) << c.rtf;
    std::vector<bool> breaks;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        breaks.push_back(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(breaks, c.breakBefore) << c.rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderPageBreaks,
    ::testing::Values(BreakCase{"{\\rtf1 one\\page two}", {"one", "two"}, {false, true}},
                      BreakCase{"{\\rtf1 one\\par\\page two\\par}", {"one", "two"}, {false, true}},
                      BreakCase{"{\\rtf1 one\\par\\page\\pard\\qc two\\par}", {"one", "two"}, {false, true}},
                      BreakCase{"{\\rtf1 one\\par\\pard\\pagebb two\\par\\pard three\\par}",
                                {"one", "two", "three"},
                                {false, true, false}},
                      // A break at the end still makes its page.
                      BreakCase{"{\\rtf1 one\\page}", {"one", ""}, {false, true}},
                      // A section break starts a page unless the new section says it does not.
                      BreakCase{"{\\rtf1 one\\sect\\sectd two\\sect\\sectd\\sbknone three}",
                                {"one", "two", "three"},
                                {false, true, false}}));

TEST(TRtfReader, KeepsThePaperSizeAndMarginsWithTheDocument)
{
    const auto doc = read("{\\rtf1\\paperw11906\\paperh16838\\margl1134\\margr1000\\margt900\\margb800 x}");
    const TLetterPageLayout page = TLetterPageLayout::of(*doc);
    EXPECT_EQ(page.paperWidth, 11906);
    EXPECT_EQ(page.paperHeight, 16838);
    EXPECT_EQ(page.marginLeft, 1134);
    EXPECT_EQ(page.marginRight, 1000);
    EXPECT_EQ(page.marginTop, 900);
    EXPECT_EQ(page.marginBottom, 800);
}

TEST(TRtfReader, TheFirstSectionsPageSettingsWin)
{
    const auto doc = read("{\\rtf1\\paperw12240\\paperh15840\\margl1440"
                          "\\sectd\\pgwsxn15840\\pghsxn12240\\marglsxn720 a\\sect\\sectd\\pgwsxn5000 b}");
    const TLetterPageLayout page = TLetterPageLayout::of(*doc);
    EXPECT_EQ(page.paperWidth, 15840);
    EXPECT_EQ(page.paperHeight, 12240);
    EXPECT_EQ(page.marginLeft, 720);
}

TEST(TRtfReader, APageWithoutTheSettingsIsTheNewLetterPage)
{
    EXPECT_EQ(TLetterPageLayout::of(*read("{\\rtf1 x}")), TLetterPageLayout());
    // Sizes no printer has, and margins that leave no room, are made usable.
    const TLetterPageLayout odd =
        TLetterPageLayout::of(*read("{\\rtf1\\paperw0\\paperh999999999\\margl20000\\margr20000 x}"));
    EXPECT_EQ(odd.paperWidth, 12240);
    EXPECT_EQ(odd.paperHeight, 15840);
    EXPECT_TRUE(odd.isUsable());
    EXPECT_GE(odd.textWidth(), TLetterPageLayout::kMinTextTwips);
}

// ---- pictures -------------------------------------------------------------------------------

namespace {

std::string hex(const QByteArray &data)
{
    return data.toHex().toStdString();
}

} // namespace

TEST(TRtfReader, APngPictureBecomesAnImageOfItsWantedSize)
{
    const QByteArray png = pngBytes(40, 20);
    const auto doc =
        read("{\\rtf1 a{\\pict\\pngblip\\picw40\\pich20\\picwgoal1440\\pichgoal720\r\n" + hex(png) + "}b}");
    ASSERT_EQ(doc->toPlainText(), QStringLiteral("a\uFFFCb"));
    const QTextCharFormat f = formatAt(*doc, 1);
    ASSERT_TRUE(f.isImageFormat());
    const QTextImageFormat image = f.toImageFormat();
    EXPECT_EQ(image.width(), 96.0);
    EXPECT_EQ(image.height(), 48.0);
    const QImage resource = doc->resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    EXPECT_EQ(resource.size(), QSize(40, 20));
    EXPECT_EQ(f.property(TRtfPicture::kDataProperty).toByteArray(), png);
}

TEST(TRtfReader, APictureWithoutAWantedSizeIsShownAtItsPixelsAndScaled)
{
    const QByteArray png = pngBytes(30, 10);
    const auto doc = read("{\\rtf1{\\pict\\pngblip\\picscalex200 " + hex(png) + "}}");
    const QTextImageFormat image = formatAt(*doc, 0).toImageFormat();
    EXPECT_EQ(image.width(), 60.0);
    EXPECT_EQ(image.height(), 10.0);
}

TEST(TRtfReader, BinaryPictureDataAndTheShapePictureAreRead)
{
    const QByteArray png = pngBytes(8, 8);
    const std::string rtf = "{\\rtf1{\\*\\shppict{\\pict\\pngblip\\bin" + std::to_string(png.size()) + " " +
                            png.toStdString() + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}}";
    const auto doc = read(rtf);
    EXPECT_EQ(doc->characterCount(), 2); // the picture and the paragraph end
    const QTextCharFormat f = formatAt(*doc, 0);
    EXPECT_TRUE(f.isImageFormat());
    EXPECT_EQ(f.property(TRtfPicture::kDataProperty).toByteArray(), png);
}

TEST(TRtfReader, MetafilesAndUndecodableImagesAreKeptAsOpaquePictures)
{
    const auto doc = read("{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich1270 0102030405}"
                          "{\\pict\\emfblip\\picwgoal720\\pichgoal360 0a0b}"
                          "{\\pict\\pngblip\\picwgoal100\\pichgoal100 deadbeef}"
                          "{\\pict\\dibitmap0 0000}}");
    ASSERT_EQ(doc->toPlainText(), QStringLiteral("\uFFFC\uFFFC\uFFFC"));
    const QTextCharFormat wmf = formatAt(*doc, 0);
    EXPECT_EQ(wmf.objectType(), TRtfPicture::kMetafileObjectType);
    EXPECT_EQ(wmf.property(TRtfPicture::kDataProperty).toByteArray(), QByteArray::fromHex("0102030405"));
    EXPECT_EQ(wmf.intProperty(TRtfPicture::kKindProperty), static_cast<int>(TRtfPicture::Kind::Wmf));
    // Without a wanted size the metafile's extent counts in hundredths of a millimetre.
    EXPECT_EQ(wmf.doubleProperty(QTextFormat::ImageWidth), 96.0);
    EXPECT_EQ(formatAt(*doc, 1).intProperty(TRtfPicture::kKindProperty),
              static_cast<int>(TRtfPicture::Kind::Emf));
    const QTextCharFormat broken = formatAt(*doc, 2);
    EXPECT_EQ(broken.objectType(), TRtfPicture::kMetafileObjectType);
    EXPECT_EQ(broken.property(TRtfPicture::kDataProperty).toByteArray(), QByteArray::fromHex("deadbeef"));
}

// ---- damaged and hostile input --------------------------------------------------------------

struct DamagedCase {
    std::string rtf;
    const char *message; // part of the message
};
class ReaderDamaged : public ::testing::TestWithParam<DamagedCase>
{
};

TEST_P(ReaderDamaged, AnswersCorruptionAndLeavesTheDocumentAsItWas)
{
    const DamagedCase c = GetParam();
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    TLetterPageLayout page;
    page.paperWidth = 5000;
    page.applyTo(doc);
    const xbase::Status status = TRtfReader::read(bytes(c.rtf), doc);
    EXPECT_EQ(status.code(), xbase::StatusCode::Corruption) << c.rtf.substr(0, 80);
    EXPECT_NE(status.message().find(c.message), std::string::npos) << status.message();
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(TLetterPageLayout::of(doc).paperWidth, 5000);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderDamaged,
    ::testing::Values(DamagedCase{"", "not RTF"}, DamagedCase{"Hello", "not RTF"},
                      DamagedCase{"{\\rtx1 a}", "not RTF"},
                      DamagedCase{"{\\rtf1 Hello", "before all its groups"},
                      DamagedCase{"{\\rtf1 {\\b Hello}", "before all its groups"},
                      DamagedCase{"{\\rtf1 " + std::string(600, '{') + std::string(601, '}'),
                                  "nested more than 512"},
                      DamagedCase{"{\\rtf1 \\" + std::string(33, 'a') + " x}", "longer than 32 letters"},
                      DamagedCase{"{\\rtf1 \\fs12345678901 x}", "longer than 10 digits"},
                      DamagedCase{"{\\rtf1 \\fs9999999999 x}", "out of range"},
                      DamagedCase{"{\\rtf1 \\bin99 abc}", "past the end"},
                      DamagedCase{"{\\rtf1 \\bin-5 abc}", "past the end"}));

TEST(TRtfReader, TheDeepestNestingAllowedIsRead)
{
    const int depth = TRtfReader::kMaxGroupDepth;
    const std::string rtf = "{\\rtf1 " + std::string(depth - 1, '{') + "deep" + std::string(depth, '}');
    EXPECT_EQ(read(rtf)->toPlainText(), QStringLiteral("deep"));
    EXPECT_FALSE(
        TRtfReader::check(bytes("{\\rtf1 " + std::string(depth, '{') + std::string(depth + 1, '}'))).ok());
}

TEST(TRtfReader, RefusesTextLargerThanItsLimit)
{
    QByteArray huge("{\\rtf1 ");
    huge.append(TRtfReader::kMaxInputBytes, 'a');
    huge.append('}');
    QTextDocument doc;
    const xbase::Status status = TRtfReader::read(huge, doc);
    EXPECT_EQ(status.code(), xbase::StatusCode::Corruption);
    EXPECT_NE(status.message().find("larger than 64 MB"), std::string::npos);
}

TEST(TRtfReader, ReplacesWhatTheDocumentHeld)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old\nlines"));
    ASSERT_TRUE(TRtfReader::read(bytes("{\\rtf1 new}"), doc).ok());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("new"));
    EXPECT_EQ(doc.blockCount(), 1);
}

TEST(TRtfReader, AParagraphStyleGivesItsSettingsAndWhatFollowsChangesThem)
{
    const auto doc =
        read("{\\rtf1\\deff0{\\fonttbl{\\f0 Serif;}{\\f1 Sans;}}"
             "{\\stylesheet{\\s0\\f0\\fs24 Normal;}{\\s1\\sbasedon0\\f1\\fs32\\b\\qc\\sa120 Heading;}"
             "{\\*\\cs10 \\i Emphasis;}{\\s2\\qr Flat}}"
             "\\pard\\plain\\s1 Title\\par\\pard\\plain\\s1\\ql\\fs20 Small\\par"
             "\\pard\\plain\\s2 Right\\par\\pard\\plain\\s9 Unknown\\par}");
    std::vector<QTextBlock> blocks;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        blocks.push_back(b);
    ASSERT_EQ(blocks.size(), 4u);
    const QTextCharFormat title = formatAt(*doc, blocks[0].position());
    EXPECT_EQ(family(title), QStringLiteral("Sans"));
    EXPECT_EQ(title.fontPointSize(), 16.0);
    EXPECT_EQ(title.fontWeight(), QFont::Bold);
    EXPECT_EQ(blocks[0].blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blocks[0].blockFormat().bottomMargin(), 8.0);
    const QTextCharFormat small = formatAt(*doc, blocks[1].position());
    EXPECT_EQ(small.fontPointSize(), 10.0);
    EXPECT_EQ(small.fontWeight(), QFont::Bold);
    EXPECT_EQ(blocks[1].blockFormat().alignment(), Qt::AlignLeft);
    EXPECT_EQ(blocks[2].blockFormat().alignment(), Qt::AlignRight);
    EXPECT_EQ(formatAt(*doc, blocks[3].position()).fontPointSize(), 12.0);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("Title\nSmall\nRight\nUnknown"));
}
