#include "IndexPageFile.h"

#include "CompactNode.h"
#include "MemoryEnv.h"

#include <algorithm>
#include <cstring>

namespace xbase {

namespace {

// Pages kept in memory per file: 8 MB. When it is full, the older half goes.
constexpr size_t kCachePages = 16384;
constexpr uint32_t kReadAheadPages = 32;

} // namespace

Status IndexPageFile::open(Env &env, const std::string &path, bool readOnly,
                           std::unique_ptr<IndexPageFile> &out)
{
    std::unique_ptr<File> f;
    const Status opened = env.open(path, readOnly ? FileAccess::ReadOnly : FileAccess::ReadWrite, f);
    if (opened.code() == StatusCode::NotFound)
        return Status::NotFound("Index file " + path + " does not exist");
    XBASE_TRY(opened);
    uint64_t size = 0;
    XBASE_TRY(f->size(size));
    std::unique_ptr<IndexPageFile> file(new IndexPageFile());
    file->m_path = path;
    file->m_file = std::move(f);
    file->m_readOnly = readOnly;
    file->m_size = size;
    out = std::move(file);
    return Status::Ok();
}

Status IndexPageFile::create(Env &env, const std::string &path, std::unique_ptr<IndexPageFile> &out)
{
    std::unique_ptr<File> f;
    XBASE_TRY(env.open(path, FileAccess::Create, f));
    std::unique_ptr<IndexPageFile> file(new IndexPageFile());
    file->m_path = path;
    file->m_file = std::move(f);
    out = std::move(file);
    return Status::Ok();
}

std::unique_ptr<IndexPageFile> IndexPageFile::fromMemory(std::string bytes, bool readOnly)
{
    // The open file keeps its bytes when the environment that held them is gone.
    MemoryEnv env;
    env.setFile("(memory)", std::move(bytes));
    std::unique_ptr<IndexPageFile> file;
    if (!open(env, "(memory)", readOnly, file).ok())
        return nullptr;
    return file;
}

bool IndexPageFile::isPage(uint32_t offset) const
{
    return offset % kPageSize == 0 && static_cast<uint64_t>(offset) + kPageSize <= m_size;
}

Status IndexPageFile::rawRead(uint64_t offset, void *out, size_t n)
{
    size_t got = 0;
    XBASE_TRY(m_file->readSomeAt(offset, out, n, got));
    // Pages allocated but not written yet read as zeros.
    if (got < n)
        std::memset(static_cast<uint8_t *>(out) + got, 0, n - got);
    return Status::Ok();
}

Status IndexPageFile::rawWrite(uint64_t offset, const void *in, size_t n)
{
    return m_file->writeAt(offset, in, n);
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
    // The pages after it are read in the same call and kept: a built tag's leaves lie
    // together, so a walk, or seeks spread over a tag, then find most pages cached and read
    // the file once per run of pages instead of once per page. Pages already cached (written
    // ones among them) are kept as they are.
    const uint64_t end = std::min<uint64_t>(m_size, uint64_t(offset) + kReadAheadPages * kPageSize);
    const size_t pages = static_cast<size_t>((end - offset) / kPageSize);
    m_readAhead.resize(pages * kPageSize);
    XBASE_TRY(rawRead(offset, m_readAhead.data(), m_readAhead.size()));
    XBASE_TRY(makeRoom());
    for (size_t i = 0; i < pages; ++i) {
        const uint32_t at = offset + static_cast<uint32_t>(i * kPageSize);
        const uint8_t *bytes = m_readAhead.data() + i * kPageSize;
        const auto inserted = m_cache.try_emplace(at);
        if (!inserted.second)
            continue;
        inserted.first->second.bytes.assign(bytes, bytes + kPageSize);
        m_cacheOrder.push_back(at);
    }
    std::memcpy(out, m_readAhead.data(), kPageSize);
    return Status::Ok();
}

Status IndexPageFile::makeRoom()
{
    if (m_cache.size() < kCachePages)
        return Status::Ok();
    XBASE_TRY(writeDirty());
    while (m_cache.size() > kCachePages / 2 && !m_cacheOrder.empty()) {
        m_cache.erase(m_cacheOrder.front());
        m_cacheOrder.pop_front();
    }
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
        XBASE_TRY(makeRoom());
        it = m_cache.emplace(offset, CachedPage()).first;
        m_cacheOrder.push_back(offset);
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
    if (m_cache.empty())
        m_cacheOrder.clear();
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
    // A file that must keep saying it was left mid-update says so before its pages change,
    // also when the marker's first write failed.
    if (keepMarker && !m_markerSet && !m_markerOn.empty()) {
        XBASE_TRY(rawWrite(m_markerOffset, m_markerOn.data(), m_markerOn.size()));
        auto it = m_cache.find(0);
        if (it != m_cache.end())
            std::memcpy(it->second.bytes.data() + m_markerOffset, m_markerOn.data(), m_markerOn.size());
        m_markerSet = true;
    }
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
    m_cacheOrder.clear();
    m_dirtyCount = 0;
    m_released.clear();
    return m_file->size(m_size);
}

} // namespace xbase
