#include "TOutputRecords.h"

#include "TAddressSession.h"

QString TOutputRecords::outOfRangeMessage()
{
    return QStringLiteral("Current record is out of range. Starting with first record");
}

QString TOutputRecords::queryFor(const TAddressSession &session, TRecordChoice choice)
{
    // "All records" means every record the user could see with no filter set: the record
    // query without the user's criteria, so records hidden by ISDEL stay out as well.
    return choice == TRecordChoice::All ? QStringLiteral("!ISDEL") : session.recordQuery();
}

TOutputStart TOutputRecords::apply(TAddressSession &session, const TOutputRecordsChoice &choice,
                                   quint32 current)
{
    TOutputStart start;
    TAddressTable &table = session.table();
    const QString query = queryFor(session, choice.records);
    if (table.query() != query) {
        start.result = table.setQuery(query);
        if (!start.result)
            return start;
    }
    if (choice.records == TRecordChoice::OnlyCurrent || choice.startFromCurrent) {
        const TResult moved = table.goTo(current);
        if (moved) {
            start.hasRecord = true;
            return start;
        }
        if (moved.code != xbase::StatusCode::NotFound) {
            start.result = moved;
            return start;
        }
        start.outOfRange = true;
    }
    const TResult first = table.first();
    if (!first && first.code != xbase::StatusCode::NotFound)
        start.result = first;
    start.hasRecord = table.hasRecord();
    return start;
}
