// "Count Zip Codes" driven offscreen: the count as the window opens, Cancel during the count,
// Preview to "Preview Zipcode Count" and Print to the printer's PDF.
#include "TCountZipCodes.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

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

class CountZipCodes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 0; i < 600; ++i)
            records.push_back({{"LNAME", QStringLiteral("P%1").arg(i)},
                               {"ZIP", i % 50 == 0 ? QString() : QStringLiteral("%1").arg(90000 + i % 120)}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        session->setPrinterService(std::make_unique<TPdfPrinterService>(pdf));
    }
    void TearDown() override { TMessages::setAnswerer({}); }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/zip.pdf");
    std::unique_ptr<TAddressSession> session;
    TIniFile ini{folder + QStringLiteral("/CORVAN.ini")};
};

TEST_F(CountZipCodes, CountsAsItOpensThenPreviewsAndPrintsTheReport)
{
    TCountZipCodes window(*session, ini);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Count Zip Codes"));
    QTRY_VERIFY(window.counts().isCounted());
    EXPECT_EQ(window.counts().total(), 600);
    EXPECT_EQ(window.counts().countOf(QStringLiteral("BLANK")), 12);
    EXPECT_TRUE(window.FinishedLabel->isVisible());
    EXPECT_TRUE(window.PrintButton->isVisible());
    EXPECT_FALSE(window.CancelButton->isVisible());

    QString caption;
    int pages = 0;
    QObject::connect(&window, &TCountZipCodes::previewOpened, [&](QDialog *dialog) {
        QTimer::singleShot(0, dialog, [&, dialog] {
            auto *preview = static_cast<TPreviewForm *>(dialog);
            caption = preview->windowTitle();
            pages = preview->pageCount();
            preview->OkButton->click();
        });
    });
    QString finalStatus;
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PreviewButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nPreview Ready!"));
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(caption.contains(QStringLiteral("Preview"))) << caption.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PrintButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nPrint Completed!"));
    const QString text = reportpdf::pages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("Zip Code Count Report")));
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1")));
    EXPECT_TRUE(text.contains(QStringLiteral("BLANK")));
}

TEST_F(CountZipCodes, CancelDuringTheCountClosesTheWindowWithoutCounts)
{
    QStringList asked;
    TMessages::setAnswerer([&asked](const TMessageRequest &r) {
        asked << r.caption + QLatin1Char('|') + r.text;
        return QMessageBox::Yes;
    });
    TCountZipCodes window(*session, ini);
    window.show();
    // Pressed from the first window events the count lets run.
    QTimer::singleShot(0, &window, [&window] {
        if (window.isCounting())
            QTest::mouseClick(window.CancelButton, Qt::LeftButton);
    });
    QTRY_VERIFY(!window.isVisible());
    EXPECT_EQ(asked, QStringList{QStringLiteral("CANCEL|Cancel Count?")});
    EXPECT_FALSE(window.counts().isCounted());
    EXPECT_EQ(window.result(), int(QDialog::Rejected));
}

} // namespace
