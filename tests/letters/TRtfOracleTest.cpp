// The RTF we write, read by two independent readers (LibreOffice headless and unrtf), and RTF
// LibreOffice writes, read by ours. LibreOffice starts slowly, so every conversion is made
// once for the whole suite, in three calls: ours to text, ours to PDF, and its own RTF from
// ODF and text input (with ours through it and back).
#include "RtfTestSupport.h"

#include "TCp1252.h"
#include "TLetterMerge.h"
#include "TLetterPageLayout.h"
#include "TMergeRecordMap.h"
#include "TRtfPicture.h"
#include "TRtfWriter.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlockFormat>
#include <QTextCursor>

#include <cmath>
#include <functional>
#include <map>

using namespace rtftest;

namespace {

QString toolPath(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name));
}

// Runs a program to its end; its standard output, or a null array when it failed.
QByteArray run(const QString &program, const QStringList &arguments, const QString &workingFolder,
               int timeoutMs = 300000)
{
    QProcess p;
    p.setWorkingDirectory(workingFolder);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, arguments);
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return QByteArray();
    }
    QByteArray out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QByteArray();
    if (out.isNull())
        out = QByteArray("");
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QTextCharFormat font(const QString &family, double points)
{
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(points);
    return f;
}

// The text as another reader shows it: line breaks as new lines, no pictures.
QString expectedText(const QTextDocument &doc)
{
    QString text = doc.toPlainText();
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

QStringList words(QString text)
{
    text.replace(QChar::Nbsp, QLatin1Char(' '));
    QStringList list = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    // unrtf drops the rest of a word after a character written as \uN, so a word is compared
    // only up to its first character outside Windows-1252.
    for (QString &word : list) {
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word.at(i) != QLatin1Char('?') && TCp1252::fromChar(word.at(i).unicode()) == '?') {
                word.truncate(i + 1);
                break;
            }
        }
    }
    return list;
}

// LibreOffice's text export writes each blank of a run of blanks as U+2006 and a blank.
QString fromLibreOfficeText(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\u2006 "), QStringLiteral(" "));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

int breaksIn(const QTextDocument &doc)
{
    int breaks = 0;
    for (QTextBlock b = doc.begin().next(); b.isValid(); b = b.next())
        breaks += (b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore) ? 1 : 0;
    return breaks;
}

void newPage(QTextCursor &c, const QTextCharFormat &f)
{
    QTextBlockFormat b;
    b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    c.insertBlock(b, f);
}

// ---- our letters ----------------------------------------------------------------------------

std::unique_ptr<QTextDocument> threePageLetter()
{
    auto doc = std::make_unique<QTextDocument>();
    TLetterPageLayout().applyTo(*doc);
    QTextCursor c(doc.get());
    const QTextCharFormat body = font(QStringLiteral("Liberation Serif"), 12);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.setBlockFormat(centred);
    QTextCharFormat bold = font(QStringLiteral("Liberation Sans"), 16);
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("Corvantis Test Letter"), bold);
    c.insertBlock(QTextBlockFormat(), body);
    c.insertText(QStringLiteral("Dear [First], café costs 3 € in “quotes”; Ω and Ж; \\ { } and\ta tab."),
                 body);
    QTextCharFormat italic = body;
    italic.setFontItalic(true);
    c.insertBlock(QTextBlockFormat(), body);
    c.insertText(QStringLiteral("An italic line"), italic);
    c.insertText(QStringLiteral("\u2028and a second line."), body);
    newPage(c, body);
    c.insertText(QStringLiteral("Page two"), body);
    newPage(c, body);
    c.insertText(QStringLiteral("Page three"), body);
    return doc;
}

std::unique_ptr<QTextDocument> a4Letter()
{
    auto doc = std::make_unique<QTextDocument>();
    TLetterPageLayout page;
    page.paperWidth = 11906;
    page.paperHeight = 16838;
    page.marginLeft = 1134;
    page.marginRight = 1000;
    page.marginTop = 720;
    page.marginBottom = 850;
    page.applyTo(*doc);
    QTextCursor c(doc.get());
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    c.setBlockFormat(right);
    c.insertText(QStringLiteral("5 March 2026"), font(QStringLiteral("Liberation Sans"), 10));
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    justified.setLeftMargin(48);
    justified.setTopMargin(16);
    c.insertBlock(justified, font(QStringLiteral("Liberation Sans"), 10));
    c.insertText(
        QStringLiteral("A justified paragraph, indented half an inch, in a larger size than the date."),
        font(QStringLiteral("Liberation Sans"), 20));
    return doc;
}

std::unique_ptr<QTextDocument> landscapeWithPicture()
{
    auto doc = std::make_unique<QTextDocument>();
    TLetterPageLayout page;
    page.paperWidth = 15840;
    page.paperHeight = 12240;
    page.applyTo(*doc);
    QTextCursor c(doc.get());
    c.insertText(QStringLiteral("Letterhead "), font(QStringLiteral("Liberation Serif"), 12));
    TRtfPicture picture;
    picture.kind = TRtfPicture::Kind::Png;
    picture.data = pngBytes(60, 20);
    picture.picWidth = 60;
    picture.picHeight = 20;
    picture.goalWidth = 1440;
    picture.goalHeight = 480;
    picture.insert(c);
    c.insertText(QStringLiteral(" after the picture"), font(QStringLiteral("Liberation Serif"), 12));
    newPage(c, font(QStringLiteral("Liberation Serif"), 12));
    c.insertText(QStringLiteral("Second landscape page"), font(QStringLiteral("Liberation Serif"), 12));
    return doc;
}

// A template merged with a record whose values look like fields and RTF.
std::unique_ptr<QTextDocument> mergedLetter()
{
    QTextDocument templateDoc;
    EXPECT_TRUE(TRtfReader::read(bytes("{\\rtf1{\\fonttbl{\\f0 Liberation Serif;}}\\f0 "
                                       "[Name and Address]\\par Dear {\\b [First]}, from [City].\\par}"),
                                 templateDoc)
                    .ok());
    const TMergeRecordMap record = {{QStringLiteral("FNAME"), QStringLiteral("[City]}\\par{\\b x}")},
                                    {QStringLiteral("LNAME"), QStringLiteral("Lee")},
                                    {QStringLiteral("STREET"), QStringLiteral("1 Main St")},
                                    {QStringLiteral("CITY"), QStringLiteral("Salem")},
                                    {QStringLiteral("STATE"), QStringLiteral("OR")},
                                    {QStringLiteral("ZIP"), QStringLiteral("97301")}};
    auto doc = std::unique_ptr<QTextDocument>(templateDoc.clone());
    TLetterPageLayout::of(templateDoc).applyTo(*doc);
    TLetterMerge::ReplaceTokens(*doc, record,
                                {QDate(2026, 3, 5), QStringLiteral("M/d/yy"), QLocale(QLocale::English)});
    return doc;
}

const std::map<std::string, std::function<std::unique_ptr<QTextDocument>()>> &ourLetters()
{
    static const std::map<std::string, std::function<std::unique_ptr<QTextDocument>()>> letters = {
        {"threepages", threePageLetter},
        {"a4", a4Letter},
        {"landscape", landscapeWithPicture},
        {"merged", mergedLetter}};
    return letters;
}

// ---- input LibreOffice turns into RTF -------------------------------------------------------

const char *kOdfLetter = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:automatic-styles>
  <style:page-layout style:name="pm1"><style:page-layout-properties fo:page-width="8.5in" fo:page-height="11in"
   fo:margin-left="1in" fo:margin-right="0.75in" fo:margin-top="0.5in" fo:margin-bottom="1in"/></style:page-layout>
  <style:style style:name="Pc" style:family="paragraph"><style:paragraph-properties fo:text-align="center"/></style:style>
  <style:style style:name="Pr" style:family="paragraph"><style:paragraph-properties fo:text-align="end"/></style:style>
  <style:style style:name="Pj" style:family="paragraph"><style:paragraph-properties fo:text-align="justify"/></style:style>
  <style:style style:name="Pb" style:family="paragraph"><style:paragraph-properties fo:break-before="page"/></style:style>
  <style:style style:name="Tb" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
  <style:style style:name="Ti" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
  <style:style style:name="Tu" style:family="text"><style:text-properties style:text-underline-style="solid"
   style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
 </office:automatic-styles>
 <office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1"/></office:master-styles>
 <office:body><office:text>
  <text:p text:style-name="Pc"><text:span text:style-name="Tb">Bold heading</text:span></text:p>
  <text:p text:style-name="Pj">Some <text:span text:style-name="Ti">italic words</text:span> and café € “quotes” Ω.</text:p>
  <text:p text:style-name="Pr">Right <text:span text:style-name="Tu">underlined</text:span></text:p>
  <text:p text:style-name="Pb">Second page</text:p>
  <text:p>Tab<text:tab/>stop and a<text:line-break/>line break</text:p>
 </office:text></office:body>
</office:document>
)";

// ---- the conversions, once ------------------------------------------------------------------

class Conversions
{
public:
    static Conversions &get()
    {
        static Conversions instance;
        return instance;
    }

    bool haveSoffice() const { return !m_soffice.isEmpty(); }
    bool haveUnrtf() const { return !m_unrtf.isEmpty(); }
    QString path(const QString &relative) const { return m_dir + QLatin1Char('/') + relative; }
    const QTextDocument &ours(const std::string &name) const { return *m_docs.at(name); }

private:
    Conversions()
        : m_soffice(toolPath("soffice")), m_unrtf(toolPath("unrtf")),
          m_dir(QString::fromStdString(m_temp.path()))
    {
        for (const char *sub : {"ours", "txt", "pdf", "rtf", "in"})
            QDir(m_dir).mkpath(QLatin1String(sub));
        QStringList ours;
        for (const auto &letter : ourLetters()) {
            m_docs[letter.first] = letter.second();
            const QString file =
                path(QStringLiteral("ours/%1.rtf").arg(QString::fromStdString(letter.first)));
            writeFile(file, TRtfWriter::write(*m_docs[letter.first]));
            ours << file;
        }
        writeFile(path(QStringLiteral("in/odfletter.fodt")), QByteArray(kOdfLetter));
        writeFile(path(QStringLiteral("in/plaintext.txt")),
                  QByteArray("\xEF\xBB\xBF"
                             "First line\nSecond line caf\xC3\xA9 \xE2\x82\xAC\n\nFourth\n"));
        if (!haveSoffice())
            return;
        const QString profile =
            QStringLiteral("-env:UserInstallation=file://") + path(QStringLiteral("profile"));
        const QStringList common = {QStringLiteral("--headless"), QStringLiteral("--norestore"), profile};
        run(m_soffice,
            common +
                QStringList{QStringLiteral("--convert-to"), QStringLiteral("txt:Text (encoded):UTF8"),
                            QStringLiteral("--outdir"), path(QStringLiteral("txt"))} +
                ours,
            m_dir);
        run(m_soffice,
            common +
                QStringList{QStringLiteral("--convert-to"), QStringLiteral("pdf"), QStringLiteral("--outdir"),
                            path(QStringLiteral("pdf"))} +
                ours,
            m_dir);
        run(m_soffice,
            common + QStringList{QStringLiteral("--convert-to"), QStringLiteral("rtf"),
                                 QStringLiteral("--outdir"), path(QStringLiteral("rtf")),
                                 path(QStringLiteral("in/odfletter.fodt")),
                                 path(QStringLiteral("in/plaintext.txt")),
                                 path(QStringLiteral("ours/threepages.rtf"))},
            m_dir);
    }

    TempDir m_temp;
    QString m_soffice;
    QString m_unrtf;
    QString m_dir;
    std::map<std::string, std::unique_ptr<QTextDocument>> m_docs;
};

#define REQUIRE_SOFFICE()                                                                                    \
    if (!Conversions::get().haveSoffice())                                                                   \
    GTEST_SKIP() << "LibreOffice (soffice) is not installed"

// pdfinfo's page count and the size of each page in points.
struct PdfPages {
    int count = 0;
    std::vector<std::pair<double, double>> sizes;
};

PdfPages pdfPages(const QString &pdf)
{
    PdfPages pages;
    const QString pdfinfo = toolPath("pdfinfo");
    if (pdfinfo.isEmpty())
        return pages;
    const QString summary = QString::fromUtf8(run(pdfinfo, {pdf}, QDir::tempPath()));
    const QRegularExpressionMatch count =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(summary);
    if (!count.hasMatch())
        return pages;
    pages.count = count.captured(1).toInt();
    const QString each = QString::fromUtf8(run(
        pdfinfo,
        {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QString::number(pages.count), pdf},
        QDir::tempPath()));
    QRegularExpression size(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    for (auto it = size.globalMatch(each); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pages.sizes.emplace_back(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return pages;
}

} // namespace

class OursReadElsewhere : public ::testing::TestWithParam<std::string>
{
};

TEST_P(OursReadElsewhere, LibreOfficeShowsOurText)
{
    REQUIRE_SOFFICE();
    const Conversions &c = Conversions::get();
    const QString name = QString::fromStdString(GetParam());
    const QString text = fromLibreOfficeText(readFile(c.path(QStringLiteral("txt/%1.txt").arg(name))));
    ASSERT_FALSE(text.isEmpty()) << "LibreOffice made no text of " << GetParam();
    EXPECT_EQ(text.toStdString(), expectedText(c.ours(GetParam())).toStdString());
}

TEST_P(OursReadElsewhere, LibreOfficeLaysItOutOnOurPaperWithOurPageBreaks)
{
    REQUIRE_SOFFICE();
    if (toolPath("pdfinfo").isEmpty())
        GTEST_SKIP() << "pdfinfo is not installed";
    const Conversions &c = Conversions::get();
    const QTextDocument &doc = c.ours(GetParam());
    const PdfPages pages =
        pdfPages(c.path(QStringLiteral("pdf/%1.pdf").arg(QString::fromStdString(GetParam()))));
    // Every letter here is short enough that only its page breaks start pages.
    EXPECT_EQ(pages.count, breaksIn(doc) + 1);
    ASSERT_EQ(static_cast<int>(pages.sizes.size()), pages.count);
    const TLetterPageLayout page = TLetterPageLayout::of(doc);
    for (const auto &size : pages.sizes) {
        EXPECT_NEAR(size.first, page.paperWidth / 20.0, 0.5);
        EXPECT_NEAR(size.second, page.paperHeight / 20.0, 0.5);
    }
}

TEST_P(OursReadElsewhere, UnrtfShowsOurWordsAndPageBreaks)
{
    const Conversions &c = Conversions::get();
    if (!c.haveUnrtf())
        GTEST_SKIP() << "unrtf is not installed";
    const QString file = c.path(QStringLiteral("ours/%1.rtf").arg(QString::fromStdString(GetParam())));
    const QByteArray html = run(
        toolPath("unrtf"), {QStringLiteral("--nopict"), QStringLiteral("--html"), file}, c.path(QString()));
    ASSERT_FALSE(html.isEmpty());
    QTextDocument shown;
    shown.setHtml(QString::fromUtf8(html));
    EXPECT_EQ(words(shown.toPlainText()), words(expectedText(c.ours(GetParam()))));
    EXPECT_EQ(html.count("<hr>"), breaksIn(c.ours(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Letters, OursReadElsewhere,
                         ::testing::Values("threepages", "a4", "landscape", "merged"));

TEST(TRtfOracle, TheMergedRecordTextStaysTextForOtherReaders)
{
    REQUIRE_SOFFICE();
    const QString text =
        fromLibreOfficeText(readFile(Conversions::get().path(QStringLiteral("txt/merged.txt"))));
    EXPECT_TRUE(text.contains(QStringLiteral("Dear [City]}\\par{\\b x}, from Salem.")));
    EXPECT_TRUE(text.contains(QStringLiteral("Salem OR  97301")));
}

TEST(TRtfOracle, ALetterLibreOfficeWroteIsReadWithItsFormatsAlignmentAndPageBreaks)
{
    REQUIRE_SOFFICE();
    QTextDocument doc;
    const QByteArray rtf = readFile(Conversions::get().path(QStringLiteral("rtf/odfletter.rtf")));
    ASSERT_FALSE(rtf.isEmpty());
    ASSERT_TRUE(TRtfReader::read(rtf, doc).ok());
    EXPECT_EQ(paragraphs(doc), (std::vector<std::string>{
                                   "Bold heading", "Some italic words and café € “quotes” Ω.",
                                   "Right underlined", "Second page", "Tab\tstop and a\u2028line break"}));
    std::vector<Qt::Alignment> alignments;
    std::vector<bool> breaks;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        alignments.push_back(b.blockFormat().alignment());
        breaks.push_back(b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    }
    EXPECT_EQ(alignments, (std::vector<Qt::Alignment>{Qt::AlignHCenter, Qt::AlignJustify, Qt::AlignRight,
                                                      Qt::AlignLeft, Qt::AlignLeft}));
    EXPECT_EQ(breaks, (std::vector<bool>{false, false, false, true, false}));
    const QString text = doc.toPlainText();
    const auto at = [&](const char *word) {
        return formatAt(doc, static_cast<int>(text.indexOf(QString::fromUtf8(word))));
    };
    EXPECT_EQ(at("Bold").fontWeight(), QFont::Bold);
    EXPECT_EQ(at("Some").fontWeight(), QFont::Normal);
    EXPECT_TRUE(at("italic").fontItalic());
    EXPECT_FALSE(at("Some").fontItalic());
    EXPECT_TRUE(at("underlined").fontUnderline());
    EXPECT_FALSE(at("Right").fontUnderline());
    const TLetterPageLayout page = TLetterPageLayout::of(doc);
    EXPECT_EQ(page.paperWidth, 12240);
    EXPECT_EQ(page.paperHeight, 15840);
    EXPECT_EQ(page.marginLeft, 1440);
    EXPECT_EQ(page.marginRight, 1080);
    EXPECT_EQ(page.marginTop, 720);
    EXPECT_EQ(page.marginBottom, 1440);
}

TEST(TRtfOracle, PlainTextLibreOfficeTurnedIntoRtfIsReadLineByLine)
{
    REQUIRE_SOFFICE();
    QTextDocument doc;
    ASSERT_TRUE(
        TRtfReader::read(readFile(Conversions::get().path(QStringLiteral("rtf/plaintext.rtf"))), doc).ok());
    EXPECT_EQ(paragraphs(doc), (std::vector<std::string>{"First line", "Second line café €", "", "Fourth"}));
}

TEST(TRtfOracle, OurLetterThroughLibreOfficeComesBackWithItsTextPageAndBreaks)
{
    REQUIRE_SOFFICE();
    const Conversions &c = Conversions::get();
    QTextDocument back;
    ASSERT_TRUE(TRtfReader::read(readFile(c.path(QStringLiteral("rtf/threepages.rtf"))), back).ok());
    const QTextDocument &ours = c.ours("threepages");
    EXPECT_EQ(back.toPlainText().toStdString(), ours.toPlainText().toStdString());
    EXPECT_EQ(breaksIn(back), breaksIn(ours));
    EXPECT_EQ(TLetterPageLayout::of(back), TLetterPageLayout::of(ours));
    EXPECT_EQ(formatAt(back, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(back.begin().blockFormat().alignment(), Qt::AlignHCenter);
}
