// "Address Label Layout": the boxes show the object's choices, the ZIP places follow the ZIP
// box, and "Ok" sets the properties and rebuilds the lines.
#include "TGAddressLayoutDialog.h"
#include "TGDMultiLineAddressLabel.h"
#include "TGDataPanel.h"
#include "TGOwner.h"
#include "TMemoryDataSource.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGAddressLayoutDialog, ChoicesReachTheBlock)
{
    TGOwner owner;
    TMemoryDataSource record;
    record.set(QStringLiteral("FNAME"), QStringLiteral("Ann"));
    record.set(QStringLiteral("CITY"), QStringLiteral("c"));
    record.set(QStringLiteral("STATE"), QStringLiteral("s"));
    record.set(QStringLiteral("ZIP"), QStringLiteral("z"));
    record.set(QStringLiteral("COUNTRY"), QStringLiteral("n"));
    TGDataPanel surface(&owner, 96);
    surface.setDataSet(&record);
    int changes = 0;
    surface.LabelChangedEvent = [&](TGBasePanel *) { ++changes; };
    auto *block = static_cast<TGDMultiLineAddressLabel *>(
        surface.insertObject(std::make_unique<TGDMultiLineAddressLabel>(&owner)));
    TGAddressLayoutDialog dialog(block);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Address Label Layout"));
    EXPECT_TRUE(dialog.ZipCheck->isChecked());
    EXPECT_FALSE(dialog.PhoneCheck->isChecked());
    EXPECT_TRUE(dialog.AfterStateRadio->isChecked());
    EXPECT_EQ(dialog.Address2Check->text(), QStringLiteral("Address &2"));

    // The ZIP places are open only while the ZIP box is checked.
    QTest::mouseClick(dialog.ZipCheck, Qt::LeftButton);
    EXPECT_FALSE(dialog.BeforeCountryRadio->isEnabled());
    QTest::mouseClick(dialog.ZipCheck, Qt::LeftButton);
    EXPECT_TRUE(dialog.BeforeCountryRadio->isEnabled());

    QTest::mouseClick(dialog.BeforeCountryRadio, Qt::LeftButton);
    QTest::mouseClick(dialog.UppercaseCheck, Qt::LeftButton);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(block->ZipOptions, zoBeforeCountry);
    EXPECT_TRUE(block->UpperCase);
    EXPECT_EQ(block->Items(),
              (QStringList{QStringLiteral("ANN "), QStringLiteral("C S"), QStringLiteral("Z N")}));
    EXPECT_GE(changes, 1);
}

} // namespace
