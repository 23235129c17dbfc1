// LETTER.DBF's letters: created when missing, appended, modified, deleted and cloned, with the
// memo storing rule; the stored memo read back by python3-dbf.
#include "TLetterTemplates.h"

#include "LetterPrintSupport.h"
#include "QtPrinters.h"
#include "TRtfWriter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTextCursor>
#include <QTextDocument>

namespace {

class LetterTemplates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = QString::fromStdString(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("sysdata")));
        const TResult opened = letters.open(folder);
        ASSERT_TRUE(opened.ok) << opened.message.toStdString();
    }
    static QStringList descriptions(const TLetterTemplates &t)
    {
        QStringList out;
        for (const TLetterRow &row : t.rows())
            out << row.description;
        return out;
    }

    TempDir dir;
    QString folder;
    TLetterTemplates letters;
};

TEST_F(LetterTemplates, AppendModifyDeleteAndCloneKeepTheListInRecordOrder)
{
    EXPECT_TRUE(letters.isEmpty());
    const auto doc = lettertest::letter({QStringLiteral("Dear [First],")});
    quint32 first = 0;
    ASSERT_TRUE(letters.append(QStringLiteral("Welcome"), *doc, &first).ok);
    ASSERT_TRUE(letters.append(QStringLiteral("Reminder"), *doc).ok);
    ASSERT_TRUE(
        letters.modify(first, QStringLiteral("Welcome back"), *lettertest::letter({QStringLiteral("Hi")}))
            .ok);
    ASSERT_TRUE(letters.clone(first).ok);
    EXPECT_EQ(descriptions(letters), QStringList({QStringLiteral("Welcome back"), QStringLiteral("Reminder"),
                                                  QStringLiteral("Clone of Welcome back")}));
    QTextDocument clone;
    ASSERT_TRUE(letters.loadDocument(letters.rows().at(2).recno, clone).ok);
    EXPECT_EQ(clone.toPlainText(), QStringLiteral("Hi"));

    ASSERT_TRUE(letters.remove(letters.rows().at(1).recno).ok);
    EXPECT_EQ(descriptions(letters),
              QStringList({QStringLiteral("Welcome back"), QStringLiteral("Clone of Welcome back")}));
    EXPECT_EQ(letters.find(QStringLiteral("clone of welcome BACK")), 1);
    EXPECT_EQ(letters.find(QStringLiteral("Reminder")), -1);

    // The table is read again from the file with the same rows.
    letters.close();
    TLetterTemplates again;
    ASSERT_TRUE(again.open(folder).ok);
    EXPECT_EQ(descriptions(again),
              QStringList({QStringLiteral("Welcome back"), QStringLiteral("Clone of Welcome back")}));
}

TEST_F(LetterTemplates, ACloneOfAFiftyCharacterDescriptionKeepsTheFirstFiftyCharacters)
{
    const QString fifty(50, QLatin1Char('x'));
    const auto doc = lettertest::letter({QStringLiteral("text")});
    ASSERT_TRUE(letters.append(fifty, *doc).ok);
    ASSERT_TRUE(letters.clone(letters.rows().at(0).recno).ok);
    EXPECT_EQ(letters.rows().at(1).description, QStringLiteral("Clone of ") + QString(41, QLatin1Char('x')));
    EXPECT_EQ(TLetterTemplates::cloneQuestion(QStringLiteral("Welcome")),
              QStringLiteral("Clone \"Welcome\"?"));
    EXPECT_EQ(TLetterTemplates::deleteQuestion(QStringLiteral("Welcome")),
              QStringLiteral("Delete \"Welcome\"?"));
}

// A text whose stored length would be 4,096 characters is stored with 4,097; python3-dbf reads
// the memo with its CR LF lines.
TEST_F(LetterTemplates, TheStoredRtfFollowsTheStoringRuleAsAnotherReaderSeesIt)
{
    // Grow the text until the memo text the writer gives is 4,096 long.
    QTextDocument doc;
    QString memo;
    for (int n = 1; n < 5000; ++n) {
        doc.setPlainText(QString(n, QLatin1Char('a')));
        const QString written = QString::fromLatin1(TRtfWriter::write(doc));
        if (written.size() == 4096) {
            memo = written;
            break;
        }
    }
    ASSERT_EQ(memo.size(), 4096);
    ASSERT_TRUE(letters.append(QStringLiteral("Long"), doc).ok);
    QString stored;
    ASSERT_TRUE(letters.rtfText(letters.rows().at(0).recno, stored).ok);
    EXPECT_EQ(stored.size(), 4097);
    letters.close();

    if (!lettertest::tool("python3").size() ||
        QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import dbf")}) != 0)
        GTEST_SKIP() << "python3-dbf is not installed for /usr/bin/python3";
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/xbase/interop/read_with_python_dbf.py"),
                  folder + QStringLiteral("sysdata/LETTER.DBF")});
    ASSERT_TRUE(python.waitForFinished(60000));
    const QStringList fields =
        QString::fromLatin1(python.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
    ASSERT_EQ(fields.size(), 4) << fields.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(QByteArray::fromHex(fields.at(2).toLatin1()), QByteArray("Long"));
    const QByteArray rtf = QByteArray::fromHex(fields.at(3).toLatin1());
    EXPECT_EQ(rtf.size(), 4097);
    EXPECT_TRUE(rtf.contains("\r\n"));
    EXPECT_EQ(rtf.count('\n'), rtf.count("\r\n"));
}

} // namespace
