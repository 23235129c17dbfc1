// The status window protocol: status lines while running, Stop, Cancel with its question,
// the final texts and closing.
#include "TPrintStatusForm.h"
#include "QtPrinters.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TRecordingReader.h"
#include "TReportFiler.h"
#include "TReportPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

// The texts of the label status window.
TPrintStatusTexts labelTexts()
{
    TPrintStatusTexts t;
    t.previewStatusFormat = QStringLiteral("Preparing Preview Page %p\r%0\r%1");
    t.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    t.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    t.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    t.printCompleted = QStringLiteral("\rLabel Print Completed!");
    t.closing = TPrintStatusTexts::ClosesAfterCompletedPreview;
    return t;
}

// A body of `pages` pages that presses the window's button on page `pressOn`.
void body(TBaseReport &job, TPrintStatusForm *&form, int pages, int pressOn, QString *labelSeen = nullptr)
{
    for (int p = 1; p <= pages && !form->isStopped() && !job.IsAborted(); ++p) {
        if (p > 1)
            job.StartNewPage();
        job.TextAtLeft(QStringLiteral("Label %1").arg(p), 1);
        if (p == pressOn) {
            if (labelSeen)
                *labelSeen = form->StatusLabel->text();
            QTest::mouseClick(form->CancelButton, Qt::LeftButton);
        }
        QCoreApplication::processEvents();
    }
}

void waitForRun(TPrintStatusForm &form)
{
    QElapsedTimer timer;
    timer.start();
    while (!form.hasRun() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(10);
}

} // namespace

TEST(TPrintStatusForm, StoppingAPreviewOnPageThreeKeepsThePagesMadeSoFar)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    TPrintStatusForm *form = nullptr;
    QString seen;
    job.OnPrint = [&](TBaseReport &r) { body(r, form, 10, 3, &seen); };
    TPrintStatusForm window(job, true, labelTexts());
    form = &window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Preview Status"));
    EXPECT_EQ(window.CancelButton->text(), QStringLiteral("Stop"));
    window.show();
    waitForRun(window);
    EXPECT_EQ(seen, QStringLiteral("Preparing Preview Page 3\n\n"));
    EXPECT_EQ(window.StatusLabel->text(), QStringLiteral("\nPreview Stopped at page 3!"));
    EXPECT_EQ(window.CancelButton->text(), QStringLiteral("Ok"));
    EXPECT_TRUE(window.isVisible()); // a stopped preview waits for Ok
    EXPECT_TRUE(window.shouldShowPreview());
    TRecordingReader reader;
    ASSERT_TRUE(reader.open(stream).ok());
    EXPECT_EQ(reader.pageCount(), 3);
    QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(TPrintStatusForm, ACompletedLabelPreviewClosesItself)
{
    QByteArray stream;
    TReportFiler job;
    job.setStream(&stream);
    TPrintStatusForm *form = nullptr;
    job.OnPrint = [&](TBaseReport &r) { body(r, form, 2, 0); };
    TPrintStatusForm window(job, true, labelTexts());
    form = &window;
    window.show();
    waitForRun(window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    // The final text is left as the job wrote it.
    EXPECT_EQ(window.StatusLabel->text(), QStringLiteral("Preparing Preview Page 2\n\n"));
    EXPECT_TRUE(window.shouldShowPreview());
}

struct CancelCase {
    QMessageBox::StandardButton answer;
    const char *finalText;
    bool fileKept;
};
class CancelPrinting : public ::testing::TestWithParam<CancelCase>
{
};

TEST_P(CancelPrinting, AsksThenAbortsOnYes)
{
    TempDir dir;
    const QString file = QString::fromStdString(dir.file("labels.pdf"));
    TPdfPrinterService service(file);
    TReportPrinter job(service);
    std::vector<TMessageRequest> asked;
    const auto previous = TMessages::setAnswerer([&](const TMessageRequest &r) {
        asked.push_back(r);
        return GetParam().answer;
    });
    TPrintStatusForm *form = nullptr;
    job.OnPrint = [&](TBaseReport &r) { body(r, form, 4, 2); };
    TPrintStatusForm window(job, false, labelTexts());
    form = &window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Print Status"));
    EXPECT_EQ(window.CancelButton->text(), QStringLiteral("Cancel"));
    window.show();
    waitForRun(window);
    TMessages::setAnswerer(previous);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("Cancel Label Printing?"));
    EXPECT_EQ(asked[0].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(window.StatusLabel->text(), QString::fromUtf8(GetParam().finalText));
    EXPECT_EQ(QFile::exists(file), GetParam().fileKept);
    EXPECT_FALSE(window.shouldShowPreview());
    EXPECT_TRUE(window.isVisible()); // printing never closes the label window itself
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelPrinting,
                         ::testing::Values(CancelCase{QMessageBox::Yes, "\nLabel Print Canceled!", false},
                                           CancelCase{QMessageBox::No, "\nLabel Print Completed!", true}));
