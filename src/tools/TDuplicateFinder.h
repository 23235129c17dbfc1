// The duplicate check: walks the records the user can see in the order of the name or street
// tag, so equal keys lie next to each other, compares each record with the one before it
// without regard to case, and adds both members of every matching pair to a temporary index
// whose order then lists exactly the suspected duplicates. Owned by the "Check and Repair
// Duplicates" window for as long as it shows them; release() closes and deletes the index.
#pragma once

#include "TResult.h"
#include "TTempIndex.h"

#include <QString>

class TAddressTable;
class TProgress;

class TDuplicateFinder
{
public:
    enum class Kind { LastFirst = 0, LastFirstInitial = 1, Street = 2 };
    static constexpr int kMaxStreetChars = 30;

    // The key compared for a record, in upper case; empty when the record is skipped (an empty
    // last name for the name checks, an empty street part for the street check). The name
    // parts are kept apart, so "Jon" + "es" is not "Jones".
    static QString keyOf(Kind kind, int streetChars, const QString &lname, const QString &fname,
                         const QString &street);

    explicit TDuplicateFinder(TAddressTable &table) : m_table(table), m_index(table) {}
    ~TDuplicateFinder();
    TDuplicateFinder(const TDuplicateFinder &) = delete;
    TDuplicateFinder &operator=(const TDuplicateFinder &) = delete;

    // Creates the empty temporary index at `indexPath` ("upper(STREET)" for the street check,
    // "upper(LNAME-FNAME)" otherwise), walks the records and adds each record of a matching
    // pair once, however many neighbours it matches. Each matching neighbour pair counts once:
    // three equal records count 2. Each record is a step of `progress`; a cancel stops after
    // the current record and keeps the pairs found. Afterwards the table is ordered by the
    // temporary index at its first record (nothing is current when no pair was found).
    // A failure closes and deletes the index; the table is then in record order.
    // Requires: the table shows the records the user can see ("!ISDEL").
    TResult run(Kind kind, int streetChars, const QString &indexPath, TProgress &progress);

    int pairs() const { return m_pairs; }
    // Records added to the temporary index.
    int listed() const { return m_listed; }
    bool hasIndex() const { return m_index.isOpen(); }
    // Closes the temporary index and deletes its file (also when the engine lost it already).
    // The table is then in record order. Does nothing when no index was made.
    void release();

private:
    TAddressTable &m_table;
    TTempIndex m_index;
    int m_pairs = 0;
    int m_listed = 0;
};
