#include "TProgramFolder.h"

#include "TFileCase.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef CORVANTIS_INSTALL_DATADIR
#define CORVANTIS_INSTALL_DATADIR ""
#endif

QString TProgramFolder::s_path;

namespace {

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// share/corvantis beside the program's bin folder, else the folder the build installs into.
QString installedDataDir(const QString &programDir)
{
    const QString beside = QDir::cleanPath(programDir + QStringLiteral("/../share/corvantis"));
    if (QFileInfo(beside).isDir())
        return beside;
    const QString configured = QStringLiteral(CORVANTIS_INSTALL_DATADIR);
    if (!configured.isEmpty() && QFileInfo(configured).isDir())
        return configured;
    return QString();
}

} // namespace

QString TProgramFolder::path()
{
    if (s_path.isEmpty()) {
        const QString programDir = QCoreApplication::applicationDirPath();
        QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (userDir.isEmpty())
            userDir = QDir::homePath() + QStringLiteral("/.local/share");
        s_path = choose(programDir, userDir + QStringLiteral("/corvantis"), installedDataDir(programDir));
    }
    return s_path;
}

void TProgramFolder::setPath(const QString &folder)
{
    s_path = folder.isEmpty() ? QString() : withSlash(folder);
}

QString TProgramFolder::file(const QString &relative)
{
    return TFileCase::resolve(path(), relative);
}

QString TProgramFolder::settingsPath()
{
    return file(QStringLiteral("CORVAN.ini"));
}

QString TProgramFolder::choose(const QString &programDir, const QString &userDir,
                               const QString &installedDataDir)
{
    const QFileInfo program(programDir);
    const bool installed = !installedDataDir.isEmpty() &&
                           QFileInfo(QDir::cleanPath(programDir + QStringLiteral("/../share/corvantis"))) ==
                               QFileInfo(installedDataDir);
    if (program.isDir() && program.isWritable() && !installed)
        return withSlash(programDir);
    if (!installedDataDir.isEmpty())
        seed(installedDataDir, userDir);
    else
        QDir().mkpath(userDir);
    return withSlash(userDir);
}

bool TProgramFolder::seed(const QString &from, const QString &to)
{
    bool ok = QDir().mkpath(to);
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString sourceFile = it.next();
        const QString relative = source.relativeFilePath(sourceFile);
        const QString target = to + QLatin1Char('/') + relative;
        if (QFileInfo::exists(target))
            continue;
        ok = QDir().mkpath(QFileInfo(target).absolutePath()) && ok;
        ok = QFile::copy(sourceFile, target) && ok;
        // Installed files are read-only; the user's copies are theirs to change.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return ok;
}
