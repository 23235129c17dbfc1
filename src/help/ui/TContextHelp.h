// Context help for every window: one call opens the help window on a topic number, and one
// call makes a window's Help button and F1 do so. The help window is found among the
// top-level windows, so repeated calls reuse it. Stateless.
#pragma once

#include <QString>
#include <QUrl>

class QAbstractButton;
class QWidget;
class THelpWindow;

class TContextHelp
{
public:
    // Opens (or raises) the help window on topic `topic`; an unknown number shows the
    // contents. `parent` is the asking window; the help file is looked for in the program
    // folder first (THelpCollection). When it cannot be opened the user is told why and
    // nullptr is returned.
    static THelpWindow *show(QWidget *parent, int topic, const QString &programFolder = QString());
    // The contents page, the Index tab, and the page on using help.
    static THelpWindow *showContents(QWidget *parent, const QString &programFolder = QString());
    static THelpWindow *showIndex(QWidget *parent, const QString &programFolder = QString());
    static THelpWindow *showHelpOnHelp(QWidget *parent, const QString &programFolder = QString());

    // Makes `helpButton` (may be null) and F1 anywhere in `window` open topic `topic`.
    static void wire(QWidget *window, QAbstractButton *helpButton, int topic);
    // Makes every window's help request (THelpRequest) open its topic, with the help file
    // looked for in `programFolder` first. The program does this once, at start.
    static void installHandler(const QString &programFolder = QString());

    // The help window already open, or nullptr.
    static THelpWindow *openWindow();

private:
    static THelpWindow *showUrl(QWidget *parent, const QUrl &url, const QString &programFolder);
};
