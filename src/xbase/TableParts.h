// What the Table's source files share: the compiled form of an open tag and the small helpers
// of whole-file passes. Included only by the Table's own .cpp files.
#pragma once

#include "ExpressionNode.h"
#include "Table.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xbase {

struct Table::OpenTag {
    IndexTag *tag = nullptr;
    Expression key;
    Expression condition; // empty when the tag has none
    std::string error;    // why the key could not be compiled ("" when it could)
    bool isTemporary = false;
    // The record bytes the key and condition read (offset, length); an edit that leaves them
    // alone cannot change the tag.
    std::vector<std::pair<uint32_t, uint32_t>> reads;
    bool hasCondition() const { return condition.isValid(); }
    bool affectedBy(const std::string &a, const std::string &b) const
    {
        for (const auto &r : reads)
            if (r.first + r.second <= a.size() && r.first + r.second <= b.size() &&
                std::memcmp(a.data() + r.first, b.data() + r.first, r.second) != 0)
                return true;
        return false;
    }
};

namespace tableparts {

constexpr size_t kChunkBytes = 1 << 20; // whole-file passes read about this much per call
// Records a whole-file pass reads per call: about kChunkBytes, but no more than the file's
// `count` records, so a pass over a small table takes no more memory than the table holds.
inline uint32_t recordsPerChunk(uint32_t recordLength, uint32_t count)
{
    const uint32_t fit = static_cast<uint32_t>(kChunkBytes / std::max<uint32_t>(1, recordLength));
    return std::max<uint32_t>(1, std::min(fit, count));
}
// A tag build collects at most about this many bytes of keys and record numbers in one pass
// over the records (a single tag may hold more).
constexpr uint64_t kKeysPerPass = uint64_t(32) << 20;
// Lock bytes past any real data: one for the end of the files, one per record after it.
constexpr uint64_t kHeaderLockOffset = 0x40000000ull;

// `path` with its extension replaced by `ext` (given in upper case). The letter case follows
// the table's own extension; when no such file exists in `env` the other case is tried.
std::string companionPath(Env &env, const std::string &path, const std::string &ext);
// Removes `path` when it exists. For files whose leftovers do no harm: a failure is not
// reported (the next pack or open tries again).
void removeIfThere(Env &env, const std::string &path);
// The file name without folder and extension, in upper case.
std::string fileStem(const std::string &path);
std::string trimRight(std::string_view s);
std::string trimBoth(std::string_view s);
inline bool prefixLess(std::string_view key, std::string_view bound)
{
    return key.substr(0, bound.size()) < bound;
}
// The record bytes an expression reads: (offset, length) of each field, the delete mark.
void collectReads(const ExpressionNode *n, std::vector<std::pair<uint32_t, uint32_t>> &out);
// The key type a tag on `e` gets: C, L, or N for numbers and dates.
char keyTypeOf(const Expression &e);

// Reports one part of a longer run: maps 0..100 of the part to lo..hi of the whole.
class ScaledProgress : public ProgressHook
{
public:
    ScaledProgress(ProgressHook *outer, int lo, int hi) : m_outer(outer), m_lo(lo), m_hi(hi) {}
    bool report(int percent) override
    {
        if (!m_outer)
            return true;
        const int p = m_lo + (m_hi - m_lo) * std::clamp(percent, 0, 100) / 100;
        if (p == m_last)
            return true;
        m_last = p;
        return m_outer->report(p);
    }

private:
    ProgressHook *m_outer;
    int m_lo;
    int m_hi;
    int m_last = -1;
};

// Reports the percentage of records done, once per percent.
class RecordProgress
{
public:
    RecordProgress(ProgressHook *hook, uint64_t total) : m_hook(hook), m_total(total) {}
    bool start() { return report(0); }
    bool step(uint64_t done)
    {
        if (!m_hook || m_total == 0)
            return true;
        return report(static_cast<int>(done * 100 / m_total));
    }
    bool finish() { return report(100); }

private:
    bool report(int p)
    {
        if (!m_hook || p == m_last)
            return true;
        m_last = p;
        return m_hook->report(p);
    }
    ProgressHook *m_hook;
    uint64_t m_total;
    int m_last = -1;
};

} // namespace tableparts

} // namespace xbase
