// "Print Labels" printing and previewing through its buttons: "Labels Print" takes the positions
// from clicks on its sheet drawing and refuses an empty mask; the labels go to the PDF printer
// at the positions left selected; the preview opens with the labels' pages.
#include "TLabelSetupScreen.h"

#include "LabelsUiSupport.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TLabelDesignScreen.h"
#include "TLabelSetups.h"
#include "TPdfPrinterService.h"
#include "TPreviewForm.h"
#include "TPrintStatusForm.h"
#include "TSelectSpecificLabels.h"
#include "TSortBulkMail.h"

#include <QCheckBox>
#include <QSpinBox>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace labeltest;

namespace {

class LabelPrint : public LabelsFolder
{
protected:
    void SetUp() override
    {
        LabelsFolder::SetUp();
        std::vector<smallfile::Record> records;
        const char *zips[] = {"97301", "10001", "97302"};
        int i = 0;
        for (const char *name : {"Adams", "Baker", "Clark"})
            records.push_back({{"FNAME", QStringLiteral("Ann")},
                               {"LNAME", QString::fromLatin1(name)},
                               {"STREET", QStringLiteral("1 Main St")},
                               {"CITY", QStringLiteral("Salem")},
                               {"STATE", QStringLiteral("OR")},
                               {"ZIP", QString::fromLatin1(zips[i++])}});
        session = smallfile::session(qs(dir.path()), records);
        ASSERT_TRUE(session);
        session->setPrinterService(std::make_unique<TPdfPrinterService>(pdf, 300));
        ASSERT_TRUE(labels.open(program).ok);
        window = std::make_unique<TLabelSetupScreen>(*session, labels);
        window->setGlabelsFolder(QStringLiteral("/nonexistent"));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // A setup from the designer: the default sheet with its address block.
        whenShown<TLabelDesignScreen>([](TLabelDesignScreen *d) {
            d->LabelSetupDescription->setFocus();
            QTest::keyClicks(d->LabelSetupDescription, QStringLiteral("Mailing"));
            QTest::mouseClick(d->SaveButton, Qt::LeftButton);
        });
        QTest::mouseClick(window->NewButton, Qt::LeftButton);
        ASSERT_FALSE(window->currentSetup().Binary.isEmpty());
        QTest::mouseClick(window->rbQAll, Qt::LeftButton, {}, QPoint(6, window->rbQAll->height() / 2));
        QObject::connect(window.get(), &TLabelSetupScreen::statusOpened, [](QDialog *status) {
            // The status window stays with its final text after a print: close it once the run is over.
            auto *timer = new QTimer(status);
            timer->setInterval(10);
            QObject::connect(timer, &QTimer::timeout, status, [status] {
                if (static_cast<TPrintStatusForm *>(status)->hasRun())
                    status->accept();
            });
            timer->start();
        });
    }

    // Clicks the middle of position `index` in the dialog's drawing of the default sheet.
    static void clickPosition(TSelectSpecificLabels *d, int index)
    {
        const QRect r = TSelectSpecificLabels::positionRect(TLabelSetup::newSetupDefaults(), index,
                                                            d->PaintBox1->logicalDpiX());
        QTest::mouseClick(d->PaintBox1, Qt::LeftButton, {}, r.center());
    }

    QString pdf = qs(dir.path()) + QStringLiteral("/labels.pdf");
    std::unique_ptr<TAddressSession> session;
    TLabelSetups labels;
    std::unique_ptr<TLabelSetupScreen> window;
};

} // namespace

TEST_F(LabelPrint, PrintPutsTheLabelsAtThePositionsLeftSelected)
{
    bool refused = false;
    QObject::connect(window.get(), &TLabelSetupScreen::pageSetupOpened, [&](TSelectSpecificLabels *d) {
        QTimer::singleShot(0, d, [&, d] {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Labels Print"));
            QTest::mouseClick(d->NoneButton, Qt::LeftButton);
            boxes.clear();
            QTest::mouseClick(d->OkButton, Qt::LeftButton);
            refused =
                d->isVisible() &&
                boxes.value(0) == QStringLiteral("Information|You must select at least one card to print");
            QTest::mouseClick(d->AllButton, Qt::LeftButton);
            clickPosition(d, 0); // position 0 stays empty
            QTest::mouseClick(d->OkButton, Qt::LeftButton);
        });
    });
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_TRUE(refused);
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    const TLabelSetup s = TLabelSetup::newSetupDefaults();
    int index = 1;
    for (const char *name : {"Adams", "Baker", "Clark"}) {
        bool found = false;
        for (const reportpdf::Word &w : reportpdf::words(pdf, 1))
            if (w.text == QLatin1String(name)) {
                found = true;
                EXPECT_GE(w.xMin / 72.0, s.labelOrigin(index).x()) << name;
                EXPECT_LT(w.xMin / 72.0, s.labelOrigin(index).x() + s.LblWidth) << name;
                EXPECT_GE(w.yMin / 72.0, s.labelOrigin(index).y() - 0.05) << name;
                EXPECT_LT(w.yMin / 72.0, s.labelOrigin(index).y() + s.LblHeight) << name;
            }
        EXPECT_TRUE(found) << name;
        ++index;
    }
}

TEST_F(LabelPrint, PreviewOpensWithTheLabelsPages)
{
    QObject::connect(window.get(), &TLabelSetupScreen::pageSetupOpened, [](TSelectSpecificLabels *d) {
        QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    });
    int pages = -1;
    QString caption;
    QObject::connect(window.get(), &TLabelSetupScreen::previewOpened, [&](QDialog *p) {
        QTimer::singleShot(0, p, [&, p] {
            pages = static_cast<TPreviewForm *>(p)->pageCount();
            caption = p->windowTitle();
            p->accept();
        });
    });
    QTest::mouseClick(window->PreviewButton, Qt::LeftButton);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(caption.startsWith(QStringLiteral("Preview"))) << caption.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(LabelPrint, APresortStartedFromTheCurrentRecordPrintsFromThereOnInGroups)
{
    ASSERT_TRUE(session->table().goTo(2).ok); // Baker
    QTest::mouseClick(window->StartCurrentCheck, Qt::LeftButton, {},
                      QPoint(6, window->StartCurrentCheck->height() / 2));
    QTest::mouseClick(window->PresortCheck, Qt::LeftButton, {},
                      QPoint(6, window->PresortCheck->height() / 2));
    ASSERT_TRUE(window->StartCurrentCheck->isChecked());
    ASSERT_TRUE(window->PresortCheck->isChecked());
    bool copiesHidden = false;
    QObject::connect(window.get(), &TLabelSetupScreen::pageSetupOpened, [&](TSelectSpecificLabels *d) {
        QTimer::singleShot(0, d, [&, d] {
            copiesHidden = d->NumberOfEach->isHidden();
            QTest::mouseClick(d->OkButton, Qt::LeftButton);
        });
    });
    int presorts = 0;
    QObject::connect(window.get(), &TLabelSetupScreen::presortOpened, [&](TSortBulkMail *) { ++presorts; });
    boxes.clear();
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_TRUE(copiesHidden);
    EXPECT_EQ(presorts, 1);
    EXPECT_TRUE(
        boxes.contains(QStringLiteral("Information|Labels will print/preview in the following order:\r\n"
                                      "  1. 5-Digit presort\r\n  2. 3-Digit presort\r\n  3. ADC presort")))
        << boxes.join(QLatin1Char('\n')).toStdString();
    const QString text = reportpdf::pages(pdf).join(QString());
    EXPECT_FALSE(text.contains(QStringLiteral("Adams"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Baker")));
    EXPECT_TRUE(text.contains(QStringLiteral("Clark")));
    EXPECT_TRUE(text.contains(QStringLiteral("**")));
    EXPECT_EQ(session->table().recno(), 2u); // the record comes back

    // The same choice again reuses the presort; a click on the choice of records drops it.
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_EQ(presorts, 1);
    QTest::mouseClick(window->rbQAll, Qt::LeftButton, {}, QPoint(6, window->rbQAll->height() / 2));
    QTest::mouseClick(window->PrintButton, Qt::LeftButton);
    EXPECT_EQ(presorts, 2);
}
