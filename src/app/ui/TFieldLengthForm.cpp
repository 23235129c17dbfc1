#include "TFieldLengthForm.h"

#include "TWhatsThis.h"
#include "THelpRequest.h"

#include "TIniFile.h"
#include "TMessages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 2097;

namespace {

struct Caption {
    const char *text;
    const char *field;
};

const Caption kBoxes[TFieldLengths::kCount] = {
    {"First Name", "FNAME"},  {"Last Name", "LNAME"},   {"Prefix", "PREFIX"},      {"Title", "TITLE"},
    {"Organization", "ORG"},  {"Address #1", "STREET"}, {"Address #2", "STREET2"}, {"City", "CITY"},
    {"State", "STATE"},       {"Zip/Postal", "ZIP"},    {"Country", "COUNTRY"},    {"Phone #1", "PHONE"},
    {"Phone #2", "PHONE2"},   {"Fax", "FAX"},           {"E-Mail", "EMAIL"},       {"Codes", "CODES"},
    {"Comments #1", "USER1"}, {"Comments #2", "USER2"},
};

} // namespace

TFieldLengthForm::TFieldLengthForm(const TFieldLengths &lengths, TIniFile &ini, QWidget *parent)
    : QDialog(parent), m_lengths(lengths), m_ini(ini)
{
    setObjectName(QStringLiteral("TFieldLengthForm"));
    setWindowTitle(QStringLiteral("Specify Field Lengths"));
    setModal(true);

    auto *grid = new QGridLayout;
    for (int i = 0; i < TFieldLengths::kCount; ++i) {
        const QString field = QLatin1String(kBoxes[i].field);
        const int index = TFieldLengths::indexOf(field);
        auto *edit = new QLineEdit(QString::number(m_lengths.length(index)), this);
        edit->setObjectName(field);
        edit->setMaxLength(2);
        auto *label = new QLabel(QString::fromUtf8(kBoxes[i].text), this);
        label->setBuddy(edit);
        grid->addWidget(label, i / 2, (i % 2) * 2);
        grid->addWidget(edit, i / 2, (i % 2) * 2 + 1);
        const Box box{edit, index, m_lengths.length(index)};
        m_boxes.append(box);
        connect(edit, &QLineEdit::editingFinished, this, [this, box] { checkBox(box); });
    }

    UseForAllCheck = new QCheckBox(QStringLiteral("Use these settings for all new databases"), this);
    DefaultsButton = new QPushButton(QStringLiteral("Defaults"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    OkButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DefaultsButton);
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(
        QStringLiteral("NOTE: Minimum size = 10 characters                  Maximum size = 80 characters"),
        this));
    layout->addWidget(UseForAllCheck);
    layout->addLayout(buttons);

    connect(DefaultsButton, &QPushButton::clicked, this, &TFieldLengthForm::DefaultsButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &TFieldLengthForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // What each control does, for its "What's this?".
    for (const auto &[control, text] : std::initializer_list<std::pair<QWidget *, const char *>>{
             {UseForAllCheck, "Keeps these lengths as the starting lengths of every new address file."},
             {DefaultsButton, "Puts every length back to the program's standard length."},
             {OkButton, "Uses these lengths for the new file."},
             {CancelButton, "Closes the window and keeps the lengths as they were."},
             {HelpButton, "Opens the help page about field lengths."},
         })
        TWhatsThis::describe(control, QLatin1String(text));
    for (const Box &b : m_boxes)
        TWhatsThis::describe(b.edit, QStringLiteral("How many characters this field holds in the new file."));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

QLineEdit *TFieldLengthForm::box(const QString &fieldName) const
{
    for (const Box &b : m_boxes) {
        if (b.edit->objectName() == fieldName)
            return b.edit;
    }
    return nullptr;
}

int TFieldLengthForm::accepted(const QString &text, int startingValue)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < kSmallest || value > kLargest)
        return startingValue;
    return value;
}

void TFieldLengthForm::checkBox(const Box &box)
{
    const int value = accepted(box.edit->text(), box.starting);
    if (box.edit->text() != QString::number(value))
        box.edit->setText(QString::number(value));
}

void TFieldLengthForm::DefaultsButtonClick()
{
    const TFieldLengths defaults = TFieldLengths::windowDefaults();
    for (const Box &b : m_boxes)
        b.edit->setText(QString::number(defaults.length(b.index)));
}

void TFieldLengthForm::OkButtonClick()
{
    for (const Box &b : m_boxes) {
        checkBox(b);
        bool ok = false;
        const int value = b.edit->text().toInt(&ok);
        if (ok)
            m_lengths.setLength(b.index, value);
    }
    if (UseForAllCheck->isChecked()) {
        m_lengths.limit();
        m_lengths.save(m_ini);
    }
    accept();
}
