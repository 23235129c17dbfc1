// The rebuild of the system tables' indexes: for each of the six tables in a fixed order, its
// index file is deleted, the records bearing the delete mark are packed away for good and its
// tag is built again. The "Rebuild System Indexes" window runs it; it owns nothing between
// runs.
#pragma once

#include "TSystemTables.h"

#include "Progress.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class TSysIndexRebuild
{
public:
    // One table of the run: the text shown while it is rebuilt and the key of its tag.
    struct Step {
        TSystemTable table;
        QString text;
        QString tagName;
        QString keyExpr;
    };
    // LETTER, LABEL, CSZ, LBLTPL, ENVELOPE, REPORT, in this order.
    static const std::vector<Step> &steps();

    // What a run did, by table name.
    struct Report {
        QStringList rebuilt;
        QStringList missing; // no DBF file: skipped
        QStringList failed;  // an error stopped the table's rebuild; the run went on
    };

    // Rebuilds each table in "sysdata/" below `programFolder`. `announce` receives each
    // step's text before its table is touched; `progress` receives the engine's percentages
    // of each pack and each tag build. An error closes that table and the run goes on.
    static Report run(const QString &programFolder, xbase::ProgressHook *progress,
                      const std::function<void(const QString &)> &announce);
};
