#include "RecordBitmap.h"

#include <algorithm>

namespace xbase {

RecordBitmap::RecordBitmap(uint32_t recordCount)
    : m_words((static_cast<size_t>(recordCount) + 64) / 64, 0), m_size(recordCount)
{
}

void RecordBitmap::set(uint32_t recno)
{
    if (recno >= 1 && recno <= m_size)
        m_words[recno / 64] |= uint64_t(1) << (recno % 64);
}

void RecordBitmap::reset(uint32_t recno)
{
    if (recno >= 1 && recno <= m_size)
        m_words[recno / 64] &= ~(uint64_t(1) << (recno % 64));
}

bool RecordBitmap::test(uint32_t recno) const
{
    return recno >= 1 && recno <= m_size && (m_words[recno / 64] >> (recno % 64)) & 1;
}

void RecordBitmap::setAll()
{
    std::fill(m_words.begin(), m_words.end(), ~uint64_t(0));
    clearTail();
}

uint32_t RecordBitmap::count() const
{
    uint32_t n = 0;
    for (uint64_t w : m_words)
        n += static_cast<uint32_t>(__builtin_popcountll(w));
    return n;
}

void RecordBitmap::andWith(const RecordBitmap &other)
{
    for (size_t i = 0; i < m_words.size(); ++i)
        m_words[i] &= i < other.m_words.size() ? other.m_words[i] : 0;
    clearTail();
}

void RecordBitmap::orWith(const RecordBitmap &other)
{
    const size_t n = std::min(m_words.size(), other.m_words.size());
    for (size_t i = 0; i < n; ++i)
        m_words[i] |= other.m_words[i];
    clearTail();
}

void RecordBitmap::invert()
{
    for (uint64_t &w : m_words)
        w = ~w;
    clearTail();
}

uint32_t RecordBitmap::nextSet(uint32_t recno) const
{
    if (recno < 1)
        recno = 1;
    if (recno > m_size)
        return 0;
    size_t i = recno / 64;
    uint64_t w = m_words[i] & (~uint64_t(0) << (recno % 64));
    for (;;) {
        if (w)
            return static_cast<uint32_t>(i * 64 + static_cast<size_t>(__builtin_ctzll(w)));
        if (++i >= m_words.size())
            return 0;
        w = m_words[i];
    }
}

uint32_t RecordBitmap::prevSet(uint32_t recno) const
{
    if (recno < 1 || m_size == 0)
        return 0;
    if (recno > m_size)
        recno = m_size;
    size_t i = recno / 64;
    const unsigned shift = recno % 64;
    uint64_t w = m_words[i] & (shift == 63 ? ~uint64_t(0) : ((uint64_t(1) << (shift + 1)) - 1));
    for (;;) {
        if (w)
            return static_cast<uint32_t>(i * 64 + 63 - static_cast<size_t>(__builtin_clzll(w)));
        if (i == 0)
            return 0;
        w = m_words[--i];
    }
}

void RecordBitmap::clearTail()
{
    if (m_words.empty())
        return;
    m_words[0] &= ~uint64_t(1);
    const uint32_t used = (m_size + 1) % 64; // bits 0..m_size of the last word
    if (used)
        m_words.back() &= (uint64_t(1) << used) - 1;
}

} // namespace xbase
