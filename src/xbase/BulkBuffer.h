// A large scratch buffer for bulk work (building a tag holds every key of the file at once).
// Memory comes straight from the system and grows in place where it can, so a growing buffer
// is not copied.
#pragma once

#include <cstddef>
#include <cstring>
#include <utility>

namespace xbase {

class BulkBuffer
{
public:
    BulkBuffer() = default;
    ~BulkBuffer();
    BulkBuffer(const BulkBuffer &) = delete;
    BulkBuffer &operator=(const BulkBuffer &) = delete;
    BulkBuffer(BulkBuffer &&other) noexcept;
    BulkBuffer &operator=(BulkBuffer &&other) noexcept;

    /// Makes room for `bytes`, keeping the bytes held so far (new bytes are zero). False when
    /// the memory cannot be had; the buffer is then unchanged.
    bool resize(size_t bytes);
    /// Returns the memory to the system.
    void release();

    /// Never null, also when empty.
    char *data() { return m_data ? m_data : s_empty; }
    const char *data() const { return m_data ? m_data : s_empty; }
    size_t size() const { return m_size; }

private:
    alignas(16) static inline char s_empty[16] = {};
    char *m_data = nullptr;
    size_t m_size = 0;
    size_t m_mapped = 0; // bytes mapped (0: nothing held)
};

/// A growable array of trivially copyable T on a BulkBuffer.
template <typename T> class BulkArray
{
public:
    /// Room for `n` elements without moving; false when the memory cannot be had.
    bool reserve(size_t n) { return n * sizeof(T) <= m_buffer.size() || m_buffer.resize(n * sizeof(T)); }
    /// Sets the element count to `n` (new elements are zero).
    bool resize(size_t n)
    {
        if (!reserve(n))
            return false;
        m_size = n;
        return true;
    }
    /// Appends `count` elements copied from `from`; false when the memory cannot be had.
    bool append(const T *from, size_t count)
    {
        if ((m_size + count) * sizeof(T) > m_buffer.size() &&
            !m_buffer.resize(grownBytes((m_size + count) * sizeof(T))))
            return false;
        std::memcpy(static_cast<void *>(data() + m_size), from, count * sizeof(T));
        m_size += count;
        return true;
    }
    void release()
    {
        m_buffer.release();
        m_size = 0;
    }
    /// Takes over `buffer`'s memory (memory already touched costs no page faults) and
    /// empties the array; surrender() hands the memory back out.
    void adopt(BulkBuffer &&buffer)
    {
        m_buffer = std::move(buffer);
        m_size = 0;
    }
    BulkBuffer surrender()
    {
        m_size = 0;
        return std::move(m_buffer);
    }
    T *data() { return reinterpret_cast<T *>(m_buffer.data()); }
    const T *data() const { return reinterpret_cast<const T *>(m_buffer.data()); }
    size_t size() const { return m_size; }
    T &operator[](size_t i) { return data()[i]; }
    const T &operator[](size_t i) const { return data()[i]; }

private:
    size_t grownBytes(size_t needed) const
    {
        const size_t doubled = m_buffer.size() * 2;
        return needed > doubled ? needed : doubled;
    }
    BulkBuffer m_buffer;
    size_t m_size = 0;
};

} // namespace xbase
