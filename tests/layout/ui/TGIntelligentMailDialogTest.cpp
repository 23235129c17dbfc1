// "Intelligent Mail Barcode": typed settings reach the object; digits that cannot make a
// barcode are named in a message and leave the object as it was.
#include "TGIntelligentMailDialog.h"
#include "TGDataPanel.h"
#include "TGIntelligentMailBarCode.h"
#include "TGOwner.h"
#include "TMemoryDataSource.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void typeInto(QLineEdit *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

TEST(TGIntelligentMailDialog, TypedSettingsReachTheObject)
{
    TGOwner owner;
    TMemoryDataSource record;
    TGDataPanel surface(&owner, 96);
    surface.setDataSet(&record);
    auto *imb = static_cast<TGIntelligentMailBarCode *>(
        surface.insertObject(std::make_unique<TGIntelligentMailBarCode>(&owner)));
    TGIntelligentMailDialog dialog(imb);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Intelligent Mail Barcode"));
    EXPECT_TRUE(dialog.CounterSerialRadio->isChecked());
    EXPECT_FALSE(dialog.SerialFieldCombo->isEnabled());

    // A 5-digit mailer ID is refused with a message; the object keeps its settings.
    typeInto(dialog.MailerIdEdit, QStringLiteral("12345"));
    QString message;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_EQ(message.toStdString(), "The mailer ID must be 6 or 9 digits.");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(imb->MailerID.isEmpty());

    // Letters do not go into the digit boxes.
    typeInto(dialog.MailerIdEdit, QStringLiteral("12A3456"));
    EXPECT_EQ(dialog.MailerIdEdit->text().toStdString(), "123456");
    typeInto(dialog.ServiceTypeEdit, QStringLiteral("270"));
    // On its indicator: a radio button takes clicks on its mark and caption only.
    QTest::mouseClick(dialog.FieldSerialRadio, Qt::LeftButton, {},
                      QPoint(6, dialog.FieldSerialRadio->height() / 2));
    EXPECT_TRUE(dialog.SerialFieldCombo->isEnabled());
    dialog.SerialFieldCombo->setCurrentIndex(dialog.SerialFieldCombo->findData(QStringLiteral("PHONE")));
    QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(imb->MailerID.toStdString(), "123456");
    EXPECT_EQ(imb->ServiceType.toStdString(), "270");
    EXPECT_EQ(imb->SerialSource, imbSerialField);
    EXPECT_EQ(imb->SerialField.toStdString(), "PHONE");
}

} // namespace
