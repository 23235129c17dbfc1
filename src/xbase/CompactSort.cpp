#include "CompactSort.h"

#include "BulkBuffer.h"

#include <algorithm>
#include <cstring>

namespace xbase {

namespace {

// Eight key bytes (from the current depth) as one big-endian number, the record number and
// the entry's position in the run being sorted.
struct SortItem {
    uint64_t prefix;
    uint32_t recno;
    uint32_t index;
};

// Runs up to this size are sorted by comparison: a radix pass over them costs more than it
// saves.
constexpr size_t kSmallRun = 64;

// The `avail` bytes at `k` (at most eight used), big-endian, zero past the end of the key.
inline uint64_t prefixOf(const char *k, size_t avail)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    if (avail >= 8) {
        uint64_t word = 0;
        std::memcpy(&word, k, 8);
        return __builtin_bswap64(word);
    }
#endif
    const size_t n = std::min<size_t>(8, avail);
    uint64_t v = 0;
    for (size_t i = 0; i < 8; ++i)
        v = (v << 8) | (i < n ? static_cast<uint8_t>(k[i]) : 0u);
    return v;
}

inline bool itemLess(const SortItem &x, const SortItem &y)
{
    return x.prefix < y.prefix || (x.prefix == y.prefix && x.recno < y.recno);
}

void byRecno(SortItem *a, size_t n)
{
    for (size_t i = 1; i < n; ++i) {
        if (a[i - 1].recno > a[i].recno) {
            std::sort(a, a + n, [](const SortItem &x, const SortItem &y) { return x.recno < y.recno; });
            return;
        }
    }
}

void byRecno(uint32_t *recnos, size_t n)
{
    for (size_t i = 1; i < n; ++i) {
        if (recnos[i - 1] > recnos[i]) {
            std::sort(recnos, recnos + n);
            return;
        }
    }
}

// Runs of at least this size may be split by two bytes at once (65,536 buckets): fewer
// passes over the items, for the price of clearing the larger count table.
constexpr size_t kWideRun = 16384;

// Orders items by (prefix, recno), most significant digit first: one counting pass and one
// scatter per digit that varies within a run, bytes every item of the run agrees on skipped,
// each bucket on its own; small runs by comparison. The scatter goes back and forth between
// the two arrays, so no pass copies a run back.
struct PrefixSorter {
    uint32_t *wide; // 65,536 counts, for the first split of a call from outside

    // Orders src[0..n); the result lands in `other` when intoOther, else in src.
    void sort(SortItem *src, SortItem *other, size_t n, bool intoOther, bool mayWiden) const
    {
        SortItem *target = intoOther ? other : src;
        if (n <= kSmallRun) {
            if (intoOther)
                std::memcpy(static_cast<void *>(other), src, n * sizeof(SortItem));
            if (n > 1)
                std::sort(target, target + n, itemLess);
            return;
        }
        const uint64_t first = src[0].prefix;
        uint64_t diff = 0;
        for (size_t i = 1; i < n; ++i)
            diff |= src[i].prefix ^ first;
        if (diff == 0) {
            if (intoOther)
                std::memcpy(static_cast<void *>(other), src, n * sizeof(SortItem));
            byRecno(target, n);
            return;
        }
        const int high = 63 - __builtin_clzll(diff); // the highest bit that varies
        const bool widen = mayWiden && n >= kWideRun && high >= 15;
        const int width = widen ? 16 : 8;
        const int shift = (high / 8 + 1) * 8 - width;
        const uint64_t mask = (uint64_t(1) << width) - 1;
        uint32_t narrow[256];
        uint32_t *counts = widen ? wide : narrow;
        std::memset(counts, 0, (mask + 1) * sizeof(uint32_t));
        for (size_t i = 0; i < n; ++i)
            ++counts[(src[i].prefix >> shift) & mask];
        uint32_t sum = 0;
        for (uint64_t v = 0; v <= mask; ++v) {
            const uint32_t c = counts[v];
            counts[v] = sum;
            sum += c;
        }
        for (size_t i = 0; i < n; ++i)
            other[counts[(src[i].prefix >> shift) & mask]++] = src[i];
        // counts[v] is now the end of bucket v.
        size_t begin = 0;
        for (uint64_t v = 0; v <= mask; ++v) {
            const size_t end = counts[v];
            if (end > begin)
                sort(other + begin, src + begin, end - begin, !intoOther, false);
            begin = end;
        }
    }
};

// Orders the entries after the first eight bytes: once the first bytes are sorted, the keys
// are gathered in that order, so each run of equal prefixes is sorted on contiguous keys and
// its keys are moved within the run.
struct Refiner {
    char *keys;       // the keys, flat, in the order sorted so far
    uint32_t *recnos; // their record numbers
    size_t keyLength;
    SortItem *items; // room for every entry
    SortItem *tmp;   // likewise
    char *scratch;   // room for every entry's key
    PrefixSorter sorter;

    // Orders entries [pos, pos + m), whose keys agree on their first `depth` bytes.
    void refine(size_t pos, size_t m, size_t depth) const
    {
        for (; depth < keyLength; depth += 8) {
            const size_t avail = keyLength - depth;
            char *base = keys + pos * keyLength + depth;
            SortItem *a = items + pos;
            const uint64_t first = prefixOf(base, avail);
            uint64_t diff = 0;
            for (size_t k = 0; k < m; ++k) {
                const uint64_t p = prefixOf(base + k * keyLength, avail);
                a[k] = SortItem{p, recnos[pos + k], static_cast<uint32_t>(k)};
                diff |= p ^ first;
            }
            if (diff == 0)
                continue; // every key of the run agrees on these bytes too
            sorter.sort(a, tmp + pos, m, false, true);
            // The keys agree before `depth`: only their tails move.
            for (size_t k = 0; k < m; ++k)
                std::memcpy(scratch + k * avail, base + k * keyLength, avail);
            for (size_t k = 0; k < m; ++k) {
                std::memcpy(base + k * keyLength, scratch + static_cast<size_t>(a[k].index) * avail, avail);
                recnos[pos + k] = a[k].recno;
            }
            if (depth + 8 >= keyLength)
                return; // equal prefixes are equal keys, already by record number
            size_t i = 0;
            while (i < m) {
                size_t j = i + 1;
                while (j < m && a[j].prefix == a[i].prefix)
                    ++j;
                if (j - i > 1)
                    refine(pos + i, j - i, depth + 8);
                i = j;
            }
            return;
        }
        byRecno(recnos + pos, m); // the keys are equal
    }
};

bool makeRoom(BulkBuffer &buffer, size_t bytes)
{
    return buffer.size() >= bytes || buffer.resize(bytes);
}

} // namespace

bool sortIndexEntries(char *keys, size_t keyLength, const uint32_t *recnos, size_t n,
                      SortWorkspace &workspace)
{
    const size_t bytes = n * sizeof(SortItem);
    if (!makeRoom(workspace.items, bytes) || !makeRoom(workspace.spare, bytes) ||
        !makeRoom(workspace.keys, n * keyLength) || !makeRoom(workspace.recnos, n * sizeof(uint32_t)))
        return false;
    SortItem *items = reinterpret_cast<SortItem *>(workspace.items.data());
    SortItem *tmp = reinterpret_cast<SortItem *>(workspace.spare.data());
    char *sortedKeys = workspace.keys.data();
    uint32_t *sortedRecnos = reinterpret_cast<uint32_t *>(workspace.recnos.data());
    for (size_t i = 0; i < n; ++i)
        items[i] = SortItem{keyLength > 0 ? prefixOf(keys + i * keyLength, keyLength) : 0,
                            recnos ? recnos[i] : static_cast<uint32_t>(i + 1), static_cast<uint32_t>(i)};
    if (workspace.wideCounts.size() < 65536)
        workspace.wideCounts.assign(65536, 0);
    const PrefixSorter sorter{workspace.wideCounts.data()};
    sorter.sort(items, tmp, n, false, true);
    // Gather the keys in their order; reading ahead hides the scattered reads.
    constexpr size_t kAhead = 32;
    for (size_t i = 0; i < n; ++i) {
        if (i + kAhead < n) {
            const char *ahead = keys + static_cast<size_t>(items[i + kAhead].index) * keyLength;
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + keyLength - 1); // a key may span two cache lines
        }
        std::memcpy(sortedKeys + i * keyLength, keys + static_cast<size_t>(items[i].index) * keyLength,
                    keyLength);
        sortedRecnos[i] = items[i].recno;
    }
    if (keyLength <= 8)
        return true; // equal prefixes are equal keys, already by record number
    // The keys as given are no longer needed: they are the room the runs' tails move through.
    const Refiner refiner{sortedKeys, sortedRecnos, keyLength, items, tmp, keys, sorter};
    size_t i = 0;
    while (i < n) {
        size_t j = i + 1;
        while (j < n && items[j].prefix == items[i].prefix)
            ++j;
        if (j - i > 1)
            refiner.refine(i, j - i, 8);
        i = j;
    }
    return true;
}

} // namespace xbase
