// Finds files and folders by name without regard to letter case, as the address book's
// names ("DATA", "ADD0001.DBF", "sysdata") are compared. Names are given with "/" or "\"
// between the parts; the result always uses "/".
#pragma once

#include <QString>

class TFileCase
{
public:
    // The path of `relative` below `folder`, each part matched against what exists without
    // regard to case: the exact spelling first, else the first entry (in sorted order) equal
    // to it ignoring case. From the first part that does not exist on, the parts are taken as
    // given, so the result is where a new file or folder of that name is to be created.
    // `folder` is used as it is; "." parts are skipped and ".." parts kept as they are.
    static QString resolve(const QString &folder, const QString &relative);

    // The entry of `folder` called `name` ignoring case, or an empty text when there is none.
    static QString findEntry(const QString &folder, const QString &name);
};
