#include "TGIntelligentMailDialog.h"

#include "THelpRequest.h"

#include "TGDataPanel.h"
#include "TGDataSource.h"
#include "TGIntelligentMailBarCode.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3505;

TGIntelligentMailDialog::TGIntelligentMailDialog(TGIntelligentMailBarCode *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Intelligent Mail Barcode"), parent), m_object(object)
{
    auto *form = new QFormLayout;
    auto edit = [&](QLineEdit *&box, const char *name, const QString &text, int digits) {
        box = new QLineEdit(text, this);
        box->setObjectName(QLatin1String(name));
        box->setMaxLength(digits);
        box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    };
    edit(IdentifierEdit, "IdentifierEdit", object->BarcodeIdentifier, 2);
    edit(ServiceTypeEdit, "ServiceTypeEdit", object->ServiceType, 3);
    edit(MailerIdEdit, "MailerIdEdit", object->MailerID, 9);
    edit(SerialEdit, "SerialEdit", QString::number(object->SerialNumber), 9);
    form->addRow(QStringLiteral("Barcode &identifier"), IdentifierEdit);
    form->addRow(QStringLiteral("&Service type"), ServiceTypeEdit);
    form->addRow(QStringLiteral("&Mailer ID"), MailerIdEdit);

    auto radio = [&](QRadioButton *&button, const char *name, const QString &caption,
                     TIMbSerialSource source) {
        button = new QRadioButton(caption, this);
        button->setObjectName(QLatin1String(name));
        button->setChecked(object->SerialSource == source);
        connect(button, &QRadioButton::toggled, this, &TGIntelligentMailDialog::SerialSourceClick);
    };
    radio(FixedSerialRadio, "FixedSerialRadio", QStringLiteral("Fi&xed serial number"), imbSerialFixed);
    radio(CounterSerialRadio, "CounterSerialRadio", QStringLiteral("&Counter starting at"), imbSerialCounter);
    radio(FieldSerialRadio, "FieldSerialRadio", QStringLiteral("Serial from &field"), imbSerialField);
    form->addRow(FixedSerialRadio);
    form->addRow(CounterSerialRadio);
    form->addRow(QStringLiteral("Serial &number"), SerialEdit);
    form->addRow(FieldSerialRadio);

    SerialFieldCombo = new QComboBox(this);
    SerialFieldCombo->setObjectName(QStringLiteral("SerialFieldCombo"));
    const TGDataPanel *surface = object->dataParent();
    const TGDataSource *dataSet = surface ? surface->DataSet() : nullptr;
    for (int i = 0; dataSet && i < dataSet->fieldCount(); ++i)
        if (dataSet->isTextField(i))
            SerialFieldCombo->addItem(dataSet->displayLabel(i), dataSet->fieldName(i));
    const int current = SerialFieldCombo->findData(object->SerialField);
    SerialFieldCombo->setCurrentIndex(current >= 0 ? current : 0);
    form->addRow(QStringLiteral("Field"), SerialFieldCombo);
    fields()->addLayout(form);
    SerialSourceClick();
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGIntelligentMailDialog::SerialSourceClick()
{
    SerialEdit->setEnabled(!FieldSerialRadio->isChecked());
    SerialFieldCombo->setEnabled(FieldSerialRadio->isChecked());
}

QString TGIntelligentMailDialog::problem() const
{
    if (IdentifierEdit->text().size() != 2 || IdentifierEdit->text()[1] > QLatin1Char('4'))
        return QStringLiteral("The barcode identifier must be two digits, the second 0 to 4.");
    if (ServiceTypeEdit->text().size() != 3)
        return QStringLiteral("The service type must be three digits.");
    const qsizetype mailer = MailerIdEdit->text().size();
    if (mailer != 6 && mailer != 9)
        return QStringLiteral("The mailer ID must be 6 or 9 digits.");
    if (!FieldSerialRadio->isChecked() &&
        (SerialEdit->text().isEmpty() || SerialEdit->text().size() > 15 - mailer))
        return QStringLiteral("With a %1-digit mailer ID the serial number has at most %2 digits.")
            .arg(mailer)
            .arg(15 - mailer);
    if (FieldSerialRadio->isChecked() && SerialFieldCombo->currentIndex() < 0)
        return QStringLiteral("Choose the field that holds the serial number.");
    return QString();
}

void TGIntelligentMailDialog::accept()
{
    const QString why = problem();
    if (!why.isEmpty()) {
        QMessageBox::information(this, QStringLiteral("Information"), why);
        return;
    }
    const TIMbSerialSource source = FixedSerialRadio->isChecked()   ? imbSerialFixed
                                    : FieldSerialRadio->isChecked() ? imbSerialField
                                                                    : imbSerialCounter;
    m_object->ChooseSettings(IdentifierEdit->text(), ServiceTypeEdit->text(), MailerIdEdit->text(), source,
                             SerialEdit->text().toLongLong(),
                             source == imbSerialField ? SerialFieldCombo->currentData().toString()
                                                      : QString());
    TGPropertyDialog::accept();
}
