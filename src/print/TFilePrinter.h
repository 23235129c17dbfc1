// Plays a recorded job onto a printing service's printer, page for page. The preview window
// owns one.
#pragma once

#include "TPrintResult.h"

#include <QString>

class QByteArray;
class TPrinterService;

class TFilePrinter
{
public:
    // Prints every page of `recording` as document `title`; Corruption for a damaged
    // recording (nothing is printed), IoError when the printer cannot be opened or fails.
    static TPrintResult print(const QByteArray &recording, TPrinterService &service, const QString &title);
};
