// The tagging pass's view of the open address table: its visible records in the current
// order, tagged with the table's tag identifier. Holds a reference; the table must outlive it.
#pragma once

#include "TTagTarget.h"

class TAddressTable;

class TAddressTagTarget : public TTagTarget
{
public:
    explicit TAddressTagTarget(TAddressTable &table) : m_table(table) {}

    void freeze() override;
    void unfreeze() override;
    bool listVisible(QVector<quint32> &out) override;
    bool first() override;
    bool next() override;
    quint32 recno() const override;
    bool goTo(quint32 recno) override;
    TResult tagCurrent() override;

private:
    TAddressTable &m_table;
};
