// One open file of a file environment (Env): positioned reads and writes, the size, truncation,
// sync, whole-file locks and record locks. Whoever opened it owns it; closing happens in the
// destructor. The operating system's files and the in-memory files of tests implement it.
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
    virtual ~File() = default;
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    /// The name the file was opened under.
    const std::string &path() const { return m_path; }
    bool isWritable() const { return m_writable; }

    /// Reads up to `size` bytes; `got` tells how many the file held.
    virtual Status readSomeAt(uint64_t offset, void *data, size_t size, size_t &got) const = 0;
    /// Reads exactly `size` bytes at `offset`; Corruption when the file ends first.
    Status readAt(uint64_t offset, void *data, size_t size) const;
    /// Writes all `size` bytes at `offset` in one call where the system allows. A failure may
    /// leave part of the bytes written.
    virtual Status writeAt(uint64_t offset, const void *data, size_t size) = 0;
    virtual Status size(uint64_t &out) const = 0;
    virtual Status truncate(uint64_t size) = 0;
    /// Makes what was written so far survive a crash of the system.
    virtual Status sync() = 0;

    /// Takes a whole-file lock without waiting. Locked when another handle (in this or
    /// another process) holds a conflicting one.
    virtual Status lock(FileLockKind kind) = 0;
    /// Locks / unlocks one byte of a lock region past any real data (for record locks
    /// between cooperating shared openers). With `wait` the call blocks until the byte is free
    /// (where nothing else can free it, as in memory, it answers Locked at once).
    virtual Status lockRange(uint64_t offset, bool wait = false) = 0;
    virtual void unlockRange(uint64_t offset) = 0;

    /// Test hook: when set, called after every successful write or truncation of every
    /// operating-system file in the process with the running count of them. Used to stop a
    /// writer at a chosen point.
    using WriteObserver = void (*)(uint64_t writeCount);
    static void setWriteObserver(WriteObserver observer);

protected:
    File(std::string path, bool writable) : m_path(std::move(path)), m_writable(writable) {}
    /// Implementations call it after each successful write or truncation.
    static void noteWrite();

private:
    std::string m_path;
    bool m_writable;
};

} // namespace xbase
