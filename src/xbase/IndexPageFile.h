// The 512-byte pages of an index file (CDX or IDX) with a small write-back cache. Owned by
// the CdxFile or IdxFile that opened it; the tags of that file share it.
//
// Crash safety: before the first change after opening or after flush(), the "update in
// progress" bytes are written straight to the file; flush() writes every changed page and
// then clears them. A process that dies in between leaves the marker behind.
#pragma once

#include "Env.h"
#include "File.h"
#include "Status.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace xbase {

class IndexPageFile
{
public:
    ~IndexPageFile() = default;
    IndexPageFile(const IndexPageFile &) = delete;
    IndexPageFile &operator=(const IndexPageFile &) = delete;

    static Status open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<IndexPageFile> &out);
    // Creates an empty file, replacing any file of that name.
    static Status create(Env &env, const std::string &path, std::unique_ptr<IndexPageFile> &out);
    // A file held in memory: the bytes are never written anywhere else.
    static std::unique_ptr<IndexPageFile> fromMemory(std::string bytes, bool readOnly);

    const std::string &path() const { return m_path; }
    uint64_t size() const { return m_size; }
    bool isReadOnly() const { return m_readOnly; }
    // True when `offset` names a whole page of the file (512-aligned, inside it).
    bool isPage(uint32_t offset) const;

    // Copies the page at `offset` into `out` (kPageSize bytes). Corruption when `offset` is
    // not a page of the file.
    Status readPage(uint32_t offset, uint8_t *out);
    // Replaces the page at `offset` (kept in the cache until flush).
    Status writePage(uint32_t offset, const uint8_t *in);
    // Adds `pages` zero pages at the end of the file, or reuses a released page when one
    // page is asked for. `offset` receives the first.
    Status allocate(uint32_t pages, uint32_t &offset);
    // Lets a page no longer referenced be reused by allocate() while this file is open.
    void release(uint32_t offset);
    // Writes whole pages straight to the file (bulk builds). Requires: offset is a page.
    Status writePages(uint32_t offset, const uint8_t *data, size_t pageCount);

    // Bytes at `markerOffset` in the first page that say an update is in progress.
    void setUpdateMarker(uint32_t markerOffset, std::string onBytes, std::string offBytes);
    // Called by every change; writes the marker first when it is not set yet.
    Status beginUpdate();
    // Writes every changed page, then clears the marker; with `keepMarker` the marker is
    // written first instead (when the update began without it) and stays.
    Status flush(bool keepMarker = false);
    // Makes what was written survive a crash of the system.
    Status sync() { return m_file->sync(); }
    // Writes what is pending, forgets every cached page and rereads the file size, for a
    // file other processes may have changed.
    Status refresh();

    // Stamps for readers that keep decoded pages: a page kept at stamp() is still as it was
    // while pageStamp(offset) is not later (a write of that page, a bulk write or a refresh
    // moves it on).
    uint64_t stamp() const { return m_stamp; }
    uint64_t pageStamp(uint32_t offset) const
    {
        const auto it = m_written.find(offset);
        return it != m_written.end() && it->second > m_allWritten ? it->second : m_allWritten;
    }

    // After a structural fault has been seen, every further change is refused.
    void markDamaged() { m_damaged = true; }
    bool isDamaged() const { return m_damaged; }

private:
    IndexPageFile() = default;
    Status rawRead(uint64_t offset, void *out, size_t n);
    Status rawWrite(uint64_t offset, const void *in, size_t n);
    Status writeDirty();
    Status checkWritable();
    // Writes the changed pages and lets the older half of the cache go when it is full.
    Status makeRoom();

    struct CachedPage {
        std::vector<uint8_t> bytes;
        bool dirty = false;
    };

    std::string m_path;
    std::unique_ptr<File> m_file;
    bool m_readOnly = false;
    bool m_damaged = false;
    uint64_t m_size = 0;
    uint64_t m_stamp = 1;
    uint64_t m_allWritten = 1;                        // stamp of the last bulk write or refresh
    std::unordered_map<uint32_t, uint64_t> m_written; // stamp of each page's last write since
    std::unordered_map<uint32_t, CachedPage> m_cache;
    std::deque<uint32_t> m_cacheOrder; // cached pages, oldest first (some may be gone already)
    size_t m_dirtyCount = 0;
    std::vector<uint32_t> m_released;
    std::vector<uint8_t> m_readAhead; // the pages a cache miss reads
    bool m_markerSet = false;
    uint32_t m_markerOffset = 0;
    std::string m_markerOn;
    std::string m_markerOff;
};

} // namespace xbase
