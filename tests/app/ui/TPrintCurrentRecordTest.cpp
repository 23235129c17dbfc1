// "Print Current Record": the All box, and the preview and print runs through the status and
// preview windows.
#include "TPrintCurrentRecord.h"
#include "QtPrinters.h"
#include "TCurrentRecordFixtures.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

class PrintCurrentRecord : public ::testing::Test
{
protected:
    TempDir m_dir;
    TIniFile m_ini{QString::fromStdString(m_dir.file("CORVAN.ini"))};
    QString m_pdf = QString::fromStdString(m_dir.file("out.pdf"));
    TPdfPrinterService m_service{m_pdf};
};

// Presses "Ok" on the status window once its run has ended, and remembers its last status.
void closeStatusWhenDone(QString *finalStatus)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, finalStatus] {
        auto *status = qobject_cast<TPrintStatusForm *>(QApplication::activeModalWidget());
        if (!status || !status->hasRun())
            return;
        timer->stop();
        timer->deleteLater();
        *finalStatus = status->StatusLabel->text();
        QTest::mouseClick(status->CancelButton, Qt::LeftButton);
    });
    timer->start(10);
}

} // namespace

TEST_F(PrintCurrentRecord, UncheckingAllUnchecksEveryBoxThenOneBoxIsTheOnlyChoice)
{
    TPrintCurrentRecord window(fixtureRecord(1), m_service, m_ini);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Print Current Record"));
    const TCurrentRecordChoices all = window.choices();
    EXPECT_TRUE(std::all_of(all.fields.begin(), all.fields.end(), [](bool b) { return b; }));
    EXPECT_TRUE(all.memo);

    window.AllCheck->click();
    const TCurrentRecordChoices none = window.choices();
    EXPECT_TRUE(std::none_of(none.fields.begin(), none.fields.end(), [](bool b) { return b; }));
    EXPECT_FALSE(none.memo);

    window.box(TRecordField::State)->click();
    const TCurrentRecordChoices one = window.choices();
    for (const TCurrentRecordPrint::Line &line : TCurrentRecordPrint::lines())
        EXPECT_EQ(one.has(line.field), line.field == TRecordField::State) << line.label;
    EXPECT_EQ(window.box(TRecordField::State)->text(), QStringLiteral("State/Province"));
    EXPECT_FALSE(window.AllCheck->isChecked());

    window.AllCheck->click();
    EXPECT_TRUE(window.choices().has(TRecordField::Date));
    EXPECT_TRUE(window.choices().memo);
}

TEST_F(PrintCurrentRecord, PreviewRunsBehindTheStatusWindowThenShowsTheReportPreview)
{
    TPrintCurrentRecord window(fixtureRecord(200), m_service, m_ini);
    window.show();
    QString finalStatus;
    QString caption;
    int pages = 0;
    QObject::connect(&window, &TPrintCurrentRecord::previewOpened, [&](QDialog *dialog) {
        QTimer::singleShot(0, dialog, [&, dialog] {
            auto *preview = static_cast<TPreviewForm *>(dialog);
            pages = preview->pageCount();
            caption = preview->windowTitle();
            preview->OkButton->click();
        });
    });
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PreviewButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Preview Ready!"));
    EXPECT_EQ(pages, 2);
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Preview Page 1 of 2 ( "))) << caption.toStdString();
    EXPECT_FALSE(QFile::exists(m_pdf)); // a preview prints nothing
}

TEST_F(PrintCurrentRecord, PrintWritesThePrinterDocumentAndOpensNoPreview)
{
    TPrintCurrentRecord window(fixtureRecord(1), m_service, m_ini);
    window.show();
    bool previewed = false;
    QObject::connect(&window, &TPrintCurrentRecord::previewOpened, [&](QDialog *) { previewed = true; });
    QString finalStatus;
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PrintButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Print Completed!"));
    EXPECT_FALSE(previewed);
    EXPECT_TRUE(QFile::exists(m_pdf));
    EXPECT_TRUE(window.isVisible()); // the window stays for another run
}

TEST_F(PrintCurrentRecord, AStoppedPreviewOpensNoPreviewWindow)
{
    TCurrentRecordValues record = fixtureRecord(1);
    QStringList lines;
    for (int i = 1; i <= 3000; ++i)
        lines << QStringLiteral("Memo line %1").arg(i);
    record.memo = lines.join(QStringLiteral("\r\n"));
    TPrintCurrentRecord window(record, m_service, m_ini);
    window.show();
    bool previewed = false;
    QObject::connect(&window, &TPrintCurrentRecord::previewOpened, [&](QDialog *dialog) {
        previewed = true;
        QTimer::singleShot(0, dialog, [dialog] { static_cast<TPreviewForm *>(dialog)->OkButton->click(); });
    });
    // Presses "Stop" as soon as the run shows its status, then "Ok" once it has ended.
    bool stopped = false;
    QString finalStatus;
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [&, timer] {
        auto *status = qobject_cast<TPrintStatusForm *>(QApplication::activeModalWidget());
        if (!status)
            return;
        if (!stopped && !status->hasRun() && !status->StatusLabel->text().isEmpty()) {
            ASSERT_EQ(status->CancelButton->text(), QStringLiteral("Stop"));
            stopped = true;
            QTest::mouseClick(status->CancelButton, Qt::LeftButton);
            return;
        }
        if (status->hasRun()) {
            timer->stop();
            timer->deleteLater();
            finalStatus = status->StatusLabel->text();
            QTest::mouseClick(status->CancelButton, Qt::LeftButton);
        }
    });
    timer->start(0);
    QTest::mouseClick(window.PreviewButton, Qt::LeftButton);
    EXPECT_TRUE(stopped);
    EXPECT_TRUE(finalStatus.startsWith(QStringLiteral("\nPreview Stopped at page ")))
        << finalStatus.toStdString();
    EXPECT_FALSE(previewed);
    EXPECT_TRUE(window.isVisible());
}
