#include "TDateText.h"

#include <QLocale>

QString TDateText::shortDatePattern()
{
    static const QString pattern = QLocale::system().dateFormat(QLocale::ShortFormat);
    return pattern;
}

QDate TDateText::fromYmd(const QString &text)
{
    if (text.size() != 8)
        return QDate();
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QDate();
    }
    const int year = text.left(4).toInt();
    const int month = text.mid(4, 2).toInt();
    const int day = text.mid(6, 2).toInt();
    return QDate::isValid(year, month, day) ? QDate(year, month, day) : QDate();
}

QString TDateText::toYmd(const QDate &date)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return QString();
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString TDateText::display(const QString &ymd)
{
    return display(ymd, shortDatePattern());
}

QString TDateText::display(const QString &ymd, const QString &pattern)
{
    const QDate date = fromYmd(ymd);
    if (!date.isValid())
        return QString();
    return QLocale::system().toString(date, pattern);
}

QDate TDateText::fromDisplay(const QString &text)
{
    return fromDisplay(text, shortDatePattern());
}

QDate TDateText::fromDisplay(const QString &text, const QString &pattern)
{
    QDate date = QLocale::system().toDate(text.trimmed(), pattern);
    if (!date.isValid())
        return date;
    const bool twoDigitYear =
        pattern.contains(QLatin1String("yy")) && !pattern.contains(QLatin1String("yyyy"));
    if (twoDigitYear && date.year() >= 1900 && date.year() < 1930)
        date = date.addYears(100);
    return date;
}
