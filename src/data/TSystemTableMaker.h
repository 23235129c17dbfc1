// Makes one of the system tables the program ships (LBLTPL, CSZ) from its list: a
// comma-separated text file whose first line names the columns. The build runs it through
// corvantis-mksys; stateless.
#pragma once

#include "TResult.h"
#include "TSystemTables.h"

#include <QString>
#include <QStringList>

class TSystemTableMaker
{
public:
    // The table whose name (any case) is `name`; false when no system table has it.
    static bool tableNamed(const QString &name, TSystemTable &out);

    // One line of comma-separated values; a value may be quoted with double quotes, a doubled
    // quote standing for one.
    static QStringList splitCsvLine(const QString &line);

    // Writes `dbfPath` (with its index) with one record per non-blank line of `csvPath` after
    // the header. Every field of the table needs a column of its name; a row with another
    // number of values, or a character value longer than its field, fails. A failure leaves
    // no table behind (DBF, CDX and FPT of that name are removed) and its message names the
    // file and line.
    static TResult make(TSystemTable table, const QString &csvPath, const QString &dbfPath);
};
