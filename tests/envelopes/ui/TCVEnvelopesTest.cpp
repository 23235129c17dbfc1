// "Print Envelope" driven offscreen over a small address file: New through the size chooser
// and the designer to a row with its layout file, Clone and Delete with their questions, a
// setup whose layout file is gone, Print through the pre-print dialog and the status window to
// the printer's PDF, Preview to the preview window, and the buttons with no setup.
#include "TCVEnvelopes.h"

#include "QtPrinters.h"
#include "ReportPdf.h"
#include "SmallAddressFile.h"
#include "TChooseEnvelopeLayout.h"
#include "TEnvelopeDesignScreen.h"
#include "TEnvelopePanel.h"
#include "TEnvelopePrePrint.h"
#include "TEnvelopeSetups.h"
#include "TEnvelopeSizes.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGFIMBarCode.h"
#include "TGOwner.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TPdfPrinterService.h"
#include "TPrinterCalibration.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

class PrintEnvelope : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<smallfile::Record> records;
        for (const char *name : {"Adams", "Baker", "Clark"})
            records.push_back({{"FNAME", QStringLiteral("Ann")},
                               {"LNAME", QString::fromLatin1(name)},
                               {"STREET", QStringLiteral("1 MAIN ST")},
                               {"CITY", QStringLiteral("Springfield")},
                               {"STATE", QStringLiteral("IL")},
                               {"ZIP", QStringLiteral("62704")}});
        session = smallfile::session(folder, records);
        ASSERT_TRUE(session);
        ASSERT_TRUE(session->table().setOrderTag(QStringLiteral("LNAME")).ok);
        ASSERT_TRUE(session->table().first().ok);
        session->setPrinterService(std::make_unique<TPdfPrinterService>(pdf, 300));
        ini = std::make_unique<TIniFile>(session->settingsPath());
        ASSERT_TRUE(setups.open(session->programFolder()).ok);
        TMessages::setAnswerer([this](const TMessageRequest &r) {
            asked << r.caption + QStringLiteral(": ") + r.text;
            return answer;
        });
    }
    void TearDown() override { TMessages::setAnswerer({}); }

    // Opens the window and lets it activate.
    std::unique_ptr<TCVEnvelopes> window()
    {
        auto w = std::make_unique<TCVEnvelopes>(*session, setups, *ini);
        w->show();
        QApplication::processEvents();
        return w;
    }

    // A new DL setup "Office" with an address block, made through New.
    void makeSetup(TCVEnvelopes &w)
    {
        QObject::connect(&w, &TCVEnvelopes::sizeChooserOpened, [](TChooseEnvelopeLayout *c) {
            QTimer::singleShot(0, c, [c] {
                c->EnvelopeList->setCurrentRow(TEnvelopeSizes::indexOf(27));
                QTest::mouseClick(c->OkButton, Qt::LeftButton);
            });
        });
        QObject::connect(&w, &TCVEnvelopes::designerOpened, [](TEnvelopeDesignScreen *d) {
            QTimer::singleShot(0, d, [d] {
                auto *block = d->surface().insertObject(
                    std::make_unique<TGDMultiLineAddressLabel>(d->surface().owner()));
                block->SetBounds(300, 200, 300, 90);
                d->surface().WireObject(block);
                d->LabelSetupDescription->setText(QString());
                QTest::keyClicks(d->LabelSetupDescription, QStringLiteral("Office"));
                QTest::mouseClick(d->SaveButton, Qt::LeftButton);
            });
        });
        QTest::mouseClick(w.NewButton, Qt::LeftButton);
        QObject::disconnect(&w, &TCVEnvelopes::sizeChooserOpened, nullptr, nullptr);
        QObject::disconnect(&w, &TCVEnvelopes::designerOpened, nullptr, nullptr);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    QString pdf = folder + QStringLiteral("/printed.pdf");
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TIniFile> ini;
    TEnvelopeSetups setups;
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

TEST_F(PrintEnvelope, WithoutSetupsOnlyNewIsOffered)
{
    auto w = window();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Print Envelope"));
    EXPECT_TRUE(w->rbOnlyThis->isChecked());
    EXPECT_TRUE(w->NewButton->isEnabled());
    for (QWidget *b :
         std::initializer_list<QWidget *>{w->ModifyButton, w->CloneButton, w->PrintButton, w->PreviewButton,
                                          w->DeleteButton, w->EnvelopeSetupGrid})
        EXPECT_FALSE(b->isEnabled());
    EXPECT_EQ(w->Description(), QStringLiteral("Envelope #10"));
    EXPECT_EQ(w->Number(), 20);
}

TEST_F(PrintEnvelope, NewMakesARowAndItsLayoutFileAndShowsItReduced)
{
    auto w = window();
    makeSetup(*w);
    ASSERT_EQ(setups.rows().size(), 1);
    const TEnvelopeRow row = setups.rows().at(0);
    EXPECT_EQ(row.description, QStringLiteral("Office"));
    EXPECT_EQ(row.number, 27);
    EXPECT_TRUE(setups.hasLayoutFile(row.binary));
    EXPECT_TRUE(w->ModifyButton->isEnabled());
    EXPECT_EQ(w->EnvelopeSetupGrid->item(0)->text(), QStringLiteral("Office"));
    const double ppi = w->displaySurface().PixelsPerInch();
    EXPECT_EQ(w->displaySurface().Width(), qRound(ppi * TEnvelopeSizes::size(27).width.value * 0.3));
    EXPECT_EQ(w->displaySurface().objects().size(), 1u);
}

TEST_F(PrintEnvelope, CloneAsksAndCopiesDeleteAsksAndRemoves)
{
    auto w = window();
    makeSetup(*w);
    QTest::mouseClick(w->CloneButton, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.at(0), QStringLiteral("CLONE: Clone \"Office\"?"));
    ASSERT_EQ(setups.rows().size(), 2);
    const int clone = setups.rows().at(0).description.startsWith(QStringLiteral("Clone")) ? 0 : 1;
    const TEnvelopeRow copy = setups.rows().at(clone);
    EXPECT_EQ(copy.description, QStringLiteral("Clone of Office"));
    EXPECT_TRUE(setups.hasLayoutFile(copy.binary));

    answer = QMessageBox::No;
    w->EnvelopeSetupGrid->setCurrentRow(clone);
    QTest::mouseClick(w->DeleteButton, Qt::LeftButton);
    EXPECT_EQ(asked.last(), QStringLiteral("DELETE: Delete \"Clone of Office\"?"));
    EXPECT_EQ(setups.rows().size(), 2);
    answer = QMessageBox::Yes;
    QTest::mouseClick(w->DeleteButton, Qt::LeftButton);
    EXPECT_EQ(setups.rows().size(), 1);
    EXPECT_FALSE(QFile::exists(setups.folder() + copy.binary));
}

TEST_F(PrintEnvelope, PrintingAllRecordsGivesOnePagePerRecordAndKeepsTheRecord)
{
    auto w = window();
    makeSetup(*w);
    ASSERT_TRUE(session->table().next().ok);
    const quint32 current = session->table().recno();
    int prePrints = 0;
    QObject::connect(w.get(), &TCVEnvelopes::prePrintOpened, [&prePrints](TEnvelopePrePrint *d) {
        ++prePrints;
        QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    });
    QTest::mouseClick(w->rbQAll, Qt::LeftButton, {}, QPoint(6, w->rbQAll->height() / 2));
    ASSERT_TRUE(w->rbQAll->isChecked());
    QTest::mouseClick(w->PrintButton, Qt::LeftButton);
    EXPECT_TRUE(asked.isEmpty()) << asked.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(prePrints, 1);
    const reportpdf::Info info = reportpdf::info(pdf);
    EXPECT_EQ(info.pages, 3);
    EXPECT_NEAR(info.widthPoints, 220 / 25.4 * 72, 0.5);
    EXPECT_EQ(session->table().recno(), current);
    // The feed values were written once the dialog was accepted.
    EXPECT_EQ(ini->readInteger(QStringLiteral("Envelope Feed"), QStringLiteral("Position"), -1), 2);
}

TEST_F(PrintEnvelope, AMisplacedFimIsAskedAboutAndThePrinterCalibrationApplies)
{
    auto w = window();
    makeSetup(*w);
    // The setup's layout gets a FIM about 2.35 in from the right edge of the DL envelope.
    TEnvelopeRow row = setups.rows().at(0);
    {
        TGOwner owner;
        TEnvelopePanel layout(&owner, 96);
        ASSERT_TRUE(layout.LoadFromFile(setups.layoutPath(row.binary)).ok);
        auto *fim = layout.insertObject(std::make_unique<TGFIMBarCode>(&owner));
        fim->setLeft(Rounding::halfEven((TEnvelopeSizes::size(27).width.value - 2.875) * 96));
        ASSERT_TRUE(setups.save(row, layout).ok);
    }
    TPrinterCalibration c;
    c.horizontalOffset = Inches(0.5);
    c.applyToPdf = true;
    ASSERT_TRUE(c.save(*ini, QStringLiteral("PDF")));
    QObject::connect(w.get(), &TCVEnvelopes::prePrintOpened, [](TEnvelopePrePrint *d) {
        QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    });

    answer = QMessageBox::No;
    QTest::mouseClick(w->PrintButton, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.first().startsWith(QStringLiteral("Warning: The FIM's rightmost bar stands 2.3")))
        << asked.first().toStdString();
    EXPECT_FALSE(QFile::exists(pdf));

    answer = QMessageBox::Yes;
    QTest::mouseClick(w->PrintButton, Qt::LeftButton);
    EXPECT_EQ(reportpdf::info(pdf).pages, 1);
    // The block's corner is 300 pixels (3.125 in) from the left; the calibration adds 0.5 in.
    bool found = false;
    for (const reportpdf::Word &word : reportpdf::words(pdf, 1))
        if (word.text == QLatin1String("Ann")) {
            found = true;
            EXPECT_NEAR(word.xMin / 72.0, 3.125 + 0.5, 0.1);
        }
    EXPECT_TRUE(found);
}

TEST_F(PrintEnvelope, PreviewOfTheCurrentRecordOpensThePreviewWithOnePage)
{
    auto w = window();
    makeSetup(*w);
    QObject::connect(w.get(), &TCVEnvelopes::prePrintOpened, [](TEnvelopePrePrint *d) {
        QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->OkButton, Qt::LeftButton); });
    });
    QString caption;
    QObject::connect(w.get(), &TCVEnvelopes::previewOpened, [&caption](QDialog *p) {
        QTimer::singleShot(0, p, [p, &caption] {
            caption = p->windowTitle();
            p->accept();
        });
    });
    QTest::mouseClick(w->PreviewButton, Qt::LeftButton);
    EXPECT_EQ(caption.left(20), QStringLiteral("Preview Page 1 of 1 "));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintEnvelope, ACancelledPrePrintPrintsAndSavesNothing)
{
    auto w = window();
    makeSetup(*w);
    QObject::connect(w.get(), &TCVEnvelopes::prePrintOpened, [](TEnvelopePrePrint *d) {
        QTimer::singleShot(0, d, [d] { QTest::mouseClick(d->CancelButton, Qt::LeftButton); });
    });
    QTest::mouseClick(w->PrintButton, Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_FALSE(ini->hasSection(QStringLiteral("Envelope Feed")));
}

TEST_F(PrintEnvelope, ASetupWhoseLayoutFileIsGoneIsReportedAndNotPrinted)
{
    auto w = window();
    makeSetup(*w);
    ASSERT_TRUE(QFile::remove(setups.layoutPath(setups.rows().at(0).binary)));
    QTest::mouseClick(w->PrintButton, Qt::LeftButton);
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(
        asked.last(),
        QStringLiteral("Information: Envelope definition file has been removed from the sysdata directory"));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintEnvelope, ASetupWithAnUnknownSizeOpensAsEnvelopeTenWithANotice)
{
    TGOwner owner;
    TEnvelopePanel layout(&owner, 96);
    TEnvelopeRow row;
    row.description = QStringLiteral("Odd");
    row.number = 99;
    row.binary = setups.nextBinaryName();
    ASSERT_TRUE(setups.save(row, layout).ok);
    auto w = window();
    EXPECT_EQ(w->Number(), 20);
    EXPECT_GT(w->displaySurface().Width(), 0);
    int number = 0, width = 0;
    double ppi = 0;
    QObject::connect(w.get(), &TCVEnvelopes::designerOpened, [&](TEnvelopeDesignScreen *d) {
        QTimer::singleShot(0, d, [&, d] {
            number = d->Number();
            width = d->surface().Width();
            ppi = d->surface().PixelsPerInch();
            QTest::mouseClick(d->CancelButton, Qt::LeftButton);
        });
    });
    QTest::mouseClick(w->ModifyButton, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.at(0),
              QStringLiteral("Information: ") + TEnvelopeSetups::unknownSizeMessage(QStringLiteral("Odd")));
    EXPECT_EQ(number, 20);
    EXPECT_EQ(width, qRound(9.5 * ppi));
    // Cancelled: the row keeps what it had.
    EXPECT_EQ(setups.rows().at(0).number, 99);
}

} // namespace
