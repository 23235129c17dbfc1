// Which records an output run (labels, envelopes, letters, reports) goes through and where it
// starts: every record the user can see, the records matching the filter, or the current
// record alone, from the first record or from the current one. Each output window holds the
// user's choice and applies it to the session's table before its run; the hand-over puts the
// query and the record back afterwards.
#pragma once

#include "TResult.h"

#include <QString>
#include <QtGlobal>

class TAddressSession;

enum class TRecordChoice {
    All,            // every record not deleted (marked or ISDEL), whatever filter is in force
    MatchingFilter, // the records the session's query shows
    OnlyCurrent,    // the current record alone
};

struct TOutputRecordsChoice {
    TRecordChoice records = TRecordChoice::MatchingFilter;
    bool startFromCurrent = false; // start at the current record instead of the first
};

// Where applying a choice left the table.
struct TOutputStart {
    TResult result;          // an engine failure setting the query or moving; ok otherwise
    bool outOfRange = false; // start from current, but the query hides that record: at the first
    bool hasRecord = false;  // a record is current: the run has something to print
};

class TOutputRecords
{
public:
    // The information message when the remembered record is not among the chosen records.
    static QString outOfRangeMessage();

    // Sets the table's query for `choice` and goes to where the run starts: with "Only
    // current record" the record `current` (the query is the session's, so that record is
    // visible), else with startFromCurrent the record `current` when the query shows it
    // (otherwise the first record, and outOfRange), else the first record.
    // Requires: a file is open in `session`.
    static TOutputStart apply(TAddressSession &session, const TOutputRecordsChoice &choice, quint32 current);

    // The query the table shows for `choice`.
    static QString queryFor(const TAddressSession &session, TRecordChoice choice);
};
