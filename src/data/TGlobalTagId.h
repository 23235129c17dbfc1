// Tag identifiers. A record is tagged when its TAG equals the current identifier; clearing all
// tags makes a new identifier, so every stored TAG becomes stale at once.
#pragma once

#include <QDateTime>
#include <QString>

class TGlobalTagId
{
public:
    // A new identifier for the moment `now` (local time): base 36 of (year - 1995), followed
    // by base 36 of the number MMDDHHMMSS (month, day, hour 00-23, minute, second, two
    // digits each). 14 March 2024 09:26:53 gives "T5703FX"; the year 2026 gives "V".
    static QString make(const QDateTime &now);
    // The same for the current local time.
    static QString make();

    // Digits "0-9A-Z", leading zeros dropped; 0 gives no digits. Values that would need more
    // than six digits keep their lowest six.
    static QString base36(qint64 value);
};
