#include "Field.h"

#include <cctype>

namespace xbase {

Schema::Schema(std::vector<FieldDescriptor> fields) : m_fields(std::move(fields))
{
    uint32_t offset = 1;
    for (FieldDescriptor &f : m_fields) {
        f.offset = offset;
        offset += f.length;
    }
    m_recordLength = offset;
}

int Schema::indexOf(std::string_view name) const
{
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const std::string &n = m_fields[i].name;
        if (n.size() != name.size())
            continue;
        bool same = true;
        for (size_t k = 0; k < n.size() && same; ++k)
            same = std::toupper(static_cast<unsigned char>(n[k])) ==
                   std::toupper(static_cast<unsigned char>(name[k]));
        if (same)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace xbase
