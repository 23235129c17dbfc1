// The state and ZIP check: compares every record's STATE and ZIP with the reference list
// (CSZ.DBF: for each state or province its abbreviation and its lowest and highest ZIP or
// postal code) and adds the records whose state is not in the list, or whose ZIP lies outside
// the state's range, to a temporary index ordered by name. Owned by the "Check State and Zip
// Codes" window while it lists them; release() closes and deletes the index.
#pragma once

#include "TResult.h"
#include "TTempIndex.h"

#include <QHash>
#include <QString>

#include <utility>

class TAddressTable;
class TProgress;

namespace xbase {
class Table;
}

class TStateZipFinder
{
public:
    // The list's first row of each abbreviation (in the order of its STATE tag), by the
    // abbreviation in upper case: low and high ZIP.
    using Ranges = QHash<QString, std::pair<QString, QString>>;

    // Reads the list through its STATE tag. Rows with an empty abbreviation are left out.
    static TResult readRanges(xbase::Table &csz, Ranges &out);
    // A ZIP against a range: compared as text on as many characters as each bound has, so a
    // ZIP+4 at the top ZIP of a range is inside it.
    static bool zipInRange(const QString &zip, const QString &low, const QString &high);
    // Questionable: the state, as stored, is not an abbreviation of the list (an empty or cut
    // state, or one in lower case, is not found), or the ZIP is outside that state's range.
    static bool isQuestionable(const Ranges &ranges, const QString &state, const QString &zip);

    explicit TStateZipFinder(TAddressTable &table) : m_table(table), m_index(table) {}
    ~TStateZipFinder();
    TStateZipFinder(const TStateZipFinder &) = delete;
    TStateZipFinder &operator=(const TStateZipFinder &) = delete;

    // Walks the records the table shows in record order; records with an empty STATE or ZIP
    // are checked only with `includeBlanks`. Each questionable record's key goes into a new
    // temporary index at `indexPath` ("upper(LNAME)+upper(FNAME)"). Each record is a step of
    // `progress`; a cancel stops after the current record and keeps what was found. Afterwards
    // the table is ordered by the temporary index at its first record. A failure closes and
    // deletes the index.
    TResult run(const Ranges &ranges, bool includeBlanks, const QString &indexPath, TProgress &progress);

    int found() const { return m_found; }
    bool hasIndex() const { return m_index.isOpen(); }
    // Closes the temporary index and deletes its file; the table is then in record order.
    void release();

private:
    TAddressTable &m_table;
    TTempIndex m_index;
    int m_found = 0;
};
