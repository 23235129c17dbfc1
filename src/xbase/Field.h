// Field descriptors of a DBF table and the record layout they imply. Shared by the table,
// the expression compiler (which resolves field names against a Schema) and the indexes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace xbase {

/// One field of a table as stored in the DBF header.
struct FieldDescriptor {
    std::string name;   ///< upper case, at most 10 characters
    char type = 'C';    ///< C N L M D, and F I B Y T kept as other programs wrote them
    uint8_t length = 0; ///< bytes in the record
    uint8_t decimals = 0;
    uint32_t offset = 0; ///< byte offset inside the record; byte 0 is the delete mark
};

/// The fields of a table in file order with their offsets.
class Schema
{
public:
    Schema() = default;
    /// Builds the layout: offsets start at 1 (after the delete mark) and follow the field order.
    explicit Schema(std::vector<FieldDescriptor> fields);

    const std::vector<FieldDescriptor> &fields() const { return m_fields; }
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    const FieldDescriptor &field(int index) const { return m_fields[static_cast<size_t>(index)]; }
    /// Index of the field named `name` (any letter case), or -1.
    int indexOf(std::string_view name) const;
    /// Bytes of one record including the delete mark.
    uint32_t recordLength() const { return m_recordLength; }

private:
    std::vector<FieldDescriptor> m_fields;
    uint32_t m_recordLength = 1;
};

/// A record's bytes as stored (delete mark first) together with its record number.
/// The bytes are borrowed: they live as long as the caller keeps them.
struct RecordRef {
    const char *data = nullptr; ///< schema.recordLength() bytes
    uint32_t recno = 0;
    bool isDeleted() const { return data && data[0] == '*'; }
};

} // namespace xbase
