// Dates as the address book stores and shows them: eight digits "YYYYMMDD" in the tables,
// the user's short date format on screen.
#pragma once

#include <QDate>
#include <QString>

class TDateText
{
public:
    // The user's short date pattern (a QDate format such as "M/d/yy"), taken from the system
    // locale on the first call and kept for the rest of the run.
    static QString shortDatePattern();

    // "YYYYMMDD" to a date: exactly eight digits forming a valid date, else an invalid date.
    static QDate fromYmd(const QString &text);
    // A date to "YYYYMMDD"; empty for an invalid date.
    static QString toYmd(const QDate &date);

    // The stored text shown in the short date pattern; empty when it is not a valid date.
    static QString display(const QString &ymd);
    static QString display(const QString &ymd, const QString &pattern);

    // Text in the short date pattern back to a date; invalid when it does not match. A pattern
    // with a two-digit year takes 00-29 as 2000-2029 and 30-99 as 1930-1999.
    static QDate fromDisplay(const QString &text);
    static QDate fromDisplay(const QString &text, const QString &pattern);
};
