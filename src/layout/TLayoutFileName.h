// Names of layout files in the "sysdata" folder: "BIN" + five digits + ".L" (label), ".E"
// (envelope) or ".R" (report).
#pragma once

#include "TGClassRegistry.h"

#include <QString>

class TLayoutFileName
{
public:
    // ".L", ".E" or ".R".
    static QString extension(TGSurfaceKind kind);
    // The first name from BIN00001 to BIN99999 with the kind's extension whose file does not
    // exist in `folder` (compared without regard to case); "BIN00000" + extension when all
    // are taken.
    static QString firstFree(const QString &folder, TGSurfaceKind kind);
    // The kind a file name's extension names, or false when it names none.
    static bool kindOf(const QString &fileName, TGSurfaceKind &kind);
};
