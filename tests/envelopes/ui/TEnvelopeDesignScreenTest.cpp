// "Envelope Design Screen" driven offscreen: the surface sized like the envelope, the zoom
// buttons stopping at 150 % and 50 %, Change Size pulling objects back inside, Save shown
// after a change and handing back the description, the toggles reaching the surface.
#include "TEnvelopeDesignScreen.h"

#include "QtPrinters.h"
#include "SmallAddressFile.h"
#include "TChooseEnvelopeLayout.h"
#include "TEnvelopeSizes.h"
#include "TGDesignerSurface.h"
#include "TGPLabel.h"
#include "TIniFile.h"
#include "TPSpeedButton.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class EnvelopeDesignScreen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(
            folder, {{{"LNAME", QStringLiteral("Adams")}}, {{"LNAME", QStringLiteral("Baker")}}});
        ASSERT_TRUE(session);
        ini = std::make_unique<TIniFile>(session->settingsPath());
        screen = std::make_unique<TEnvelopeDesignScreen>(*session, *ini);
        screen->setNumber(20);
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    std::unique_ptr<TAddressSession> session;
    std::unique_ptr<TIniFile> ini;
    std::unique_ptr<TEnvelopeDesignScreen> screen;
};

TEST_F(EnvelopeDesignScreen, TheSurfaceIsTheEnvelopeAndZoomStopsAt150And50)
{
    screen->show();
    const double ppi = screen->surface().PixelsPerInch();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("Envelope Design Screen"));
    EXPECT_EQ(screen->surface().Width(), qRound(9.5 * ppi));
    EXPECT_EQ(screen->surface().Height(), qRound(4.125 * ppi));
    for (int i = 0; i < 8; ++i)
        QTest::mouseClick(screen->ZoomInButton, Qt::LeftButton);
    EXPECT_EQ(screen->zoomPercent(), 150);
    EXPECT_EQ(screen->ZoomCaption->text(), QStringLiteral("150%"));
    EXPECT_FLOAT_EQ(screen->surface().ScaleFactor(), 1.5f);
    for (int i = 0; i < 15; ++i)
        QTest::mouseClick(screen->ZoomOutButton, Qt::LeftButton);
    EXPECT_EQ(screen->zoomPercent(), 50);
    EXPECT_EQ(screen->ZoomCaption->text(), QStringLiteral("50%"));
    EXPECT_FALSE(screen->SaveButton->isVisible());
}

TEST_F(EnvelopeDesignScreen, ChangeSizeToALesserEnvelopePullsObjectsInside)
{
    auto *label = static_cast<TGPLabel *>(
        screen->surface().insertObject(std::make_unique<TGPLabel>(screen->surface().owner())));
    label->setLeft(850);
    label->setTop(350);
    screen->surface().WireObject(label);
    screen->show();
    QObject::connect(screen.get(), &TEnvelopeDesignScreen::sizeChooserOpened, [](TChooseEnvelopeLayout *c) {
        QTimer::singleShot(0, c, [c] {
            c->EnvelopeList->setCurrentRow(TEnvelopeSizes::indexOf(37)); // Monarch, 7.5 x 3.875
            QTest::mouseClick(c->OkButton, Qt::LeftButton);
        });
    });
    QTest::mouseClick(screen->ChangeSizeButton, Qt::LeftButton);
    EXPECT_EQ(screen->Number(), 37);
    const int width = screen->surface().Width();
    EXPECT_EQ(width, qRound(7.5 * screen->surface().PixelsPerInch()));
    EXPECT_LE(label->Left(), width - 20);
    EXPECT_LE(label->Top(), screen->surface().Height() - 10);
    EXPECT_TRUE(screen->SaveButton->isVisible());
}

TEST_F(EnvelopeDesignScreen, SaveAppearsAfterAnEditAndKeepsFiftyCharacters)
{
    screen->setDescriptionText(QStringLiteral("<New envelope>"));
    screen->show();
    EXPECT_FALSE(screen->SaveButton->isVisible());
    screen->LabelSetupDescription->selectAll();
    screen->LabelSetupDescription->setFocus();
    QTest::keyClicks(screen->LabelSetupDescription, QString(55, QLatin1Char('d')));
    ASSERT_TRUE(screen->SaveButton->isVisible());
    QTest::mouseClick(screen->SaveButton, Qt::LeftButton);
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(screen->description(), QString(50, QLatin1Char('d')));
}

TEST_F(EnvelopeDesignScreen, TheTogglesReachTheSurface)
{
    screen->show();
    QTest::mouseClick(screen->USPSTemplate, Qt::LeftButton);
    QTest::mouseClick(screen->ShowPrinterMarginsButton, Qt::LeftButton);
    QTest::mouseClick(screen->ShowFieldNamesButton, Qt::LeftButton);
    QTest::mouseClick(screen->DrawFIMBarcodeButton, Qt::LeftButton);
    EXPECT_TRUE(screen->surface().ShowAreas);
    EXPECT_TRUE(screen->surface().ShowMargins);
    EXPECT_FALSE(screen->surface().DisplayDataValues());
    EXPECT_EQ(screen->surface().PanelState(), TEnvelopePanel::psFIMBarCode);
    EXPECT_EQ(screen->DrawFIMBarcodeButton->toolTip(), QStringLiteral("FIM Barcode tool"));
    EXPECT_TRUE(screen->DefaultFontbutton->text().startsWith(QStringLiteral("Default Font: Arial, 10 pt ")));
}

TEST_F(EnvelopeDesignScreen, TheDefaultFontKeysAreWrittenEvenWhenTheFontDialogIsCancelled)
{
    screen->show();
    QTimer::singleShot(0, [] {
        if (auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    QTest::mouseClick(screen->DefaultFontbutton, Qt::LeftButton);
    for (const char *key : {"DefaultFontName", "DefaultFontSize", "DefaultFontBold", "DefaultFontItalic"})
        EXPECT_TRUE(ini->hasKey(QStringLiteral("Envelope"), QLatin1String(key))) << key;
    EXPECT_EQ(ini->readString(QStringLiteral("Envelope"), QStringLiteral("DefaultFontName")),
              QStringLiteral("Arial"));
}

TEST_F(EnvelopeDesignScreen, TheRecordButtonsMoveTheTableAndRefreshTheValues)
{
    ASSERT_TRUE(session->table().setOrderTag(QStringLiteral("LNAME")).ok);
    ASSERT_TRUE(session->table().first().ok);
    screen->show();
    QTest::mouseClick(screen->RecordLast, Qt::LeftButton);
    EXPECT_EQ(session->table().value(QStringLiteral("LNAME")), QStringLiteral("Baker"));
    QTest::mouseClick(screen->RecordPrev, Qt::LeftButton);
    EXPECT_EQ(session->table().value(QStringLiteral("LNAME")), QStringLiteral("Adams"));
    QTest::mouseClick(screen->RecordNext, Qt::LeftButton);
    QTest::mouseClick(screen->RecordFirst, Qt::LeftButton);
    EXPECT_EQ(session->table().value(QStringLiteral("LNAME")), QStringLiteral("Adams"));
}

} // namespace

TEST_F(EnvelopeDesignScreen, PageKeysScrollTheDesignAreaUnlessTheDescriptionHasTheFocus)
{
    screen->show();
    for (int i = 0; i < 5; ++i)
        QTest::mouseClick(screen->ZoomInButton, Qt::LeftButton);
    screen->resize(500, 300); // 150 %: the envelope is taller than the design area
    QApplication::processEvents();
    QScrollBar *bar = screen->designer()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), bar->singleStep());
    bar->setValue(0);
    screen->ZoomInButton->setFocus();
    QTest::keyClick(screen->ZoomInButton, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(screen->ZoomInButton, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(screen->ZoomInButton, Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), bar->maximum() - bar->singleStep());
    QTest::keyClick(screen->ZoomInButton, Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);

    screen->LabelSetupDescription->setFocus();
    QTest::keyClick(screen->LabelSetupDescription, Qt::Key_End);
    EXPECT_EQ(bar->value(), 0);
}
