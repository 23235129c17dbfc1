// The rows and columns of the browse grid over the open address table: columns are the field
// objects shown in the grid, in their position order, with their labels and browse widths;
// rows are the visible records in the table's current order. Only the rows asked for are read
// (a small cache of decoded rows), and the model never moves the table's current record.
// Owned by the browse window; the table outlives it. When the table's order or query changes
// (seen with its recordChanged()) the rows are listed again.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QQueue>
#include <QStringList>
#include <QVector>

class TAddressTable;

class TBrowseModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Decoded rows kept; more are read again when asked for.
    static constexpr int kCachedRows = 512;

    // `fieldOrder` is every field object in position order (TBrowseColumns::read()); the
    // columns are those of them the grid shows. Lists the visible records at once.
    TBrowseModel(TAddressTable &table, const QStringList &fieldOrder, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // The field shown in `column`, and its width in characters.
    QString columnField(int column) const { return m_columns.value(column); }
    int browseWidth(int column) const { return m_widths.value(column); }
    QStringList columnFields() const { return m_columns; }

    // The row of record `recno`, -1 when it is not shown; the record of `row`, 0 when none.
    int rowOf(quint32 recno) const;
    quint32 recnoOf(int row) const;

    // Lists the visible records again; the model is reset when the list changed (a record
    // left or joined the visible set, another order or query). Returns whether it changed.
    bool reload();
    // Reads the row of `recno` again when it is next shown.
    void refreshRecord(quint32 recno);

    // How many rows were decoded so far (a measure of what showing the grid costs).
    int rowsRead() const { return m_rowsRead; }

private:
    const QStringList &rowValues(int row) const;

    TAddressTable &m_table;
    QStringList m_columns;
    QVector<int> m_widths;
    QVector<quint32> m_recnos;
    mutable QHash<int, QStringList> m_cache;
    mutable QQueue<int> m_cacheOrder;
    mutable int m_rowsRead = 0;
    QString m_orderTag; // the order and query m_recnos were listed under
    QString m_query;
};
