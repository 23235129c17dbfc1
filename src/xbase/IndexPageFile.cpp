#include "IndexPageFile.h"

#include "CompactNode.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xbase {

namespace {

// Pages kept in memory per file: 4 MB.
constexpr size_t kCachePages = 8192;

std::string errnoText()
{
    return std::strerror(errno);
}

} // namespace

IndexPageFile::~IndexPageFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

Status IndexPageFile::open(const std::string &path, bool readOnly, std::unique_ptr<IndexPageFile> &out)
{
    const int fd = ::open(path.c_str(), (readOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return Status::NotFound("Index file " + path + " does not exist");
        return Status::IoError("Cannot open index file " + path + ": " + errnoText());
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0) {
        const Status s = Status::IoError("Cannot read index file " + path + ": " + errnoText());
        ::close(fd);
        return s;
    }
    std::unique_ptr<IndexPageFile> file(new IndexPageFile());
    file->m_path = path;
    file->m_fd = fd;
    file->m_readOnly = readOnly;
    file->m_size = static_cast<uint64_t>(st.st_size);
    out = std::move(file);
    return Status::Ok();
}

Status IndexPageFile::create(const std::string &path, std::unique_ptr<IndexPageFile> &out)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return Status::IoError("Cannot create index file " + path + ": " + errnoText());
    std::unique_ptr<IndexPageFile> file(new IndexPageFile());
    file->m_path = path;
    file->m_fd = fd;
    out = std::move(file);
    return Status::Ok();
}

std::unique_ptr<IndexPageFile> IndexPageFile::fromMemory(std::string bytes, bool readOnly)
{
    std::unique_ptr<IndexPageFile> file(new IndexPageFile());
    file->m_path = "(memory)";
    file->m_memoryOnly = true;
    file->m_size = bytes.size();
    file->m_memory = std::move(bytes);
    file->m_readOnly = readOnly;
    return file;
}

bool IndexPageFile::isPage(uint32_t offset) const
{
    return offset % kPageSize == 0 && static_cast<uint64_t>(offset) + kPageSize <= m_size;
}

Status IndexPageFile::rawRead(uint64_t offset, void *out, size_t n)
{
    if (m_memoryOnly) {
        std::memset(out, 0, n);
        if (offset < m_memory.size())
            std::memcpy(out, m_memory.data() + offset, std::min<uint64_t>(n, m_memory.size() - offset));
        return Status::Ok();
    }
    size_t done = 0;
    auto *dst = static_cast<uint8_t *>(out);
    while (done < n) {
        const ssize_t r = ::pread(m_fd, dst + done, n - done, static_cast<off_t>(offset + done));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            return Status::IoError("Cannot read index file " + m_path + ": " + errnoText());
        }
        if (r == 0) {
            // Pages allocated but not written yet read as zeros.
            std::memset(dst + done, 0, n - done);
            break;
        }
        done += static_cast<size_t>(r);
    }
    return Status::Ok();
}

Status IndexPageFile::rawWrite(uint64_t offset, const void *in, size_t n)
{
    if (m_memoryOnly) {
        if (m_memory.size() < offset + n)
            m_memory.resize(offset + n, '\0');
        std::memcpy(&m_memory[offset], in, n);
        return Status::Ok();
    }
    size_t done = 0;
    const auto *src = static_cast<const uint8_t *>(in);
    while (done < n) {
        const ssize_t w = ::pwrite(m_fd, src + done, n - done, static_cast<off_t>(offset + done));
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return Status::IoError("Cannot write index file " + m_path + ": " + errnoText());
        }
        done += static_cast<size_t>(w);
    }
    return Status::Ok();
}

Status IndexPageFile::readPage(uint32_t offset, uint8_t *out)
{
    auto it = m_cache.find(offset);
    if (it != m_cache.end()) {
        std::memcpy(out, it->second.bytes.data(), kPageSize);
        return Status::Ok();
    }
    if (!isPage(offset)) {
        m_damaged = true;
        return Status::Corruption("Index file " + m_path + " points to a page outside the file");
    }
    XBASE_TRY(rawRead(offset, out, kPageSize));
    if (m_cache.size() >= kCachePages) {
        XBASE_TRY(writeDirty());
        m_cache.clear();
    }
    CachedPage &page = m_cache[offset];
    page.bytes.assign(out, out + kPageSize);
    return Status::Ok();
}

Status IndexPageFile::checkWritable()
{
    if (m_readOnly)
        return Status::InvalidArgument("Index file " + m_path + " is open read-only");
    if (m_damaged)
        return Status::Corruption("Index file " + m_path + " is damaged and is not written further");
    return Status::Ok();
}

Status IndexPageFile::beginUpdate()
{
    XBASE_TRY(checkWritable());
    if (m_markerSet || m_markerOn.empty())
        return Status::Ok();
    XBASE_TRY(rawWrite(m_markerOffset, m_markerOn.data(), m_markerOn.size()));
    auto it = m_cache.find(0);
    if (it != m_cache.end())
        std::memcpy(it->second.bytes.data() + m_markerOffset, m_markerOn.data(), m_markerOn.size());
    m_markerSet = true;
    return Status::Ok();
}

Status IndexPageFile::writePage(uint32_t offset, const uint8_t *in)
{
    XBASE_TRY(beginUpdate());
    if (!isPage(offset))
        return Status::Corruption("Index file " + m_path + " points to a page outside the file");
    m_written[offset] = ++m_stamp;
    auto it = m_cache.find(offset);
    if (it == m_cache.end()) {
        if (m_cache.size() >= kCachePages) {
            XBASE_TRY(writeDirty());
            m_cache.clear();
        }
        it = m_cache.emplace(offset, CachedPage()).first;
    }
    it->second.bytes.assign(in, in + kPageSize);
    if (!it->second.dirty) {
        it->second.dirty = true;
        ++m_dirtyCount;
    }
    return Status::Ok();
}

Status IndexPageFile::allocate(uint32_t pages, uint32_t &offset)
{
    XBASE_TRY(beginUpdate());
    if (pages == 1 && !m_released.empty()) {
        offset = m_released.back();
        m_released.pop_back();
        return Status::Ok();
    }
    const uint64_t start = (m_size + kPageSize - 1) / kPageSize * kPageSize;
    const uint64_t end = start + static_cast<uint64_t>(pages) * kPageSize;
    if (end > 0xFFFFFE00u)
        return Status::IoError("Index file " + m_path + " would grow past 4 GB");
    // The new pages read as zeros until they are written.
    m_size = end;
    offset = static_cast<uint32_t>(start);
    return Status::Ok();
}

void IndexPageFile::release(uint32_t offset)
{
    if (isPage(offset) && std::find(m_released.begin(), m_released.end(), offset) == m_released.end())
        m_released.push_back(offset);
}

Status IndexPageFile::writePages(uint32_t offset, const uint8_t *data, size_t pageCount)
{
    XBASE_TRY(beginUpdate());
    const uint64_t end = static_cast<uint64_t>(offset) + pageCount * kPageSize;
    if (offset % kPageSize != 0 || end > m_size)
        return Status::InvalidArgument("Index pages written outside the file");
    m_allWritten = ++m_stamp;
    m_written.clear();
    for (size_t i = 0; i < pageCount; ++i) {
        auto it = m_cache.find(offset + static_cast<uint32_t>(i * kPageSize));
        if (it != m_cache.end()) {
            if (it->second.dirty)
                --m_dirtyCount;
            m_cache.erase(it);
        }
    }
    return rawWrite(offset, data, pageCount * kPageSize);
}

Status IndexPageFile::writeDirty()
{
    if (m_dirtyCount == 0)
        return Status::Ok();
    std::vector<uint32_t> offsets;
    offsets.reserve(m_dirtyCount);
    for (const auto &entry : m_cache)
        if (entry.second.dirty)
            offsets.push_back(entry.first);
    std::sort(offsets.begin(), offsets.end());
    for (uint32_t offset : offsets) {
        CachedPage &page = m_cache[offset];
        XBASE_TRY(rawWrite(offset, page.bytes.data(), kPageSize));
        page.dirty = false;
    }
    m_dirtyCount = 0;
    return Status::Ok();
}

void IndexPageFile::setUpdateMarker(uint32_t markerOffset, std::string onBytes, std::string offBytes)
{
    m_markerOffset = markerOffset;
    m_markerOn = std::move(onBytes);
    m_markerOff = std::move(offBytes);
}

Status IndexPageFile::flush(bool keepMarker)
{
    if (m_readOnly || m_damaged)
        return Status::Ok();
    XBASE_TRY(writeDirty());
    if (m_markerSet && !keepMarker) {
        XBASE_TRY(rawWrite(m_markerOffset, m_markerOff.data(), m_markerOff.size()));
        auto it = m_cache.find(0);
        if (it != m_cache.end())
            std::memcpy(it->second.bytes.data() + m_markerOffset, m_markerOff.data(), m_markerOff.size());
        m_markerSet = false;
    }
    return Status::Ok();
}

Status IndexPageFile::refresh()
{
    XBASE_TRY(flush());
    m_allWritten = ++m_stamp;
    m_written.clear();
    m_cache.clear();
    m_dirtyCount = 0;
    m_released.clear();
    if (m_memoryOnly)
        return Status::Ok();
    struct stat st {
    };
    if (::fstat(m_fd, &st) != 0)
        return Status::IoError("Cannot read index file " + m_path + ": " + errnoText());
    m_size = static_cast<uint64_t>(st.st_size);
    return Status::Ok();
}

} // namespace xbase
