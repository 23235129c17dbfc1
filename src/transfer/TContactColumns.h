// The column headings of the contact lists other address books export as CSV (web mail
// contacts, desktop mail programs), with the address field each fills. A text file whose first
// line is made of such headings has that line taken as its heading: its columns are matched by
// this table and the line is not imported. Static data.
#pragma once

#include <QString>
#include <QStringList>

class TContactColumns
{
public:
    // The address field ("FNAME" ...) a heading names, or "" for a heading this table lacks.
    static QString fieldFor(const QString &heading);
    // True when at least two fields of `line` are known headings: the line is a heading, not
    // a record.
    static bool isHeading(const QStringList &line);
};
