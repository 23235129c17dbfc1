// The grid of the state/ZIP reference list (CSZ.DBF) while the user edits it: one row per list
// entry in the order of its STATE tag, the columns NAME, STATE, LOW_ZIP and HIGH_ZIP. A cell
// edit goes into the entry's edit; post() writes it, cancel() drops it; rows are added and
// deleted (the delete mark) through the model. Owned by the state and ZIP check window for as
// long as the list is open; the table outlives it.
#pragma once

#include "TResult.h"

#include <QAbstractTableModel>
#include <QVector>

namespace xbase {
class Table;
}

class TCszListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Requires: `list` is open with its STATE tag.
    explicit TCszListModel(xbase::Table &list, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Adds an empty entry (posted at once) and answers its row.
    TResult addRow(int &row);
    TResult deleteRow(int row);
    // Writes the pending edit (nothing to do is success) and lists the entries again.
    TResult post();
    void cancel();
    bool isEditing() const;

private:
    void reload();
    TResult go(int row);

    xbase::Table &m_list;
    QVector<quint32> m_recnos;
};
