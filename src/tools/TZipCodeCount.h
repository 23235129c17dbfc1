// The ZIP code count: the records visible under the table's query counted by the first five
// characters of their ZIP code, and the report lines made from the counts. The "Count Zip
// Codes" window and the batch own one for as long as they show its report.
#pragma once

#include "TResult.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <array>

class TAddressTable;
class TProgress;

// The count of one key.
struct TallyRecord {
    int count = 0;
};

class TZipCodeCount
{
public:
    // Where a key is counted.
    enum class Group {
        Regular, // five characters from "00000" to "99999-999", a digit first: the list of that digit
        Other,   // any other key that is not empty
        Blank,   // an empty key: "BLANK"
    };
    // The key of a ZIP value (its first five characters, trailing blanks dropped) and its group.
    static QString keyOf(const QString &zip);
    static Group classify(const QString &key);
    // "1,500": thousands separated by commas, no decimals.
    static QString formatCount(qint64 count);
    // The key left-aligned in 10 characters (cut at 10), then the count.
    static QString reportLine(const QString &key, qint64 count);

    // Adds one record with this ZIP value.
    void add(const QString &zip);
    void clear();

    // Counts every record the table shows, in record order, from the first; each record is a
    // step of `progress` and a cancelled progress stops the count, discarding it. The table's
    // order and record are put back afterwards. On success the report lines are ready.
    // Requires: the table is open.
    TResult DoTheSort(TAddressTable &table, TProgress &progress);

    // The report lines: the regular keys of the lists "0" to "9" in ascending order, two empty
    // lines, the other keys in ascending order, then "BLANK" when any ZIP was empty.
    QStringList reportLines() const;
    bool isCounted() const { return m_counted; }
    // The records counted.
    qint64 total() const { return m_total; }
    // The count of `key` (0 when it was never seen).
    int countOf(const QString &key) const;

private:
    std::array<QHash<QString, TallyRecord>, 10> m_lists;
    QHash<QString, TallyRecord> m_other;
    TallyRecord m_blank;
    qint64 m_total = 0;
    bool m_counted = false;
};
