#include "TGDateTimeLabel.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"

#include <QLocale>

QString TGDateTimeLabel::dateTimeText(const QDateTime &moment, TDateFormat date, TTimeFormat time)
{
    const QLocale locale = QLocale::system();
    QString text;
    if (date == dtfDateShort)
        text = locale.toString(moment.date(), QLocale::ShortFormat);
    else if (date == dtfDateLong)
        text = locale.toString(moment.date(), QLocale::LongFormat);
    if (time == dtfTimeShort)
        text += QLatin1Char(' ') + locale.toString(moment.time(), QLocale::ShortFormat);
    else if (time == dtfTimeLong)
        text += QLatin1Char(' ') + locale.toString(moment.time(), QLocale::LongFormat);
    return text;
}

void TGDateTimeLabel::UpdateCaption(bool, TBaseReport *)
{
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    const QString text = dateTimeText(now, DateFormat, TimeFormat);
    if (text != Caption())
        setCaptionQuiet(text);
}

void TGDateTimeLabel::WriteProperties(LayoutStreamWriter &w) const
{
    TGBaseLabel::WriteProperties(w);
    w.identProperty("DateFormat", TDateFormatNames[DateFormat]);
    w.identProperty("TimeFormat", TTimeFormatNames[TimeFormat]);
}

bool TGDateTimeLabel::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "DateFormat")
        DateFormat = static_cast<TDateFormat>(r.readEnum(TDateFormatNames, TDateFormatCount));
    else if (name == "TimeFormat")
        TimeFormat = static_cast<TTimeFormat>(r.readEnum(TTimeFormatNames, TTimeFormatCount));
    else
        return TGBaseLabel::ReadProperty(name, r);
    return true;
}
