// Multi-line text of a memo field of the current record; the field is identified by its
// display label.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGDMultiLineLabel : public TGMultiLineBaseLabel
{
public:
    using TGMultiLineBaseLabel::TGMultiLineBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGDMultiLineLabel"); }

    QString DataFieldName;
    QString DataFieldDescript;

    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
