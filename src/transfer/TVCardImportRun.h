// The vCard import's run: one address record per card, by the reader's fixed mapping, then the
// index rebuild. Made and run by the text import window when the chosen file holds vCards (or
// by the command line).
#pragma once

#include "TImportOutcome.h"

#include <QByteArray>
#include <QString>

#include <functional>

class TAddressTable;
class TProgress;
namespace xbase {
class ProgressHook;
}

class TVCardImportRun
{
public:
    // Requires: `table` open. Records posted before a cancel or an error stay; the indexes are
    // rebuilt in every case.
    static TImportOutcome run(TAddressTable &table, const QByteArray &bytes, TProgress &progress,
                              xbase::ProgressHook *rebuildGauge = nullptr,
                              const std::function<void(const QString &)> &status = {});
};
