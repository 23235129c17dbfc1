#include "CompactNode.h"

#include <algorithm>
#include <cstring>

namespace xbase {

namespace {

constexpr size_t kLeafHeader = 24;
constexpr size_t kInteriorHeader = 12;

// Stores the eight bytes of `v` at `p`, least significant first.
inline void storeLe64(uint8_t *p, uint64_t v)
{
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    std::memcpy(p, &v, 8);
#else
    for (int b = 0; b < 8; ++b)
        p[b] = static_cast<uint8_t>(v >> (8 * b));
#endif
}

int entryBytes(uint32_t maxRecno, int fieldBits, int &recBits)
{
    const int needed = std::max(bitsFor(maxRecno), 1) + 2 * fieldBits;
    const int bytes = (needed + 7) / 8;
    recBits = std::min(bytes * 8 - 2 * fieldBits, 32);
    return bytes;
}

// Writes the 24-byte header of a leaf holding `count` entries of `bytes` bytes each, with
// record numbers of `recBits` bits and duplicate and trailing counts of `fieldBits` bits,
// after clearing the page.
void writeLeafHeader(uint8_t *page, uint16_t attributes, uint32_t left, uint32_t right, int count,
                     int recBits, int fieldBits, int bytes)
{
    std::memset(page, 0, kPageSize);
    writeLe16(page, attributes);
    writeLe16(page + 2, static_cast<uint16_t>(count));
    writeLe32(page + 4, left);
    writeLe32(page + 8, right);
    writeLe32(page + 14, recBits >= 32 ? 0xFFFFFFFFu : static_cast<uint32_t>((uint64_t(1) << recBits) - 1));
    page[18] = static_cast<uint8_t>((1u << fieldBits) - 1);
    page[19] = static_cast<uint8_t>((1u << fieldBits) - 1);
    page[20] = static_cast<uint8_t>(recBits);
    page[21] = static_cast<uint8_t>(fieldBits);
    page[22] = static_cast<uint8_t>(fieldBits);
    page[23] = static_cast<uint8_t>(bytes);
}

} // namespace

int bitsFor(uint64_t v)
{
    return v == 0 ? 0 : 64 - __builtin_clzll(v);
}

Status decodeLeaf(const uint8_t *page, int keyLength, char pad, LeafNode &out)
{
    out.attributes = readLe16(page);
    const int count = readLe16(page + 2);
    out.left = readLe32(page + 4);
    out.right = readLe32(page + 8);
    const int recBits = page[20];
    const int dupBits = page[21];
    const int trailBits = page[22];
    const int bytes = page[23];
    out.keys.clear();
    out.recnos.clear();
    if (count == 0)
        return Status::Ok();
    if (bytes < 1 || bytes > 8 || recBits < 1 || recBits > 32 || dupBits > 8 || trailBits > 8 ||
        recBits + dupBits + trailBits > bytes * 8)
        return Status::Corruption("index leaf node has invalid entry widths");
    const size_t entriesEnd = kLeafHeader + static_cast<size_t>(count) * bytes;
    if (entriesEnd > kPageSize)
        return Status::Corruption("index leaf node holds more entries than fit");
    const uint64_t recMask = (uint64_t(1) << recBits) - 1;
    const uint64_t dupMask = (uint64_t(1) << dupBits) - 1;
    const uint64_t trailMask = (uint64_t(1) << trailBits) - 1;
    const size_t L = static_cast<size_t>(keyLength);
    // Every byte of every key is written below, so a reused node keeps its memory as it is.
    out.keys.resize(static_cast<size_t>(count) * L);
    out.recnos.resize(static_cast<size_t>(count));
    size_t keyPos = kPageSize;
    const uint8_t *entry = page + kLeafHeader;
    const uint64_t entryMask = bytes == 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * bytes)) - 1;
    for (int i = 0; i < count; ++i, entry += bytes) {
        uint64_t v = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
        if (entry + 8 <= page + kPageSize) { // eight bytes at a load while they lie in the page
            std::memcpy(&v, entry, 8);
            v &= entryMask;
        } else
#endif
        {
            for (int b = bytes - 1; b >= 0; --b)
                v = (v << 8) | entry[b];
        }
        const uint32_t recno = static_cast<uint32_t>(v & recMask);
        const size_t dup = static_cast<size_t>((v >> recBits) & dupMask);
        const size_t trail = static_cast<size_t>((v >> (recBits + dupBits)) & trailMask);
        if (dup > L || trail > L || (i == 0 && dup > 0))
            return Status::Corruption("index leaf node has a key count that does not fit the key length");
        const size_t stored = dup + trail >= L ? 0 : L - dup - trail;
        if (keyPos < entriesEnd + stored)
            return Status::Corruption("index leaf node keys overlap its entries");
        keyPos -= stored;
        char *key = &out.keys[static_cast<size_t>(i) * L];
        if (dup > 0)
            std::memcpy(key, key - L, dup);
        std::memcpy(key + dup, page + keyPos, stored);
        if (dup + stored < L)
            std::memset(key + dup + stored, pad, L - dup - stored);
        out.recnos[static_cast<size_t>(i)] = recno;
    }
    return Status::Ok();
}

Status decodeInterior(const uint8_t *page, int keyLength, InteriorNode &out)
{
    out.attributes = readLe16(page);
    const int count = readLe16(page + 2);
    out.left = readLe32(page + 4);
    out.right = readLe32(page + 8);
    const size_t L = static_cast<size_t>(keyLength);
    if (kInteriorHeader + static_cast<size_t>(count) * (L + 8) > kPageSize)
        return Status::Corruption("index interior node holds more entries than fit");
    out.keys.resize(static_cast<size_t>(count) * L);
    out.recnos.resize(static_cast<size_t>(count));
    out.children.resize(static_cast<size_t>(count));
    const uint8_t *p = page + kInteriorHeader;
    for (size_t i = 0; i < static_cast<size_t>(count); ++i, p += L + 8) {
        std::memcpy(&out.keys[i * L], p, L);
        out.recnos[i] = readBe32(p + L);
        out.children[i] = readBe32(p + L + 4);
    }
    return Status::Ok();
}

int storedKeyBytes(const char *prev, const char *key, int keyLength, char pad, int &dup, int &trail)
{
    trail = trailingPadBytes(key, keyLength, pad);
    dup = prev ? commonPrefixBytes(prev, key, keyLength - trail) : 0;
    return keyLength - dup - trail;
}

int leafEntryBytes(uint32_t maxRecno, int keyLength, int &recBits)
{
    return entryBytes(maxRecno, bitsFor(static_cast<uint64_t>(keyLength)), recBits);
}

namespace {

// Encodes `count` entries into a leaf page; `countsOf(i, dup, trail)` gives entry i's duplicate
// and trailing counts. False when they do not fit. The entries are gathered eight bytes at a
// store (each store's surplus is overwritten by the next entry) and copied into the page once
// their room is known to be free.
template <typename CountsOf>
bool encodeLeafEntries(uint16_t attributes, uint32_t left, uint32_t right, const char *keys,
                       const uint32_t *recnos, int count, int keyLength, uint8_t *page, CountsOf countsOf)
{
    const int fieldBits = bitsFor(static_cast<uint64_t>(keyLength));
    uint32_t maxRecno = 0;
    for (int i = 0; i < count; ++i)
        maxRecno = std::max(maxRecno, recnos[i]);
    int recBits = 0;
    const int bytes = entryBytes(maxRecno, fieldBits, recBits);
    const size_t entriesEnd = kLeafHeader + static_cast<size_t>(count) * static_cast<size_t>(bytes);
    if (entriesEnd > kPageSize)
        return false;
    writeLeafHeader(page, attributes, left, right, count, recBits, fieldBits, bytes);
    size_t keyPos = kPageSize;
    const size_t L = static_cast<size_t>(keyLength);
    uint8_t entries[kPageSize + 8];
    uint8_t *entry = entries;
    for (int i = 0; i < count; ++i, entry += bytes) {
        const char *key = keys + static_cast<size_t>(i) * L;
        size_t dup = 0;
        size_t trail = 0;
        countsOf(i, key, dup, trail);
        const size_t stored = L - dup - trail;
        if (keyPos < entriesEnd + stored)
            return false;
        keyPos -= stored;
        if (stored == 1)
            page[keyPos] = static_cast<uint8_t>(key[dup]);
        else if (stored > 0)
            std::memcpy(page + keyPos, key + dup, stored);
        const uint64_t v = static_cast<uint64_t>(recnos[i]) | (static_cast<uint64_t>(dup) << recBits) |
                           (static_cast<uint64_t>(trail) << (recBits + fieldBits));
        storeLe64(entry, v);
    }
    std::memcpy(page + kLeafHeader, entries, entriesEnd - kLeafHeader);
    writeLe16(page + 12, static_cast<uint16_t>(keyPos - entriesEnd));
    return true;
}

} // namespace

bool encodeLeafPacked(uint16_t attributes, uint32_t left, uint32_t right, const char *keys,
                      const uint32_t *recnos, const uint8_t *dups, const uint8_t *trails, int count,
                      int keyLength, uint8_t *page)
{
    return encodeLeafEntries(attributes, left, right, keys, recnos, count, keyLength, page,
                             [&](int i, const char *, size_t &dup, size_t &trail) {
                                 dup = i == 0 ? 0 : dups[i];
                                 trail = trails[i];
                             });
}

LeafSizer::LeafSizer(int keyLength, char pad)
    : m_keyLength(keyLength), m_pad(pad), m_fieldBits(bitsFor(keyLength))
{
}

size_t LeafSizer::sizeWith(const char *key, uint32_t recno) const
{
    int dup = 0;
    int trail = 0;
    const size_t stored = static_cast<size_t>(
        storedKeyBytes(m_count > 0 ? m_prev.data() : nullptr, key, m_keyLength, m_pad, dup, trail));
    int recBits = 0;
    const int bytes = entryBytes(std::max(m_maxRecno, recno), m_fieldBits, recBits);
    return kLeafHeader + static_cast<size_t>(m_count + 1) * static_cast<size_t>(bytes) + m_keyBytes + stored;
}

void LeafSizer::add(const char *key, uint32_t recno)
{
    int dup = 0;
    int trail = 0;
    m_keyBytes += static_cast<size_t>(
        storedKeyBytes(m_count > 0 ? m_prev.data() : nullptr, key, m_keyLength, m_pad, dup, trail));
    m_maxRecno = std::max(m_maxRecno, recno);
    m_prev.assign(key, static_cast<size_t>(m_keyLength));
    ++m_count;
    int recBits = 0;
    const int bytes = entryBytes(m_maxRecno, m_fieldBits, recBits);
    m_size = kLeafHeader + static_cast<size_t>(m_count) * static_cast<size_t>(bytes) + m_keyBytes;
}

void LeafSizer::reset()
{
    m_prev.clear();
    m_maxRecno = 0;
    m_keyBytes = 0;
    m_count = 0;
    m_size = kLeafHeader;
}

bool encodeLeafRange(uint16_t attributes, uint32_t left, uint32_t right, const char *keys,
                     const uint32_t *recnos, int count, int keyLength, char pad, uint8_t *page)
{
    return encodeLeafEntries(
        attributes, left, right, keys, recnos, count, keyLength, page,
        [&](int i, const char *key, size_t &dup, size_t &trail) {
            const int t = trailingPadBytes(key, keyLength, pad);
            trail = static_cast<size_t>(t);
            dup = i > 0 ? static_cast<size_t>(commonPrefixBytes(key - keyLength, key, keyLength - t)) : 0;
        });
}

bool encodeLeaf(const LeafNode &node, int keyLength, char pad, uint8_t *page)
{
    return encodeLeafRange(node.attributes, node.left, node.right, node.keys.data(), node.recnos.data(),
                           node.count(), keyLength, pad, page);
}

int interiorCapacity(int keyLength)
{
    return static_cast<int>((kPageSize - kInteriorHeader) / (static_cast<size_t>(keyLength) + 8));
}

void encodeInterior(const InteriorNode &node, int keyLength, uint8_t *page)
{
    std::memset(page, 0, kPageSize);
    writeLe16(page, node.attributes);
    writeLe16(page + 2, static_cast<uint16_t>(node.count()));
    writeLe32(page + 4, node.left);
    writeLe32(page + 8, node.right);
    const size_t L = static_cast<size_t>(keyLength);
    uint8_t *p = page + kInteriorHeader;
    for (size_t i = 0; i < static_cast<size_t>(node.count()); ++i, p += L + 8) {
        std::memcpy(p, &node.keys[i * L], L);
        writeBe32(p + L, node.recnos[i]);
        writeBe32(p + L + 4, node.children[i]);
    }
}

} // namespace xbase
