// The six system tables in "sysdata/" below the program folder: their fields and index tags,
// and opening them. LETTER, REPORT, ENVELOPE and LABEL are created when missing; LBLTPL (the
// catalogue of stock label sheets) and CSZ (the state/ZIP reference list) come with the
// program and are only opened. Each window that needs a table opens it in its own
// xbase::Table and closes it with the window. Stateless.
#pragma once

#include "TResult.h"

#include "Field.h"
#include "Table.h"

#include <QString>

#include <vector>

enum class TSystemTable { Letter, Report, Envelope, Label, LblTpl, Csz };

// The result of opening a system table: success, or the engine's code and the message to show.
using TSystemTableResult = TResult;

class TSystemTables
{
public:
    // "LETTER", "REPORT", "ENVELOPE", "LABEL", "LBLTPL", "CSZ".
    static QString name(TSystemTable table);
    // The fields of a table the program creates, and the fields LBLTPL and CSZ are made with.
    static std::vector<xbase::FieldDescriptor> fields(TSystemTable table);
    // The one tag: DESCRIPT on UPPER(DESCRIPT), or for CSZ, STATE on UPPER(STATE).
    static xbase::TagDefinition tag(TSystemTable table);
    // Whether the program creates the table when it is missing.
    static bool isCreatedWhenMissing(TSystemTable table);

    // The table's DBF file below `programFolder` (found without regard to case), and the
    // folder "sysdata/" it lives in.
    static QString dbfPath(const QString &programFolder, TSystemTable table);
    static QString folder(const QString &programFolder);

    // Opens the table into `out` (closed first), exclusively. LETTER, REPORT, ENVELOPE and
    // LABEL are created empty when their DBF file does not exist. When the index file is
    // missing, or lacks the tag, the tag is added without a message (a failure to add it is
    // ignored). Failure messages: "Unable to Open or Create " + name + ".DBF", for LBLTPL
    // "Unable to Open LBLTPL.DBF"; `out` is then closed. A DBF file that exists but cannot
    // be opened, or lacks one of the table's fields, is never replaced.
    static TSystemTableResult open(TSystemTable table, xbase::Table &out, const QString &programFolder);
    // The same in TProgramFolder::path().
    static TSystemTableResult open(TSystemTable table, xbase::Table &out);
};
