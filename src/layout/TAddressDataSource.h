// The data set the layout objects read, served from the open address table: the 23 stored
// fields and the calculated ones, each with the label the program shows for it ("MEMO" and
// "TAG" go by their names), and the current record's texts and memo. The label, envelope and
// report runs and designers hand one to their surfaces; it holds a reference to the table,
// which must outlive it.
#pragma once

#include "TGDataSource.h"

#include <vector>

class TAddressTable;
struct TAddressField;

class TAddressDataSource : public TGDataSource
{
public:
    explicit TAddressDataSource(const TAddressTable &table);

    bool isOpen() const override;
    int fieldCount() const override { return static_cast<int>(m_fields.size()); }
    QString fieldName(int index) const override;
    QString displayLabel(int index) const override;
    // Empty when no record is shown or `index` is out of range.
    QString fieldText(int index) const override;
    bool isTextField(int index) const override;
    int fieldTag(int) const override { return 0; }
    bool isFieldVisible(int index) const override;
    bool isMemoField(int index) const override;
    QString memoText(int index) const override;

private:
    bool valid(int index) const { return index >= 0 && index < fieldCount(); }

    const TAddressTable &m_table;
    std::vector<const TAddressField *> m_fields;
};
