// The records a presorted label run covers: every record the run's query shows, or only those
// from one record on in the order the run would otherwise walk ("Start from current record").
// The tally makes it as it counts; the label run's presort reader asks it about every record
// it finds, so the run prints exactly the records that were counted. A copyable value.
#pragma once

#include <QtGlobal>

#include <vector>

class TPresortRange
{
public:
    // Every visible record.
    TPresortRange() = default;

    bool isAll() const { return m_all; }
    // True when the run covers record `recno` (the query decides visibility; this decides the
    // start).
    bool contains(quint32 recno) const { return m_all || (recno < m_in.size() && m_in[recno]); }

    // A range holding only the records add() is given. Requires: `lastRecno` is the file's
    // record count.
    static TPresortRange from(quint32 lastRecno)
    {
        TPresortRange range;
        range.m_all = false;
        range.m_in.assign(size_t(lastRecno) + 1, false);
        return range;
    }
    void add(quint32 recno)
    {
        if (recno < m_in.size())
            m_in[recno] = true;
    }

private:
    bool m_all = true;
    std::vector<bool> m_in; // indexed by record number, one bit a record
};
