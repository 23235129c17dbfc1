// POSTNET barcode of the current record's ZIP code and delivery address: which fields hold
// them and which digits are encoded. The bars come from TPostNetEncoder; paper gets them at
// their inch positions, the designer a stock picture of a barcode.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"
#include "TPostNetEncoder.h"

#include <QImage>

class TGPostNetBarCode : public TGGraphicControl
{
public:
    // Created 2.6 by 0.125 inches at 96 pixels per inch (truncated to pixels).
    explicit TGPostNetBarCode(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGPostNetBarCode"); }

    QString ZipCodeField;
    QString AddressField;
    TBarCodeType BarCodeType = pnbc11Digit;

    // The record values the bars are made from (run-time).
    const QString &ZipText() const { return m_zipText; }
    const QString &AddressText() const { return m_addressText; }
    void setRecordTexts(const QString &zipText, const QString &addressText);
    // The symbol the current values print.
    TPostNetSymbol symbol() const;

    // The designer's stock picture of a barcode (270 by 16 pixels).
    static const QImage &stockPicture();

    void ShowDataValue() override;
    void ClearDataValue() override { setRecordTexts(QString(), QString()); }
    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    QString m_zipText;
    QString m_addressText;
};
