#include "TFreezeGuard.h"

#include "TAddressTable.h"

TFreezeGuard::TFreezeGuard(TAddressTable &table) : m_table(&table)
{
    table.freeze();
}

TFreezeGuard::TFreezeGuard(TFreezeGuard &&other) noexcept : m_table(other.m_table)
{
    other.m_table = nullptr;
}

TFreezeGuard::~TFreezeGuard()
{
    release();
}

void TFreezeGuard::release()
{
    if (m_table)
        m_table->unfreeze();
    m_table = nullptr;
}
