#include "TGlobalTagId.h"

QString TGlobalTagId::base36(qint64 value)
{
    static const char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    if (value < 0)
        value = -value;
    QString digits;
    while (value > 0 && digits.size() < 6) {
        digits.prepend(QLatin1Char(kDigits[value % 36]));
        value /= 36;
    }
    return digits;
}

QString TGlobalTagId::make(const QDateTime &now)
{
    const QDate date = now.date();
    const QTime time = now.time();
    const qint64 stamp = qint64(date.month()) * 100000000 + qint64(date.day()) * 1000000 +
                         qint64(time.hour()) * 10000 + qint64(time.minute()) * 100 + time.second();
    return base36(date.year() - 1995) + base36(stamp);
}

QString TGlobalTagId::make()
{
    return make(QDateTime::currentDateTime());
}
