// One data field of the current record, identified by the field's display label. Shows the
// value when the surface displays values or prints, "[" + label + "]" in design view,
// "<blank field>" for an empty value and "<undefined field>" when no field matches.
#pragma once

#include "TGBaseLabel.h"

class TGPDLabel : public TGBaseLabel
{
public:
    using TGBaseLabel::TGBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGPDLabel"); }

    QString DataFieldName;
    QString DataFieldDescript;
    // Stored with the object; nothing reads it.
    int LengthOfText = 0;

    // The field chosen in "Select Field": name and display label; change notification.
    void ChooseField(const QString &fieldName, const QString &displayLabel);

    void ShowDataValue() override;
    // No record value is ever saved with the layout.
    void ClearDataValue() override { setCaptionQuiet(QString()); }
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
