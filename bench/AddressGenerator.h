// Generates realistic address records with the 23 fields of an address file, the same ones
// for the same seed, for benchmarks and load tests: every field filled as in a kept address
// book, a memo in 45 of 100 records (358 bytes on average), the delete mark on 6 in 100 (ISDEL
// set on 5 of them). Owned by its caller.
#pragma once

#include "Field.h"
#include "Table.h"

#include <cstdint>
#include <string>
#include <vector>

struct AddressRecord {
    // Values in field order (Windows-1252), ISDEL as "T"/"F" and MEMO as its text.
    std::vector<std::string> values;
    // Whether the record bears the delete mark.
    bool marked = false;
    /// Appends the record to `table` (open for writing), marked when it is to be.
    xbase::Status post(xbase::Table &table) const;
};

class AddressGenerator
{
public:
    explicit AddressGenerator(uint64_t seed = 20261210);

    /// The 23 stored fields of an address file with the default widths, in creation order.
    static std::vector<xbase::FieldDescriptor> fields();
    /// The 26 tags of an address file, in creation order.
    static std::vector<xbase::TagDefinition> tags();
    /// Creates the address file `path` with `count` generated records and its 26 tags, and
    /// closes it; prints how long that took. False, said on stderr, when the engine refuses
    /// any step.
    static bool writeFile(const std::string &path, uint32_t count);

    AddressRecord next();
    /// A last name as next() would draw it (for seek keys).
    std::string lastName();

private:
    uint64_t random();
    size_t pick(size_t n) { return static_cast<size_t>(random() % n); }
    std::string digits(int n);

    uint64_t m_state;
    uint32_t m_count = 0;
};
