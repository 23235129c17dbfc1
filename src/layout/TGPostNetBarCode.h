// POSTNET barcode of the current record's ZIP code and delivery address: which fields hold
// them and which digits are encoded.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"

class TGPostNetBarCode : public TGGraphicControl
{
public:
    explicit TGPostNetBarCode(TGOwner *owner) : TGGraphicControl(owner) {}
    QByteArray ClassName() const override { return QByteArrayLiteral("TGPostNetBarCode"); }

    QString ZipCodeField;
    QString AddressField;
    TBarCodeType BarCodeType = pnbc11Digit;

    void Paint(QPainter &painter) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;
};
