#include "TLayoutFileName.h"

#include <QDir>
#include <QSet>

QString TLayoutFileName::extension(TGSurfaceKind kind)
{
    switch (kind) {
    case TGSurfaceKind::Label:
        return QStringLiteral(".L");
    case TGSurfaceKind::Envelope:
        return QStringLiteral(".E");
    case TGSurfaceKind::Report:
        return QStringLiteral(".R");
    }
    return {};
}

QString TLayoutFileName::firstUnused(const QString &folder, TGSurfaceKind kind,
                                     const QSet<QString> &namesInUse)
{
    const QString ext = extension(kind);
    // One listing of the folder, compared in upper case, instead of a look-up per number.
    QSet<QString> taken;
    for (const QString &entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        taken.insert(entry.toUpper());
    for (const QString &used : namesInUse)
        taken.insert(used.trimmed().toUpper());
    for (int i = 1; i <= 99999; ++i) {
        const QString name = QStringLiteral("BIN%1").arg(i, 5, 10, QLatin1Char('0')) + ext;
        if (!taken.contains(name.toUpper()))
            return name;
    }
    return {};
}

bool TLayoutFileName::isLayoutFileName(const QString &fileName, TGSurfaceKind kind)
{
    const QString upper = fileName.toUpper();
    const QString ext = extension(kind);
    if (upper.size() != 8 + ext.size() || !upper.startsWith(QStringLiteral("BIN"))
        || !upper.endsWith(ext))
        return false;
    for (int i = 3; i < 8; ++i) {
        if (!upper.at(i).isDigit() || upper.at(i).unicode() > 127)
            return false;
    }
    return true;
}

bool TLayoutFileName::kindOf(const QString &fileName, TGSurfaceKind &kind)
{
    const QString upper = fileName.toUpper();
    if (upper.endsWith(QStringLiteral(".L")))
        kind = TGSurfaceKind::Label;
    else if (upper.endsWith(QStringLiteral(".E")))
        kind = TGSurfaceKind::Envelope;
    else if (upper.endsWith(QStringLiteral(".R")))
        kind = TGSurfaceKind::Report;
    else
        return false;
    return true;
}
