// The bulk build's sort of index entries: by key bytes, equal keys by record number, for runs
// small enough to sort at once and for runs the radix passes sort, with keys equal over many
// bytes.
#include "CompactSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

using namespace xbase;

namespace {

struct SortCase {
    size_t entries;
    size_t keyLength;
    int alphabet;      // distinct letters a key is made of
    size_t sharedHead; // leading bytes every key shares
};

class CompactSortOrder : public ::testing::TestWithParam<SortCase> {};

TEST_P(CompactSortOrder, MatchesKeyThenRecordOrder)
{
    const SortCase c = GetParam();
    std::mt19937 random(static_cast<uint32_t>(c.entries * 31 + c.keyLength));
    std::string keys;
    std::vector<uint32_t> recnos;
    for (size_t i = 0; i < c.entries; ++i) {
        std::string key(c.sharedHead, 'Q');
        while (key.size() < c.keyLength)
            key.push_back(static_cast<char>(random() % 2 ? ' ' : 'A' + random() % c.alphabet));
        // Some bytes above 0x7F, which must sort after the letters.
        if (random() % 17 == 0)
            key[key.size() / 2] = '\xC9';
        keys += key;
        recnos.push_back(static_cast<uint32_t>(c.entries - i)); // records given backwards
    }
    std::vector<std::pair<std::string, uint32_t>> expected;
    for (size_t i = 0; i < c.entries; ++i)
        expected.emplace_back(keys.substr(i * c.keyLength, c.keyLength), recnos[i]);
    std::sort(expected.begin(), expected.end(), [](const auto &x, const auto &y) {
        const int cmp = std::memcmp(x.first.data(), y.first.data(), x.first.size());
        return cmp < 0 || (cmp == 0 && x.second < y.second);
    });

    SortWorkspace workspace;
    ASSERT_TRUE(sortIndexEntries(keys.data(), c.keyLength, recnos.data(), c.entries, workspace));
    const char *sortedKeys = workspace.keys.data();
    const uint32_t *sortedRecnos = reinterpret_cast<const uint32_t *>(workspace.recnos.data());
    for (size_t i = 0; i < c.entries; ++i) {
        ASSERT_EQ(std::string(sortedKeys + i * c.keyLength, c.keyLength), expected[i].first) << "entry " << i;
        ASSERT_EQ(sortedRecnos[i], expected[i].second) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CompactSortOrder,
                         ::testing::Values(SortCase{20, 6, 3, 0},        // sorted at once
                                           SortCase{5000, 12, 26, 0},    // one radix run
                                           SortCase{30000, 30, 26, 0},   // prefixes equal over 8 bytes
                                           SortCase{30000, 3, 2, 0},     // few keys, many records each
                                           SortCase{30000, 20, 4, 9},    // the first bytes all shared
                                           SortCase{30000, 1, 2, 0},     // one-byte keys
                                           SortCase{30000, 60, 2, 30})); // long keys, late differences

} // namespace
