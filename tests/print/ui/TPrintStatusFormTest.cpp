// The status window protocol: status lines while running, Stop, Cancel with its question,
// the final texts and closing.
#include "TPrintStatusForm.h"
#include "QtPrinters.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
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
#include <QTimer>

namespace {

TPrintStatusTexts labelTexts()
{
    return TPrintStatusTexts::labels();
}

// A body of `pages` pages, one item each, that reports each item to the run's progress and
// stops when it is cancelled. On page `pressOn` the user presses the window's button: the
// press waits in the event queue until the body's step lets the window handle it.
void body(TBaseReport &job, TPrintStatusForm *&form, int pages, int pressOn, QString *labelSeen = nullptr)
{
    for (int p = 1; p <= pages && !job.progress().cancelled(); ++p) {
        if (p > 1)
            job.StartNewPage();
        job.TextAtLeft(QStringLiteral("Label %1").arg(p), Inches(1));
        if (p == pressOn) {
            if (labelSeen)
                *labelSeen = form->StatusLabel->text();
            QPushButton *button = form->CancelButton;
            QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        }
        job.progress().step();
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
    QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());

    TempDir dir;
    TIniFile ini(QString::fromStdString(dir.file("CORVAN.ini")));
    TPreviewForm preview(stream, QStringLiteral("Preview Labels"), 2, ini);
    preview.show();
    EXPECT_EQ(preview.pageCount(), 3);
    EXPECT_TRUE(preview.windowTitle().startsWith(QStringLiteral("Preview Page 1 of 3 ( ")));
}

namespace {

// One kind of window, a way the run ends, and what the window shows after it.
struct EndCase {
    const char *window;
    bool previewing;
    enum Outcome { Completed, Stopped, Cancelled } outcome;
    const char *finalText; // as the label shows it
    bool closesItself;
};

TPrintStatusTexts textsOf(const std::string &window)
{
    if (window == "labels")
        return TPrintStatusTexts::labels();
    if (window == "envelopes")
        return TPrintStatusTexts::envelopes();
    if (window == "zip")
        return TPrintStatusTexts::zipCount();
    return TPrintStatusTexts::reports();
}

class RunEnd : public ::testing::TestWithParam<EndCase>
{
};

} // namespace

TEST_P(RunEnd, ShowsTheWindowsFinalTextAndClosesAsItsRuleSays)
{
    const EndCase c = GetParam();
    const auto previous = TMessages::setAnswerer([](const TMessageRequest &) { return QMessageBox::Yes; });
    TempDir dir;
    TPdfPrinterService service(QString::fromStdString(dir.file("out.pdf")));
    TReportPrinter printer(service);
    QByteArray stream;
    TReportFiler filer;
    filer.setStream(&stream);
    TBaseReport &job = c.previewing ? static_cast<TBaseReport &>(filer) : printer;
    TPrintStatusForm *form = nullptr;
    job.OnPrint = [&](TBaseReport &r) {
        body(r, form, 4, c.outcome == EndCase::Completed ? 0 : 2);
        if (c.outcome == EndCase::Cancelled && c.previewing)
            r.AbortJob();
    };
    TPrintStatusForm window(job, c.previewing, textsOf(c.window));
    form = &window;
    window.show();
    waitForRun(window);
    TMessages::setAnswerer(previous);
    EXPECT_EQ(window.StatusLabel->text(), QString::fromUtf8(c.finalText)) << c.window;
    EXPECT_EQ(!window.isVisible(), c.closesItself) << c.window;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunEnd,
    ::testing::Values(EndCase{"labels", false, EndCase::Completed, "\nLabel Print Completed!", false},
                      EndCase{"labels", true, EndCase::Cancelled, "\nLabel Preview Canceled!", false},
                      EndCase{"envelopes", true, EndCase::Stopped, "\nPreview Stopped!", true},
                      EndCase{"envelopes", false, EndCase::Cancelled, "\nEnvelope Print Canceled!", true},
                      EndCase{"envelopes", true, EndCase::Completed, "Printing Page 4\n\n", true},
                      EndCase{"zip", true, EndCase::Completed, "\nPreview Ready!", false},
                      EndCase{"zip", true, EndCase::Stopped, "\nPreview Stopped at page 2!", false},
                      EndCase{"zip", false, EndCase::Cancelled, "\nPrint Canceled!", false},
                      EndCase{"reports", true, EndCase::Completed, "\nReport Preview Ready!", false},
                      EndCase{"reports", false, EndCase::Completed, "\nReport Print Completed!", false}));

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
    EXPECT_EQ(asked[0].caption, QStringLiteral("CANCEL"));
    EXPECT_EQ(asked[0].icon, QMessageBox::Question);
    EXPECT_EQ(window.StatusLabel->text(), QString::fromUtf8(GetParam().finalText));
    EXPECT_EQ(QFile::exists(file), GetParam().fileKept);
    EXPECT_FALSE(window.shouldShowPreview());
    EXPECT_TRUE(window.isVisible()); // printing never closes the label window itself
}

INSTANTIATE_TEST_SUITE_P(Cases, CancelPrinting,
                         ::testing::Values(CancelCase{QMessageBox::Yes, "\nLabel Print Canceled!", false},
                                           CancelCase{QMessageBox::No, "\nLabel Print Completed!", true}));
