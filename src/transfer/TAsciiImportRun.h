// The text import's run: appends one record per line of the text to the address file, filling
// the matched columns' fields, then rebuilds the indexes. Made and run by the import window (or
// the command line) over the address file it opened exclusively.
#pragma once

#include "TImportOutcome.h"

#include <QString>

#include <functional>

class TAddressTable;
class TAsciiColumns;
class TImportTargets;
class TImportText;
class TProgress;
namespace xbase {
class ProgressHook;
}

class TAsciiImportRun
{
public:
    // `status` receives "Counting total lines", "Importing records" and "Rebuilding Indexes ".
    // `progress` is stepped once per record and asked for a cancel after each; `rebuildGauge`
    // (optional) receives the engine's reports while the tags are built.
    // Requires: `table` open; `columns` scanned from `text`; matches name captions of `targets`.
    // Records posted before a cancel or an error stay; the indexes are rebuilt in every case.
    static TImportOutcome run(TAddressTable &table, const TImportText &text, const TAsciiColumns &columns,
                              const TImportTargets &targets, TProgress &progress,
                              xbase::ProgressHook *rebuildGauge = nullptr,
                              const std::function<void(const QString &)> &status = {});
};
