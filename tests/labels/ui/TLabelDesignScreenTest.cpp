// The "Label Design Screen" driven offscreen through its buttons: the surface sized like one
// label, the zoom ladder, the POSTNET tool on narrow labels, Change Layout to a user-defined
// sheet (every barcode that no longer fits goes) and to a catalogue sheet with its picture,
// and Save cutting the description to 50 characters.
#include "TLabelDesignScreen.h"

#include "LabelsUiSupport.h"
#include "TChooseLabelLayout.h"
#include "TGLabelPanel.h"
#include "TGPostNetBarCode.h"
#include "TIniFile.h"
#include "TLabelEdit.h"
#include "TPSpeedButton.h"
#include "TSelectLabel.h"
#include "AddressFixture.h"
#include "TAddressSession.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace labeltest;

namespace {

class LabelDesign : public LabelsFolder
{
protected:
    void open(const TLabelSetup &setup, bool isNew)
    {
        ini = std::make_unique<TIniFile>(program + QStringLiteral("CORVAN.ini"));
        designer = std::make_unique<TLabelDesignScreen>(setup, isNew, *ini, nullptr, program);
        designer->setGlabelsFolder(QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/labels/data"));
        designer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
    }
    TGLabelPanel &surface() { return designer->surface(); }
    int postNets()
    {
        int n = 0;
        for (TGGraphicControl *o : surface().objects())
            n += dynamic_cast<TGPostNetBarCode *>(o) != nullptr;
        return n;
    }
    void waitClosed()
    {
        for (int i = 0; i < 400 && designer->isVisible(); ++i)
            QTest::qWait(5);
    }
    std::unique_ptr<TIniFile> ini;
    std::unique_ptr<TLabelDesignScreen> designer;
};

} // namespace

TEST_F(LabelDesign, NewSetupOpensWithAnAddressBlockAndTheNotice)
{
    open(TLabelSetup::newSetupDefaults(), true);
    EXPECT_EQ(designer->windowTitle(), QStringLiteral("Label Design Screen"));
    const double ppi = surface().PixelsPerInch();
    EXPECT_EQ(surface().Width(), qRound(2.625 * ppi));
    EXPECT_EQ(surface().Height(), qRound(1.0 * ppi));
    EXPECT_EQ(surface().Shape(), lsRoundRect);
    EXPECT_EQ(designer->LabelSetupDescription->text(), QStringLiteral("<New Label>"));
    EXPECT_EQ(designer->TemplateType->text(), QStringLiteral("Avery 5160  Address"));
    ASSERT_EQ(surface().objects().size(), 1u);
    EXPECT_EQ(surface().objects().front()->Left(), 5);
    EXPECT_EQ(surface().objects().front()->Top(), 5);
    EXPECT_EQ(surface().objects().front()->Width(), surface().Width() - 15);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.at(0).startsWith(
        QStringLiteral("Information|A new label has been created using the Avery 5160\r")));
    EXPECT_FALSE(designer->SaveButton->isVisible());
    EXPECT_TRUE(designer->Pointerbutton->isChecked());
    EXPECT_EQ(designer->DefaultFontbutton->text(), QStringLiteral("Default Font: Arial, 10 pt "));
}

TEST_F(LabelDesign, ZoomStepsInWholePercentsAndStopsAtEachEnd)
{
    open(TLabelSetup::newSetupDefaults(), false);
    QStringList captions;
    for (int i = 0; i < 7; ++i) {
        QTest::mouseClick(designer->ZoomInButton, Qt::LeftButton);
        captions << designer->ZoomCaption->text();
    }
    EXPECT_EQ(captions, QStringList({"110%", "120%", "130%", "140%", "150%", "160%", "160%"}));
    captions.clear();
    for (int i = 0; i < 13; ++i) {
        QTest::mouseClick(designer->ZoomOutButton, Qt::LeftButton);
        captions << designer->ZoomCaption->text();
    }
    EXPECT_EQ(captions.mid(10), QStringList({"50%", "40%", "40%"}));
    EXPECT_FLOAT_EQ(surface().ScaleFactor(), 0.4f);
    // Zooming is no change to save.
    EXPECT_FALSE(designer->SaveButton->isVisible());
}

TEST_F(LabelDesign, NarrowLabelRefusesThePostNetTool)
{
    open(TLabelSetup::newSetupDefaults(), false);
    QTest::mouseClick(designer->DrawPostNetBarCodeButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Information|This label is not wide enough for a \rpostnet "
                                                "barcode. At least 2.85 inches are needed")});
    EXPECT_TRUE(designer->Pointerbutton->isChecked());
    EXPECT_EQ(surface().PanelState(), TGLabelPanel::psPointing);
}

TEST_F(LabelDesign, NarrowingToAUserDefinedSheetDeletesEveryPostNetAndClearsTheArt)
{
    TLabelSetup wide = TLabelSetup::newSetupDefaults();
    wide.LblWidth = 4.0f;
    wide.HorizPitch = 4.0f;
    wide.NbrAcross = 2;
    wide.Art = QStringLiteral("AV5196");
    open(wide, false);
    EXPECT_TRUE(designer->ShowArt->isEnabled());
    EXPECT_TRUE(designer->ShowArt->isChecked());
    EXPECT_TRUE(surface().Picture().hasGraphic());
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(designer->DrawPostNetBarCodeButton, Qt::LeftButton);
        ASSERT_EQ(surface().PanelState(), TGLabelPanel::psPostNetBarCode);
        surface().CreateObject(QRect(10 + 150 * i, 40, 140, 20));
        surface().setPanelState(TGLabelPanel::psPointing);
    }
    ASSERT_EQ(postNets(), 2);
    whenShown<TChooseLabelLayout>([](TChooseLabelLayout *c) {
        whenShown<TLabelEdit>([](TLabelEdit *e) {
            e->LabelWidthEdit->setFocus();
            e->LabelWidthEdit->selectAll();
            QTest::keyClicks(e->LabelWidthEdit, QStringLiteral("2.5"));
            QTest::keyClick(e->LabelWidthEdit, Qt::Key_Tab);
            QTest::mouseClick(e->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(c->UserDefinedRadio, Qt::LeftButton, {},
                          QPoint(8, c->UserDefinedRadio->height() / 2));
        QTest::mouseClick(c->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(designer->ChangeLayoutButton, Qt::LeftButton);
    EXPECT_EQ(postNets(), 0);
    EXPECT_TRUE(
        boxes.contains(QStringLiteral("Information|Warning: This label is not wide enough for a \rpostnet "
                                      "barcode. At least 2.85 inches are needed")));
    EXPECT_EQ(designer->TemplateType->text(), QStringLiteral("User Defined Label Layout"));
    EXPECT_FALSE(designer->ShowArt->isEnabled());
    EXPECT_FALSE(surface().Picture().hasGraphic());
    EXPECT_EQ(surface().Width(), qRound(2.5 * surface().PixelsPerInch()));
    EXPECT_EQ(designer->setup().Manufac, QStringLiteral("USER"));
    EXPECT_FLOAT_EQ(designer->setup().LblWidth, 2.5f);
    for (TGGraphicControl *o : surface().objects())
        EXPECT_LE(o->Left(), surface().Width() - 20);
    EXPECT_TRUE(designer->SaveButton->isVisible());
}

TEST_F(LabelDesign, CatalogueAndGlabelsSheetsTakeTheirGeometry)
{
    TLabelSetup user = TLabelSetup::newSetupDefaults();
    user.makeUserDefined();
    open(user, false);
    QString chosen;
    whenShown<TChooseLabelLayout>([&chosen](TChooseLabelLayout *c) {
        whenShown<TSelectLabel>([&chosen](TSelectLabel *s) {
            // A user-defined sheet starts from Avery / laser / address labels.
            EXPECT_EQ(s->eManuFac->currentIndex(), 0);
            EXPECT_EQ(s->eProdType->currentIndex(), 0);
            EXPECT_TRUE(s->OkButton->isEnabled());
            // The gLabels entry lists the library's sheets.
            s->eManuFac->setCurrentIndex(s->eManuFac->findText(TSelectLabel::glabelsEntry()));
            ASSERT_EQ(s->Grid->topLevelItemCount(), 4);
            QTreeWidgetItem *item = s->Grid->topLevelItem(2);
            s->Grid->scrollToItem(item);
            QTest::mouseClick(s->Grid->viewport(), Qt::LeftButton, {},
                              s->Grid->visualItemRect(item).center());
            chosen = item->text(0);
            EXPECT_EQ(s->AcrossField->text(), QStringLiteral("4"));
            QTest::mouseClick(s->OkButton, Qt::LeftButton);
        });
        QTest::mouseClick(c->OkButton, Qt::LeftButton);
    });
    QTest::mouseClick(designer->ChangeLayoutButton, Qt::LeftButton);
    EXPECT_EQ(chosen, QStringLiteral("Testco 200 Round Labels"));
    EXPECT_EQ(designer->setup().NbrAcross, 4);
    EXPECT_EQ(designer->setup().Manufac, QStringLiteral("USER"));
    EXPECT_EQ(designer->setup().TplDescrip, QStringLiteral("Testco 200"));
    EXPECT_EQ(surface().Shape(), lsEllipse);
    EXPECT_EQ(designer->TemplateType->text(), QStringLiteral("User Defined Label Layout"));
}

TEST_F(LabelDesign, SaveKeepsFiftyCharactersAndAFailedSaveStaysOpen)
{
    open(TLabelSetup::newSetupDefaults(), false);
    int calls = 0;
    designer->setSaver([&calls](TLabelDesignScreen &) {
        return ++calls == 1
                   ? TResult::failure(QStringLiteral("Cannot create BIN00001.L"), xbase::StatusCode::IoError)
                   : TResult::success();
    });
    designer->LabelSetupDescription->setFocus();
    designer->LabelSetupDescription->selectAll();
    QTest::keyClicks(designer->LabelSetupDescription, QString(60, QLatin1Char('x')));
    ASSERT_TRUE(designer->SaveButton->isVisible());
    QTest::mouseClick(designer->SaveButton, Qt::LeftButton);
    EXPECT_TRUE(designer->isVisible());
    ASSERT_FALSE(boxes.isEmpty());
    EXPECT_TRUE(boxes.last().contains(QStringLiteral("Cannot create BIN00001.L")));
    QTest::mouseClick(designer->SaveButton, Qt::LeftButton);
    waitClosed();
    EXPECT_EQ(designer->result(), QDialog::Accepted);
    EXPECT_EQ(designer->setup().Description, QString(50, QLatin1Char('x')));
}

TEST_F(LabelDesign, NewSetupShowsTheCurrentRecordsAddress)
{
    const QString path = fixture::copy(QStringLiteral("ADD0001"), program + QStringLiteral("DATA"));
    TAddressSession session(program + QStringLiteral("CORVAN.ini"));
    session.loadSettings();
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    ASSERT_TRUE(session.table().goTo(1).ok); // John Q Smith, San Francisco
    ini = std::make_unique<TIniFile>(program + QStringLiteral("CORVAN.ini"));
    designer = std::make_unique<TLabelDesignScreen>(TLabelSetup::newSetupDefaults(), true, *ini,
                                                    &session.table(), program);
    designer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(designer.get()));
    QTest::qWait(50);
    const QImage shot = designer->grab().toImage();
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            dark += qGray(shot.pixel(x, y)) < 80;
    // The window's own captions are dark too; the address block adds its lines to them.
    const QImage empty = [&] {
        TLabelDesignScreen bare(TLabelSetup::newSetupDefaults(), false, *ini, nullptr, program);
        bare.show();
        (void)QTest::qWaitForWindowExposed(&bare);
        return bare.grab().toImage();
    }();
    int bareDark = 0;
    for (int y = 0; y < empty.height(); ++y)
        for (int x = 0; x < empty.width(); ++x)
            bareDark += qGray(empty.pixel(x, y)) < 80;
    EXPECT_GT(dark, bareDark + 200);
}
