// A thin owner of one operating-system file descriptor: positioned reads and writes that
// retry short transfers, the size, whole-file locks and record locks. Owned by the DBF,
// memo and table objects that use it; closing happens in the destructor.
#pragma once

#include "Status.h"

#include <cstdint>
#include <string>

namespace xbase {

/// How a file is opened.
enum class FileAccess { ReadOnly, ReadWrite, Create };

/// Whole-file lock taken when a table is opened.
enum class FileLockKind { None, Shared, Exclusive };

class File
{
public:
    File() = default;
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    /// Opens (or with Create, creates and truncates) `path`. IoError or NotFound on failure.
    Status open(const std::string &path, FileAccess access);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    bool isWritable() const { return m_writable; }
    const std::string &path() const { return m_path; }

    /// Reads exactly `size` bytes at `offset`; Corruption when the file ends first.
    Status readAt(uint64_t offset, void *data, size_t size) const;
    /// Reads up to `size` bytes; `got` tells how many the file held.
    Status readSomeAt(uint64_t offset, void *data, size_t size, size_t &got) const;
    /// Writes all `size` bytes at `offset` in one system call where the system allows.
    Status writeAt(uint64_t offset, const void *data, size_t size);
    Status size(uint64_t &out) const;
    Status truncate(uint64_t size);
    Status sync();

    /// Takes a whole-file lock without waiting. Locked when another handle (in this or
    /// another process) holds a conflicting one.
    Status lock(FileLockKind kind);
    /// Locks / unlocks one byte of a lock region past any real data (for record locks
    /// between cooperating shared openers). With `wait` the call blocks until the byte is free.
    Status lockRange(uint64_t offset, bool wait = false);
    void unlockRange(uint64_t offset);

    /// Test hook: when set, called after every successful write of every File in the
    /// process with the running count of writes. Used to stop a writer at a chosen point.
    using WriteObserver = void (*)(uint64_t writeCount);
    static void setWriteObserver(WriteObserver observer);

private:
    int m_fd = -1;
    bool m_writable = false;
    std::string m_path;
};

} // namespace xbase
