// A file environment whose files are byte buffers in memory, for tests and fuzzers, which can
// be told to fail: the n-th write, a short write, "no space left" past a number of bytes, every
// sync, the n-th rename. The caller owns it; open files keep their bytes alive after the
// environment or the name is gone, as open files of an operating system do.
#pragma once

#include "Env.h"

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace xbase {

class MemoryEnv : public Env
{
public:
    /// The faults to inject. Writes are File::writeAt(), File::truncate() and opening with
    /// FileAccess::Create; they are counted from the moment the faults are set.
    struct Faults {
        /// The n-th write fails with an input/output error (1-based; 0: none).
        uint64_t failWrite = 0;
        /// The failing write stores the first half of its bytes before it fails.
        bool shortWrite = false;
        /// After the first injected failure every later write, rename and removal fails too,
        /// as on a device that went away; the files keep what they held at that moment.
        bool failLaterWrites = false;
        /// A write that would make all files together hold more bytes than this stores what
        /// fits and fails with "No space left on device".
        uint64_t spaceLimit = std::numeric_limits<uint64_t>::max();
        /// Every sync fails.
        bool failSync = false;
        /// The n-th rename fails (1-based; 0: none).
        uint64_t failRename = 0;
    };

    MemoryEnv();
    ~MemoryEnv() override;
    MemoryEnv(const MemoryEnv &) = delete;
    MemoryEnv &operator=(const MemoryEnv &) = delete;

    /// Sets the faults and starts counting writes and renames for them anew.
    void setFaults(const Faults &faults);
    void clearFaults() { setFaults(Faults()); }
    /// True when an injected fault made an operation fail since the faults were set.
    bool hasFailed() const;
    /// Writes (as Faults counts them) and renames since the faults were last set.
    uint64_t writeCount() const;
    uint64_t renameCount() const;

    /// Puts a file with `bytes` under `path`, replacing any file of that name.
    void setFile(const std::string &path, std::string bytes);
    /// The bytes of `path`; false when there is no such file.
    bool fileBytes(const std::string &path, std::string &out) const;
    /// Every file name, sorted.
    std::vector<std::string> fileNames() const;
    /// Bytes all files hold together.
    uint64_t usedBytes() const;

    /// Every file's name and bytes.
    using Snapshot = std::map<std::string, std::string>;
    Snapshot snapshot() const;
    /// Replaces every file by those of `snapshot`. Files still open keep their own bytes.
    void restore(const Snapshot &snapshot);

    Status open(const std::string &path, FileAccess access, std::unique_ptr<File> &out) override;
    bool exists(const std::string &path) override;
    Status rename(const std::string &from, const std::string &to) override;
    Status remove(const std::string &path) override;

    struct State;
    struct Node;

private:
    std::shared_ptr<State> m_state;
    std::map<std::string, std::shared_ptr<Node>> m_files;
};

} // namespace xbase
