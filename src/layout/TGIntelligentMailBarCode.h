// Intelligent Mail barcode of the current record on a label or envelope: the tracking code
// (barcode identifier, service type, mailer ID and a serial number that is fixed, counted per
// label or read from a record field) and the routing code from the record's ZIP code, with the
// delivery point from its address line. Bars come from TIntelligentMailEncoder; paper gets them
// at 22 bars per inch, the designer the same bars scaled to the box.
#pragma once

#include "TGEnums.h"
#include "TGGraphicControl.h"
#include "TIntelligentMailEncoder.h"

class TGIntelligentMailBarCode : public TGGraphicControl
{
public:
    // Created as long and high as a symbol at 96 pixels per inch.
    explicit TGIntelligentMailBarCode(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGIntelligentMailBarCode"); }

    // --- Stored properties.
    QString BarcodeIdentifier = QStringLiteral("00"); // 2 digits, the second 0 to 4
    QString ServiceType = QStringLiteral("000");      // 3 digits
    QString MailerID;                                 // 6 or 9 digits
    TIMbSerialSource SerialSource = imbSerialCounter;
    // The fixed serial, or the counter's first value; as many digits as the mailer ID leaves.
    qint64 SerialNumber = 1;
    QString SerialField; // the record field of imbSerialField
    QString ZipCodeField = QStringLiteral("ZIP");
    QString AddressField = QStringLiteral("STREET");

    // --- Run-time state.
    qint64 counter() const { return m_counter; }
    void setRecordTexts(const QString &zipText, const QString &addressText, const QString &serialText);
    // Digits the serial number has with this mailer ID: 9 with 6, 6 with 9 (0 for a bad ID).
    int serialDigits() const;
    // The 20 tracking digits, or empty when a part is missing or does not fit.
    QString tracking() const;
    // The routing code from the ZIP text: its digits when there are 0 or 5, the 9 digits and
    // the delivery point when there are 9; anything else gives `ok` false.
    QString routing(bool *ok) const;
    // The symbol the current values print (empty with a message when they cannot).
    TIntelligentMailSymbol symbol() const;

    // The dialog's choices, with the change notification.
    void ChooseSettings(const QString &identifier, const QString &serviceType, const QString &mailerId,
                        TIMbSerialSource source, qint64 serial, const QString &serialField);

    void ShowDataValue() override;
    void ClearDataValue() override { setRecordTexts(QString(), QString(), QString()); }
    void AdvanceCounter() override { ++m_counter; }
    void ResetCounter() override { m_counter = SerialNumber; }
    void Paint(QPainter &painter) override;
    void Print(TBaseReport &engine, InchPoint origin) override;
    void Loaded() override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

private:
    QString m_zipText;
    QString m_addressText;
    QString m_serialText;
    qint64 m_counter = 1;
};
