#include "TGAddressLayoutDialog.h"

#include "THelpRequest.h"

#include "TGDMultiLineAddressLabel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3502;

TGAddressLayoutDialog::TGAddressLayoutDialog(TGDMultiLineAddressLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Address Label Layout"), parent), m_object(object)
{
    auto *columns = new QHBoxLayout;
    auto *lines = new QVBoxLayout;
    auto check = [&](QCheckBox *&box, const char *name, const QString &caption, bool on) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QLatin1String(name));
        box->setChecked(on);
        lines->addWidget(box);
    };
    check(NameCheck, "NameCheck", QStringLiteral("&Name"), object->UseName);
    check(TitleCheck, "TitleCheck", QStringLiteral("&Title"), object->UseTitle);
    check(OrganizationCheck, "OrganizationCheck", QStringLiteral("&Organization"), object->UseCompany);
    check(Address1Check, "Address1Check", QStringLiteral("Address &1"), object->UseStreet);
    check(Address2Check, "Address2Check", QStringLiteral("Address &2"), object->UseStreet2);
    check(CityStateCheck, "CityStateCheck", QStringLiteral("City + &State"), object->UseCityState);
    check(ZipCheck, "ZipCheck", QStringLiteral("&Zip/Postal code"), object->UseZip);
    check(PhoneCheck, "PhoneCheck", QStringLiteral("&Phone #1"), object->UsePhone);
    check(CountryCheck, "CountryCheck", QStringLiteral("&Country"), object->UseCountry);
    check(UppercaseCheck, "UppercaseCheck", QStringLiteral("&Uppercase"), object->UpperCase);
    columns->addLayout(lines);

    auto *places = new QGroupBox(this);
    auto *placeLayout = new QVBoxLayout(places);
    auto radio = [&](QRadioButton *&button, const char *name, const QString &caption, TZipOptions option) {
        button = new QRadioButton(caption, places);
        button->setObjectName(QLatin1String(name));
        button->setChecked(object->ZipOptions == option);
        placeLayout->addWidget(button);
    };
    radio(AfterStateRadio, "AfterStateRadio", QStringLiteral("&After state"), zoAfterState);
    radio(BeforeCityRadio, "BeforeCityRadio", QStringLiteral("&Before city"), zoBeforeCity);
    radio(AfterCountryRadio, "AfterCountryRadio", QStringLiteral("A&fter country"), zoAfterCountry);
    radio(BeforeCountryRadio, "BeforeCountryRadio", QStringLiteral("B&efore country"), zoBeforeCountry);
    columns->addWidget(places);
    fields()->addLayout(columns);

    connect(ZipCheck, &QCheckBox::toggled, this, &TGAddressLayoutDialog::ZipCheckClick);
    ZipCheckClick();
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGAddressLayoutDialog::ZipCheckClick()
{
    for (QRadioButton *b : {AfterStateRadio, BeforeCityRadio, AfterCountryRadio, BeforeCountryRadio})
        b->setEnabled(ZipCheck->isChecked());
}

void TGAddressLayoutDialog::accept()
{
    m_object->UseName = NameCheck->isChecked();
    m_object->UseTitle = TitleCheck->isChecked();
    m_object->UseCompany = OrganizationCheck->isChecked();
    m_object->UseStreet = Address1Check->isChecked();
    m_object->UseStreet2 = Address2Check->isChecked();
    m_object->UseCityState = CityStateCheck->isChecked();
    m_object->UseZip = ZipCheck->isChecked();
    m_object->UsePhone = PhoneCheck->isChecked();
    m_object->UseCountry = CountryCheck->isChecked();
    m_object->UpperCase = UppercaseCheck->isChecked();
    m_object->ZipOptions = BeforeCityRadio->isChecked()      ? zoBeforeCity
                           : AfterCountryRadio->isChecked()  ? zoAfterCountry
                           : BeforeCountryRadio->isChecked() ? zoBeforeCountry
                                                             : zoAfterState;
    TGPropertyDialog::accept();
    m_object->LayoutChosen();
}
