// "Print Report" driven offscreen: the record choices as the window opens, the report list and
// its title, Preview through the status window to the preview, Print through the print dialog
// to the printer's PDF.
#include "TReportSetup.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

// A PDF "printer" whose print dialog the user confirms or cancels.
class DialogPdf : public TPdfPrinterService
{
public:
    using TPdfPrinterService::TPdfPrinterService;
    bool confirm = true;
    int dialogs = 0;
    bool showPrintDialog(TPrintChoice &) override
    {
        ++dialogs;
        return confirm;
    }
};

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

class ReportSetup : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 0; i < 150; ++i)
            records.push_back({{"LNAME", QStringLiteral("Person%1").arg(i, 3, 10, QLatin1Char('0'))},
                               {"ORG", QStringLiteral("Org%1").arg(149 - i, 3, 10, QLatin1Char('0'))},
                               {"STATE", i % 2 ? QStringLiteral("CA") : QStringLiteral("NV")},
                               {"MEMO", i == 0 ? QStringLiteral("A note on the first") : QString()}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        auto service = std::make_unique<DialogPdf>(pdf);
        printer = service.get();
        session->setPrinterService(std::move(service));
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/printed.pdf");
    std::unique_ptr<TAddressSession> session;
    DialogPdf *printer = nullptr;
    TIniFile ini{folder + QStringLiteral("/CORVAN.ini")};
};

TEST_F(ReportSetup, WithoutAFilterAllRecordsIsChosenAndTheFilterChoiceIsOff)
{
    TReportSetup window(*session, ini);
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Print Report"));
    EXPECT_TRUE(window.rbQAll->isChecked());
    EXPECT_FALSE(window.rbQFilter->isEnabled());
    EXPECT_EQ(window.TitleField->text(), QStringLiteral("Report 1"));
    EXPECT_EQ(window.ReportList->count(), 4);

    // Choosing a report in the list names the title after it.
    QListWidget *list = window.ReportList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(window.report(), 3);
    EXPECT_EQ(window.TitleField->text(), QStringLiteral("Report 3"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window.TitleField->text(), QStringLiteral("Report 4"));
}

TEST_F(ReportSetup, WithAFilterTheFilterChoiceIsChosen)
{
    TFilterCriteria c;
    c.setText(TFilterCriteria::qState, QStringLiteral("CA"));
    (void)session->setCriteria(c); // the window's state shows whether the filter is set
    ASSERT_TRUE(session->isFilterSet());
    TReportSetup window(*session, ini);
    window.show();
    EXPECT_TRUE(window.rbQFilter->isEnabled());
    EXPECT_TRUE(window.rbQFilter->isChecked());
}

TEST_F(ReportSetup, PreviewRunsBehindTheStatusWindowThenShowsPreviewReport)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.goTo(40));
    TReportSetup window(*session, ini);
    window.show();
    QListWidget *list = window.ReportList;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    int pages = 0;
    QString caption;
    QObject::connect(&window, &TReportSetup::previewOpened, [&](QDialog *dialog) {
        QTimer::singleShot(0, dialog, [&, dialog] {
            auto *preview = static_cast<TPreviewForm *>(dialog);
            pages = preview->pageCount();
            caption = preview->windowTitle();
            preview->OkButton->click();
        });
    });
    QString finalStatus;
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PreviewButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Preview Ready!"));
    EXPECT_GE(pages, 2);
    EXPECT_TRUE(caption.contains(QStringLiteral("Preview"))) << caption.toStdString();
    EXPECT_FALSE(QFile::exists(pdf)); // a preview prints nothing
    EXPECT_EQ(printer->dialogs, 0);
    // The run put the table back as it found it.
    EXPECT_EQ(table.recno(), 40u);
    EXPECT_EQ(table.orderTag().toUpper(), QStringLiteral("LNAME"));
}

TEST_F(ReportSetup, PrintAsksThePrintDialogAndPrintsTheChosenRecordsWithTheirMemo)
{
    TReportSetup window(*session, ini);
    window.show();
    // A cancelled print dialog starts nothing.
    printer->confirm = false;
    QTest::mouseClick(window.PrintButton, Qt::LeftButton);
    EXPECT_EQ(printer->dialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf));

    printer->confirm = true;
    QTest::mouseClick(window.PrintMemoBox, Qt::LeftButton);
    window.TitleField->clear();
    QTest::keyClicks(window.TitleField, QStringLiteral("Everyone"));
    QString finalStatus;
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PrintButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Print Completed!"));
    const QString text = reportpdf::pages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("Everyone")));
    EXPECT_TRUE(text.contains(QStringLiteral("Person000")));
    EXPECT_TRUE(text.contains(QStringLiteral("A note on the first")));
    EXPECT_TRUE(text.contains(QStringLiteral("Person149")));

    // "Only current record" prints that record alone.
    ASSERT_TRUE(session->table().goTo(8));
    QTest::mouseClick(window.rbOnlyThis, Qt::LeftButton);
    closeStatusWhenDone(&finalStatus);
    QTest::mouseClick(window.PrintButton, Qt::LeftButton);
    const QString one = reportpdf::pages(pdf).join(QString());
    EXPECT_TRUE(one.contains(QStringLiteral("Person007")));
    EXPECT_FALSE(one.contains(QStringLiteral("Person000")));
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
}

} // namespace
