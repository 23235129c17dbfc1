#include "THelpCollection.h"

#include "TFileCase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList THelpCollection::candidates(const QString &programFolder)
{
    QStringList folders;
    if (!programFolder.isEmpty())
        folders << programFolder;
    const QString programDir = QCoreApplication::applicationDirPath();
    if (!programDir.isEmpty()) {
        folders << programDir << QDir::cleanPath(programDir + QStringLiteral("/.."))
                << QDir::cleanPath(programDir + QStringLiteral("/../share/corvantis"));
    }
    for (QString &folder : folders) {
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
    }
    return folders;
}

QString THelpCollection::find(const QString &programFolder)
{
    for (const QString &folder : candidates(programFolder)) {
        const QString path = TFileCase::resolve(folder, relativePath());
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}
