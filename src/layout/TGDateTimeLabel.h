// The date and/or time of printing, in the system's short or long formats; rebuilt at every
// paint and print. A time without a date begins with a space.
#pragma once

#include "TGBaseLabel.h"

#include <QDateTime>

class TGDateTimeLabel : public TGBaseLabel
{
public:
    using TGBaseLabel::TGBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGDateTimeLabel"); }

    TDateFormat DateFormat = dtfDateShort;
    TTimeFormat TimeFormat = dtfTimeNone;

    // The text for `moment` in the system's formats.
    static QString dateTimeText(const QDateTime &moment, TDateFormat date, TTimeFormat time);
    // The clock the text is taken from; tests set a fixed moment.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    void WriteProperties(LayoutStreamWriter &w) const override;
    bool ReadProperty(const QByteArray &name, LayoutStreamReader &r) override;

protected:
    void UpdateCaption(bool printing, TBaseReport *engine) override;

private:
    std::function<QDateTime()> m_clock;
};
