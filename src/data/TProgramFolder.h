// The program folder: where the settings file, DATA/ and sysdata/ live.
//
// It is the folder of the running program when that folder is writable and is not the
// program folder of an installation (a bin/ folder with ../share/corvantis beside it).
// Otherwise it is the user's data folder (~/.local/share/corvantis/), created on first use
// and seeded with the installed data (sysdata/ and the rest of share/corvantis) that it
// lacks. Files already there are never overwritten.
#pragma once

#include <QString>

class TProgramFolder
{
public:
    // The program folder with a trailing "/", chosen on the first call of the run.
    static QString path();
    // Makes path() return `folder` (a trailing "/" is added); tests and tools that work in
    // another folder use it. An empty text makes the next path() choose again.
    static void setPath(const QString &folder);

    // `relative` below the program folder, found without regard to case (TFileCase::resolve).
    static QString file(const QString &relative);
    // The settings file, "CORVAN.ini" in the program folder.
    static QString settingsPath();

    // The choice path() makes, from its three inputs: the program's folder, the user's data
    // folder and the installed data folder (empty when there is none). Creates and seeds the
    // user's folder when it is chosen. Returns the folder with a trailing "/".
    static QString choose(const QString &programDir, const QString &userDir, const QString &installedDataDir);

    // Copies every file of `from` (recursively) that `to` lacks; creates `to` when missing.
    // Returns false when a folder could not be created or a file not copied.
    static bool seed(const QString &from, const QString &to);

private:
    static QString s_path;
};
