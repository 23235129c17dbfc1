#include "TRecentFiles.h"

#include "TIniFile.h"

namespace {

const QString kSection = QStringLiteral("MRU");

QString itemKey(int index)
{
    return QStringLiteral("Item") + QString::number(index + 1);
}

} // namespace

QStringList TRecentFiles::load(const TIniFile &ini)
{
    const TIniDocument settings = ini.document();
    QStringList paths;
    for (int i = 0; i < kMaxCount; ++i) {
        const QString path = settings.text(kSection, itemKey(i));
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

bool TRecentFiles::save(TIniFile &ini, const QStringList &paths)
{
    QList<std::pair<QString, QString>> values;
    for (int i = 0; i < kMaxCount && i < paths.size(); ++i)
        values.append({itemKey(i), paths.at(i)});
    bool ok = values.isEmpty() || ini.writeStrings(kSection, values);
    for (int i = int(values.size()); i < kMaxCount; ++i)
        ok = ini.deleteKey(kSection, itemKey(i)) && ok;
    return ok;
}

QStringList TRecentFiles::added(const QStringList &paths, const QString &path)
{
    QStringList result{path};
    for (const QString &old : paths) {
        if (result.size() >= kMaxCount)
            break;
        if (old != path)
            result.append(old);
    }
    return result;
}
