// Walks a presorted label run: the lines of PRESORT.PSL in order, each header line as one
// label of its own and each key line as the records whose ZIP key is that key, found through
// the address file's ZIP tag. The records are those the table's query shows and the tally's
// range covers, so the run prints what was counted. The label run owns one for its length; it
// reads one record at a time and holds only the lines.
#pragma once

#include "TPresortRange.h"
#include "TResult.h"

#include <QString>
#include <QStringList>

class TAddressTable;

// What the next label of a presorted run is.
struct TPresortStep {
    enum class Kind {
        Header, // print `header` on a label of its own; the table has not moved
        Record, // print the table's current record
        End,    // the run is over
    };
    Kind kind = Kind::End;
    QString header;
};

class TPresortReader
{
public:
    // `table` must outlive the reader.
    explicit TPresortReader(TAddressTable &table, TPresortRange range = TPresortRange());

    // Reads PRESORT.PSL at `path` (its failures as TPresortFile::load gives them) and begins.
    TResult open(const QString &path);
    // Begins a run over `lines`: orders the table by its ZIP tag with exact matching off. A
    // file without the ZIP tag fails with NotFound. The caller puts the table's order back
    // when the run ends.
    TResult begin(const QStringList &lines);

    // Moves on to the next label: a header line, the next record of the current key (the
    // table stands on it), or the end once the lines are used up. A key line no record
    // matches is skipped. An engine failure is returned and leaves `step` at End.
    TResult GetNextSortedZip(TPresortStep &step);

    // The ZIP key a ZIP value is matched by: its first five characters without trailing
    // blanks, the way the tally takes them.
    static QString zipKeyOf(const QString &zip);

private:
    TAddressTable &m_table;
    TPresortRange m_range;
    QStringList m_lines;
    qsizetype m_next = 0;
    QString m_key;         // the key line being printed; empty between keys
    bool m_atSeek = false; // the table stands on the record the seek of m_key found
};
