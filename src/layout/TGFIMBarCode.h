// FIM barcode (facing identification mark) of an envelope.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

class TGFIMBarCode : public TGGraphicControl
{
public:
    explicit TGFIMBarCode(TGOwner *owner) : TGGraphicControl(owner) {}
    QByteArray ClassName() const override { return QByteArrayLiteral("TGFIMBarCode"); }

    TFIMType FIMType = fimTypeA;

    void Paint(QPainter &painter) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
