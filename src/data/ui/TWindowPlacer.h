// Restores and saves a window's placement in the settings file (rules in TWindowPlacement).
// Every window that remembers its placement calls restore() on its first activation and
// save() when it closes; every other window calls centre() when it opens.
#pragma once

#include <QString>

class QWidget;
class TIniFile;

class TWindowPlacer
{
public:
    // Reads the placement of `className` for the window's screen density. A stored rectangle
    // is shifted onto the screen (never shrunk) and taken; without one the window is centred
    // (on the screen when `mainWindow` is null or maximised, else over it). Then the window is
    // maximised when the placement says so, and the placement is saved at once.
    static void restore(QWidget *window, const QString &className, TIniFile &ini, bool designedMaximized,
                        const QWidget *mainWindow = nullptr);
    // The window's normal-state rectangle and whether it is maximised.
    static bool save(const QWidget *window, const QString &className, TIniFile &ini);
    // Centres the window over the main window, or on the screen when there is none or it is
    // maximised.
    static void centre(QWidget *window, const QWidget *mainWindow);

    // The pixels per inch of the screen the window is on (96 when it has no screen).
    static int dotsPerInch(const QWidget *window);
};
