// "User Defined Label Layout" driven through its boxes and buttons: switching units never moves
// a value that was not typed, typed millimetres come back in inches, and Ok refuses a sheet
// that breaks a rule with its message.
#include "TLabelEdit.h"

#include "LabelsUiSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace labeltest;

namespace {

class LabelEdit : public LabelsFolder
{
protected:
    void open(const TLabelSetup &setup)
    {
        dialog = std::make_unique<TLabelEdit>(setup);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Tab);
    }
    std::unique_ptr<TLabelEdit> dialog;
};

} // namespace

TEST_F(LabelEdit, TogglingMillimetresLeavesTheSheetAsItWas)
{
    const TLabelSetup start = TLabelSetup::newSetupDefaults();
    open(start);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("User Defined Label Layout"));
    EXPECT_TRUE(dialog->InchesRadio->isChecked());
    EXPECT_EQ(dialog->VertPitchEdit->text(), QStringLiteral("1.000"));
    QTest::mouseClick(dialog->MillimetersRadio, Qt::LeftButton, {},
                      QPoint(8, dialog->MillimetersRadio->height() / 2));
    EXPECT_EQ(dialog->VertPitchEdit->text(), QStringLiteral("25.4"));
    EXPECT_EQ(dialog->LabelWidthEdit->text(), QStringLiteral("66.7"));
    QTest::mouseClick(dialog->InchesRadio, Qt::LeftButton, {}, QPoint(8, dialog->InchesRadio->height() / 2));
    EXPECT_EQ(dialog->VertPitchEdit->text(), QStringLiteral("1.000"));
    QTest::mouseClick(dialog->MillimetersRadio, Qt::LeftButton, {},
                      QPoint(8, dialog->MillimetersRadio->height() / 2));
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const TLabelSetup back = dialog->values(start);
    // The tenth row stays at 9.5 inches.
    EXPECT_FLOAT_EQ(back.VertPitch, 1.0f);
    EXPECT_FLOAT_EQ(back.LblWidth, 2.625f);
    EXPECT_NEAR(back.labelOrigin(27).y(), 9.5, 1e-6);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(LabelEdit, TypedMillimetresAndTheRulesOnOk)
{
    open(TLabelSetup::newSetupDefaults());
    QTest::mouseClick(dialog->MillimetersRadio, Qt::LeftButton, {},
                      QPoint(8, dialog->MillimetersRadio->height() / 2));
    type(dialog->LabelHeightEdit, QStringLiteral("7"));
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(boxes,
              QStringList{QStringLiteral("Information|Label Height must be at least .3 inches (or 8mm)")});
    type(dialog->LabelHeightEdit, QStringLiteral("25"));
    QTest::mouseClick(dialog->InchesRadio, Qt::LeftButton, {}, QPoint(8, dialog->InchesRadio->height() / 2));
    EXPECT_EQ(dialog->LabelHeightEdit->text(), QStringLiteral("0.984"));

    // A wider label raises the pitch; a fixed paper fills its size.
    type(dialog->LabelWidthEdit, QStringLiteral("3.5"));
    EXPECT_EQ(dialog->HorizPitchEdit->text(), QStringLiteral("3.5"));
    dialog->PaperSizeCombo->setFocus();
    dialog->PaperSizeCombo->setCurrentIndex(0);
    for (int i = 0; i < 2; ++i)
        QTest::keyClick(dialog->PaperSizeCombo, Qt::Key_Down);
    EXPECT_EQ(dialog->PaperWidthEdit->text(), QStringLiteral("8.270"));
    EXPECT_EQ(dialog->PaperHeightEdit->text(), QStringLiteral("11.690"));
    QTest::mouseClick(dialog->OkButton, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const TLabelSetup back = dialog->values(TLabelSetup());
    EXPECT_FLOAT_EQ(back.LblHeight, 0.984f);
    EXPECT_FLOAT_EQ(back.HorizPitch, 3.5f);
    EXPECT_EQ(back.PaperSize, QStringLiteral("A4"));
}
