// "Select Field": text fields that are visible and tagged 0 or more, the current one chosen;
// Ok binds the object to the field, and the surface refreshes after Ok and Cancel.
#include "TGSelectFieldDialog.h"
#include "TGDMultiLineLabel.h"
#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGOwner.h"
#include "TGPDLabel.h"
#include "TMemoryDataSource.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Fields : public TGDataSource
{
public:
    bool isOpen() const override { return true; }
    int fieldCount() const override { return 4; }
    QString fieldName(int i) const override { return QStringList{"LNAME", "DATE", "SECRET", "CITY"}[i]; }
    QString displayLabel(int i) const override
    {
        return QStringList{"Last Name", "Date", "Secret", "City"}[i];
    }
    QString fieldText(int i) const override { return QStringList{"Smith", "19970428", "x", "Portland"}[i]; }
    bool isTextField(int i) const override { return i != 1; }
    int fieldTag(int i) const override { return i == 2 ? -1 : 0; }
    bool isFieldVisible(int) const override { return true; }
};

TEST(TGSelectFieldDialog, ListsTextFieldsAndBindsTheChoice)
{
    TGOwner owner;
    Fields fields;
    TGDataPanel surface(&owner, 96);
    surface.setDataSet(&fields);
    auto *field = static_cast<TGPDLabel *>(surface.insertObject(std::make_unique<TGPDLabel>(&owner)));
    field->DataFieldDescript = QStringLiteral("City");
    TGSelectFieldDialog dialog(field);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select Field"));
    ASSERT_EQ(dialog.FieldList->count(), 2);
    EXPECT_EQ(dialog.FieldList->item(0)->text(), QStringLiteral("Last Name"));
    EXPECT_EQ(dialog.FieldList->currentRow(), 1);
    dialog.FieldList->setCurrentRow(0);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(field->DataFieldName, QStringLiteral("LNAME"));
    EXPECT_EQ(field->DataFieldDescript, QStringLiteral("Last Name"));
    EXPECT_EQ(field->Caption(), QStringLiteral("Smith"));
}

TEST(TGSelectFieldDialog, AMemoObjectListsTheMemoFields)
{
    TGOwner owner;
    TMemoryDataSource record;
    record.set(QStringLiteral("NOTES"), QStringLiteral("A note"));
    TGDataPanel surface(&owner, 96);
    surface.setDataSet(&record);
    auto *memo =
        static_cast<TGDMultiLineLabel *>(surface.insertObject(std::make_unique<TGDMultiLineLabel>(&owner)));
    memo->DataFieldDescript = QStringLiteral("MEMO");
    TGSelectFieldDialog dialog(memo);
    ASSERT_EQ(dialog.FieldList->count(), 2);
    EXPECT_EQ(dialog.FieldList->item(1)->text(), QStringLiteral("Notes"));
    EXPECT_EQ(dialog.FieldList->currentRow(), 0);
    dialog.FieldList->setCurrentRow(1);
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(memo->DataFieldName, QStringLiteral("NOTES"));
    EXPECT_EQ(memo->DataFieldDescript, QStringLiteral("Notes"));
    EXPECT_EQ(memo->Items(), QStringList{QStringLiteral("A note")});
}

} // namespace
