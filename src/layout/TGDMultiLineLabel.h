// Multi-line text of a memo field of the current record; the field is identified by its
// display label. Shows "[" + label + "]" in design view and "<undefined memo>" when no field
// has the label; prints the memo's text, wrapped to the width when wrapping.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGDMultiLineLabel : public TGMultiLineBaseLabel
{
public:
    explicit TGDMultiLineLabel(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGDMultiLineLabel"); }

    QString DataFieldName;
    QString DataFieldDescript;

    // "Memo Field" (after "Ok" in "Select Field"): name and display label, change notification.
    void ChooseField(const QString &fieldName, const QString &displayLabel);

    void ShowDataValue() override;
    // No record value is ever saved with the layout.
    void ClearDataValue() override;
    // The lines come from the memo, so rewrapping fetches them again.
    void Rewrap() override { ShowDataValue(); }
    void ReadBegin() override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
