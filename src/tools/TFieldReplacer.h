// Search and replace in one address field: finds the records whose field is empty, equals a
// value or contains it, with or without regard to case, and replaces the whole field or only
// the matching text. Matching is done here on the values, never by pasting the value into an
// engine expression, so quotes and other characters in it are plain text. The "Search and
// Replace" window builds one request per run.
#pragma once

#include "TResult.h"

#include <QString>

#include <utility>
#include <vector>

class TAddressTable;
class TProgress;

struct TReplaceRequest {
    QString field;     // the address field searched and written (LNAME ...)
    QString find;      // empty: the field is empty
    bool exact = true; // the field's whole value (trimmed) is `find`; else it contains it
    bool caseSensitive = true;
    bool replaceWhole = true; // else only the matching text
    QString replacement;
    QString scopeFilter; // when not empty only the records this filter shows
};

struct TReplaceOutcome {
    int replaced = 0;
    // Matching records whose new value would not fit the field: left as they were.
    int tooLong = 0;
};

class TFieldReplacer
{
public:
    // The list entries of the fields: entry text, field.
    static const std::vector<std::pair<QString, QString>> &fields();

    // Whether `value` is selected: an empty `find` selects an empty value (blanks only);
    // exactly: the trimmed value equals the trimmed `find` (so "Jones" does not select
    // "Jonesboro"); else `find` occurs in the value. Without regard to case both are compared
    // in upper case through the Windows-1252 case table.
    static bool matches(const QString &value, const QString &find, bool exact, bool caseSensitive);
    // Every occurrence of `find` in `value` replaced by `replacement`, left to right, at most 51;
    // an empty `find` leaves the value as it is.
    static QString replaceMatching(const QString &value, const QString &find, const QString &replacement,
                                   bool caseSensitive);
    // The question asked before a run: "Find records where field " + entry, the condition and
    // the action, each on a line of its own ("\r").
    static QString question(const QString &entry, const TReplaceRequest &request);

    // Replaces in every record the user can see (or that the scope filter shows) whose field is
    // selected, in record order, each record a step of `progress`. Records hidden by the delete
    // mark or by ISDEL are never touched. The table's query, order and current record are put
    // back. A failure stops the run with the engine's message; the records before it stay.
    static TResult run(TAddressTable &table, const TReplaceRequest &request, TProgress &progress,
                       TReplaceOutcome &outcome);
};
