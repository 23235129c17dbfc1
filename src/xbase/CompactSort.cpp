#include "CompactSort.h"

#include "BulkBuffer.h"

#include <algorithm>
#include <cstring>

namespace xbase {

namespace {

// Eight key bytes (from the current depth) as one big-endian number, the record number and
// the entry's position.
struct SortItem {
    uint64_t prefix;
    uint32_t recno;
    uint32_t index;
};

struct Sorter {
    const char *keys;
    size_t keyLength;

    uint64_t prefixAt(uint32_t index, size_t depth) const
    {
        const char *k = keys + static_cast<size_t>(index) * keyLength + depth;
        const size_t n = std::min<size_t>(8, keyLength - depth);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        if (n == 8) {
            uint64_t word = 0;
            std::memcpy(&word, k, 8);
            return __builtin_bswap64(word);
        }
#endif
        uint64_t v = 0;
        for (size_t i = 0; i < 8; ++i)
            v = (v << 8) | (i < n ? static_cast<uint8_t>(k[i]) : 0u);
        return v;
    }

    // Least-significant-digit radix sort on the prefix; byte positions where every item
    // agrees are skipped.
    static void radix(SortItem *a, SortItem *tmp, size_t n)
    {
        static thread_local size_t counts[8][256];
        std::memset(counts, 0, sizeof(counts));
        for (size_t i = 0; i < n; ++i) {
            uint64_t p = a[i].prefix;
            for (int b = 0; b < 8; ++b, p >>= 8)
                ++counts[b][p & 0xFF];
        }
        SortItem *src = a;
        SortItem *dst = tmp;
        for (int b = 0; b < 8; ++b) {
            size_t *c = counts[b];
            if (c[src[0].prefix >> (8 * b) & 0xFF] == n)
                continue;
            size_t offsets[256];
            size_t sum = 0;
            for (int v = 0; v < 256; ++v) {
                offsets[v] = sum;
                sum += c[v];
            }
            for (size_t i = 0; i < n; ++i)
                dst[offsets[src[i].prefix >> (8 * b) & 0xFF]++] = src[i];
            std::swap(src, dst);
        }
        if (src != a)
            std::memcpy(a, src, n * sizeof(SortItem));
    }

    void byRecno(SortItem *a, size_t n) const
    {
        for (size_t i = 1; i < n; ++i) {
            if (a[i - 1].recno > a[i].recno) {
                std::sort(a, a + n, [](const SortItem &x, const SortItem &y) { return x.recno < y.recno; });
                return;
            }
        }
    }

    void sortRange(SortItem *a, SortItem *tmp, size_t n, size_t depth) const
    {
        if (n < 2)
            return;
        if (n <= 24) {
            const size_t rest = keyLength - depth;
            std::sort(a, a + n, [&](const SortItem &x, const SortItem &y) {
                const int c =
                    std::memcmp(keys + x.index * keyLength + depth, keys + y.index * keyLength + depth, rest);
                return c < 0 || (c == 0 && x.recno < y.recno);
            });
            return;
        }
        for (size_t i = 0; i < n; ++i)
            a[i].prefix = prefixAt(a[i].index, depth);
        radix(a, tmp, n);
        size_t i = 0;
        while (i < n) {
            size_t j = i + 1;
            while (j < n && a[j].prefix == a[i].prefix)
                ++j;
            if (j - i > 1) {
                if (depth + 8 < keyLength)
                    sortRange(a + i, tmp + i, j - i, depth + 8);
                else
                    byRecno(a + i, j - i);
            }
            i = j;
        }
    }
};

} // namespace

namespace {

bool makeRoom(BulkBuffer &buffer, size_t bytes)
{
    return buffer.size() >= bytes || buffer.resize(bytes);
}

} // namespace

bool sortIndexEntries(const char *keys, size_t keyLength, const uint32_t *recnos, size_t n,
                      SortWorkspace &workspace)
{
    const size_t bytes = n * sizeof(SortItem);
    if (!makeRoom(workspace.items, bytes) || !makeRoom(workspace.spare, bytes) ||
        !makeRoom(workspace.keys, n * keyLength) || !makeRoom(workspace.recnos, n * sizeof(uint32_t)))
        return false;
    SortItem *items = reinterpret_cast<SortItem *>(workspace.items.data());
    SortItem *tmp = reinterpret_cast<SortItem *>(workspace.spare.data());
    for (size_t i = 0; i < n; ++i)
        items[i] = SortItem{0, recnos[i], static_cast<uint32_t>(i)};
    if (keyLength > 0)
        Sorter{keys, keyLength}.sortRange(items, tmp, n, 0);
    else
        Sorter{keys, keyLength}.byRecno(items, n);
    // Gather the keys in their order; reading ahead hides the scattered reads.
    char *sortedKeys = workspace.keys.data();
    uint32_t *sortedRecnos = reinterpret_cast<uint32_t *>(workspace.recnos.data());
    constexpr size_t kAhead = 16;
    for (size_t i = 0; i < n; ++i) {
        if (i + kAhead < n)
            __builtin_prefetch(keys + static_cast<size_t>(items[i + kAhead].index) * keyLength);
        std::memcpy(sortedKeys + i * keyLength, keys + static_cast<size_t>(items[i].index) * keyLength,
                    keyLength);
        sortedRecnos[i] = items[i].recno;
    }
    return true;
}

} // namespace xbase
