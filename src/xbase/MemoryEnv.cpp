#include "MemoryEnv.h"

#include <algorithm>
#include <cstring>

namespace xbase {

// What the environment and its open files share: the faults, their counters and the space used.
struct MemoryEnv::State {
    Faults faults;
    uint64_t writes = 0;
    uint64_t renames = 0;
    bool failed = false;
    uint64_t used = 0;

    // Whether a device that went away refuses everything from now on.
    bool gone() const { return failed && faults.failLaterWrites; }

    // Admits a write of `n` bytes at `offset` into a file of `size` bytes: `allowed` receives
    // how many of them may be stored; a failure says why the rest may not.
    Status admitWrite(const std::string &path, uint64_t offset, size_t n, uint64_t size, size_t &allowed)
    {
        allowed = 0;
        ++writes;
        if (gone())
            return Status::IoError("Cannot write " + path + ": Input/output error");
        if (writes == faults.failWrite) {
            failed = true;
            allowed = faults.shortWrite ? n / 2 : 0;
            return Status::IoError("Cannot write " + path + ": Input/output error");
        }
        const uint64_t end = offset + n;
        const uint64_t growth = end > size ? end - size : 0;
        const uint64_t room = faults.spaceLimit > used ? faults.spaceLimit - used : 0;
        if (growth > room) {
            failed = true;
            const uint64_t limitEnd = size + room;
            allowed = limitEnd > offset ? static_cast<size_t>(std::min<uint64_t>(n, limitEnd - offset)) : 0;
            return Status::IoError("Cannot write " + path + ": No space left on device");
        }
        allowed = n;
        return Status::Ok();
    }
};

// One file's bytes and the locks its open handles hold.
struct MemoryEnv::Node {
    explicit Node(std::shared_ptr<State> s) : state(std::move(s)) {}
    ~Node() { state->used -= bytes.size(); }
    Node(const Node &) = delete;
    Node &operator=(const Node &) = delete;

    void resize(uint64_t size)
    {
        state->used = state->used - bytes.size() + size;
        bytes.resize(static_cast<size_t>(size), '\0');
    }

    std::shared_ptr<State> state;
    std::string bytes;
    std::map<const void *, FileLockKind> fileLocks;
    struct RangeLock {
        const void *holder;
        bool exclusive;
    };
    std::multimap<uint64_t, RangeLock> rangeLocks;
};

namespace {

class MemoryFile : public File
{
public:
    MemoryFile(std::string path, std::shared_ptr<MemoryEnv::Node> node, bool writable)
        : File(std::move(path), writable), m_node(std::move(node))
    {
    }
    ~MemoryFile() override
    {
        m_node->fileLocks.erase(this);
        for (auto it = m_node->rangeLocks.begin(); it != m_node->rangeLocks.end();)
            it = it->second.holder == this ? m_node->rangeLocks.erase(it) : std::next(it);
    }

    Status readSomeAt(uint64_t offset, void *data, size_t size, size_t &got) const override
    {
        got = 0;
        const std::string &b = m_node->bytes;
        if (offset < b.size()) {
            got = static_cast<size_t>(std::min<uint64_t>(size, b.size() - offset));
            std::memcpy(data, b.data() + offset, got);
        }
        return Status::Ok();
    }

    Status writeAt(uint64_t offset, const void *data, size_t size) override
    {
        if (!isWritable())
            return Status::IoError(path() + " is open read-only");
        size_t allowed = 0;
        const Status admitted =
            m_node->state->admitWrite(path(), offset, size, m_node->bytes.size(), allowed);
        if (allowed > 0) {
            if (offset + allowed > m_node->bytes.size())
                m_node->resize(offset + allowed);
            std::memcpy(&m_node->bytes[static_cast<size_t>(offset)], data, allowed);
        }
        return admitted;
    }

    Status size(uint64_t &out) const override
    {
        out = m_node->bytes.size();
        return Status::Ok();
    }

    Status truncate(uint64_t size) override
    {
        if (!isWritable())
            return Status::IoError(path() + " is open read-only");
        size_t allowed = 0;
        const uint64_t old = m_node->bytes.size();
        XBASE_TRY(m_node->state->admitWrite(path(), std::min(old, size),
                                            size > old ? static_cast<size_t>(size - old) : 0, old, allowed));
        m_node->resize(size);
        return Status::Ok();
    }

    Status sync() override
    {
        if (m_node->state->faults.failSync || m_node->state->gone()) {
            m_node->state->failed = true;
            return Status::IoError("Cannot flush " + path() + ": Input/output error");
        }
        return Status::Ok();
    }

    Status lock(FileLockKind kind) override
    {
        if (kind == FileLockKind::None) {
            m_node->fileLocks.erase(this);
            return Status::Ok();
        }
        for (const auto &held : m_node->fileLocks)
            if (held.first != this &&
                (kind == FileLockKind::Exclusive || held.second == FileLockKind::Exclusive))
                return Status::Locked(path() + " is in use by another program or user");
        m_node->fileLocks[this] = kind;
        return Status::Ok();
    }

    Status lockRange(uint64_t offset, bool wait) override
    {
        // Nothing else runs while this call would wait, so a held byte stays held.
        (void)wait;
        const bool exclusive = isWritable();
        const auto range = m_node->rangeLocks.equal_range(offset);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.holder != this && (exclusive || it->second.exclusive))
                return Status::Locked("The record is locked by another program or user");
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.holder == this)
                return Status::Ok();
        m_node->rangeLocks.insert({offset, {this, exclusive}});
        return Status::Ok();
    }

    void unlockRange(uint64_t offset) override
    {
        const auto range = m_node->rangeLocks.equal_range(offset);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second.holder == this) {
                m_node->rangeLocks.erase(it);
                return;
            }
    }

private:
    std::shared_ptr<MemoryEnv::Node> m_node;
};

} // namespace

MemoryEnv::MemoryEnv() : m_state(std::make_shared<State>()) {}

MemoryEnv::~MemoryEnv() = default;

void MemoryEnv::setFaults(const Faults &faults)
{
    m_state->faults = faults;
    m_state->writes = 0;
    m_state->renames = 0;
    m_state->failed = false;
}

bool MemoryEnv::hasFailed() const
{
    return m_state->failed;
}

uint64_t MemoryEnv::writeCount() const
{
    return m_state->writes;
}

uint64_t MemoryEnv::renameCount() const
{
    return m_state->renames;
}

void MemoryEnv::setFile(const std::string &path, std::string bytes)
{
    auto node = std::make_shared<Node>(m_state);
    node->bytes = std::move(bytes);
    m_state->used += node->bytes.size();
    m_files[path] = std::move(node);
}

bool MemoryEnv::fileBytes(const std::string &path, std::string &out) const
{
    const auto it = m_files.find(path);
    if (it == m_files.end())
        return false;
    out = it->second->bytes;
    return true;
}

std::vector<std::string> MemoryEnv::fileNames() const
{
    std::vector<std::string> names;
    for (const auto &f : m_files)
        names.push_back(f.first);
    return names;
}

uint64_t MemoryEnv::usedBytes() const
{
    return m_state->used;
}

MemoryEnv::Snapshot MemoryEnv::snapshot() const
{
    Snapshot s;
    for (const auto &f : m_files)
        s[f.first] = f.second->bytes;
    return s;
}

void MemoryEnv::restore(const Snapshot &snapshot)
{
    m_files.clear();
    for (const auto &f : snapshot)
        setFile(f.first, f.second);
}

Status MemoryEnv::open(const std::string &path, FileAccess access, std::unique_ptr<File> &out)
{
    out.reset();
    auto it = m_files.find(path);
    if (access == FileAccess::Create) {
        size_t allowed = 0;
        const uint64_t old = it == m_files.end() ? 0 : it->second->bytes.size();
        const Status admitted = m_state->admitWrite(path, 0, 0, old, allowed);
        if (!admitted.ok())
            return Status::IoError("Cannot open " + path +
                                   admitted.message().substr(admitted.message().rfind(": ")));
        if (it == m_files.end())
            it = m_files.emplace(path, std::make_shared<Node>(m_state)).first;
        else
            it->second->resize(0);
    } else if (it == m_files.end()) {
        return Status::NotFound("File " + path + " not found");
    }
    out = std::make_unique<MemoryFile>(path, it->second, access != FileAccess::ReadOnly);
    return Status::Ok();
}

bool MemoryEnv::exists(const std::string &path)
{
    return m_files.count(path) > 0;
}

Status MemoryEnv::rename(const std::string &from, const std::string &to)
{
    const auto it = m_files.find(from);
    if (m_state->gone())
        return Status::IoError("Cannot rename " + from + " to " + to + ": Input/output error");
    ++m_state->renames;
    if (m_state->renames == m_state->faults.failRename) {
        m_state->failed = true;
        return Status::IoError("Cannot rename " + from + " to " + to + ": Input/output error");
    }
    if (it == m_files.end())
        return Status::IoError("Cannot rename " + from + " to " + to + ": No such file or directory");
    if (from == to)
        return Status::Ok();
    std::shared_ptr<Node> node = it->second;
    m_files.erase(it);
    m_files[to] = std::move(node);
    return Status::Ok();
}

Status MemoryEnv::remove(const std::string &path)
{
    if (m_state->gone())
        return Status::IoError("Cannot delete " + path + ": Input/output error");
    const auto it = m_files.find(path);
    if (it == m_files.end())
        return Status::NotFound("File " + path + " not found");
    m_files.erase(it);
    return Status::Ok();
}

} // namespace xbase
