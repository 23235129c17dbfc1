// The designed reports of "Print Report" driven offscreen: New, Modify, Delete and Clone from
// the "Report Designer" page, the designer's tools in the bands, dragging a band past the
// page, "Change Layout" to A4 landscape, the save rule with no band, and a designed report
// printed through the print dialog.
#include "TReportDesigner.h"

#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TGDesignerSurface.h"
#include "TGSurfaceWidget.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TReportBands.h"
#include "TReportProperties.h"
#include "TReportSetup.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class ConfirmingPdf : public TPdfPrinterService
{
public:
    using TPdfPrinterService::TPdfPrinterService;
    bool showPrintDialog(TPrintChoice &) override { return true; }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A press, a move with the left button down and a release, as a drag with the mouse gives.
void dragTo(QWidget *w, QPoint from, QPoint to)
{
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(w->mapToGlobal(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

// Answers every message box with `answer`, keeping the texts shown.
struct Answers {
    explicit Answers(QMessageBox::StandardButton answer)
    {
        previous = TMessages::setAnswerer([this, answer](const TMessageRequest &r) {
            shown << r.caption + QLatin1Char('|') + r.text;
            return answer;
        });
    }
    ~Answers() { TMessages::setAnswerer(previous); }
    TMessages::Answerer previous;
    QStringList shown;
};

class ReportDesignerWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (int i = 0; i < 3; ++i)
            records.push_back({{"LNAME", QStringLiteral("Person%1").arg(i)}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        session->setPrinterService(std::make_unique<ConfirmingPdf>(pdf));
        window = std::make_unique<TReportSetup>(*session, ini);
        window->show();
        window->PageControl->setCurrentWidget(window->DesignerPage);
    }
    // Runs `drive` on each designer the window opens, once it is shown.
    void onDesigner(std::function<void(TReportDesigner &)> drive)
    {
        window->designerOpening = [drive](TReportDesigner &d) {
            QTimer::singleShot(0, &d, [&d, drive] { drive(d); });
        };
    }
    QString file(const QString &name) const { return folder + QStringLiteral("/sysdata/") + name; }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/designed.pdf");
    std::unique_ptr<TAddressSession> session;
    TIniFile ini{folder + QStringLiteral("/CORVAN.ini")};
    std::unique_ptr<TReportSetup> window;
};

TEST_F(ReportDesignerWindow, NewSavesBin00001WhichDeleteRemovesAndTheNextNewTakesAgain)
{
    EXPECT_FALSE(window->ModifyButton->isEnabled());
    EXPECT_FALSE(window->PrintButton->isEnabled()) << "nothing to print on an empty designer page";
    EXPECT_TRUE(window->OneRecordPerPage->isVisible());
    onDesigner([](TReportDesigner &d) {
        EXPECT_EQ(d.DescriptionField->text(), QStringLiteral("<new report>"));
        EXPECT_EQ(d.LayoutLabel->text(), QStringLiteral("Letter Size, Portrait"));
        EXPECT_EQ(d.DefaultFontButton->text(), QStringLiteral("Default Font: Arial, 10 pt "));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    ASSERT_EQ(window->UserReportsGrid->rowCount(), 1);
    EXPECT_EQ(window->UserReportsGrid->item(0, 0)->text(), QStringLiteral("<new report>"));
    EXPECT_EQ(window->definitions().rows().at(0).binary, QStringLiteral("BIN00001.R"));
    EXPECT_TRUE(window->ModifyButton->isEnabled());
    EXPECT_TRUE(window->PrintButton->isEnabled());

    {
        Answers yes(QMessageBox::Yes);
        QTest::mouseClick(window->DeleteButton, Qt::LeftButton);
        EXPECT_EQ(yes.shown, QStringList{QStringLiteral("DELETE|Delete \"<new report>\"?")});
    }
    EXPECT_EQ(window->UserReportsGrid->rowCount(), 0);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("BIN00001.R"))));
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    EXPECT_EQ(window->definitions().rows().at(0).binary, QStringLiteral("BIN00001.R"));

    // The built-in page hides "One Record Per Page".
    window->PageControl->setCurrentIndex(0);
    EXPECT_FALSE(window->OneRecordPerPage->isVisible());
}

TEST_F(ReportDesignerWindow, TheDatabaseFieldToolInTheHeaderBandBeepsAndDrawsNothing)
{
    bool checked = false;
    onDesigner([&](TReportDesigner &d) {
        int beeps = 0;
        QObject::connect(&d, &TReportDesigner::beeped, [&beeps] { ++beeps; });
        QTest::mouseClick(d.ToolButtons[TReportDesigner::DataFieldTool], Qt::LeftButton);
        EXPECT_FALSE(d.accepts(TReportBand::Header));
        EXPECT_TRUE(d.accepts(TReportBand::Detail));
        QWidget *header = d.bandView(TReportBand::Header)->surfaceWidget();
        dragTo(header, QPoint(10, 5), QPoint(80, 25));
        EXPECT_EQ(beeps, 1);
        // A text object in the header after the selection tool: drawn, then back to selection.
        QTest::mouseClick(d.ToolButtons[TReportDesigner::SelectionTool], Qt::LeftButton);
        QTest::mouseClick(d.ToolButtons[TReportDesigner::RectangleTool], Qt::LeftButton);
        dragTo(header, QPoint(10, 5), QPoint(80, 25));
        EXPECT_EQ(d.tool(), TReportDesigner::SelectionTool);
        checked = true;
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    ASSERT_TRUE(checked);
    // Only the rectangle was drawn and saved.
    TReportBands back(window->pixelsPerInch());
    ASSERT_TRUE(back.load(window->definitions(), window->definitions().rows().at(0)));
    EXPECT_EQ(back.header.objects().size(), 1u);
    EXPECT_TRUE(back.detail.objects().empty());
}

TEST_F(ReportDesignerWindow, DraggingTheDetailBandStopsAtThePageLessMarginsAndTheOtherBands)
{
    int expected = -1;
    onDesigner([&](TReportDesigner &d) {
        QTest::mouseClick(d.FooterCheck, Qt::LeftButton);
        QTest::mouseClick(d.MemoCheck, Qt::LeftButton);
        EXPECT_TRUE(d.MemoPropertiesButton->isVisible());
        dragTo(d.sizingStrip(TReportBand::Detail), QPoint(2, 2), QPoint(2, 5000));
        const int dpi = window->pixelsPerInch();
        const TReportSettings s = TReportSettings::defaults(dpi);
        // Footer switched on from 33 stays 33; the memo band does not count against the page.
        expected = s.pageHeight - s.topMargin - s.bottomMargin - 33 - 33;
        EXPECT_EQ(d.bandView(TReportBand::Detail)->height(), expected);
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    TReportBands back(window->pixelsPerInch());
    ASSERT_TRUE(back.load(window->definitions(), window->definitions().rows().at(0)));
    EXPECT_EQ(back.settings.detailHeight, expected);
    EXPECT_TRUE(back.settings.footerUsed);
    EXPECT_TRUE(back.settings.memoUsed);
}

TEST_F(ReportDesignerWindow, ChangeLayoutToA4LandscapeIsStoredInLayout)
{
    onDesigner([](TReportDesigner &d) {
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<TReportProperties *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Report Layout"));
            ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
            // On the round button itself: a short caption leaves the middle of the box empty.
            const auto onIndicator = [](QWidget *w) { return QPoint(8, w->height() / 2); };
            QTest::mouseClick(dialog->A4Button, Qt::LeftButton, {}, onIndicator(dialog->A4Button));
            QTest::mouseClick(dialog->LandscapeButton, Qt::LeftButton, {},
                              onIndicator(dialog->LandscapeButton));
            QTest::mouseClick(dialog->PagePicture, Qt::LeftButton, {},
                              dialog->bandPictureRect(TReportBand::Footer).center());
            EXPECT_EQ(dialog->PageControl->currentIndex(), 4);
            QTest::mouseClick(dialog->Bands[3].Top, Qt::LeftButton);
            QTest::mouseClick(dialog->SaveButton, Qt::LeftButton);
        });
        QTest::mouseClick(d.ChangeLayoutButton, Qt::LeftButton);
        EXPECT_EQ(d.LayoutLabel->text(), QStringLiteral("A4 Size, Landscape"));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    ASSERT_EQ(window->definitions().rows().size(), 1);
    EXPECT_EQ(window->definitions().rows().at(0).layout, QStringLiteral("A4 Size, Landscape"));
    TReportBands back(window->pixelsPerInch());
    ASSERT_TRUE(back.load(window->definitions(), window->definitions().rows().at(0)));
    EXPECT_EQ(back.settings.page(), TReportPage::A4Landscape);
    EXPECT_TRUE(back.settings.frame(TReportBand::Footer).top);
}

TEST_F(ReportDesignerWindow, SavingWithNoBandOnSaysSoAndStaysInTheDesigner)
{
    QStringList shown;
    onDesigner([&](TReportDesigner &d) {
        QTest::mouseClick(d.HeaderCheck, Qt::LeftButton);
        QTest::mouseClick(d.DetailCheck, Qt::LeftButton);
        {
            Answers ok(QMessageBox::Ok);
            QTest::mouseClick(d.SaveButton, Qt::LeftButton);
            shown = ok.shown;
        }
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(d.CancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    EXPECT_EQ(shown, QStringList{QStringLiteral(
                         "Information|No report bands are selected. Please select at least one")});
    EXPECT_EQ(window->UserReportsGrid->rowCount(), 0) << "Cancel stores nothing";
}

TEST_F(ReportDesignerWindow, CloneCopiesTheFileAndModifyPrintsTheDesignedReport)
{
    onDesigner([](TReportDesigner &d) {
        QTest::mouseClick(d.ToolButtons[TReportDesigner::DataFieldTool], Qt::LeftButton);
        // The field dialog of the new object opens; cancelling it leaves "<field>".
        auto *closer = new QTimer(&d);
        QObject::connect(closer, &QTimer::timeout, [closer] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (dialog && !qobject_cast<TReportDesigner *>(dialog) && !qobject_cast<TReportSetup *>(dialog)) {
                closer->stop();
                dialog->reject();
            }
        });
        closer->start(10);
        dragTo(d.bandView(TReportBand::Detail)->surfaceWidget(), QPoint(10, 5), QPoint(150, 25));
        QTest::mouseClick(d.SaveButton, Qt::LeftButton);
    });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    ASSERT_EQ(window->definitions().rows().size(), 1);
    {
        Answers yes(QMessageBox::Yes);
        QTest::mouseClick(window->CloneButton, Qt::LeftButton);
    }
    ASSERT_EQ(window->definitions().rows().size(), 2);
    EXPECT_EQ(window->definitions().rows().at(1).description, QStringLiteral("Clone of <new report>"));
    EXPECT_EQ(readAll(file(QStringLiteral("BIN00002.R"))), readAll(file(QStringLiteral("BIN00001.R"))));

    window->UserReportsGrid->setCurrentCell(0, 0);
    QTest::mouseClick(window->OneRecordPerPage, Qt::LeftButton);
    auto *timer = new QTimer(window.get());
    QObject::connect(timer, &QTimer::timeout, [timer] {
        auto *status = qobject_cast<TPrintStatusForm *>(QApplication::activeModalWidget());
        if (!status || !status->hasRun())
            return;
        timer->stop();
        QTest::mouseClick(status->CancelButton, Qt::LeftButton);
    });
    timer->start(10);
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.widthPoints, 612, 1);
}

TEST_F(ReportDesignerWindow, PreviewShowsTheDesignedReportInPreviewReport)
{
    onDesigner([](TReportDesigner &d) { QTest::mouseClick(d.SaveButton, Qt::LeftButton); });
    QTest::mouseClick(window->NewButton, Qt::LeftButton);
    QTest::mouseClick(window->OneRecordPerPage, Qt::LeftButton);
    int pages = 0;
    QString caption;
    QObject::connect(window.get(), &TReportSetup::previewOpened, [&](QDialog *dialog) {
        QTimer::singleShot(0, dialog, [&, dialog] {
            auto *preview = static_cast<TPreviewForm *>(dialog);
            pages = preview->pageCount();
            caption = preview->windowTitle();
            preview->OkButton->click();
        });
    });
    auto *timer = new QTimer(window.get());
    QString finalStatus;
    QObject::connect(timer, &QTimer::timeout, [timer, &finalStatus] {
        auto *status = qobject_cast<TPrintStatusForm *>(QApplication::activeModalWidget());
        if (!status || !status->hasRun())
            return;
        timer->stop();
        finalStatus = status->StatusLabel->text();
        QTest::mouseClick(status->CancelButton, Qt::LeftButton);
    });
    timer->start(10);
    QTest::mouseClick(window->PreviewButton, Qt::LeftButton);
    EXPECT_EQ(finalStatus, QStringLiteral("\nReport Preview Ready!"));
    EXPECT_EQ(pages, 3) << "one page for each of the three records";
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Preview"))) << caption.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

} // namespace
