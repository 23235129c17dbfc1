// Names of layout files in the "sysdata" folder: "BIN" + five digits + ".L" (label), ".E"
// (envelope) or ".R" (report).
#pragma once

#include "TGClassRegistry.h"

#include <QSet>
#include <QString>

class TLayoutFileName
{
public:
    // ".L", ".E" or ".R".
    static QString extension(TGSurfaceKind kind);
    // The first name from BIN00001 to BIN99999 with the kind's extension that neither exists in
    // `folder` (compared without regard to case) nor is named by a row of the setups table
    // (`namesInUse`, any case), so a row whose file was removed keeps its name from the next new
    // setup. Empty when all are taken.
    static QString firstUnused(const QString &folder, TGSurfaceKind kind,
                               const QSet<QString> &namesInUse);
    // True for a bare file name "BIN" + five digits + the kind's extension (any case): the only
    // names a Delete may remove from the sysdata folder, so a damaged row naming "../x" or
    // "ADDRESS.DBF" never removes another file.
    static bool isLayoutFileName(const QString &fileName, TGSurfaceKind kind);
    // The kind a file name's extension names, or false when it names none.
    static bool kindOf(const QString &fileName, TGSurfaceKind &kind);
};
