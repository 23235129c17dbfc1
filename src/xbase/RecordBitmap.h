// A set of record numbers 1..n as one bit per record. The query planner builds these from
// index ranges; the table walks them in record order to visit only the candidates.
#pragma once

#include <cstdint>
#include <vector>

namespace xbase {

class RecordBitmap
{
public:
    /// An empty set over the records 1..recordCount.
    explicit RecordBitmap(uint32_t recordCount = 0);

    /// Adds `recno`; numbers outside 1..size() are ignored (an index may hold stale ones).
    void set(uint32_t recno);
    void reset(uint32_t recno);
    bool test(uint32_t recno) const;
    /// Adds every record 1..size().
    void setAll();
    /// Number of records in the set.
    uint32_t count() const;
    /// Intersection and union with a set of the same size (a smaller one counts as empty
    /// beyond its size).
    void andWith(const RecordBitmap &other);
    void orWith(const RecordBitmap &other);
    /// Complement within 1..size().
    void invert();
    /// The first record in the set at or after `recno`, 0 when none.
    uint32_t nextSet(uint32_t recno) const;
    /// The last record in the set at or before `recno`, 0 when none.
    uint32_t prevSet(uint32_t recno) const;
    uint32_t size() const { return m_size; }

private:
    // Bit r holds record r; bit 0 and the bits past m_size stay clear.
    std::vector<uint64_t> m_words;
    uint32_t m_size = 0;
    void clearTail();
};

} // namespace xbase
