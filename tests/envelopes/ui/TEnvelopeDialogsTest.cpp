// "Envelope Size", "Paper Feed Method" and "Envelope Print" driven offscreen: the entry a code
// selects, the buttons that set the feed, the warning of a page that differs from the envelope.
#include "TChooseEnvelopeLayout.h"
#include "TEnvelopeFeed.h"
#include "TEnvelopePrePrint.h"

#include "QtPrinters.h"
#include "TEnvelopeRun.h"
#include "TEnvelopeSizes.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

TEST(EnvelopeSize, TheCodeSelectsItsEntryAndOkGivesTheChosenOne)
{
    TChooseEnvelopeLayout unknown(99);
    EXPECT_EQ(unknown.windowTitle(), QStringLiteral("Envelope Size"));
    EXPECT_EQ(unknown.EnvelopeList->currentRow(), 0);
    TChooseEnvelopeLayout chooser(20);
    EXPECT_EQ(chooser.EnvelopeList->currentItem()->text(),
              QStringLiteral("Envelope #10 4 1/8 x 9 1/2 inches"));
    chooser.show();
    QListWidgetItem *dl = chooser.EnvelopeList->item(TEnvelopeSizes::indexOf(27));
    QTest::mouseClick(chooser.EnvelopeList->viewport(), Qt::LeftButton, {},
                      chooser.EnvelopeList->visualItemRect(dl).center());
    QTest::mouseClick(chooser.OkButton, Qt::LeftButton);
    EXPECT_EQ(chooser.result(), QDialog::Accepted);
    EXPECT_EQ(chooser.code(), 27);
}

TEST(PaperFeedMethod, EachButtonSetsItsValueAndClockwiseShowsOnlyForLandscape)
{
    TEnvelopeFeed dialog{TEnvelopeFeedValues()};
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Paper Feed Method"));
    EXPECT_TRUE(dialog.ClockWiseCheck->isVisible());
    const QImage before = dialog.FeedPicture->pixmap().toImage();
    QTest::mouseClick(dialog.LeftButton, Qt::LeftButton);
    QTest::mouseClick(dialog.UpButton, Qt::LeftButton);
    EXPECT_NE(dialog.FeedPicture->pixmap().toImage(), before);
    QTest::mouseClick(dialog.ClockWiseCheck, Qt::LeftButton);
    EXPECT_TRUE(dialog.values().ClockWise);
    QTest::mouseClick(dialog.PortraitButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.ClockWiseCheck->isVisible());
    EXPECT_EQ(dialog.values().Position, TEnvelopeFeedValues::Left);
    EXPECT_EQ(dialog.values().Facing, TEnvelopeFeedValues::FaceUp);
    EXPECT_EQ(dialog.values().Orientation, TEnvelopeFeedValues::Portrait);
    EXPECT_TRUE(dialog.PortraitButton->isChecked());
    EXPECT_FALSE(dialog.LandscapeButton->isChecked());
    QTest::mouseClick(dialog.LandscapeButton, Qt::LeftButton);
    EXPECT_TRUE(dialog.ClockWiseCheck->isVisible());
}

class EnvelopePrint : public ::testing::Test
{
protected:
    TempDir dir;
    TPdfPrinterService service{QString::fromStdString(dir.file("out.pdf"))};
    TReportPrinter job{service};
};

TEST_F(EnvelopePrint, AnEnvelopePageShowsNoWarningALetterPageDoes)
{
    const TEnvelopeFeedValues feed;
    ASSERT_TRUE(TEnvelopeRun::prepareJob(job, 20, TEnvelopeSizes::size(20), feed));
    {
        TEnvelopePrePrint dialog(job, feed, 20);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Envelope Print"));
        EXPECT_FALSE(dialog.PageSizeWarning->isVisible());
        EXPECT_EQ(dialog.PrinterName->text(), QStringLiteral("PDF"));
        EXPECT_EQ(dialog.OrientationName->text(), QStringLiteral("Landscape"));
        EXPECT_EQ(dialog.FeedDescription->text(),
                  QStringLiteral("Position: Center\r\nOrientation : Landscape\r\nFacing Down"));
    }
    ASSERT_TRUE(job.SetPaperSize(1, {}));
    job.setOrientation(TBaseReport::poPortrait);
    TEnvelopePrePrint dialog(job, feed, 20);
    dialog.show();
    EXPECT_TRUE(dialog.PageSizeWarning->isVisible());
}

TEST_F(EnvelopePrint, PaperFeedMethodTakesTheFeedAndTurnsTheJob)
{
    TEnvelopeFeedValues feed;
    ASSERT_TRUE(TEnvelopeRun::prepareJob(job, 20, TEnvelopeSizes::size(20), feed));
    TEnvelopePrePrint dialog(job, feed, 20);
    dialog.show();
    QObject::connect(&dialog, &TEnvelopePrePrint::feedDialogOpened, [](QDialog *d) {
        QTimer::singleShot(0, d, [d] {
            auto *feedDialog = static_cast<TEnvelopeFeed *>(d);
            QTest::mouseClick(feedDialog->PortraitButton, Qt::LeftButton);
            QTest::mouseClick(feedDialog->RightButton, Qt::LeftButton);
            QTest::mouseClick(feedDialog->OkButton, Qt::LeftButton);
        });
    });
    QTest::mouseClick(dialog.PaperFeedButton, Qt::LeftButton);
    EXPECT_EQ(dialog.values().Orientation, TEnvelopeFeedValues::Portrait);
    EXPECT_EQ(dialog.values().Position, TEnvelopeFeedValues::Right);
    EXPECT_EQ(job.Orientation(), TBaseReport::poPortrait);
    EXPECT_EQ(dialog.OrientationName->text(), QStringLiteral("Portrait"));
    EXPECT_TRUE(dialog.FeedDescription->text().startsWith(QStringLiteral("Position: Right\r\n")));
    // The envelope's page stood upright now: more than an inch off the envelope.
    EXPECT_TRUE(dialog.PageSizeWarning->isVisible());
}

} // namespace
