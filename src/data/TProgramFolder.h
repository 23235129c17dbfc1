// The program folder: where the settings file, DATA/ and sysdata/ live.
#pragma once

#include <QString>

class TProgramFolder
{
public:
    // The folder of the running program with a trailing "/".
    static QString path();
};
