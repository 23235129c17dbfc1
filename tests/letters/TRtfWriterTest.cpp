#include "RtfTestSupport.h"

#include "TLetterPageLayout.h"
#include "TRtfPicture.h"
#include "TRtfWriter.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

using namespace rtftest;

namespace {

QTextCharFormat font(const QString &family, double points)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    return f;
}

// A letter using everything the writer carries.
std::unique_ptr<QTextDocument> richLetter()
{
    auto doc = std::make_unique<QTextDocument>();
    TLetterPageLayout page;
    page.paperWidth = 11906;
    page.paperHeight = 16838;
    page.marginLeft = 1134;
    page.marginRight = 1000;
    page.marginTop = 900;
    page.marginBottom = 850;
    page.applyTo(*doc);

    QTextCursor c(doc.get());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    c.setBlockCharFormat(font(QStringLiteral("Arial"), 10));
    QTextCharFormat bold = font(QStringLiteral("Arial"), 14);
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Letterhead "), bold);
    QTextCharFormat coloured = font(QStringLiteral("Times New Roman"), 11);
    coloured.setForeground(QColor(200, 10, 20));
    coloured.setBackground(QColor(250, 250, 0));
    coloured.setFontItalic(true);
    coloured.setFontUnderline(true);
    c.insertText(QStringLiteral("café € Ω \U0001F600 {x} \\ \t end\u2028line"), coloured);

    QTextBlockFormat indented;
    indented.setAlignment(Qt::AlignJustify);
    indented.setLeftMargin(96);
    indented.setRightMargin(48);
    indented.setTextIndent(-24);
    indented.setTopMargin(16);
    indented.setBottomMargin(8);
    indented.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    indented.setTabPositions({QTextOption::Tab(48, QTextOption::LeftTab),
                              QTextOption::Tab(336, QTextOption::RightTab),
                              QTextOption::Tab(200, QTextOption::CenterTab)});
    c.insertBlock(indented, font(QStringLiteral("Arial"), 10));
    QTextCharFormat marks = font(QStringLiteral("Arial"), 10);
    marks.setFontStrikeOut(true);
    marks.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    c.insertText(QStringLiteral("[First] [Last]"), marks);

    QTextBlockFormat nextPage;
    nextPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    nextPage.setAlignment(Qt::AlignRight);
    nextPage.setLineHeight(20, QTextBlockFormat::FixedHeight);
    c.insertBlock(nextPage, font(QStringLiteral("Courier New"), 12));
    c.insertText(QStringLiteral("Page two"), font(QStringLiteral("Courier New"), 12));
    TRtfPicture picture;
    picture.kind = TRtfPicture::Kind::Png;
    picture.data = pngBytes(12, 6);
    picture.picWidth = 12;
    picture.picHeight = 6;
    picture.goalWidth = 720;
    picture.goalHeight = 360;
    picture.insert(c);
    TRtfPicture metafile;
    metafile.kind = TRtfPicture::Kind::Wmf;
    metafile.data = QByteArray::fromHex("0100090000037a000000");
    metafile.picWidth = 2540;
    metafile.picHeight = 1270;
    metafile.insert(c);

    c.insertBlock(QTextBlockFormat(), font(QStringLiteral("Arial"), 10)); // an empty last paragraph
    return doc;
}

} // namespace

TEST(TRtfWriter, WhatItWritesReadsBackToTheSameBytes)
{
    const QByteArray first = TRtfWriter::write(*richLetter());
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(first, reread).ok());
    const QByteArray second = TRtfWriter::write(reread);
    EXPECT_EQ(second.toStdString(), first.toStdString());
}

TEST(TRtfWriter, WhatItWritesReadsBackToTheSameDocument)
{
    const auto original = richLetter();
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(TRtfWriter::write(*original), reread).ok());
    EXPECT_EQ(reread.toPlainText(), original->toPlainText());
    EXPECT_EQ(TLetterPageLayout::of(reread), TLetterPageLayout::of(*original));
    ASSERT_EQ(reread.blockCount(), original->blockCount());
    for (QTextBlock a = original->begin(), b = reread.begin(); a.isValid(); a = a.next(), b = b.next()) {
        const QTextBlockFormat fa = a.blockFormat();
        const QTextBlockFormat fb = b.blockFormat();
        EXPECT_EQ(fb.alignment(), fa.alignment()) << a.text().toStdString();
        EXPECT_EQ(fb.leftMargin(), fa.leftMargin());
        EXPECT_EQ(fb.rightMargin(), fa.rightMargin());
        EXPECT_EQ(fb.textIndent(), fa.textIndent());
        EXPECT_EQ(fb.topMargin(), fa.topMargin());
        EXPECT_EQ(fb.bottomMargin(), fa.bottomMargin());
        EXPECT_EQ(fb.lineHeightType(), fa.lineHeightType());
        EXPECT_DOUBLE_EQ(fb.lineHeight(), fa.lineHeight());
        EXPECT_EQ(fb.tabPositions(), fa.tabPositions());
        EXPECT_EQ(fb.pageBreakPolicy(), fa.pageBreakPolicy());
    }
    const std::vector<QTextFragment> fa = fragments(*original);
    const std::vector<QTextFragment> fb = fragments(reread);
    ASSERT_EQ(fb.size(), fa.size());
    for (size_t i = 0; i < fa.size(); ++i) {
        const QTextCharFormat a = fa[i].charFormat();
        const QTextCharFormat b = fb[i].charFormat();
        EXPECT_EQ(fb[i].text(), fa[i].text());
        EXPECT_EQ(family(b), family(a)) << fa[i].text().toStdString();
        EXPECT_EQ(b.fontPointSize(), a.fontPointSize());
        EXPECT_EQ(b.fontWeight(), a.fontWeight());
        EXPECT_EQ(b.fontItalic(), a.fontItalic());
        EXPECT_EQ(b.fontUnderline(), a.fontUnderline());
        EXPECT_EQ(b.fontStrikeOut(), a.fontStrikeOut());
        EXPECT_EQ(b.foreground(), a.foreground());
        EXPECT_EQ(b.background(), a.background());
        EXPECT_EQ(b.verticalAlignment(), a.verticalAlignment());
        EXPECT_EQ(b.property(TRtfPicture::kDataProperty), a.property(TRtfPicture::kDataProperty));
        EXPECT_EQ(b.isImageFormat(), a.isImageFormat());
        EXPECT_EQ(b.objectType(), a.objectType());
    }
}

TEST(TRtfWriter, WritesAsciiLinesEndingWithCrLf)
{
    const QByteArray rtf = TRtfWriter::write(*richLetter());
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n"));
    EXPECT_TRUE(rtf.endsWith("}\r\n"));
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(rtf[i]);
        ASSERT_TRUE((b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n') << "byte " << int(b) << " at " << i;
        if (b == '\n') {
            ASSERT_EQ(rtf[i - 1], '\r') << "at " << i;
        }
        if (b == '\r') {
            ASSERT_EQ(rtf[i + 1], '\n') << "at " << i;
        }
    }
    EXPECT_NE(rtf.indexOf("\\paperw11906\\paperh16838\\margl1134\\margr1000\\margt900\\margb850"), -1);
    EXPECT_NE(rtf.indexOf("{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}"
                          "{\\f2\\fnil\\fcharset0 Courier New;}}"),
              -1);
    EXPECT_NE(rtf.indexOf("{\\colortbl;\\red200\\green10\\blue20;\\red250\\green250\\blue0;}"), -1);
}

struct EscapeCase {
    const char16_t *text;
    const char *written;
};
class WriterEscapes : public ::testing::TestWithParam<EscapeCase>
{
};

TEST_P(WriterEscapes, WritesEveryCharacterSoThatRtfReadsItBack)
{
    const EscapeCase c = GetParam();
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText(QString::fromUtf16(c.text), font(QStringLiteral("Arial"), 12));
    const QByteArray rtf = TRtfWriter::write(doc);
    const QByteArray expected = QByteArray("\\fs24 ") + QByteArray(c.written) + QByteArray("}\\par");
    EXPECT_NE(rtf.indexOf(expected), -1) << rtf.toStdString();
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(rtf, reread).ok());
    EXPECT_EQ(reread.toRawText(), doc.toRawText());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriterEscapes,
    ::testing::Values(EscapeCase{u"plain text", "plain text"}, EscapeCase{u"a\\b{c}d", "a\\\\b\\{c\\}d"},
                      EscapeCase{u" lead", " lead"}, EscapeCase{u"café", "caf\\'e9"},
                      EscapeCase{u"€“”", "\\'80\\'93\\'94"}, EscapeCase{u"Ω", "\\u937?"},
                      EscapeCase{u"\uF0B7", "\\u-3913?"}, EscapeCase{u"\U0001F600", "\\u-10179?\\u-8704?"},
                      EscapeCase{u"a\tb", "a\\tab b"}, EscapeCase{u"a\u2028b", "a\\line b"},
                      EscapeCase{u"a\u00A0b\u00ADc\u2011d", "a\\~b\\-c\\_d"},
                      EscapeCase{u"\\par{\\b x}", "\\\\par\\{\\\\b x\\}"}));

TEST(TRtfWriter, PageBreaksAreWrittenBetweenTheParagraphs)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("one"));
    QTextBlockFormat breakBefore;
    breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(breakBefore);
    c.insertText(QStringLiteral("two"));
    QTextBlockFormat breakAfter;
    breakAfter.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    c.insertBlock(breakAfter);
    c.insertText(QStringLiteral("three"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("four"));
    const QByteArray rtf = TRtfWriter::write(doc);
    EXPECT_EQ(rtf.count("\\page"), 2);
    EXPECT_NE(rtf.indexOf("\\par\r\n\\page\\pard"), -1);
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(rtf, reread).ok());
    std::vector<bool> breaks;
    for (QTextBlock b = reread.begin(); b.isValid(); b = b.next())
        breaks.push_back(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(breaks, (std::vector<bool>{false, true, false, true}));
}

TEST(TRtfWriter, AnImageAUserInsertedIsWrittenAsPng)
{
    QTextDocument doc;
    QImage image(10, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("inserted.png")), image);
    QTextImageFormat f;
    f.setName(QStringLiteral("inserted.png"));
    f.setWidth(20);
    f.setHeight(8);
    QTextCursor(&doc).insertImage(f);
    const QByteArray rtf = TRtfWriter::write(doc);
    EXPECT_NE(rtf.indexOf("{\\pict\\pngblip\\picw10\\pich4\\picwgoal300\\pichgoal120\r\n89504e47"), -1)
        << rtf.toStdString();
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(rtf, reread).ok());
    const QTextImageFormat back = formatAt(reread, 0).toImageFormat();
    EXPECT_EQ(back.width(), 20.0);
    EXPECT_EQ(reread.resource(QTextDocument::ImageResource, QUrl(back.name())).value<QImage>().size(),
              QSize(10, 4));
}

TEST(TRtfWriter, AnEmptyDocumentIsOneEmptyParagraphOnTheNewLetterPage)
{
    QTextDocument doc;
    const QByteArray rtf = TRtfWriter::write(doc);
    EXPECT_NE(rtf.indexOf("\\paperw12240\\paperh15840\\margl1440\\margr1440\\margt1440\\margb1440"), -1);
    EXPECT_EQ(rtf.count("\\par\r\n"), 1);
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(rtf, reread).ok());
    EXPECT_EQ(reread.blockCount(), 1);
    EXPECT_TRUE(reread.toPlainText().isEmpty());
}

TEST(TRtfWriter, AFontNameWithControlCharactersOrBreaksWritesBackTheSame)
{
    for (const char *name : {"Odd\tName", "Odd\\line Name", "Odd\\'01Name", " Spaced ", "Semi\\u59?colon"}) {
        const std::string rtf = std::string("{\\rtf1{\\fonttbl{\\f0 ") + name + ";}}x}";
        const auto doc = read(rtf);
        const QByteArray first = TRtfWriter::write(*doc);
        QTextDocument again;
        ASSERT_TRUE(TRtfReader::read(first, again).ok());
        EXPECT_EQ(TRtfWriter::write(again).toStdString(), first.toStdString()) << name;
        EXPECT_FALSE(family(formatAt(again, 0)).contains(QLatin1Char('\t'))) << name;
    }
}

class WriterStable : public ::testing::TestWithParam<const char *>
{
};

TEST_P(WriterStable, WritesBackTheSameBytesForWhatItRead)
{
    const auto doc = read(GetParam());
    const QByteArray first = TRtfWriter::write(*doc);
    QTextDocument again;
    ASSERT_TRUE(TRtfReader::read(first, again).ok());
    EXPECT_EQ(TRtfWriter::write(again).toStdString(), first.toStdString()) << GetParam();
    EXPECT_EQ(first.indexOf(" }"), -1) << "an empty run was written";
}

INSTANTIATE_TEST_SUITE_P(Cases, WriterStable,
                         ::testing::Values("{\\rtf1 {\\b x}\x7f\\par}", "{\\rtf1 a{\\i \\'01}b\\par}",
                                           "{\\rtf1 a{\\i \\u65532?}b}", "{\\rtf1 a{\\b \\u8233?}b}",
                                           "{\\rtf1 a{\\b \\u64976?}b}",
                                           // Two font names that write as one.
                                           "{\\rtf{\\fonttbl{\\f Ari\x7f"
                                           "al}}l\\f-\\fonttbl{\\f0Arial}}a"));

TEST(TRtfWriter, NeighbouringTextWithTheSameWrittenSettingsIsOneRun)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat a;
    a.setFontFamilies({QStringLiteral("Arial")});
    QTextCharFormat b = a;
    b.setProperty(QTextFormat::UserProperty + 7, 1); // a setting RTF does not carry
    c.insertText(QStringLiteral("one "), a);
    c.insertText(QStringLiteral("two"), b);
    const QByteArray rtf = TRtfWriter::write(doc);
    EXPECT_EQ(rtf.count("{\\plain"), 1) << rtf.toStdString();
    EXPECT_NE(rtf.indexOf(" one two}"), -1);
}
