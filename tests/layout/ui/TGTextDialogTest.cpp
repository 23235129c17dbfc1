// "Text": Ok takes the text and grows the box to fit; Cancel leaves the object alone.
#include "TGTextDialog.h"
#include "TGOwner.h"
#include "TGPLabel.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGTextDialog, OkTakesTheTextAndFitsCancelLeavesIt)
{
    TGOwner owner;
    TGPLabel label(&owner);
    {
        TGTextDialog dialog(&label);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Text"));
        EXPECT_EQ(dialog.TextEdit->text(), QStringLiteral("Text"));
        dialog.TextEdit->setText(QStringLiteral("A much longer text than the box holds"));
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
    }
    EXPECT_EQ(label.Caption(), QStringLiteral("Text"));
    TGTextDialog dialog(&label);
    dialog.TextEdit->setText(QStringLiteral("A much longer text than the box holds"));
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(label.Caption(), QStringLiteral("A much longer text than the box holds"));
    EXPECT_GT(label.Width(), TGBaseLabel::kNewWidth);
}

} // namespace
