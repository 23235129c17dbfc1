#include "TBrowseModel.h"

#include "TAddressSchema.h"
#include "TAddressTable.h"

#include <algorithm>

namespace {

// The stored fields the grid shows at their width in the open file; every other field has
// a browse width of its own.
bool showsFileWidth(const QString &name)
{
    static const QStringList names = {QStringLiteral("MIDDLE"), QStringLiteral("STREET"),
                                      QStringLiteral("FAX"), QStringLiteral("EMAIL"),
                                      QStringLiteral("CODES")};
    return names.contains(name);
}

} // namespace

TBrowseModel::TBrowseModel(TAddressTable &table, const QStringList &fieldOrder, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{
    for (const QString &name : fieldOrder) {
        const TAddressField *field = TAddressSchema::field(name);
        if (!field || !field->browseVisible || m_columns.contains(field->name))
            continue;
        m_columns.append(field->name);
        m_widths.append(showsFileWidth(field->name) ? table.fieldWidth(field->name) : field->browseWidth);
    }
    m_orderTag = m_table.orderTag();
    m_query = m_table.query();
    m_table.visibleRecnos(m_recnos);
    connect(&m_table, &TAddressTable::recordChanged, this, [this] {
        if (m_table.orderTag() != m_orderTag || m_table.query() != m_query)
            reload();
    });
}

int TBrowseModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_recnos.size());
}

int TBrowseModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

const QStringList &TBrowseModel::rowValues(int row) const
{
    auto it = m_cache.find(row);
    if (it != m_cache.end())
        return it.value();
    if (m_cache.size() >= kCachedRows)
        m_cache.remove(m_cacheOrder.dequeue());
    QStringList values;
    if (!m_table.recordValues(m_recnos[row], m_columns, values))
        values = QStringList();
    ++m_rowsRead;
    m_cacheOrder.enqueue(row);
    return m_cache.insert(row, values).value();
}

QVariant TBrowseModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_recnos.size() ||
        index.column() >= m_columns.size())
        return QVariant();
    return rowValues(index.row()).value(index.column());
}

QVariant TBrowseModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return QVariant();
    const TAddressField *field = TAddressSchema::field(m_columns.value(section));
    return field ? QVariant(field->label) : QVariant();
}

Qt::ItemFlags TBrowseModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

int TBrowseModel::rowOf(quint32 recno) const
{
    const auto it = std::find(m_recnos.cbegin(), m_recnos.cend(), recno);
    return it == m_recnos.cend() ? -1 : int(it - m_recnos.cbegin());
}

quint32 TBrowseModel::recnoOf(int row) const
{
    return row >= 0 && row < m_recnos.size() ? m_recnos[row] : 0;
}

bool TBrowseModel::reload()
{
    m_orderTag = m_table.orderTag();
    m_query = m_table.query();
    QVector<quint32> recnos;
    m_table.visibleRecnos(recnos);
    if (recnos == m_recnos)
        return false;
    beginResetModel();
    m_recnos.swap(recnos);
    m_cache.clear();
    m_cacheOrder.clear();
    endResetModel();
    return true;
}

void TBrowseModel::refreshRecord(quint32 recno)
{
    const int row = rowOf(recno);
    if (row < 0)
        return;
    if (m_cache.remove(row) > 0)
        m_cacheOrder.removeOne(row);
    emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}
