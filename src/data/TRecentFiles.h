// The recent-file list: at most four address file paths, newest first (section "MRU", keys
// "Item1" to "Item4").
#pragma once

#include <QStringList>

class TIniFile;

class TRecentFiles
{
public:
    static constexpr int kMaxCount = 4;

    // The non-empty entries of Item1..Item4 in that order.
    static QStringList load(const TIniFile &ini);
    // Writes Item1..Item4; keys beyond the list's length are removed.
    static bool save(TIniFile &ini, const QStringList &paths);
    // `path` first, then the old entries other than that same path (exact comparison), at
    // most kMaxCount in all.
    static QStringList added(const QStringList &paths, const QString &path);
};
