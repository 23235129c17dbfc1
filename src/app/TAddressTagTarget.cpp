#include "TAddressTagTarget.h"

#include "TAddressTable.h"

void TAddressTagTarget::freeze()
{
    m_table.freeze();
}

void TAddressTagTarget::unfreeze()
{
    m_table.unfreeze();
}

bool TAddressTagTarget::listVisible(QVector<quint32> &out)
{
    return m_table.visibleRecnos(out);
}

bool TAddressTagTarget::first()
{
    return bool(m_table.first());
}

bool TAddressTagTarget::next()
{
    return bool(m_table.next());
}

quint32 TAddressTagTarget::recno() const
{
    return m_table.hasRecord() ? m_table.recno() : 0;
}

bool TAddressTagTarget::goTo(quint32 recno)
{
    return bool(m_table.goTo(recno));
}

TResult TAddressTagTarget::tagCurrent()
{
    if (!m_table.hasRecord())
        return TResult::failure(QStringLiteral("No record to tag"));
    TResult result = m_table.setValue(QStringLiteral("TAG"), m_table.globalTagId());
    if (result.ok)
        result = m_table.post();
    if (!result.ok)
        m_table.cancelEdit();
    return result;
}
