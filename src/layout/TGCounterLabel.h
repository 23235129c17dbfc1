// A running number: TextBefore + number + TextAfter. Each number is printed RepeatEach times,
// padded with zeros to LeadingZeros digits.
#pragma once

#include "TGBaseLabel.h"

class TGCounterLabel : public TGBaseLabel
{
public:
    explicit TGCounterLabel(TGOwner *owner);
    QByteArray ClassName() const override { return QByteArrayLiteral("TGCounterLabel"); }

    int Startingnumber() const { return m_startingNumber; }
    // Also restarts the counter.
    void setStartingnumber(int number);
    int RepeatEach() const { return m_repeatEach; }
    void setRepeatEach(int count) { m_repeatEach = count; }
    int LeadingZeros() const { return m_leadingZeros; }
    void setLeadingZeros(int digits) { m_leadingZeros = digits; }
    const QString &TextBefore() const { return m_textBefore; }
    void setTextBefore(const QString &text) { m_textBefore = text; }
    const QString &TextAfter() const { return m_textAfter; }
    void setTextAfter(const QString &text) { m_textAfter = text; }
    qint64 currentValue() const { return m_current; }

    // The number as shown: decimal, zero-padded to LeadingZeros digits after any minus sign.
    static QString numberText(qint64 value, int leadingZeros);
    QString counterText() const;

    // "Counter Settings" on Ok: the values, the caption, the fit at angle 0, notification.
    void ApplySettings(int startingNumber, int repeatEach, const QString &before, const QString &after,
                       int leadingZeros);

    void ResetCounter() override;
    void AdvanceCounter() override;
    void Loaded() override;
    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

protected:
    void UpdateCaption(bool printing, TBaseReport *engine) override;

private:
    int m_startingNumber = 1;
    int m_repeatEach = 1;
    int m_leadingZeros = 0;
    QString m_textBefore;
    QString m_textAfter;
    qint64 m_current = 1;
    int m_repeatCount = 0;
};
