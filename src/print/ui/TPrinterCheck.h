// The printer check run before every printing window and at start-up: printing needs at least
// one printer and a default one. Qt's PDF output always counts as a printer, and as the default
// when the system names none, so the check fails only where printing itself is broken.
#pragma once

#include <QString>

class TPrinterCheck
{
public:
    // The message for what was found; empty when printing can go on.
    static QString message(int printerCount, bool hasDefaultPrinter);
    // The check on this system's printers (PDF output included).
    static QString systemMessage();
};
