// Sorting of index entries for a bulk build: by key bytes (memcmp order), equal keys by
// record number. Works on a flat key buffer without moving the keys.
#pragma once

#include <cstddef>
#include <cstdint>

#include "BulkBuffer.h"

namespace xbase {

// Room the sort works in, and where it leaves its result. One workspace serves many sorts in
// turn, so a build of many tags takes fresh memory once.
struct SortWorkspace {
    BulkBuffer items;
    BulkBuffer spare;
    BulkBuffer keys;   // the sorted keys, flat
    BulkBuffer recnos; // their record numbers (uint32_t)
};

// Sorts n entries (the keys flat, keyLength bytes each, and their record numbers) into
// `workspace.keys` and `workspace.recnos`. False when the memory for sorting cannot be had.
bool sortIndexEntries(const char *keys, size_t keyLength, const uint32_t *recnos, size_t n,
                      SortWorkspace &workspace);

} // namespace xbase
