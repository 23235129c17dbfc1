// Bulk deletion of address records: every record of the file for good, the records a filter
// shows, or the records the user can see that the filter does not show. A deleted record gets
// ISDEL set and the engine's delete mark; a rebuild of the indexes packs it away later. The
// "Delete Records" window runs it once per opening.
#pragma once

#include "TResult.h"

#include <QString>

class TAddressTable;
class TProgress;

class TRecordDeleter
{
public:
    enum class Choice { All, MatchingFilter, NotMatchingFilter };

    // How many records deleting all of them removes: every record of the file, hidden or not.
    static qint64 recordsInFile(TAddressTable &table);

    // All: empties the file for good (marked and hidden records too); `deleted` is the number
    // of records it held. MatchingFilter (also with an empty filter): the records the user can
    // see under `filter`. NotMatchingFilter: the records the user can see for which `filter`
    // does not hold; records deleted before are not counted again. Each record deleted is a
    // step of `progress`. The table's query is put back. A failure stops the run with the
    // engine's message; the records deleted before it stay deleted.
    static TResult run(TAddressTable &table, Choice choice, const QString &filter, TProgress &progress,
                       qint64 &deleted);
};
