#include "TMergeTableRecord.h"

#include "TAddressTable.h"

QString TMergeTableRecord::fieldText(const QString &name) const
{
    return m_table.value(name);
}
