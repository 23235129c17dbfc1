// The current record of an open address table as the letter merge reads it. Holds a reference
// to the table; the caller keeps the table open and the record current while merging.
#pragma once

#include "TMergeRecord.h"

class TAddressTable;

class TMergeTableRecord : public TMergeRecord
{
public:
    explicit TMergeTableRecord(const TAddressTable &table) : m_table(table) {}

    // The field's text as the table gives it for the current record (empty at the end).
    QString fieldText(const QString &name) const override;

private:
    const TAddressTable &m_table;
};
