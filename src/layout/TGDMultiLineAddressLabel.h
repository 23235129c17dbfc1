// The address block assembled from the current address record, with the choice of lines and
// of where the ZIP code goes.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGDMultiLineAddressLabel : public TGMultiLineBaseLabel
{
public:
    using TGMultiLineBaseLabel::TGMultiLineBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGDMultiLineAddressLabel"); }

    bool UseName = true;
    bool UseTitle = true;
    bool UseCompany = true;
    bool UseStreet = true;
    bool UseStreet2 = true;
    bool UseCityState = true;
    bool UseZip = true;
    bool UsePhone = false;
    bool UseCountry = true;
    TZipOptions ZipOptions = zoAfterState;
    bool UpperCase = false;

    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
