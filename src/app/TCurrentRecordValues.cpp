#include "TCurrentRecordValues.h"

#include "TAddressTable.h"
#include "TCp1252.h"
#include "TDateText.h"

#include "Table.h"

#include <string>

namespace {

// The character fields the printout and the clipboard text use.
const char *const kCharacterFields[] = {"LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
                                        "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                                        "FAX",     "EMAIL", "CODES",  "USER1",  "USER2"};

} // namespace

xbase::Status TCurrentRecordValues::fromTable(const xbase::Table &table, TCurrentRecordValues &out)
{
    out = TCurrentRecordValues{};
    std::string bytes;
    for (const char *name : kCharacterFields) {
        if (table.schema().indexOf(name) < 0)
            continue;
        if (xbase::Status status = table.fieldValue(name, bytes); !status.ok())
            return status;
        out.fields.insert(QString::fromLatin1(name),
                          TCp1252::toString(bytes.data(), qsizetype(bytes.size())));
    }
    if (table.schema().indexOf("DATE") >= 0) {
        if (xbase::Status status = table.fieldValue("DATE", bytes); !status.ok())
            return status;
        out.fields.insert(QStringLiteral("DisplayDate"),
                          TDateText::display(TCp1252::toString(bytes.data(), qsizetype(bytes.size()))));
    }
    if (table.schema().indexOf("MEMO") >= 0) {
        if (xbase::Status status = table.memo("MEMO", bytes); !status.ok())
            return status;
        out.memo = TCp1252::toString(bytes.data(), qsizetype(bytes.size()));
    }
    return xbase::Status::Ok();
}

TCurrentRecordValues TCurrentRecordValues::fromAddressTable(const TAddressTable &table)
{
    TCurrentRecordValues out;
    for (const char *name : kCharacterFields) {
        const QString field = QString::fromLatin1(name);
        out.fields.insert(field, table.value(field));
    }
    out.fields.insert(QStringLiteral("DisplayDate"), table.value(QStringLiteral("DisplayDate")));
    out.memo = table.memo();
    return out;
}
