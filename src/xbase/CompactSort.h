// Sorting of index entries for a bulk build: by key bytes (memcmp order), equal keys by
// record number. The keys are gathered once the first bytes are sorted, so the later bytes
// are read in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "BulkBuffer.h"

namespace xbase {

// Room the sort works in, and where it leaves its result. One workspace serves many sorts in
// turn, so a build of many tags takes fresh memory once.
struct SortWorkspace {
    BulkBuffer items;
    BulkBuffer spare;
    BulkBuffer keys;                  // the sorted keys, flat
    BulkBuffer recnos;                // their record numbers (uint32_t)
    std::vector<uint32_t> wideCounts; // the sort's count table for two-byte digits
    // Memory earlier builders collected their keys in, for the builders after them.
    std::vector<BulkBuffer> keyBuffers;
    BulkBuffer takeKeyBuffer()
    {
        if (keyBuffers.empty())
            return BulkBuffer();
        auto largest = keyBuffers.begin();
        for (auto it = keyBuffers.begin(); it != keyBuffers.end(); ++it)
            if (it->size() > largest->size())
                largest = it;
        BulkBuffer b = std::move(*largest);
        keyBuffers.erase(largest);
        return b;
    }
};

// Sorts n entries (the keys flat, keyLength bytes each, and their record numbers) into
// `workspace.keys` and `workspace.recnos`. The sort works in `keys` too: they are left in no
// order. Null `recnos`: entry i is record i + 1. False when the memory for sorting cannot be had (`keys` then unchanged).
bool sortIndexEntries(char *keys, size_t keyLength, const uint32_t *recnos, size_t n,
                      SortWorkspace &workspace);

} // namespace xbase
