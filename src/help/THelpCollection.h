// Where the help collection ("help/corvantis.qhc") is found. The program folder holds it in
// an installed copy (seeded from the installed data) and in the build folder; a program run
// from elsewhere in the build tree (the tests) finds the build folder's. Stateless.
#pragma once

#include <QString>
#include <QStringList>

class THelpCollection
{
public:
    // The collection's path relative to the program folder.
    static QString relativePath() { return QStringLiteral("help/corvantis.qhc"); }

    // The folders looked in, in order: `programFolder`, the running program's folder, the
    // folder above it, and the installed data beside its bin folder.
    static QStringList candidates(const QString &programFolder);
    // The first candidate holding the collection (found ignoring case); empty when none does.
    static QString find(const QString &programFolder);
};
