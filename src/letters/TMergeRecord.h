// The values of one address record as the letter merge reads them. The session hands the
// current record through this interface; tests hand an in-memory one (TMergeRecordMap).
#pragma once

#include <QString>

class TMergeRecord
{
public:
    virtual ~TMergeRecord() = default;
    // The text of field `name`: a stored field of the address file ("FNAME", "STATE", ...)
    // or a calculated one ("FullName", "CityStateZip", ...). Empty for a name the record
    // does not have.
    virtual QString fieldText(const QString &name) const = 0;
};
