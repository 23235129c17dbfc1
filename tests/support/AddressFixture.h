// The address fixtures written by an independent engine (../shared/fixtures/xbase): copies in a
// test's own folder, what that engine answered for them (its JSON files), and the moves the
// address tests share.
#pragma once

#include "TAddressTable.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace fixture {

inline QString folder()
{
    return QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/");
}

// Copies the files of fixture `name` ("ADD0001") that exist into `target`; returns the path of
// the copied ".DBF".
inline QString copy(const QString &name, const QString &target)
{
    QDir().mkpath(target);
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const QString from = folder() + name + QLatin1String(ext);
        const QString to = target + QLatin1Char('/') + name + QLatin1String(ext);
        QFile::remove(to);
        if (QFile::exists(from)) {
            QFile::copy(from, to);
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
        }
    }
    return target + QLatin1Char('/') + name + QStringLiteral(".DBF");
}

inline QJsonObject expected(const QString &name)
{
    QFile f(folder() + name + QStringLiteral(".expected.json"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

// Every record as the other engine read it, in record order.
inline QList<QJsonObject> records(const QString &name)
{
    QList<QJsonObject> out;
    QFile f(folder() + name + QStringLiteral(".records.jsonl"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    while (!f.atEnd()) {
        const QByteArray line = f.readLine().trimmed();
        if (!line.isEmpty())
            out.append(QJsonDocument::fromJson(line).object());
    }
    return out;
}

// The record numbers of tag `tag` in order with marked records hidden, leaving out the records
// whose ISDEL is true: the records the address book shows in that order.
inline QList<quint32> shownOrder(const QString &name, const QString &tag)
{
    QSet<quint32> isdel;
    for (const QJsonObject &r : records(name)) {
        if (r.value(QStringLiteral("ISDEL")).toBool())
            isdel.insert(quint32(r.value(QStringLiteral("recno")).toInt()));
    }
    QList<quint32> out;
    const QJsonArray tags = expected(name).value(QStringLiteral("tags")).toArray();
    for (const QJsonValue &t : tags) {
        const QJsonObject o = t.toObject();
        if (o.value(QStringLiteral("name")).toString() != tag)
            continue;
        for (const QJsonValue &r : o.value(QStringLiteral("deleted_on")).toArray()) {
            const auto recno = quint32(r.toInt());
            if (!isdel.contains(recno))
                out.append(recno);
        }
    }
    return out;
}

// Goes to the record holding this name: the first match in the LNAME order, the table's own
// order put back afterwards. False when no visible record has the name.
inline bool goToName(TAddressTable &table, const char *last, const char *first)
{
    const QString order = table.orderTag();
    (void)table.setOrderTag(QStringLiteral("LNAME"));
    const bool found = bool(table.seek(table.nameKey(QLatin1String(last), QLatin1String(first))));
    // The order the table had is one of its tags, so putting it back cannot fail.
    (void)table.setOrderTag(order);
    return found;
}

// The records `table` shows, in its order, by moving through them; the table ends on its
// first record.
inline QList<quint32> visibleInOrder(TAddressTable &table)
{
    QList<quint32> out;
    for (bool more = bool(table.first()); more; more = bool(table.next()))
        out.append(table.recno());
    (void)table.first(); // a file the loop walked has its first record
    return out;
}

} // namespace fixture
