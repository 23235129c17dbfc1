// The address block assembled from the current address record, with the choice of lines and
// of where the ZIP code goes. Empty lines are left out.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGDataSource;

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

    // The lines of the current record of `data` by the object's choices. A field the data set
    // lacks ends the block: the lines built before it are kept.
    QStringList addressLines(const TGDataSource &data) const;

    // "Address Label Layout" (after "Ok"): the properties are already set; refresh, change
    // notification.
    void LayoutChosen();

    void ShowDataValue() override;
    void ClearDataValue() override;
    // The lines come from the record, so rewrapping builds them again.
    void Rewrap() override { ShowDataValue(); }
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
