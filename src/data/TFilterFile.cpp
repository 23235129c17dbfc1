#include "TFilterFile.h"

#include "TCp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {
const QLatin1String kExtension(".FLT");
} // namespace

QByteArray TFilterFile::encode(const TFilterCriteria &criteria)
{
    QByteArray bytes;
    for (const QString &line : criteria.toLines())
        bytes += TCp1252::fromString(line) + "\r\n";
    return bytes;
}

TFilterCriteria TFilterFile::decode(const QByteArray &bytes)
{
    // Only the first 20 lines matter; what follows is ignored.
    constexpr int kLines = TFilterCriteria::kCount + 2;
    QStringList lines;
    qsizetype start = 0;
    while (start < bytes.size() && lines.size() < kLines) {
        qsizetype end = start;
        while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        lines << TCp1252::toString(bytes.constData() + start, end - start);
        if (end < bytes.size() && bytes.at(end) == '\r' && end + 1 < bytes.size() &&
            bytes.at(end + 1) == '\n')
            ++end;
        start = end + 1;
    }
    return TFilterCriteria::fromLines(lines);
}

bool TFilterFile::SaveFilterTo(const QString &path, const TFilterCriteria &criteria, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encode(criteria)) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Unable to write ") + path;
        return false;
    }
    return true;
}

bool TFilterFile::RestoreFilterFrom(const QString &path, TFilterCriteria &criteria, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Unable to read ") + path;
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize || file.error() != QFileDevice::NoError) {
        if (error)
            *error = path + QStringLiteral(" is not a filter file");
        return false;
    }
    criteria = decode(bytes);
    return true;
}

QString TFilterFile::saveName(const QString &chosen, QString *message)
{
    if (chosen.endsWith(kExtension, Qt::CaseInsensitive))
        return chosen;
    // Only the file's own name counts: folders may well have dots in their names.
    if (QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) {
        if (message)
            *message = QStringLiteral("Must have a .FLT extension");
        return QString();
    }
    return chosen + kExtension;
}

bool TFilterFile::isRestorable(const QString &chosen, QString *message)
{
    if (chosen.endsWith(kExtension, Qt::CaseInsensitive))
        return true;
    if (message)
        *message = QStringLiteral("Must be a Filter (.FLT) file");
    return false;
}

QString TFilterFile::overwriteQuestion(const QString &path)
{
    return path + QStringLiteral(" already exists.") + QStringLiteral("\r") + QStringLiteral("\n") +
           QStringLiteral("Do you want to overwrite it?");
}
