#include "TPreferencesForm.h"

#include "THelpRequest.h"

#include "TIniFile.h"
#include "TMessages.h"
#include "TWhatsThis.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 1038;

namespace {

struct Choice {
    const char *caption;
    bool TAddingPrefs::*member;
    const char *key;
};

const Choice kAdding[] = {
    {"Enter today's date in the date field", &TAddingPrefs::PlugDate, "PlugDate"},
    {"Automatically insert city and state/province", &TAddingPrefs::PlugCityState, "PlugCityState"},
    {"Automatically check for duplicate names", &TAddingPrefs::AutoDupCheck, "AutoDupCheck"},
};

const Choice kCarry[] = {
    {"Organization", &TAddingPrefs::CarryOrg, "CarryOrg"},
    {"Address 1", &TAddingPrefs::CarrySA1, "CarrySA1"},
    {"Address 2", &TAddingPrefs::CarrySA2, "CarrySA2"},
    {"City", &TAddingPrefs::CarryCity, "CarryCity"},
    {"State/Province", &TAddingPrefs::CarryState, "CarryState"},
    {"Zip/Postal Code", &TAddingPrefs::CarryZip, "CarryZip"},
    {"Country", &TAddingPrefs::CarryCountry, "CarryCountry"},
};

const Choice kSkip[] = {
    {"Organization", &TAddingPrefs::SkipOrganization, "SkipOrganization"},
    {"Phone #1", &TAddingPrefs::SkipPhone1, "SkipPhone1"},
    {"E-Mail", &TAddingPrefs::SkipEmail, "SkipEmail"},
    {"State/Province", &TAddingPrefs::SkipState, "SkipState"},
    {"Zip/Postal Code", &TAddingPrefs::SkipZip, "SkipZip"},
    {"Country", &TAddingPrefs::SkipCountry, "SkipCountry"},
    {"Address 2", &TAddingPrefs::SkipAddress2, "SkipAddress2"},
    {"Last Name", &TAddingPrefs::SkipLastName, "SkipLastName"},
    {"Middle Initial", &TAddingPrefs::SkipMiddleInitial, "SkipMiddleInitial"},
    {"First Name", &TAddingPrefs::SkipfirstName, "SkipfirstName"},
    {"Title", &TAddingPrefs::Skiptitle, "Skiptitle"},
    {"Phone #2", &TAddingPrefs::SkipPhone2, "SkipPhone2"},
    {"Fax", &TAddingPrefs::SkipFax, "SkipFax"},
    {"Codes", &TAddingPrefs::SkipCodes, "SkipCodes"},
    {"Prefix", &TAddingPrefs::SkipPrefix, "SkipPrefix"},
    {"Comments #1", &TAddingPrefs::SkipComments1, "SkipComments1"},
    {"Date", &TAddingPrefs::SkipDate, "SkipDate"},
    {"Comments #2", &TAddingPrefs::Skipcomments2, "Skipcomments2"},
};

} // namespace

TPreferencesForm::TPreferencesForm(TIniFile &ini, QWidget *parent)
    : QDialog(parent), m_ini(ini), m_prefs(TAddingPrefs::load(ini))
{
    setObjectName(QStringLiteral("TPreferencesForm"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);

    auto addBoxes = [this](QGridLayout *grid, const Choice *choices, int count, int columns) {
        for (int i = 0; i < count; ++i) {
            auto *box = new QCheckBox(QString::fromUtf8(choices[i].caption), this);
            box->setObjectName(QLatin1String(choices[i].key));
            box->setChecked(m_prefs.*(choices[i].member));
            grid->addWidget(box, i / columns, i % columns);
            m_items.append({box, choices[i].member, QLatin1String(choices[i].key)});
        }
    };

    auto *adding = new QGroupBox(QStringLiteral(" When adding new records"), this);
    auto *addingGrid = new QGridLayout(adding);
    addBoxes(addingGrid, kAdding, int(std::size(kAdding)), 1);
    DefaultCountryEdit = new QLineEdit(m_prefs.DefaultCountry, adding);
    DefaultCountryEdit->setObjectName(QStringLiteral("DefaultCountry"));
    DefaultCountryEdit->setMaxLength(30);
    addingGrid->addWidget(new QLabel(QStringLiteral("Default Country Name"), adding), 3, 0);
    addingGrid->addWidget(DefaultCountryEdit, 4, 0);

    auto *carry = new QGroupBox(QStringLiteral("Carry forward the following fields:"), this);
    addBoxes(new QGridLayout(carry), kCarry, int(std::size(kCarry)), 2);
    auto *skip = new QGroupBox(QStringLiteral("Skip through the following fields:"), this);
    addBoxes(new QGridLayout(skip), kSkip, int(std::size(kSkip)), 3);

    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    OkButton->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(adding);
    layout->addWidget(carry);
    layout->addWidget(skip);
    layout->addLayout(buttons);

    connect(OkButton, &QPushButton::clicked, this, &TPreferencesForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    // What each control does, for its "What's this?".
    const QString addingTexts[] = {
        QStringLiteral("Fills the date field of a new record with today's date."),
        QStringLiteral("Asks for the ZIP or postal code before a new record is added and fills in its city "
                       "and state or province."),
        QStringLiteral("Asks for the name before a new record is added and warns when a record with that "
                       "name exists."),
    };
    for (int i = 0; i < int(std::size(kAdding)); ++i)
        TWhatsThis::describe(box(QLatin1String(kAdding[i].key)), addingTexts[i]);
    for (const Choice &c : kCarry)
        TWhatsThis::describe(box(QLatin1String(c.key)),
                             QStringLiteral("A new record starts with the %1 of the record shown.")
                                 .arg(QString::fromUtf8(c.caption)));
    for (const Choice &c : kSkip)
        TWhatsThis::describe(box(QLatin1String(c.key)),
                             QStringLiteral("While adding, Tab and Enter pass over the %1 box.")
                                 .arg(QString::fromUtf8(c.caption)));
    TWhatsThis::describe(DefaultCountryEdit,
                         QStringLiteral("The country a new record starts with when none is carried forward (at most 30 "
                                        "characters)."));
    TWhatsThis::describe(OkButton, QStringLiteral("Keeps these preferences and closes the window."));
    TWhatsThis::describe(CancelButton, QStringLiteral("Closes the window without changing the preferences."));
    TWhatsThis::describe(HelpButton, QStringLiteral("Opens the help page about the preferences."));
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

QCheckBox *TPreferencesForm::box(const QString &key) const
{
    for (const Item &item : m_items) {
        if (item.key == key)
            return item.box;
    }
    return nullptr;
}

void TPreferencesForm::OkButtonClick()
{
    for (const Item &item : m_items)
        m_prefs.*(item.member) = item.box->isChecked();
    m_prefs.DefaultCountry = DefaultCountryEdit->text();
    m_prefs.save(m_ini);
    accept();
}
