// "Bulk Mail Presorting" driven offscreen: the sort as the window opens, writing PRESORT.PSL
// and closing with result 1; Cancel answered Yes or No; a file that cannot be written.
#include "TSortBulkMail.h"

#include "SmallAddressFile.h"
#include "TMessages.h"
#include "TPresortFile.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Answers every box with `answer`, keeping its caption and text.
struct Boxes {
    QStringList texts;
    QStringList captions;
    explicit Boxes(QMessageBox::StandardButton answer)
    {
        TMessages::setAnswerer([this, answer](const TMessageRequest &r) {
            texts << r.text;
            captions << r.caption;
            return (r.buttons & QMessageBox::Yes) ? answer : QMessageBox::Ok;
        });
    }
    ~Boxes() { TMessages::setAnswerer({}); }
};

class SortBulkMail : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 1; i <= 600; ++i)
            records.push_back({{"LNAME", QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'))},
                               {"ZIP", i % 2 ? QStringLiteral("10001")
                                             : QStringLiteral("9%1").arg(i % 40, 4, 10, QLatin1Char('0'))}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setQuery(QStringLiteral("!ISDEL")).ok);
    }

    // Clicks Cancel once the sort is under way.
    void cancelDuringSort(TSortBulkMail &window)
    {
        auto *timer = new QTimer(&window);
        QObject::connect(timer, &QTimer::timeout, [timer, &window] {
            if (!window.isSorting())
                return;
            timer->stop();
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
        });
        timer->start(0);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString psl = folder + QStringLiteral("/PRESORT.PSL");
    std::unique_ptr<TAddressSession> session;
};

TEST_F(SortBulkMail, SortsAsItOpensWritesTheFileAndClosesDone)
{
    Boxes boxes(QMessageBox::Yes);
    TSortBulkMail window(*session, psl, 301);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Bulk Mail Presorting"));
    EXPECT_FALSE(window.DoneCheck->isVisible());
    QStringList shown;
    auto *watch = new QTimer(&window);
    QObject::connect(watch, &QTimer::timeout, [&] {
        if (shown.isEmpty() || shown.back() != window.Label1->text())
            shown << window.Label1->text();
    });
    watch->start(0);
    EXPECT_EQ(window.exec(), 1);
    EXPECT_TRUE(window.DoneCheck->isChecked());
    EXPECT_TRUE(boxes.texts.isEmpty());
    EXPECT_TRUE(shown.contains(QStringLiteral("Reading database records...")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Reading record 400")));
    // From record 301 on: 150 in 10001, 150 spread over 20 ZIPs of 90000..90038.
    EXPECT_EQ(window.tally().read(), 300);
    EXPECT_EQ(window.tally().countOf(10001), 150);
    EXPECT_FALSE(window.tally().range().contains(300));
    QStringList lines;
    ASSERT_TRUE(TPresortFile::load(psl, lines).ok);
    EXPECT_EQ(lines, window.tally().presortLines());
    EXPECT_EQ(lines.mid(0, 2), (QStringList{"** 5-digit 10001", "10001"}));
}

TEST_F(SortBulkMail, CancelAnsweredYesWritesNothing)
{
    Boxes boxes(QMessageBox::Yes);
    TSortBulkMail window(*session, psl);
    cancelDuringSort(window);
    EXPECT_EQ(window.exec(), 2);
    EXPECT_EQ(boxes.captions, QStringList{"CANCEL"});
    EXPECT_EQ(boxes.texts, QStringList{"Cancel PRESORT?"});
    EXPECT_FALSE(window.DoneCheck->isChecked());
    EXPECT_FALSE(window.tally().isComplete());
    EXPECT_FALSE(QFile::exists(psl));
}

TEST_F(SortBulkMail, CancelAnsweredNoGoesOn)
{
    Boxes boxes(QMessageBox::No);
    TSortBulkMail window(*session, psl);
    cancelDuringSort(window);
    EXPECT_EQ(window.exec(), 1);
    EXPECT_EQ(boxes.texts, QStringList{"Cancel PRESORT?"});
    EXPECT_TRUE(window.DoneCheck->isChecked());
    EXPECT_EQ(window.tally().read(), 600);
    EXPECT_TRUE(QFile::exists(psl));
}

TEST_F(SortBulkMail, AFileThatCannotBeWrittenIsReportedAndNotDone)
{
    Boxes boxes(QMessageBox::Yes);
    TSortBulkMail window(*session, folder + QStringLiteral("/missing/PRESORT.PSL"));
    EXPECT_EQ(window.exec(), 2);
    ASSERT_EQ(boxes.captions, QStringList{"Information"});
    EXPECT_TRUE(boxes.texts.front().contains(QStringLiteral("missing/PRESORT.PSL")))
        << qPrintable(boxes.texts.front());
    EXPECT_FALSE(window.DoneCheck->isChecked());
}

} // namespace
