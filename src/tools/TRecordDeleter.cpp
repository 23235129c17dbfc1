#include "TRecordDeleter.h"

#include "TAddressTable.h"
#include "TProgress.h"

qint64 TRecordDeleter::recordsInFile(TAddressTable &table)
{
    return table.isOpen() ? qint64(table.engine().recordCount()) : 0;
}

TResult TRecordDeleter::run(TAddressTable &table, Choice choice, const QString &filter, TProgress &progress,
                            qint64 &deleted)
{
    deleted = 0;
    if (!table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    xbase::Table &engine = table.engine();
    if (choice == Choice::All) {
        const qint64 total = recordsInFile(table);
        table.freeze();
        const TResult zapped = TResult::fromStatus(engine.zap());
        table.unfreeze();
        if (zapped.ok)
            deleted = total;
        return zapped;
    }

    const std::string oldQuery = engine.queryText();
    QString expr = filter;
    if (choice == Choice::NotMatchingFilter && !filter.isEmpty())
        expr = QStringLiteral(".not.(") + filter + QLatin1Char(')');
    const xbase::Status queried = engine.setVisibleQuery(expr.toStdString());
    if (!queried.ok())
        return TResult::fromStatus(queried);
    QVector<quint32> recnos;
    TResult result;
    if (!table.visibleRecnos(recnos))
        result = TResult::failure(QStringLiteral("The file cannot be read"), xbase::StatusCode::IoError);

    progress.setTotal(int(recnos.size()));
    table.freeze();
    for (qsizetype i = 0; result.ok && i < recnos.size(); ++i) {
        result = TResult::fromStatus(engine.go(recnos[i]));
        if (result.ok)
            result = TResult::fromStatus(engine.setLogical("ISDEL", true));
        if (result.ok)
            result = TResult::fromStatus(engine.post());
        if (result.ok)
            result = TResult::fromStatus(engine.deleteRecord());
        if (!result.ok) {
            if (engine.isEditing())
                engine.cancelEdit();
            break;
        }
        ++deleted;
        progress.step();
    }
    (void)engine.setQuery(oldQuery); // compiled before: it compiles again
    if (!table.hasRecord() || table.engine().isDeleted())
        (void)table.first();
    table.unfreeze();
    return result;
}
