#include "TProgramFolder.h"

#include <QCoreApplication>

QString TProgramFolder::path()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}
