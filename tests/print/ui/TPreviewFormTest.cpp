// The preview window: page buttons, zoom rules and caption, keys, placement, damaged input.
#include "TPreviewForm.h"
#include "QtPrinters.h"
#include "TFilePreview.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TReportFiler.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

QByteArray recordPages(int pages)
{
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    filer.OnPrint = [pages](TBaseReport &r) {
        r.SelectFont(QStringLiteral("Arial"), 24);
        for (int p = 1; p <= pages; ++p) {
            if (p > 1)
                r.StartNewPage();
            r.TextAtLeft(QStringLiteral("Page %1").arg(p), Inches(1.0));
        }
    };
    filer.RunJob();
    return stream;
}

class PreviewForm : public ::testing::Test
{
protected:
    TempDir m_dir;
    TIniFile m_ini{QString::fromStdString(m_dir.file("CORVAN.ini"))};
};

} // namespace

TEST_F(PreviewForm, PageButtonsShowOnlyForSeveralPages)
{
    for (int pages : {1, 2}) {
        TPreviewForm form(recordPages(pages), QStringLiteral("Preview Labels"), 100, m_ini);
        form.show();
        for (QPushButton *b :
             {form.FirstPageButton, form.PrevPageButton, form.NextPageButton, form.LastPageButton})
            EXPECT_EQ(b->isHidden(), pages < 2) << pages;
        EXPECT_FALSE(form.ZoomInButton->isHidden());
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of %1 ( 100% )").arg(pages));
        form.close();
    }
}

TEST_F(PreviewForm, ButtonsTurnPagesAndZoomWithinLimits)
{
    TPreviewForm form(recordPages(3), QStringLiteral("Preview Report"), 2, m_ini);
    form.show();
    QTest::mouseClick(form.LastPageButton, Qt::LeftButton);
    EXPECT_EQ(form.page(), 3);
    QTest::mouseClick(form.NextPageButton, Qt::LeftButton); // stays on the last page
    EXPECT_EQ(form.page(), 3);
    QTest::mouseClick(form.PrevPageButton, Qt::LeftButton);
    EXPECT_EQ(form.page(), 2);
    QTest::mouseClick(form.FirstPageButton, Qt::LeftButton);
    EXPECT_EQ(form.page(), 1);

    form.setZoomFactor(195);
    QTest::mouseClick(form.ZoomInButton, Qt::LeftButton);
    EXPECT_EQ(form.zoom(), 200);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 3 ( 200% )"));
    form.setZoomFactor(15);
    QTest::mouseClick(form.ZoomOutButton, Qt::LeftButton);
    EXPECT_EQ(form.zoom(), 10);
    QTest::mouseClick(form.Zoom100Button, Qt::LeftButton);
    EXPECT_EQ(form.zoom(), 100);
    EXPECT_EQ(form.FilePreview->pageImage().width(), qRound(8.5 * form.logicalDpiX()));

    // Whole page fits the page inside the view; page width fills the view's width.
    QTest::mouseClick(form.WholePageButton, Qt::LeftButton);
    const QSize view = form.ScrollBox->maximumViewportSize();
    EXPECT_LE(form.FilePreview->height(), view.height());
    QTest::mouseClick(form.PageWidthButton, Qt::LeftButton);
    EXPECT_GT(form.FilePreview->height(), view.height());
    EXPECT_LE(form.FilePreview->width(), view.width());
    EXPECT_GT(form.FilePreview->width(), view.width() - 40);

    // Clicks on the page: left zooms in, any other button out.
    form.setZoomFactor(100);
    QTest::mouseClick(form.FilePreview, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(form.zoom(), 110);
    QTest::mouseClick(form.FilePreview, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(form.FilePreview, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(form.zoom(), 90);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 3 ( 90% )"));
}

TEST_F(PreviewForm, ArrowKeysScrollByOneStepWithinTheRange)
{
    TPreviewForm form(recordPages(1), QStringLiteral("Preview Report"), 200, m_ini);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QScrollBar *bar = form.ScrollBox->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->singleStep());
    QTest::keyClick(&form, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);
    QTest::keyClick(&form, Qt::Key_Down);
    QTest::keyClick(&form, Qt::Key_Down);
    EXPECT_EQ(bar->value(), 2 * bar->singleStep());
    bar->setValue(bar->maximum());
    QTest::keyClick(&form, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(PreviewForm, SavesItsPlacementOnClose)
{
    {
        TPreviewForm form(recordPages(1), QStringLiteral("Preview Envelope"), 1, m_ini);
        form.show();
        form.move(40, 30);
        QTest::mouseClick(form.OkButton, Qt::LeftButton);
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    QFile file(m_ini.path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[TPreviewForm_Placement"));
}

TEST_F(PreviewForm, ADamagedRecordingIsReportedAndNotShown)
{
    std::vector<TMessageRequest> boxes;
    const auto previous = TMessages::setAnswerer([&](const TMessageRequest &r) {
        boxes.push_back(r);
        return QMessageBox::Ok;
    });
    QByteArray damaged = recordPages(2);
    damaged.chop(3);
    TPreviewForm form(damaged, QStringLiteral("Preview Labels"), 2, m_ini);
    form.show();
    QTest::qWait(20);
    TMessages::setAnswerer(previous);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, QStringLiteral("Information"));
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("damaged")));
    EXPECT_FALSE(form.isVisible());
}
