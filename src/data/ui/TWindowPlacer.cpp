#include "TWindowPlacer.h"

#include "TIniFile.h"
#include "TWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace {

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

QRect screenRect(const QWidget *window)
{
    QScreen *screen = screenOf(window);
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

} // namespace

int TWindowPlacer::dotsPerInch(const QWidget *window)
{
    QScreen *screen = screenOf(window);
    return screen ? int(std::lround(screen->logicalDotsPerInch())) : 96;
}

void TWindowPlacer::centre(QWidget *window, const QWidget *mainWindow)
{
    const bool isMain = mainWindow == nullptr || mainWindow == window;
    const QRect rect = TWindowPlacement::centredPlacement(
        window->size(), isMain, mainWindow ? mainWindow->geometry() : QRect(),
        mainWindow && mainWindow->isMaximized(), screenRect(window));
    window->move(rect.topLeft());
}

void TWindowPlacer::restore(QWidget *window, const QString &className, TIniFile &ini, bool designedMaximized,
                            const QWidget *mainWindow)
{
    const int dpi = dotsPerInch(window);
    const TWindowPlacement stored = TWindowPlacement::load(ini, className, dpi, designedMaximized);
    if (stored.isStored())
        window->setGeometry(TWindowPlacement::fitted(stored.rect(), screenRect(window)));
    else
        centre(window, mainWindow);
    // Saved from what was placed, taken before maximising: the window system may report the
    // normal rectangle of a maximised window only later.
    const QRect placed = window->geometry();
    if (stored.isMaximized())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    TWindowPlacement(placed, stored.isMaximized()).save(ini, className, dpi);
}

bool TWindowPlacer::save(const QWidget *window, const QString &className, TIniFile &ini)
{
    const bool maximized = window->isMaximized();
    const QRect normal = maximized ? window->normalGeometry() : window->geometry();
    return TWindowPlacement(normal, maximized).save(ini, className, dotsPerInch(window));
}
