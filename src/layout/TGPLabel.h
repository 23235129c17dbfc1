// Plain text as typed.
#pragma once

#include "TGBaseLabel.h"

class TGPLabel : public TGBaseLabel
{
public:
    using TGBaseLabel::TGBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGPLabel"); }

    // "Text" command: the new caption, then the box grows to fit.
    void EditText(const QString &text);
};
