// The values of one address record as the current-record printout and the clipboard text
// read them: the stored character fields by name, the memo text and the displayed date. The
// caller fills one from the open table's current record and passes it by value.
#pragma once

#include <QHash>
#include <QString>

class TAddressTable;

namespace xbase {
class Table;
class Status;
} // namespace xbase

struct TCurrentRecordValues {
    // Field name as stored (`LNAME`, `CITY` ...) -> value without trailing blanks. The
    // calculated `DisplayDate` is kept here too.
    QHash<QString, QString> fields;
    QString memo;

    // The value of `name`; empty when the record has no such field.
    QString value(const QString &name) const { return fields.value(name); }

    // Reads the current record of `table`: the character fields of the address record, the
    // date as the user's short date (`DisplayDate`) and `MEMO`. A field the table lacks stays
    // empty. On failure `out` holds what was read before it.
    static xbase::Status fromTable(const xbase::Table &table, TCurrentRecordValues &out);

    // The current record of the open address file, as the main window hands it over. Empty
    // when no record is shown.
    static TCurrentRecordValues fromAddressTable(const TAddressTable &table);
};
