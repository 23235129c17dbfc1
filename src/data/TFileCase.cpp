#include "TFileCase.h"

#include <QDir>
#include <QFileInfo>

QString TFileCase::findEntry(const QString &folder, const QString &name)
{
    const QString base = folder.isEmpty() ? QStringLiteral(".") : folder;
    if (QFileInfo::exists(base + QLatin1Char('/') + name))
        return name;
    const QDir dir(base);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

QString TFileCase::resolve(const QString &folder, const QString &relative)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    QString normalised = relative;
    normalised.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = normalised.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    bool exists = true;
    for (const QString &part : parts) {
        if (part == QLatin1String("."))
            continue;
        QString name = part;
        if (exists && part != QLatin1String("..")) {
            const QString found = findEntry(path, part);
            if (found.isEmpty())
                exists = false;
            else
                name = found;
        }
        if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
            path += name;
        else
            path += QLatin1Char('/') + name;
    }
    return path;
}
