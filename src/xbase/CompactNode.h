// The 512-byte nodes of a compact index B-tree, decoded into plain vectors and encoded back.
// Leaf nodes pack (record number, duplicate count, trailing count) into fixed-width entries
// whose bit widths each node states; interior nodes hold whole keys with a record number
// and a child pointer. Used by CompactTree for both CDX tags and IDX files.
#pragma once

#include "Status.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace xbase {

constexpr uint32_t kPageSize = 512;
constexpr uint32_t kTagHeaderSize = 1024;
constexpr uint32_t kNoPage = 0xFFFFFFFFu;
constexpr int kMaxKeyLength = 240;

constexpr uint16_t kNodeRoot = 1;
constexpr uint16_t kNodeLeaf = 2;

// Little-endian and big-endian field access on raw bytes.
inline uint16_t readLe16(const uint8_t *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t readLe32(const uint8_t *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline uint32_t readBe32(const uint8_t *p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
inline void writeLe16(uint8_t *p, uint16_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void writeLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void writeBe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// Number of bits needed to hold every value 0..v.
int bitsFor(uint64_t v);

// A decoded leaf: count() entries in ascending order, keys stored flat, each keyLength bytes.
struct LeafNode {
    uint16_t attributes = kNodeLeaf;
    uint32_t left = kNoPage;
    uint32_t right = kNoPage;
    std::string keys;
    std::vector<uint32_t> recnos;

    int count() const { return static_cast<int>(recnos.size()); }
    const char *key(int i, int keyLength) const { return keys.data() + static_cast<size_t>(i) * keyLength; }
};

// A decoded interior node: entry i names child i and the last (key, recno) in its subtree.
struct InteriorNode {
    uint16_t attributes = 0;
    uint32_t left = kNoPage;
    uint32_t right = kNoPage;
    std::string keys;
    std::vector<uint32_t> recnos;
    std::vector<uint32_t> children;

    int count() const { return static_cast<int>(recnos.size()); }
    const char *key(int i, int keyLength) const { return keys.data() + static_cast<size_t>(i) * keyLength; }
};

// Node attributes and key count, the fields both node kinds share.
inline uint16_t nodeAttributes(const uint8_t *page)
{
    return readLe16(page);
}
inline bool isLeafPage(const uint8_t *page)
{
    return (readLe16(page) & kNodeLeaf) != 0;
}

// Decodes a leaf page. `pad` fills the dropped trailing bytes (blank for character and
// logical keys, NUL for numeric keys). Corruption when the widths, counts or key bytes do
// not fit the page.
Status decodeLeaf(const uint8_t *page, int keyLength, char pad, LeafNode &out);
// Finds, in a leaf page, the first entry at or after a target without building the node: the
// first entry whose key's first `n` bytes are above `target`'s, or equal to them with a record
// number of at least `minRecno`. Entries share their front bytes with the entry before, so
// most are passed over by their shared count alone. Answers the entry's index with its key
// in `key` (keyLength bytes) and its record number in `recno`, count() when every entry is
// before the target, or -1 when the page does not decode (decodeLeaf then tells the fault).
inline int findInLeaf(const uint8_t *page, int keyLength, char pad, const char *target, size_t n,
                      uint64_t minRecno, char *key, uint32_t &recno)
{
    const int count = page[2] | (page[3] << 8);
    const int recBits = page[20];
    const int dupBits = page[21];
    const int trailBits = page[22];
    const int bytes = page[23];
    if (count == 0)
        return 0;
    if (bytes < 1 || bytes > 8 || recBits < 1 || recBits > 32 || dupBits > 8 || trailBits > 8 ||
        recBits + dupBits + trailBits > bytes * 8)
        return -1;
    const size_t entriesEnd = 24 + static_cast<size_t>(count) * static_cast<size_t>(bytes);
    if (entriesEnd > kPageSize)
        return -1;
    const uint64_t recMask = (uint64_t(1) << recBits) - 1;
    const uint64_t dupMask = (uint64_t(1) << dupBits) - 1;
    const uint64_t trailMask = (uint64_t(1) << trailBits) - 1;
    const size_t L = static_cast<size_t>(keyLength);
    const auto *want = reinterpret_cast<const unsigned char *>(target);
    size_t keyPos = kPageSize;
    size_t filled = 0;   // key[0, filled) holds the last compared key's bytes; pad follows
    size_t prevDiff = 0; // where the last compared key first differs from the target
    bool compared = false;
    const uint8_t *entry = page + 24;
    for (int i = 0; i < count; ++i, entry += bytes) {
        uint64_t v = 0;
        for (int b = bytes - 1; b >= 0; --b)
            v = (v << 8) | entry[b];
        const uint32_t r = static_cast<uint32_t>(v & recMask);
        const size_t dup = static_cast<size_t>((v >> recBits) & dupMask);
        const size_t trail = static_cast<size_t>((v >> (recBits + dupBits)) & trailMask);
        if (dup > L || trail > L || (i == 0 && dup > 0))
            return -1;
        const size_t stored = dup + trail >= L ? 0 : L - dup - trail;
        if (keyPos < entriesEnd + stored)
            return -1;
        keyPos -= stored;
        // Sharing more than the bytes where the last compared key fell short of the target,
        // this key falls short there too.
        if (compared && dup > prevDiff && prevDiff < n)
            continue;
        if (dup > filled)
            std::memset(key + filled, pad, dup - filled);
        std::memcpy(key + dup, page + keyPos, stored);
        filled = dup + stored;
        size_t diff = compared ? std::min(dup, prevDiff) : 0;
        while (diff < n && static_cast<unsigned char>(diff < filled ? key[diff] : pad) == want[diff])
            ++diff;
        prevDiff = diff;
        compared = true;
        const bool after = diff < n ? static_cast<unsigned char>(diff < filled ? key[diff] : pad) > want[diff]
                                    : r >= minRecno;
        if (after) {
            if (filled < L)
                std::memset(key + filled, pad, L - filled);
            recno = r;
            return i;
        }
    }
    return count;
}

// Decodes an interior page. Corruption when the count does not fit the page.
Status decodeInterior(const uint8_t *page, int keyLength, InteriorNode &out);

// Incrementally measures the bytes a leaf needs, to decide where leaves are cut.
class LeafSizer
{
public:
    LeafSizer(int keyLength, char pad);
    // Bytes the leaf would need with the entry (key, recno) appended after those so far.
    size_t sizeWith(const char *key, uint32_t recno) const;
    void add(const char *key, uint32_t recno);
    void reset();
    size_t size() const { return m_size; }
    int count() const { return m_count; }

private:
    int m_keyLength;
    char m_pad;
    int m_fieldBits;
    std::string m_prev;
    uint32_t m_maxRecno = 0;
    size_t m_keyBytes = 0;
    int m_count = 0;
    size_t m_size = 24;
};

// Number of pad bytes at the end of `key`. (Inline: the leaf encoders call it per entry.)
inline int trailingPadBytes(const char *key, int keyLength, char pad)
{
    uint64_t pattern = 0;
    std::memset(&pattern, static_cast<unsigned char>(pad), sizeof(pattern));
    int t = 0;
    while (keyLength - t >= 8) {
        uint64_t word = 0;
        std::memcpy(&word, key + keyLength - t - 8, 8);
        if (word != pattern)
            break;
        t += 8;
    }
    while (t < keyLength && key[keyLength - 1 - t] == pad)
        ++t;
    return t;
}

// Length of the common prefix of `a` and `b`, at most `limit`.
inline int commonPrefixBytes(const char *a, const char *b, int limit)
{
    int d = 0;
    while (limit - d >= 8) {
        uint64_t x = 0;
        uint64_t y = 0;
        std::memcpy(&x, a + d, 8);
        std::memcpy(&y, b + d, 8);
        if (x != y) {
            const uint64_t diff = x ^ y;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            return d + __builtin_ctzll(diff) / 8;
#else
            break;
#endif
        }
        d += 8;
    }
    while (d < limit && a[d] == b[d])
        ++d;
    return d;
}

// Bytes of key stored after dropping the duplicate prefix and trailing pad bytes.
int storedKeyBytes(const char *prev, const char *key, int keyLength, char pad, int &dup, int &trail);
// Bytes of one leaf entry for record numbers up to `maxRecno`; `recBits` receives the width
// of the record number field.
int leafEntryBytes(uint32_t maxRecno, int keyLength, int &recBits);

// Encodes a leaf into `page` (kPageSize bytes). Returns false, leaving `page` undefined,
// when the entries do not fit.
bool encodeLeaf(const LeafNode &node, int keyLength, char pad, uint8_t *page);
// The same from a range of flat keys and record numbers.
bool encodeLeafRange(uint16_t attributes, uint32_t left, uint32_t right, const char *keys,
                     const uint32_t *recnos, int count, int keyLength, char pad, uint8_t *page);
// The same with each entry's duplicate and trailing counts given (dups[0] is taken as 0).
bool encodeLeafPacked(uint16_t attributes, uint32_t left, uint32_t right, const char *keys,
                      const uint32_t *recnos, const uint8_t *dups, const uint8_t *trails, int count,
                      int keyLength, uint8_t *page);
// Entries an interior node holds at most.
int interiorCapacity(int keyLength);
// Encodes an interior node. Requires: count() <= interiorCapacity(keyLength).
void encodeInterior(const InteriorNode &node, int keyLength, uint8_t *page);

} // namespace xbase
