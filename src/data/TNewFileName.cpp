#include "TNewFileName.h"

#include <QDir>
#include <QSet>

QString TNewFileName::proposed(const QString &dataFolder)
{
    QSet<QString> taken;
    const QStringList entries = QDir(dataFolder).entryList(QDir::Files);
    for (const QString &entry : entries)
        taken.insert(entry.toUpper());
    for (int n = 1; n <= 9999; ++n) {
        const QString name = QStringLiteral("ADD") + QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
        if (!taken.contains(name + QStringLiteral(".DBF")))
            return name;
    }
    return QString();
}

bool TNewFileName::isValid(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxLength)
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !digit && c != u'_')
            return false;
        if (i == 0 && digit)
            return false;
    }
    return true;
}
