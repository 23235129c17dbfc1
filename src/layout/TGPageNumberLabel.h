// The report page number: "##" on screen, the print engine's page number when printed.
#pragma once

#include "TGBaseLabel.h"

class TGPageNumberLabel : public TGBaseLabel
{
public:
    using TGBaseLabel::TGBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGPageNumberLabel"); }

protected:
    void UpdateCaption(bool printing, TBaseReport *engine) override;
};
