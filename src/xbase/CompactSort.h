// Sorting of index entries for a bulk build: by key bytes (memcmp order), equal keys by
// record number. Works on a flat key buffer without moving the keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xbase {

// Fills `order` with the positions 0..n-1 of the entries in sorted order.
// Requires: `keys` holds n * keyLength bytes and `recnos` n numbers.
void sortIndexEntries(const char *keys, size_t keyLength, const uint32_t *recnos, size_t n,
                      std::vector<uint32_t> &order);

} // namespace xbase
