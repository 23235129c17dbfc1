#include "TTempIndex.h"

#include "TAddressTable.h"

#include "Table.h"

#include <QFile>

TResult TTempIndex::create(const QString &path, const std::string &keyExpr)
{
    release();
    QFile::remove(path); // a file left by a run that was stopped
    m_path = path;
    xbase::Table &engine = m_table.engine();
    TResult result = TResult::fromStatus(engine.createTempIndex(path.toStdString(), keyExpr));
    // The keys go in while the table is in record order: moving to each record then costs no
    // search in the growing index. The index becomes the order once it is complete.
    m_order = engine.order();
    if (result.ok)
        result = TResult::fromStatus(engine.setOrder(0));
    return result;
}

TResult TTempIndex::select()
{
    xbase::Table &engine = m_table.engine();
    TResult result = TResult::fromStatus(engine.setOrder(m_order));
    if (result.ok)
        result = TResult::fromStatus(engine.goTop());
    return result;
}

void TTempIndex::release()
{
    if (m_path.isEmpty())
        return;
    if (m_table.isOpen())
        (void)m_table.engine().closeTempIndex(true); // the file is removed below in any case
    QFile::remove(m_path);
    m_path.clear();
}
