#include "TCopyToClipBoard.h"

#include "THelpRequest.h"
#include "TWhatsThis.h"

#include "TCurrentRecordText.h"
#include "TMessages.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3001;

TCopyToClipBoard::TCopyToClipBoard(TCurrentRecordValues record, QWidget *parent)
    : QDialog(parent), m_record(std::move(record))
{
    setObjectName(QStringLiteral("TCopyToClipBoard"));
    setModal(true);
    setWindowTitle(QStringLiteral("Copy Record To Clipboard"));

    NameCheck = new QCheckBox(QStringLiteral("Name, Organization, Title"), this);
    AddressCheck = new QCheckBox(QStringLiteral("Address"), this);
    PhoneCheck = new QCheckBox(QStringLiteral("Phone Numbers"), this);
    CodesCheck = new QCheckBox(QStringLiteral("Codes"), this);
    CommentsCheck = new QCheckBox(QStringLiteral("Comments 1 && 2"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);

    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *check : {NameCheck, AddressCheck, PhoneCheck, CodesCheck, CommentsCheck}) {
        check->setChecked(true);
        layout->addWidget(check);
    }
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {OkButton, CancelButton, HelpButton})
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, &TCopyToClipBoard::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {NameCheck, "Copies the name, the organization and the title."},
             {AddressCheck, "Copies the address lines, the city line and the country."},
             {PhoneCheck, "Copies the phone numbers, the fax number and the e-mail address."},
             {CodesCheck, "Copies the record's codes."},
             {CommentsCheck, "Copies both comment fields."},
             {OkButton, "Puts the ticked parts of the record on the clipboard as text."},
             {CancelButton, "Closes the window; the clipboard stays as it was."},
             {HelpButton, "Opens the help page about copying a record."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TCopyToClipBoard::OkButtonClick()
{
    const TRecordText record = TCurrentRecordText::GetRecordAsString(
        m_record, NameCheck->isChecked(), AddressCheck->isChecked(), PhoneCheck->isChecked(),
        CodesCheck->isChecked(), CommentsCheck->isChecked());
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(record.text);
    QString message = QStringLiteral("Record copied to Windows Clipboard");
    if (record.cut)
        message += QStringLiteral(
                       "\n\nThe record's text was longer than %1 characters; only the first %1 were copied.")
                       .arg(TCurrentRecordText::kMaxLength);
    TMessages::information(this, message);
    accept();
}
