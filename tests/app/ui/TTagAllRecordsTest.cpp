// The "Tagging" window offscreen over a fixture copy: a whole pass, "Cancel" answered Yes part
// way and No, Escape, a failing record, and "&Tag All Filter Matches" from the question to
// "Ok" through the window hooks.
#include "TTagAllRecords.h"

#include "EditingFixture.h"
#include "TAddressTagTarget.h"
#include "TMessages.h"
#include "TTagCommands.h"
#include "TagTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("V1AAAA"); // on no record of the fixture

class TagAllRecords : public ::testing::Test
{
protected:
    void SetUp() override
    {
        file.table.setGlobalTagId(kId);
        EXPECT_TRUE(file.setFilter(QStringLiteral("UPPER(STATE)=\"CA\"")));
        matches = fixture::visibleInOrder(file.table);
        file.table.last();
        previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            asked << r.caption + QStringLiteral(": ") + r.text;
            return answers.isEmpty() ? QMessageBox::Yes : answers.takeFirst();
        });
    }
    void TearDown() override { TMessages::setAnswerer(previous); }

    // Shows the window and waits for the end of its pass.
    void runToEnd(TTagAllRecords &window)
    {
        QSignalSpy ended(&window, &TTagAllRecords::passEnded);
        window.show();
        ASSERT_TRUE(ended.wait(20000));
    }
    int taggedMatches()
    {
        int n = 0;
        for (quint32 r : matches)
            n += tagtest::storedTag(file.table, r) == kId;
        return n;
    }

    TEditingFile file;
    TAddressTagTarget target{file.table};
    QList<quint32> matches;
    QStringList asked;
    QList<QMessageBox::StandardButton> answers;
    TMessages::Answerer previous;
};

TEST_F(TagAllRecords, TagsEveryMatchShowingTheCountThenCompleteAndOk)
{
    TTagAllRecords window(target);
    window.setStepLimits(10, 0);
    QStringList during;
    QObject::connect(&window, &TTagAllRecords::progressed, [&](int n) {
        if (n > 0 && during.isEmpty())
            during << window.TitleLabel->text() << window.CounterLabel->text()
                   << QString::number(window.CancelButton->isVisible())
                   << QString::number(window.OkButton->isVisible()) << QString::number(file.table.isFrozen());
        // The counter follows every step.
        EXPECT_EQ(window.CounterLabel->text(), QString::number(n) + QStringLiteral(" tagged"));
    });
    runToEnd(window);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tagging"));
    ASSERT_EQ(during.size(), 5);
    EXPECT_EQ(during[0], QStringLiteral("Tagging Records"));
    EXPECT_TRUE(during[1].endsWith(QStringLiteral(" tagged")));
    EXPECT_EQ(during.mid(2), (QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1")}));
    EXPECT_EQ(window.TitleLabel->text(), QStringLiteral("Complete"));
    EXPECT_TRUE(window.CounterLabel->text().isEmpty());
    EXPECT_FALSE(window.CancelButton->isVisible());
    EXPECT_TRUE(window.OkButton->isVisible());
    EXPECT_EQ(window.pass().taggedCount(), matches.size());
    EXPECT_FALSE(file.table.isFrozen());
    EXPECT_EQ(file.table.recno(), matches.first());
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(taggedMatches(), matches.size());

    QTest::mouseClick(window.OkButton, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(TagAllRecords, CancelAnsweredYesPartWayLeavesThePassedRecordsTagged)
{
    TTagAllRecords window(target);
    window.setStepLimits(10, 0);
    QObject::connect(&window, &TTagAllRecords::progressed, [&](int n) {
        if (n == 20 && asked.isEmpty())
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    });
    runToEnd(window);
    EXPECT_EQ(asked, QStringList{QStringLiteral("CANCEL: Cancel Tagging?")});
    EXPECT_EQ(window.TitleLabel->text(), QStringLiteral("Cancelled before completion"));
    EXPECT_TRUE(window.OkButton->isVisible());
    EXPECT_EQ(window.pass().taggedCount(), 20);
    for (int i = 0; i < matches.size(); ++i)
        EXPECT_EQ(tagtest::storedTag(file.table, matches[i]) == kId, i < 20) << i;
    EXPECT_FALSE(file.table.isFrozen());
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(TagAllRecords, CancelOrEscapeAnsweredNoGoesOnToTheEnd)
{
    TTagAllRecords window(target);
    window.setStepLimits(5, 0);
    answers = {QMessageBox::No, QMessageBox::No};
    QObject::connect(&window, &TTagAllRecords::progressed, [&](int n) {
        if (n == 5)
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
        if (n == 10)
            QTest::keyClick(&window, Qt::Key_Escape);
    });
    runToEnd(window);
    EXPECT_EQ(asked.size(), 2);
    EXPECT_EQ(window.TitleLabel->text(), QStringLiteral("Complete"));
    EXPECT_EQ(taggedMatches(), matches.size());
}

TEST_F(TagAllRecords, AFailingRecordShowsWhyAndEndsTheRun)
{
    tagtest::FailingTarget failing(30, 12);
    TTagAllRecords window(failing);
    runToEnd(window);
    EXPECT_EQ(asked, QStringList{QStringLiteral("Information: Disk full")});
    EXPECT_EQ(window.pass().taggedCount(), 11);
    EXPECT_EQ(window.TitleLabel->text(), QStringLiteral("Cancelled before completion"));
    EXPECT_EQ(failing.frozen, 0);
}

TEST_F(TagAllRecords, TagAllFilterMatchesRunsTheWindowFromTheQuestionToOk)
{
    QWidget main;
    TTagCommands commands(file.table, QString::fromStdString(file.dir.file("CORVAN.ini")));
    QStringList live;
    commands.hooks().setLive = [&](bool on) { live << QString::number(on); };
    TTagAllRecords::addWindowHooks(commands.hooks(), &main);
    // "Ok" is pressed once the modal window has ended its pass.
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        auto *w = qobject_cast<TTagAllRecords *>(QApplication::activeModalWidget());
        if (w && w->hasEnded())
            QTest::mouseClick(w->OkButton, Qt::LeftButton);
    });
    presser.start(5);
    EXPECT_TRUE(commands.TagAllFilterMatches());
    presser.stop();
    EXPECT_EQ(asked, QStringList{QStringLiteral("TAG ALL: Tag all records matching filter?")});
    EXPECT_EQ(live, (QStringList{QStringLiteral("0"), QStringLiteral("1")}));
    EXPECT_FALSE(file.table.isFrozen());
    EXPECT_EQ(file.table.recno(), matches.first());
    EXPECT_EQ(taggedMatches(), matches.size());
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

} // namespace
