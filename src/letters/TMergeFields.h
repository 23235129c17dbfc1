// The merge fields of a letter template, "[" + name + "]", and the text each one stands for
// in one address record. Pure functions of the record's values and the date.
#pragma once

#include "TMergeRecord.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>

// The date the merge writes for "Today's Date" and "Long Date", and how it is written.
struct TMergeDates {
    QDate today;
    QString shortDatePattern; // a QDate pattern, the user's short date format
    QLocale locale;           // month names of "Long Date"

    // Today in the user's short date pattern and the system locale.
    static TMergeDates system();
};

class TMergeFields
{
public:
    // The 25 field names in the order of the editor's insert list.
    static const QStringList &names();
    // True for one of names(), spelled exactly.
    static bool isField(const QString &name);
    // "[" + name + "]".
    static QString token(const QString &name);

    // The name line: prefix, first name, middle initial with a period and last name, each
    // filled one followed by one space (so a filled line ends with a space).
    static QString NameLine(const TMergeRecord &record);
    // The address block: name line, title and organisation, street, street 2, city line and
    // country, each present line followed by CR LF; empty when every one is empty.
    static QString NameAndAddress(const TMergeRecord &record);
    // Trim(CITY + " " + STATE + " " + ZIP), the "City+State+Zip" field.
    static QString cityStateZip(const TMergeRecord &record);

    // The value of field `name` for `record`; empty for a name that is not a merge field.
    static QString value(const QString &name, const TMergeRecord &record, const TMergeDates &dates);
    // The value of every merge field.
    static QHash<QString, QString> values(const TMergeRecord &record, const TMergeDates &dates);
};
