// The calculated fields of an address record: formed from the stored values each time a
// record is read, never stored. Pure functions on the values (which arrive without trailing
// blanks).
#pragma once

#include <QString>

class TCalcFields
{
public:
    // Calculated texts longer than this are cut.
    static constexpr int kCompositeWidth = 35;

    // The record is tagged when its TAG equals the current identifier exactly.
    static bool Tagged(const QString &tag, const QString &globalTagId);
    // The stored "YYYYMMDD" in the user's short date pattern; empty for anything else.
    static QString DisplayDate(const QString &date);
    static QString DisplayDate(const QString &date, const QString &pattern);
    // TrimRight(FNAME + " " + MIDDLE) + " " + LNAME.
    static QString FullName(const QString &fname, const QString &middle, const QString &lname);
    // Trim(PREFIX + " " + FNAME + " " + MIDDLE) + " " + LNAME.
    static QString FullNameWithPrefix(const QString &prefix, const QString &fname, const QString &middle,
                                      const QString &lname);
    // TrimLeft(CITY + " ") + TrimLeft(STATE + " ") + ZIP, without a comma.
    static QString CityStateZip(const QString &city, const QString &state, const QString &zip);
};
