// Compact index nodes: exact leaf bytes, round trips and decoding of damaged nodes.
#include "CompactNode.h"

#include <gtest/gtest.h>

#include <random>

using namespace xbase;

namespace {

LeafNode makeLeaf(int keyLength, const std::vector<std::pair<std::string, uint32_t>> &entries)
{
    LeafNode node;
    for (const auto &e : entries) {
        std::string k = e.first;
        k.resize(static_cast<size_t>(keyLength), ' ');
        node.keys += k;
        node.recnos.push_back(e.second);
    }
    return node;
}

TEST(CompactLeaf, BytesOfASmallLeaf)
{
    const LeafNode node = makeLeaf(4, {{"AB", 1}, {"ABC", 2}});
    uint8_t page[kPageSize];
    ASSERT_TRUE(encodeLeaf(node, 4, ' ', page));
    // Header: leaf, 2 keys, no siblings, 483 bytes free, masks and widths 2/3/3 in 1 byte.
    const uint8_t header[] = {2,    0, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                              0xE3, 1, 3, 0, 0,    0,    7,    7,    2,    3,    3,    1};
    EXPECT_EQ(std::vector<uint8_t>(page, page + 24), std::vector<uint8_t>(header, header + 24));
    // Entries: record | duplicate << 2 | trailing << 5.
    EXPECT_EQ(page[24], 1 | (0 << 2) | (2 << 5));
    EXPECT_EQ(page[25], 2 | (2 << 2) | (1 << 5));
    // Keys grow from the end: "AB", then only the "C" the second key does not share.
    EXPECT_EQ(std::string(reinterpret_cast<char *>(page) + 509, 3), "CAB");
}

struct RoundTrip {
    const char *name;
    int keyLength;
    char pad;
    std::vector<std::pair<std::string, uint32_t>> entries;
};

class CompactLeafRoundTrip : public ::testing::TestWithParam<RoundTrip>
{
};

TEST_P(CompactLeafRoundTrip, DecodesToWhatWasEncoded)
{
    const RoundTrip c = GetParam();
    LeafNode node;
    for (const auto &e : c.entries) {
        std::string k = e.first;
        k.resize(static_cast<size_t>(c.keyLength), c.pad);
        node.keys += k;
        node.recnos.push_back(e.second);
    }
    node.left = 1024;
    node.right = 4096;
    uint8_t page[kPageSize];
    ASSERT_TRUE(encodeLeaf(node, c.keyLength, c.pad, page));
    LeafNode back;
    ASSERT_TRUE(decodeLeaf(page, c.keyLength, c.pad, back).ok());
    EXPECT_EQ(back.keys, node.keys);
    EXPECT_EQ(back.recnos, node.recnos);
    EXPECT_EQ(back.left, 1024u);
    EXPECT_EQ(back.right, 4096u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompactLeafRoundTrip,
    ::testing::Values(
        RoundTrip{"Empty", 10, ' ', {}}, RoundTrip{"AllBlank", 10, ' ', {{"", 1}, {"", 2}, {"", 3}}},
        RoundTrip{"SharedPrefixes", 12, ' ', {{"SMITH", 5}, {"SMITH", 9}, {"SMITHE", 1}, {"SMYTH", 2}}},
        RoundTrip{"NumericNuls",
                  8,
                  '\0',
                  {{std::string("\x3F\xF0", 2), 1}, {std::string("\x3F\xF0\x01", 3), 2}, {"@", 3}}},
        RoundTrip{"BlanksInsideNumeric", 8, '\0', {{"A  ", 1}, {"A   B", 2}}},
        RoundTrip{"WidestRecords", 240, ' ', {{"X", 0xFFFFFFFFu}, {"Y", 0x80000000u}}},
        RoundTrip{"OneByteKeys", 1, ' ', {{"F", 1}, {"F", 2}, {"T", 3}}}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(CompactLeaf, SizerAgreesWithTheEncoder)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 200; ++round) {
        const int keyLength = 1 + static_cast<int>(rng() % 60);
        LeafSizer sizer(keyLength, ' ');
        // Keys in ascending order: a random walk that keeps, bumps or extends the last key.
        LeafNode node;
        std::string k(static_cast<size_t>(keyLength), ' ');
        for (;;) {
            const size_t at = rng() % static_cast<size_t>(keyLength);
            if (rng() % 3 != 0 && k[at] < 'Z') {
                k[at] = k[at] == ' ' ? 'A' : static_cast<char>(k[at] + 1);
                for (size_t i = at + 1; i < k.size(); ++i)
                    k[i] = rng() % 2 ? ' ' : 'A';
            }
            const uint32_t recno =
                rng() % 4 == 0 ? static_cast<uint32_t>(rng()) : static_cast<uint32_t>(rng() % 300);
            const bool fits = sizer.sizeWith(k.data(), recno) <= kPageSize;
            node.keys += k;
            node.recnos.push_back(recno);
            uint8_t page[kPageSize];
            ASSERT_EQ(encodeLeaf(node, keyLength, ' ', page), fits);
            if (!fits)
                break;
            sizer.add(node.key(node.count() - 1, keyLength), recno);
        }
    }
}

// Sets bits in the duplicate count of leaf entry `entry`.
void orDuplicateCount(uint8_t *page, int entry, uint64_t bits)
{
    const int recBits = page[20];
    const int bytes = page[23];
    uint8_t *e = page + 24 + entry * bytes;
    uint64_t v = 0;
    for (int b = bytes - 1; b >= 0; --b)
        v = (v << 8) | e[b];
    v |= bits << recBits;
    for (int b = 0; b < bytes; ++b)
        e[b] = static_cast<uint8_t>(v >> (8 * b));
}

struct BadLeaf {
    const char *name;
    void (*damage)(uint8_t *page);
};

class CompactLeafDamaged : public ::testing::TestWithParam<BadLeaf>
{
};

TEST_P(CompactLeafDamaged, IsCorruption)
{
    const LeafNode node = makeLeaf(10, {{"ALPHA", 1}, {"ALPHABET", 2}, {"BETA", 3}});
    uint8_t page[kPageSize];
    ASSERT_TRUE(encodeLeaf(node, 10, ' ', page));
    GetParam().damage(page);
    LeafNode out;
    EXPECT_EQ(decodeLeaf(page, 10, ' ', out).code(), StatusCode::Corruption);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompactLeafDamaged,
    ::testing::Values(BadLeaf{"NoEntryBytes", [](uint8_t *p) { p[23] = 0; }},
                      BadLeaf{"WidthsExceedEntry", [](uint8_t *p) { p[20] = 30; }},
                      BadLeaf{"RecordWiderThan32",
                              [](uint8_t *p) {
                                  p[20] = 33;
                                  p[23] = 8;
                              }},
                      BadLeaf{"CountPastPage", [](uint8_t *p) { writeLe16(p + 2, 200); }},
                      BadLeaf{"FirstEntrySharesBytes", [](uint8_t *p) { orDuplicateCount(p, 0, 1); }},
                      BadLeaf{"DuplicateLongerThanKey", [](uint8_t *p) { orDuplicateCount(p, 1, 15); }}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(CompactInterior, RoundTripAndCapacity)
{
    EXPECT_EQ(interiorCapacity(10), 27);
    EXPECT_EQ(interiorCapacity(240), 2);
    InteriorNode node;
    node.attributes = kNodeRoot;
    for (int i = 0; i < interiorCapacity(10); ++i) {
        node.keys += std::string(10, static_cast<char>('A' + i));
        node.recnos.push_back(static_cast<uint32_t>(i * 1000));
        node.children.push_back(static_cast<uint32_t>(1024 + i * 512));
    }
    uint8_t page[kPageSize];
    encodeInterior(node, 10, page);
    // Record number and child pointer are big-endian after the key.
    EXPECT_EQ(readBe32(page + 12 + 18 + 10), 1000u);
    EXPECT_EQ(readBe32(page + 12 + 10 + 4), 1024u);
    InteriorNode back;
    ASSERT_TRUE(decodeInterior(page, 10, back).ok());
    EXPECT_EQ(back.keys, node.keys);
    EXPECT_EQ(back.recnos, node.recnos);
    EXPECT_EQ(back.children, node.children);
    writeLe16(page + 2, static_cast<uint16_t>(interiorCapacity(10) + 1));
    EXPECT_EQ(decodeInterior(page, 10, back).code(), StatusCode::Corruption);
}

} // namespace

namespace {

// The index of the first entry at or after (target's first n bytes, minRecno), found the slow way.
int firstAtOrAfter(const LeafNode &node, int keyLength, const std::string &target, size_t n,
                   uint64_t minRecno)
{
    for (int i = 0; i < node.count(); ++i) {
        const int c = std::memcmp(node.key(i, keyLength), target.data(), n);
        if (c > 0 || (c == 0 && node.recnos[static_cast<size_t>(i)] >= minRecno))
            return i;
    }
    return node.count();
}

} // namespace

// findInLeaf passes over entries by their shared front bytes: it must land where a search of
// the whole decoded leaf lands, for keys with long shared parts, runs of equal keys, pads
// inside keys and targets of every length.
TEST(CompactLeaf, FindingInThePageAgreesWithTheDecodedLeaf)
{
    std::mt19937 random(7);
    const char *const words[] = {"", "A", "AB", "ABC", "B", "SMITH", "SMITHERS", "SM", "\xE9MOND", "Z"};
    for (int round = 0; round < 300; ++round) {
        const int keyLength = 1 + static_cast<int>(random() % 24);
        const char pad = round % 3 == 0 ? '\0' : ' ';
        std::vector<std::string> keys;
        const int count = 1 + static_cast<int>(random() % 60);
        for (int i = 0; i < count; ++i) {
            std::string k =
                std::string(words[random() % 10]) + (random() % 2 ? " " : "") + words[random() % 10];
            k.resize(static_cast<size_t>(keyLength), pad);
            keys.push_back(k);
        }
        std::sort(keys.begin(), keys.end());
        LeafNode node;
        for (size_t i = 0; i < keys.size(); ++i) {
            node.keys += keys[i];
            node.recnos.push_back(static_cast<uint32_t>(1 + i * 3));
        }
        uint8_t page[kPageSize];
        if (!encodeLeaf(node, keyLength, pad, page))
            continue;
        LeafNode decoded;
        ASSERT_TRUE(decodeLeaf(page, keyLength, pad, decoded).ok());
        for (int probe = 0; probe < 20; ++probe) {
            std::string target =
                std::string(words[random() % 10]) + (random() % 2 ? " " : "") + words[random() % 10];
            const size_t n = std::min<size_t>(random() % 2 ? target.size() : keyLength, keyLength);
            target.resize(static_cast<size_t>(keyLength), pad);
            const uint64_t minRecno = random() % 3 == 0 ? 0 : random() % (3 * keys.size() + 2);
            char key[kMaxKeyLength];
            uint32_t recno = 0;
            const int at = findInLeaf(page, keyLength, pad, target.data(), n, minRecno, key, recno);
            const int expected = firstAtOrAfter(decoded, keyLength, target, n, minRecno);
            ASSERT_EQ(at, expected) << "round " << round << " probe " << probe;
            if (at < decoded.count()) {
                EXPECT_EQ(std::string(key, static_cast<size_t>(keyLength)),
                          std::string(decoded.key(at, keyLength), static_cast<size_t>(keyLength)));
                EXPECT_EQ(recno, decoded.recnos[static_cast<size_t>(at)]);
            }
        }
    }
}
