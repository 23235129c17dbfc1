#include "THelpRequest.h"

#include <QAbstractButton>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {

THelpRequest::Handler &handler()
{
    static THelpRequest::Handler installed;
    return installed;
}

} // namespace

THelpRequest::Handler THelpRequest::setHandler(Handler replacement)
{
    Handler previous = std::move(handler());
    handler() = std::move(replacement);
    return previous;
}

void THelpRequest::ask(QWidget *asking, int topic)
{
    // A copy: the handler may install another while it runs.
    const Handler current = handler();
    if (current)
        current(asking, topic);
}

void THelpRequest::wire(QWidget *window, QAbstractButton *helpButton, int topic)
{
    if (helpButton)
        QObject::connect(helpButton, &QAbstractButton::clicked, window, [window, topic] { ask(window, topic); });
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setObjectName(QStringLiteral("HelpShortcut"));
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, topic] { ask(window, topic); });
}
