#include "TAddressDataSource.h"

#include "TAddressSchema.h"
#include "TAddressTable.h"

TAddressDataSource::TAddressDataSource(const TAddressTable &table) : m_table(table)
{
    for (const TAddressField &f : TAddressSchema::storedFields())
        m_fields.push_back(&f);
    for (const TAddressField &f : TAddressSchema::calculatedFields())
        m_fields.push_back(&f);
}

bool TAddressDataSource::isOpen() const
{
    return m_table.isOpen();
}

QString TAddressDataSource::fieldName(int index) const
{
    return valid(index) ? m_fields[static_cast<size_t>(index)]->name : QString();
}

QString TAddressDataSource::displayLabel(int index) const
{
    if (!valid(index))
        return QString();
    const TAddressField &f = *m_fields[static_cast<size_t>(index)];
    return f.label.isEmpty() ? f.name : f.label;
}

QString TAddressDataSource::fieldText(int index) const
{
    return valid(index) && !isMemoField(index) ? m_table.value(fieldName(index)) : QString();
}

bool TAddressDataSource::isTextField(int index) const
{
    return valid(index) && m_fields[static_cast<size_t>(index)]->type == 'C';
}

bool TAddressDataSource::isFieldVisible(int index) const
{
    return valid(index) && m_fields[static_cast<size_t>(index)]->browseVisible;
}

bool TAddressDataSource::isMemoField(int index) const
{
    return valid(index) && m_fields[static_cast<size_t>(index)]->type == 'M';
}

QString TAddressDataSource::memoText(int index) const
{
    return isMemoField(index) ? m_table.value(fieldName(index)) : QString();
}
