#include "TNewDatabaseForm.h"

#include "TWhatsThis.h"
#include "THelpRequest.h"

#include "TFieldLengthForm.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TNewFileName.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 1037;

TNewDatabaseForm::TNewDatabaseForm(const QString &proposedName, TIniFile &ini, QWidget *parent)
    : QDialog(parent), m_ini(ini), m_lengths(TFieldLengths::load(ini))
{
    setObjectName(QStringLiteral("TNewDatabaseForm"));
    setWindowTitle(QStringLiteral("Create new database"));
    setModal(true);

    NameEdit = new QLineEdit(proposedName, this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setMaxLength(TNewFileName::kMaxLength);
    InvalidLabel = new QLabel(
        QStringLiteral("Invalid name. Must start with A..Z, followed by A..Z,0..9 or \"_\" (underscore)"),
        this);
    InvalidLabel->setWordWrap(true);
    OkButton = new QPushButton(QStringLiteral("Ok [PgDn]"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    FieldLengthsButton = new QPushButton(QStringLiteral("Specify Field Lengths"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    OkButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FieldLengthsButton);
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Enter the database name (no extension)"), this));
    layout->addWidget(NameEdit);
    layout->addWidget(InvalidLabel);
    layout->addLayout(buttons);

    connect(NameEdit, &QLineEdit::textChanged, this, &TNewDatabaseForm::nameChanged);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(FieldLengthsButton, &QPushButton::clicked, this, &TNewDatabaseForm::FieldLengthsButtonClick);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {NameEdit, "The new address file's name: a letter first, then letters, digits or underscores."},
             {OkButton, "Creates the address file and opens it (Page Down does the same)."},
             {CancelButton, "Closes the window without creating a file."},
             {FieldLengthsButton, "Sets how many characters each field of the new file holds."},
             {HelpButton, "Opens the help page about creating an address file."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    nameChanged();
}

QString TNewDatabaseForm::name() const
{
    return NameEdit->text();
}

void TNewDatabaseForm::nameChanged()
{
    const bool valid = TNewFileName::isValid(NameEdit->text());
    OkButton->setEnabled(valid);
    InvalidLabel->setVisible(!valid);
}

void TNewDatabaseForm::FieldLengthsButtonClick()
{
    TFieldLengthForm form(m_lengths, m_ini, this);
    if (form.exec() == QDialog::Accepted)
        m_lengths = form.lengths();
}

void TNewDatabaseForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_PageDown) {
        if (OkButton->isEnabled())
            OkButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
