// "Address Label Layout": which lines an address block holds, where its ZIP code goes and
// whether it is upper case. The ZIP places can be chosen only while "&Zip/Postal code" is
// checked. "Ok" sets the object's properties, refreshes the surface and raises the change
// notification.
#pragma once

#include "TGPropertyDialog.h"

class QCheckBox;
class QRadioButton;
class TGDMultiLineAddressLabel;

class TGAddressLayoutDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGAddressLayoutDialog(TGDMultiLineAddressLabel *object, QWidget *parent = nullptr);

    QCheckBox *NameCheck = nullptr;
    QCheckBox *TitleCheck = nullptr;
    QCheckBox *OrganizationCheck = nullptr;
    QCheckBox *Address1Check = nullptr;
    QCheckBox *Address2Check = nullptr;
    QCheckBox *CityStateCheck = nullptr;
    QCheckBox *ZipCheck = nullptr;
    QCheckBox *PhoneCheck = nullptr;
    QCheckBox *CountryCheck = nullptr;
    QRadioButton *AfterStateRadio = nullptr;
    QRadioButton *BeforeCityRadio = nullptr;
    QRadioButton *AfterCountryRadio = nullptr;
    QRadioButton *BeforeCountryRadio = nullptr;
    QCheckBox *UppercaseCheck = nullptr;

    void accept() override;

private:
    void ZipCheckClick();

    TGDMultiLineAddressLabel *m_object;
};
