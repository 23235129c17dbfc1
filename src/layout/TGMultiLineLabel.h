// Multi-line plain text typed by the user.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGMultiLineLabel : public TGMultiLineBaseLabel
{
public:
    using TGMultiLineBaseLabel::TGMultiLineBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGMultiLineLabel"); }
};
