// The spelling engine with Debian's English dictionary and the user's word list, and the walk
// over a letter's words that leaves merge fields alone.
#include "TSpellChecker.h"
#include "TSpellWords.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

class SpellChecker : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dic = TSpellChecker::findMainDictionary();
        if (dic.isEmpty())
            GTEST_SKIP() << "no English Hunspell dictionary (hunspell-en-us)";
        ASSERT_TRUE(checker.openMain(dic));
    }
    QString dic;
    QTemporaryDir dir;
    TSpellChecker checker;
};

TEST_F(SpellChecker, KnowsWordsAndSuggestsAtMostTen)
{
    EXPECT_TRUE(checker.isCorrect(QStringLiteral("letter")));
    EXPECT_FALSE(checker.isCorrect(QStringLiteral("lettter")));
    const QStringList s = checker.suggestions(QStringLiteral("lettter"));
    EXPECT_TRUE(s.contains(QStringLiteral("letter")));
    EXPECT_LE(s.size(), TSpellChecker::kMaxSuggestions);
    EXPECT_LE(checker.suggestions(QStringLiteral("a")).size(), TSpellChecker::kMaxSuggestions);
}

TEST_F(SpellChecker, AddedWordsAreKeptInTheUserListAndIgnoredOnesOnlyForTheSession)
{
    const QString user = dir.filePath(QStringLiteral("corvanu.dct"));
    ASSERT_TRUE(checker.openUser(user));
    EXPECT_TRUE(QFile::exists(user)); // created empty
    EXPECT_TRUE(checker.addWord(QStringLiteral("Corvantis")));
    checker.ignoreAll(QStringLiteral("Zyxx"));
    EXPECT_TRUE(checker.isCorrect(QStringLiteral("Zyxx")));

    TSpellChecker again;
    ASSERT_TRUE(again.openMain(dic));
    ASSERT_TRUE(again.openUser(user));
    EXPECT_TRUE(again.isCorrect(QStringLiteral("Corvantis")));
    EXPECT_FALSE(again.isCorrect(QStringLiteral("Zyxx")));
    QFile file(user);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Corvantis\n"));
}

TEST_F(SpellChecker, AUserListThatCannotBeMadeOnlyStopsAdding)
{
    EXPECT_FALSE(checker.openUser(dir.filePath(QStringLiteral("missing/folder/corvanu.dct"))));
    EXPECT_FALSE(checker.addWord(QStringLiteral("Corvantis")));
    EXPECT_TRUE(checker.isCorrect(QStringLiteral("letter")));
}

TEST(SpellDictionary, NoneInstalledIsAnEmptyPath)
{
    QTemporaryDir empty;
    EXPECT_TRUE(TSpellChecker::findMainDictionary({empty.path()}).isEmpty());
    TSpellChecker checker;
    EXPECT_FALSE(checker.openMain(empty.filePath(QStringLiteral("en_US.dic"))));
}

TEST(SpellWords, MergeFieldsAndNumbersAreNoWords)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("Dear [First Name], it's 3rd\n[Name and Address] now [ open"));
    QStringList words;
    for (TSpellWord w = TSpellWords::next(doc, 0); w.isValid();
         w = TSpellWords::next(doc, w.position + w.length))
        words << w.text;
    EXPECT_EQ(words, (QStringList{QStringLiteral("Dear"), QStringLiteral("it's"), QStringLiteral("now"),
                                  QStringLiteral("open")}));
}

} // namespace
