#include "BulkBuffer.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace xbase {

namespace {

constexpr size_t kHugePage = size_t(2) << 20;

size_t roundUp(size_t bytes, size_t unit)
{
    return (bytes + unit - 1) / unit * unit;
}

} // namespace

BulkBuffer::~BulkBuffer()
{
    release();
}

BulkBuffer::BulkBuffer(BulkBuffer &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_mapped(std::exchange(other.m_mapped, 0))
{
}

BulkBuffer &BulkBuffer::operator=(BulkBuffer &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_mapped = std::exchange(other.m_mapped, 0);
    }
    return *this;
}

bool BulkBuffer::resize(size_t bytes)
{
    if (bytes <= m_mapped) {
        if (bytes > m_size)
            std::memset(m_data + m_size, 0, bytes - m_size);
        m_size = bytes;
        return true;
    }
#if defined(__linux__)
    // Large buffers grow in steps of 2 MB, small ones by pages, so a small table's build stays
    // small. No huge pages are asked for: whether the system has them free at that moment, or
    // must first make room, made the same build take very different times from run to run.
    const bool large = bytes >= kHugePage;
    const size_t want = roundUp(bytes, large ? kHugePage : 4096);
    void *p = MAP_FAILED;
    if (m_data)
        p = ::mremap(m_data, m_mapped, want, MREMAP_MAYMOVE);
    else
        p = ::mmap(nullptr, want, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return false;
    m_data = static_cast<char *>(p);
#if defined(MADV_POPULATE_WRITE)
    // The buffer is filled right away: the new pages are had in one call rather than one
    // page fault each. Where the system cannot, the pages come on first touch as before.
    (void)::madvise(m_data + m_mapped, want - m_mapped, MADV_POPULATE_WRITE);
#endif
    m_mapped = want; // mapped anonymous memory reads as zero
    m_size = bytes;
    return true;
#else
    const size_t want = roundUp(bytes, 4096);
    void *p = std::realloc(m_data, want);
    if (!p)
        return false;
    m_data = static_cast<char *>(p);
    std::memset(m_data + m_size, 0, want - m_size);
    m_mapped = want;
    m_size = bytes;
    return true;
#endif
}

void BulkBuffer::release()
{
    if (!m_data)
        return;
#if defined(__linux__)
    ::munmap(m_data, m_mapped);
#else
    std::free(m_data);
#endif
    m_data = nullptr;
    m_size = 0;
    m_mapped = 0;
}

} // namespace xbase
