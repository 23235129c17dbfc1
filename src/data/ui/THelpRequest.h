// How a window asks for its help topic: its Help button and F1 hand the topic number to the
// handler the program installed (the help window), so a window needs no help library of its
// own. Tests install a handler that records what was asked. Stateless apart from the handler.
#pragma once

#include <QAbstractButton>

#include <functional>

class QWidget;

class THelpRequest
{
public:
    // `asking` is the window whose help was asked for; `topic` its topic number.
    using Handler = std::function<void(QWidget *asking, int topic)>;

    // Installs `handler` (empty: help asked for does nothing) and returns the one it replaces.
    static Handler setHandler(Handler handler);
    // Hands `topic` to the installed handler.
    static void ask(QWidget *asking, int topic);
    // Makes `helpButton` (may be null) and F1 anywhere in `window` ask for `topic`.
    // Requires: `window` is not null.
    static void wire(QWidget *window, QAbstractButton *helpButton, int topic);
};
