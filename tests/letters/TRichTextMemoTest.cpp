#include "RtfTestSupport.h"

#include "TLetterPageLayout.h"
#include "TRichTextMemo.h"
#include "TRtfWriter.h"
#include "TText.h"

#include <QDir>
#include <QFile>
#include <QTextCursor>

#include <unistd.h>

using namespace rtftest;

namespace {

// A one-paragraph document whose stored text, before the storing rule, is `length` characters.
std::unique_ptr<QTextDocument> documentWithRtfLength(qsizetype length)
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCharFormat f;
    f.setFontFamilies({QStringLiteral("Arial")});
    f.setFontPointSize(10);
    QTextCursor(doc.get()).insertText(QStringLiteral("x"), f);
    const qsizetype base = TRtfWriter::write(*doc).size() - 1;
    doc->clear();
    QTextCursor(doc.get()).insertText(QString(length - base, QLatin1Char('x')), f);
    return doc;
}

} // namespace

TEST(TRichTextMemo, TheStoredTextIsTheRtfInCrLfLines)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("Dear [First],"));
    const QString memo = TRichTextMemo::SaveRichText(doc);
    EXPECT_TRUE(memo.startsWith(QStringLiteral("{\\rtf1")));
    EXPECT_TRUE(memo.endsWith(QStringLiteral("}\r\n")) || memo.endsWith(QStringLiteral("} \r\n")));
    EXPECT_EQ(memo.count(QLatin1Char('\n')), memo.count(QStringLiteral("\r\n")));
    EXPECT_NE(TText::memoLength(memo) % 4, 0);
}

struct StoringCase {
    qsizetype rtfLength;
    qsizetype storedLength;
};
class MemoStoringRule : public ::testing::TestWithParam<StoringCase>
{
};

TEST_P(MemoStoringRule, ALengthThatIsAMultipleOfFourGetsABlankOnItsLastLine)
{
    const StoringCase c = GetParam();
    const auto doc = documentWithRtfLength(c.rtfLength);
    const QString memo = TRichTextMemo::SaveRichText(*doc);
    EXPECT_EQ(memo.size(), c.storedLength);
    EXPECT_EQ(TText::memoLength(memo), c.storedLength);
    if (c.storedLength != c.rtfLength)
        EXPECT_TRUE(memo.endsWith(QStringLiteral("} \r\n")));
    else
        EXPECT_TRUE(memo.endsWith(QStringLiteral("}\r\n")));
    // Reading takes the memo as it is, the blank included.
    QTextDocument back;
    ASSERT_TRUE(TRichTextMemo::LoadRichText(memo, back).ok());
    EXPECT_EQ(back.toPlainText(), doc->toPlainText());
}

INSTANTIATE_TEST_SUITE_P(Cases, MemoStoringRule,
                         ::testing::Values(StoringCase{4096, 4097}, StoringCase{4097, 4097},
                                           StoringCase{4098, 4098}, StoringCase{4099, 4099},
                                           StoringCase{4100, 4101}, StoringCase{400, 401}));

TEST(TRichTextMemo, ATemplateComesBackWithItsTextFormatsAndPage)
{
    const auto doc = read("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\paperw11906\\paperh16838\\margl720"
                          "\\pard\\qc{\\b caf\\'e9 [First]}\\par\\page\\pard right\\par}");
    const QString memo = TRichTextMemo::SaveRichText(*doc);
    QTextDocument back;
    ASSERT_TRUE(TRichTextMemo::LoadRichText(memo, back).ok());
    EXPECT_EQ(back.toPlainText(), QStringLiteral("café [First]\nright"));
    EXPECT_EQ(TLetterPageLayout::of(back), TLetterPageLayout::of(*doc));
    EXPECT_EQ(formatAt(back, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(back.begin().blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_TRUE(back.begin().next().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(TRichTextMemo::SaveRichText(back), memo);
}

TEST(TRichTextMemo, AMemoWithWindows1252BytesAsTheyAreIsRead)
{
    // The memo text arrives decoded from Windows-1252; RTF may hold such bytes unescaped.
    QTextDocument doc;
    ASSERT_TRUE(TRichTextMemo::LoadRichText(QStringLiteral("{\\rtf1\\ansi caf\u00e9 \u20ac}"), doc).ok());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("café €"));
}

TEST(TRichTextMemo, AnEmptyMemoIsANewLetter)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old"));
    TLetterPageLayout odd;
    odd.paperWidth = 5000;
    odd.applyTo(doc);
    ASSERT_TRUE(TRichTextMemo::LoadRichText(QStringLiteral(" \r\n"), doc).ok());
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(TLetterPageLayout::of(doc), TLetterPageLayout());
}

TEST(TRichTextMemo, ADamagedMemoIsRefusedAndTheDocumentKept)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("kept"));
    const xbase::Status status = TRichTextMemo::LoadRichText(QStringLiteral("{\\rtf1 cut off"), doc);
    EXPECT_EQ(status.code(), xbase::StatusCode::Corruption);
    EXPECT_FALSE(status.message().empty());
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("kept"));
}

TEST(TRichTextMemo, TheTextNeverPassesThroughAFileInTheWorkingFolder)
{
    // A user's own "eraseme.rtf" in a folder the program may not write to.
    const QString folder = QDir::temp().filePath(QStringLiteral("corvantis-memo-%1").arg(getpid()));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString users = folder + QStringLiteral("/eraseme.rtf");
    {
        QFile f(users);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's own file");
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));

    QTextDocument doc;
    QTextCursor(&doc).insertText(QStringLiteral("Dear [First],"));
    const QString memo = TRichTextMemo::SaveRichText(doc);
    QTextDocument back;
    const bool loaded = TRichTextMemo::LoadRichText(memo, back).ok();

    QDir::setCurrent(previous);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile f(users);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("the user's own file"));
    f.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("eraseme.rtf")});
    QDir(folder).removeRecursively();
    EXPECT_TRUE(loaded);
    EXPECT_EQ(back.toPlainText(), QStringLiteral("Dear [First],"));
}
