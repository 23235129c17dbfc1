#include "TCszListModel.h"

#include "TCp1252.h"

#include "Table.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char *, 4> kFields = {"NAME", "STATE", "LOW_ZIP", "HIGH_ZIP"};
constexpr std::array<const char *, 4> kLabels = {"State or Province", "Abbreviation", "Starting Zip/Post",
                                                 "Ending Zip/Post"};

} // namespace

TCszListModel::TCszListModel(xbase::Table &list, QObject *parent) : QAbstractTableModel(parent), m_list(list)
{
    reload();
}

void TCszListModel::reload()
{
    beginResetModel();
    std::vector<uint32_t> recnos;
    if (m_list.visibleRecnos(recnos).ok())
        m_recnos = QVector<quint32>(recnos.cbegin(), recnos.cend());
    else
        m_recnos.clear();
    endResetModel();
}

int TCszListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_recnos.size());
}

int TCszListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(kFields.size());
}

QVariant TCszListModel::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid() ||
        index.row() >= m_recnos.size())
        return QVariant();
    const quint32 recno = m_recnos[index.row()];
    std::string text;
    const char *field = kFields[size_t(index.column())];
    if (m_list.isEditing() && m_list.recno() == recno) {
        if (!m_list.fieldValue(field, text).ok())
            return QVariant();
    } else {
        std::string bytes;
        const int column = m_list.schema().indexOf(field);
        if (column < 0 || !m_list.storedRecord(recno, bytes).ok() ||
            !m_list.fieldValue(xbase::RecordRef{bytes.data(), recno}, column, text).ok())
            return QVariant();
    }
    return TCp1252::toString(text.data(), qsizetype(text.size()));
}

QVariant TCszListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= int(kLabels.size()))
        return QVariant();
    return QString::fromLatin1(kLabels[size_t(section)]);
}

Qt::ItemFlags TCszListModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable : Qt::NoItemFlags;
}

TResult TCszListModel::go(int row)
{
    if (row < 0 || row >= m_recnos.size())
        return TResult::notFound();
    const quint32 recno = m_recnos[row];
    if (m_list.isEditing() && m_list.recno() != recno) {
        const TResult posted = TResult::fromStatus(m_list.post());
        if (!posted.ok)
            return posted;
    }
    if (m_list.isEditing())
        return TResult::success();
    return TResult::fromStatus(m_list.go(recno));
}

bool TCszListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !go(index.row()).ok)
        return false;
    const QByteArray bytes = TCp1252::fromString(value.toString());
    if (!m_list.isEditing() && !m_list.lockRecord().ok())
        return false;
    if (!m_list
             .setFieldValue(kFields[size_t(index.column())],
                            std::string_view(bytes.constData(), size_t(bytes.size())))
             .ok())
        return false;
    emit dataChanged(index, index);
    return true;
}

TResult TCszListModel::addRow(int &row)
{
    row = -1;
    TResult result = post();
    if (result.ok)
        result = TResult::fromStatus(m_list.appendBlank());
    if (result.ok)
        result = TResult::fromStatus(m_list.post());
    if (!result.ok) {
        m_list.cancelEdit();
        return result;
    }
    const quint32 recno = m_list.recno();
    reload();
    row = int(m_recnos.indexOf(recno));
    return result;
}

TResult TCszListModel::deleteRow(int row)
{
    TResult result = go(row);
    if (result.ok)
        result = TResult::fromStatus(m_list.deleteRecord());
    reload();
    return result;
}

TResult TCszListModel::post()
{
    if (!m_list.isEditing())
        return TResult::success();
    const TResult posted = TResult::fromStatus(m_list.post());
    if (!posted.ok)
        return posted;
    reload();
    return posted;
}

void TCszListModel::cancel()
{
    m_list.cancelEdit();
    reload();
}

bool TCszListModel::isEditing() const
{
    return m_list.isEditing();
}
