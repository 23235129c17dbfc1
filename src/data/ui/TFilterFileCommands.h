// The main window's "&Save Filter" and "&Restore Filter": the file dialogs, the name rules and
// questions around them, and the filter file itself (TFilterFile). Stateless; the main window
// owns the criteria it passes in.
#pragma once

#include "TFilterCriteria.h"

#include <QString>

#include <functional>

class QWidget;

class TFilterFileCommands
{
public:
    // Asks the user for a file name starting in `folder`; an empty text when cancelled. Tests
    // pass their own in place of the dialogs.
    using Chooser = std::function<QString(QWidget *parent, const QString &folder)>;

    // Save Filter: the save dialog (or `choose`), then the ".FLT" name rules ("Must have a .FLT
    // extension"), the question before an existing file is replaced (caption "Warning!", No the
    // default) and the writing. True when the file was written.
    static bool SaveFilter(QWidget *parent, const TFilterCriteria &criteria, const QString &folder,
                           const Chooser &choose = {});
    // Restore Filter: the open dialog (or `choose`), the name rule ("Must be a Filter (.FLT)
    // file") and the reading into `criteria`. True when the criteria were read; the caller then
    // applies the filter and refreshes its buttons.
    static bool RestoreFilter(QWidget *parent, TFilterCriteria &criteria, const QString &folder,
                              const Chooser &choose = {});

    // The dialogs themselves.
    static QString saveDialog(QWidget *parent, const QString &folder);
    static QString openDialog(QWidget *parent, const QString &folder);
};
