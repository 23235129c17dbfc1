// Small address files made by a test, record by record, and a session over one: for outputs and
// tools whose cases need records with chosen values (an empty organization, a prefix that reads
// "Deleted", a hidden record).
#pragma once

#include "TAddressSession.h"
#include "TAddressTable.h"
#include "TFieldLengths.h"

#include <QDir>
#include <QString>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace smallfile {

// One record: field name and value pairs; "ISDEL" takes "T"; "*marked" sets the delete mark.
using Record = std::vector<std::pair<const char *, QString>>;

// Creates `path` with the default field lengths and appends `records` in order. False when the
// engine refuses any step.
inline bool create(const QString &path, const std::vector<Record> &records)
{
    QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
    if (!TAddressTable::CreateAddressFile(path, TFieldLengths()).ok)
        return false;
    TAddressTable table;
    if (!table.OpenTableFile(path).ok)
        return false;
    xbase::Table &engine = table.engine();
    for (const Record &record : records) {
        if (!engine.appendBlank().ok())
            return false;
        bool marked = false;
        for (const auto &field : record) {
            if (QLatin1String(field.first) == QLatin1String("*marked")) {
                marked = true;
                continue;
            }
            const QByteArray bytes = field.second.toLatin1();
            if (!engine.setFieldValue(field.first, std::string_view(bytes.constData(), size_t(bytes.size())))
                     .ok())
                return false;
        }
        if (!engine.post().ok())
            return false;
        if (marked && !engine.deleteRecord().ok())
            return false;
    }
    table.close();
    return true;
}

// A session with `records` in "<folder>/DATA/ADD0001.DBF", opened and shown.
inline std::unique_ptr<TAddressSession> session(const QString &folder, const std::vector<Record> &records)
{
    auto s = std::make_unique<TAddressSession>(folder + QStringLiteral("/CORVAN.ini"));
    s->loadSettings();
    const QString path = folder + QStringLiteral("/DATA/ADD0001.DBF");
    if (!create(path, records) || s->open(path).outcome != TOpenOutcome::Opened)
        return nullptr;
    return s;
}

} // namespace smallfile
