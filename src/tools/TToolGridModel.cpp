#include "TToolGridModel.h"

#include "TAddressSchema.h"
#include "TAddressTable.h"

TToolGridModel::TToolGridModel(TAddressTable &table, const QStringList &fieldOrder, QObject *parent)
    : TBrowseModel(table, fieldOrder, parent), m_table(table)
{
}

QVariant TToolGridModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::EditRole)
        role = Qt::DisplayRole;
    if (role == Qt::DisplayRole && index.isValid() && m_edited != 0 && recnoOf(index.row()) == m_edited) {
        const auto it = m_pending.constFind(columnField(index.column()));
        if (it != m_pending.cend())
            return *it;
    }
    return TBrowseModel::data(index, role);
}

Qt::ItemFlags TToolGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = TBrowseModel::flags(index);
    // Stored character fields only: logical and memo fields and the calculated ones are shown.
    const QString name = columnField(index.column());
    for (const TAddressField &field : TAddressSchema::storedFields()) {
        if (index.isValid() && field.type == 'C' && field.name.compare(name, Qt::CaseInsensitive) == 0)
            f |= Qt::ItemIsEditable;
    }
    return f;
}

TResult TToolGridModel::selectRow(int row)
{
    const quint32 recno = recnoOf(row);
    if (recno == 0)
        return TResult::notFound();
    if (m_edited != 0 && m_edited != recno) {
        const TResult posted = post();
        if (!posted.ok)
            return posted;
    }
    if (m_table.recno() == recno && m_table.hasRecord())
        return TResult::success();
    return m_table.goTo(recno);
}

bool TToolGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    if (!selectRow(index.row()).ok)
        return false;
    const QString field = columnField(index.column());
    const TResult set = m_table.setValue(field, value.toString());
    if (!set.ok)
        return false;
    m_edited = m_table.recno();
    m_pending.insert(field, m_table.value(field));
    emit dataChanged(index, index);
    return true;
}

TResult TToolGridModel::post()
{
    if (m_edited == 0 && !m_table.isEditing())
        return TResult::success();
    const quint32 recno = m_edited;
    const TResult posted = m_table.post();
    if (!posted.ok)
        return posted;
    m_edited = 0;
    m_pending.clear();
    refreshRecord(recno);
    return posted;
}

void TToolGridModel::cancel()
{
    const quint32 recno = m_edited;
    m_table.cancelEdit();
    m_edited = 0;
    m_pending.clear();
    if (recno != 0)
        refreshRecord(recno);
}

TResult TToolGridModel::toggleTag(int row)
{
    TResult result = selectRow(row);
    if (result.ok)
        result =
            m_table.setValue(QStringLiteral("TAG"), m_table.isTagged() ? QString() : m_table.globalTagId());
    if (result.ok)
        result = post();
    if (!result.ok)
        cancel();
    return result;
}

TResult TToolGridModel::tagAll(int &tagged)
{
    tagged = 0;
    TResult result = post();
    for (int row = 0; result.ok && row < rowCount(); ++row) {
        result = selectRow(row);
        if (!result.ok || m_table.isTagged())
            continue;
        result = m_table.setValue(QStringLiteral("TAG"), m_table.globalTagId());
        if (result.ok)
            result = post();
        if (result.ok)
            ++tagged;
    }
    if (!result.ok)
        cancel();
    return result;
}

TResult TToolGridModel::deleteRow(int row)
{
    TResult result = selectRow(row);
    if (!result.ok)
        return result;
    xbase::Table &engine = m_table.engine();
    const bool hidden = engine.isDeletedHidden();
    engine.setDeletedHidden(false);
    result = TResult::fromStatus(engine.deleteRecord());
    if (result.ok)
        result = TResult::fromStatus(engine.setLogical("ISDEL", true));
    if (result.ok)
        result = TResult::fromStatus(engine.post());
    if (!result.ok && engine.isEditing())
        engine.cancelEdit();
    engine.setDeletedHidden(hidden);
    m_edited = 0;
    m_pending.clear();
    reload();
    return result;
}
