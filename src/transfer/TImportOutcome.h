// How an import run ended and what it counted; the window shows message() and notes().
#pragma once

#include "TResult.h"

#include <QString>
#include <QStringList>

struct TImportOutcome {
    enum class End {
        Complete,   // every record of the source was appended
        Cancelled,  // the user stopped the run
        ReadError,  // the source could not be read further
        WriteError, // the address file refused a record
    };
    End end = End::Complete;
    qint64 imported = 0;     // records posted
    qint64 cutValues = 0;    // values longer than their field, cut to its width
    qint64 longLines = 0;    // lines with more columns than are read
    qint64 unreadDates = 0;  // dates that could not be read and were left empty
    QString reason;          // the engine's or the system's reason for a read or write error
    TResult rebuild;         // the index rebuild that followed

    bool isComplete() const { return end == End::Complete; }

    // "Import complete. Imported n records." and its cancelled and failed forms. A text source
    // names its errors as reading the ASCII file and writing to the data file; a table source
    // says "Unknown error while importing." followed by how many were imported before.
    QString message(bool textSource) const;
    // One line for each count that is not zero.
    QStringList notes() const;
};
