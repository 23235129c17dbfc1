// "Counter": the five settings go to the counter on Ok; the spin boxes keep their ranges.
#include "TGCounterDialog.h"
#include "TGCounterLabel.h"
#include "TGOwner.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGCounterDialog, OkSetsTheCounterAndItsCaption)
{
    TGOwner owner;
    TGCounterLabel counter(&owner);
    TGCounterDialog dialog(&counter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Counter"));
    dialog.StartSpin->setValue(-12);
    dialog.RepeatSpin->setValue(5000); // at most 999
    dialog.ZerosSpin->setValue(12);    // at most 9
    dialog.BeforeEdit->setText(QStringLiteral("No."));
    dialog.AfterEdit->setText(QStringLiteral("!"));
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(counter.Startingnumber(), -12);
    EXPECT_EQ(counter.RepeatEach(), 999);
    EXPECT_EQ(counter.LeadingZeros(), 9);
    EXPECT_EQ(counter.Caption(), QStringLiteral("No.-000000012!"));
}

} // namespace
