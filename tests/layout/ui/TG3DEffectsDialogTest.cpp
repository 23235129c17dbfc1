// "Text 3D Effects": every choice shows on the sample at once; Ok hands the six effect values
// to the object, Cancel none.
#include "TG3DEffectsDialog.h"
#include "TGOwner.h"

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TG3DEffectsDialog, ChoicesShowOnTheSampleAndOkAppliesThem)
{
    TGOwner owner;
    TGPLabel label(&owner);
    {
        TG3DEffectsDialog dialog(&label);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Text 3D Effects"));
        EXPECT_EQ(dialog.sample().Caption(), QStringLiteral("Sample"));
        EXPECT_EQ(dialog.ShadowDirectionCombo->currentText(), QStringLiteral("Lower Right"));
        EXPECT_EQ(dialog.HighlightDirectionCombo->currentText(), QStringLiteral("Upper Left"));
        dialog.ShadowDirectionCombo->setCurrentIndex(sdLeft);
        dialog.ShadowDepthSpin->setValue(3);
        EXPECT_EQ(dialog.sample().DirectionShadow(), sdLeft);
        EXPECT_EQ(dialog.sample().DepthShadow(), 3);
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    }
    EXPECT_EQ(label.DepthShadow(), 0);
    TG3DEffectsDialog dialog(&label);
    dialog.HighlightDirectionCombo->setCurrentIndex(hdUp);
    dialog.HighlightDepthSpin->setValue(12); // at most 10
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(label.DirectionHighlight(), hdUp);
    EXPECT_EQ(label.DepthHighlight(), 10);
    EXPECT_EQ(label.DirectionShadow(), sdDownRight);
}

} // namespace
