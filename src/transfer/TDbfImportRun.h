// The table imports' runs: the DBF import (the matched fields of any table) and the import of
// the two older versions of the address file (a fixed mapping, dates converted, the memo storing
// rule). Each appends one record per source record, then rebuilds the indexes. Made and run by
// the import windows (or the command line).
#pragma once

#include "TImportOutcome.h"

#include <QString>
#include <QStringList>

#include <functional>

class TAddressTable;
class TDbfSource;
class TProgress;
namespace xbase {
class ProgressHook;
}

class TDbfImportRun
{
public:
    // The two older versions.
    enum class Older { V1 = 0, V2 = 1 };

    // The fields a table of `version` must have (nothing else is checked).
    static const QStringList &requiredFields(Older version);
    // True when `source` has all of them; otherwise the message is file name +
    // " does not appear to be a Corvantis 1.x DBF" (or 2.x).
    static TResult recognise(const TDbfSource &source, Older version);

    // Reads a date of the first version: eight digits YYYYMMDD that make a date are kept; month,
    // day and year separated by "/", "-" or "." (the year of two digits taken as 1930 to 2029)
    // become YYYYMMDD; anything else is not a date (false, `out` empty). Never depends on the
    // locale.
    static bool olderDate(const QString &text, QString &out);

    // The DBF import: the matched fields of each visible source record. `status` receives
    // "Importing records" and "Rebuilding Indexes ".
    // Requires: `table` open, `source` open with its matches (positions in `table`).
    static TImportOutcome run(TAddressTable &table, TDbfSource &source, TProgress &progress,
                              xbase::ProgressHook *rebuildGauge = nullptr,
                              const std::function<void(const QString &)> &status = {});
    // The older-version import by the fixed mapping.
    // Requires: recognise(source, version) succeeded.
    static TImportOutcome runOlder(TAddressTable &table, TDbfSource &source, Older version, TProgress &progress,
                                   xbase::ProgressHook *rebuildGauge = nullptr,
                                   const std::function<void(const QString &)> &status = {});
};
