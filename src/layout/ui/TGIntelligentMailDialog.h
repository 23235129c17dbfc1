// "Intelligent Mail Barcode": the barcode identifier, service type and mailer ID of an
// Intelligent Mail object, and where its serial number comes from (a fixed number, a counter
// starting at a number, or a record field). "Ok" checks the digits and hands the settings to
// the object; a value that cannot make a barcode is named in a message and the dialog stays.
#pragma once

#include "TGPropertyDialog.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class TGIntelligentMailBarCode;

class TGIntelligentMailDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGIntelligentMailDialog(TGIntelligentMailBarCode *object, QWidget *parent = nullptr);

    QLineEdit *IdentifierEdit = nullptr;
    QLineEdit *ServiceTypeEdit = nullptr;
    QLineEdit *MailerIdEdit = nullptr;
    QRadioButton *FixedSerialRadio = nullptr;
    QRadioButton *CounterSerialRadio = nullptr;
    QRadioButton *FieldSerialRadio = nullptr;
    QLineEdit *SerialEdit = nullptr;
    QComboBox *SerialFieldCombo = nullptr;

    // Why the values cannot make a barcode, or empty when they can.
    QString problem() const;
    void accept() override;

private:
    void SerialSourceClick();

    TGIntelligentMailBarCode *m_object;
};
