// Replace All over a letter, and the default font of new letters.
#include "TLetterFind.h"
#include "TIniFile.h"
#include "TLetterDefaultFont.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

TEST(LetterFind, ReplaceAllNeverSearchesWhatItPutIn)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("a cat and a cat"));
    EXPECT_EQ(TLetterFind::replaceAll(doc, QStringLiteral("cat"), QStringLiteral("cats cat")), 2);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("a cats cat and a cats cat"));
    EXPECT_EQ(TLetterFind::replaceAll(doc, QString(), QStringLiteral("x")), 0);
}

TEST(LetterFind, ReplaceAllKeepsTheFormatOfWhatItReplaces)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(QStringLiteral("plain "));
    c.insertText(QStringLiteral("teh"), bold);
    ASSERT_EQ(TLetterFind::replaceAll(doc, QStringLiteral("teh"), QStringLiteral("the"),
                                      QTextDocument::FindWholeWords),
              1);
    QTextCursor at(&doc);
    at.setPosition(8);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("plain the"));
}

TEST(LetterDefaultFont, CaptionDefaultsAndSettingsRoundTrip)
{
    QTemporaryDir dir;
    TIniFile ini(dir.filePath(QStringLiteral("CORVAN.ini")));
    TLetterDefaultFont font = TLetterDefaultFont::read(ini);
    EXPECT_EQ(font.caption(), QStringLiteral("&Default Font: Arial, 10 pt "));
    font = {QStringLiteral("Liberation Serif"), 14, true, true};
    ASSERT_TRUE(font.write(ini));
    const TLetterDefaultFont back = TLetterDefaultFont::read(ini);
    EXPECT_EQ(back.name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(back.pointSize, 14);
    EXPECT_TRUE(back.bold && back.italic);
    EXPECT_EQ(back.caption(), QStringLiteral("&Default Font: Liberation Serif, 14 pt , bold, italic"));
}

TEST(LetterDefaultFont, BoldAlreadyOnStaysOn)
{
    QTextCharFormat current;
    current.setFontWeight(QFont::Bold);
    const QTextCharFormat f =
        TLetterDefaultFont{QStringLiteral("Arial"), 12, false, false}.appliedTo(current);
    EXPECT_EQ(f.fontWeight(), QFont::Bold);
    EXPECT_EQ(f.fontPointSize(), 12);
    EXPECT_FALSE(f.fontItalic());
}

} // namespace
