#include "TPreferencesForm.h"

#include "THelpRequest.h"

#include "TIniFile.h"
#include "TMessages.h"

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
