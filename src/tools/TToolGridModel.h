// The editable grid of the data tools: the browse grid's rows and columns over the address
// table as it is ordered (a tool's temporary index lists only the records it found), where a
// cell edit goes into the record's edit, Save posts it and Undo drops it. Rows are never
// inserted from the grid. Owned by the tool window; the table outlives it.
#pragma once

#include "TBrowseModel.h"
#include "TResult.h"

#include <QHash>

class TToolGridModel : public TBrowseModel
{
    Q_OBJECT

public:
    TToolGridModel(TAddressTable &table, const QStringList &fieldOrder, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Makes the row's record current and puts the text into its edit (one record at a time:
    // an edit of another record is posted first). The calculated fields are not editable.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // The record being edited, 0 when none.
    quint32 editedRecord() const { return m_edited; }
    // Makes the row's record current (a pending edit of another record is posted first).
    TResult selectRow(int row);
    // Posts the pending edit (nothing to do is success); the row is read again.
    TResult post();
    // Drops the pending edit.
    void cancel();
    // Tags the row's record, or clears its tag when it is tagged, and posts it.
    TResult toggleTag(int row);
    // Tags every listed record that is not tagged yet; `tagged` counts the records tagged.
    TResult tagAll(int &tagged);
    // Deletes the row's record as the user deletes one (the delete mark and ISDEL set), so it
    // leaves the list at once.
    TResult deleteRow(int row);

private:
    TAddressTable &m_table;
    quint32 m_edited = 0;
    QHash<QString, QString> m_pending;
};
