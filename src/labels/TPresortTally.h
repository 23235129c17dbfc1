// The bulk-mail tally: the records a label run will print counted by the first five digits of
// their ZIP code, in one pass, and the order of the groups their labels come in (the lines of
// PRESORT.PSL). The presort window owns one for the length of its run.
//
// Groups, in this order: every 5-digit ZIP with 10 or more pieces; every 3-digit area with 10
// or more of the pieces left; the rest bundled by Area Distribution Center (TAdcTable) with no
// minimum; whatever no ADC serves under "** Unknown". Each group is a header line ("** ...")
// followed by its ZIP keys.
#pragma once

#include "TPresortRange.h"
#include "TResult.h"

#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

class TAddressTable;
class TProgress;

class TPresortTally
{
public:
    TPresortTally();

    // The key a ZIP value counts under: its first five characters when all five are digits 0-9
    // (so ZIP+4 "12345-6789" counts under 12345), as a number 0..99999; -1 for any other value
    // (empty, a leading blank, fewer than five digits, a letter, a hyphen among the five): such
    // records are left out of a presorted run.
    static int keyOf(std::string_view zip);
    static int keyOf(const QString &zip);
    // The key as its five digits ("00501").
    static QString keyText(int key);

    // Counts one record with this ZIP value (a value that is not accepted is not counted).
    void add(std::string_view zip);
    void clear();

    // Counts the records the table's query shows. With `fromRecno` 0 every one, read in record
    // order with the engine reading blocks of records ahead; otherwise the records from
    // `fromRecno` on in the table's current order, which range() then holds. Each record is a
    // step of `progress`; a cancelled progress stops the pass and discards the counts. The
    // table's order, turbo setting and record are put back afterwards. On success, unless
    // cancelled, isComplete() is true and presortLines() is ready.
    // Requires: the table is open. A `fromRecno` the query hides fails with NotFound.
    TResult run(TAddressTable &table, TProgress &progress, quint32 fromRecno = 0);

    bool isComplete() const { return m_complete; }
    // Records counted (accepted ZIP codes) and records read.
    qint64 counted() const { return m_counted; }
    qint64 read() const { return m_read; }
    int countOf(int key) const;
    // The records the counts came from.
    const TPresortRange &range() const { return m_range; }

    // The lines of PRESORT.PSL for the counts so far: the 5-digit groups, the 3-digit groups,
    // the ADC groups in table order, then the unknown group.
    QStringList presortLines() const;

private:
    // Moves every leftover key an ADC serves to `adcList`, one ADC row after another in table
    // order (ExtractADC); the keys no ADC serves stay in `leftovers`.
    static void FillADCList(std::vector<int> &leftovers, QStringList &adcList);
    // The ADC group of `row`: each leftover key, in order, whose three-digit area the group
    // serves goes to `adcList`, the first after the header "** ADC " + the row's name, and
    // leaves `leftovers`. A row whose prefixes belong to an earlier row's group takes nothing.
    static void ExtractADC(int row, std::vector<int> &leftovers, QStringList &adcList);

    std::vector<int> m_counts; // by key 0..99999; the ten lists of a first digit are its ten ranges
    TPresortRange m_range;
    qint64 m_counted = 0;
    qint64 m_read = 0;
    bool m_complete = false;
};
