// The export's runs: the visible records of the address file, in its current order, copied into
// a new DBF with the address structure, a comma-delimited text file or a vCard file. Made and run
// by the export window (or the command line); the address table stays on the record it was on.
#pragma once

#include "TResult.h"

#include <QString>
#include <QStringList>

class TAddressTable;
class TProgress;
namespace xbase {
class ProgressHook;
}

struct TCopyOutcome {
    TResult result;      // the failure, with "There was an error copying" for a DBF
    qint64 copied = 0;   // records written
    bool cancelled = false;
};

class TCopyOutRun
{
public:
    // The 20 fields of a text line, in order.
    static const QStringList &asciiFields();
    // The fields a DBF export copies by name (the memo besides).
    static const QStringList &dbfFields();

    // Refusals before a copy: the open address file itself ("Cannot copy a file to itself!",
    // compared by canonical path, letter case ignored), and for a DBF a name whose extension,
    // in capitals, is not ".DBF" ("Must have a .DBF extension").
    static TResult check(const QString &target, const QString &openFile, bool dbf);

    // CopyDBF: deletes the target's index file (its name with the last three characters
    // replaced by "CDX"), creates the target empty with the address file's structure and fills
    // it. Records copied before a cancel or a failure stay in the target.
    static TCopyOutcome CopyDBF(TAddressTable &table, const QString &target, TProgress &progress);
    // CopyASCII: one line per record ended by CR LF, the 20 fields in double quotes with
    // embedded quotes doubled. Every write is checked: on a failure the partial file is removed
    // and an existing file of that name is left as it was.
    static TCopyOutcome CopyASCII(TAddressTable &table, const QString &target, TProgress &progress);
    // The records as vCards of `version` ("3.0" or "4.0"), with the failure rule of CopyASCII.
    static TCopyOutcome CopyVCard(TAddressTable &table, const QString &target, TProgress &progress,
                                  const QString &version = QStringLiteral("3.0"));
};
