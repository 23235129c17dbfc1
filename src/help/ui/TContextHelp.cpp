#include "TContextHelp.h"

#include "THelpCollection.h"
#include "THelpRequest.h"
#include "THelpTopics.h"
#include "THelpWindow.h"
#include "TMessages.h"
#include "TProgramFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {

const QString kNoHelpFile = QStringLiteral("The help file could not be found.");
const QString kHelpFileDamaged = QStringLiteral("The help file could not be opened: ");

} // namespace

THelpWindow *TContextHelp::openWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<THelpWindow *>(widget))
            return window;
    }
    return nullptr;
}

THelpWindow *TContextHelp::showUrl(QWidget *parent, const QUrl &url, const QString &programFolder)
{
    THelpWindow *window = openWindow();
    if (!window) {
        const QString folder = programFolder.isEmpty() ? TProgramFolder::path() : programFolder;
        const QString collection = THelpCollection::find(folder);
        if (collection.isEmpty()) {
            TMessages::information(parent, kNoHelpFile);
            return nullptr;
        }
        // No parent: the help stays open beside the windows it helps with and outlives them.
        window = new THelpWindow(collection);
        if (!window->isReady()) {
            const QString failure = window->failure();
            delete window;
            TMessages::information(parent, kHelpFileDamaged + failure);
            return nullptr;
        }
    }
    window->showPage(url);
    // A modal dialog blocks every other window, so help asked for from one (or while one is
    // open) is modal too, above it; otherwise it stays open beside the program's windows.
    QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal && modal != window ? Qt::ApplicationModal : Qt::NonModal;
    if (window->windowModality() != wanted) {
        window->hide();
        window->setWindowModality(wanted);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

THelpWindow *TContextHelp::show(QWidget *parent, int topic, const QString &programFolder)
{
    return showUrl(parent, THelpTopics::topicUrl(topic), programFolder);
}

THelpWindow *TContextHelp::showContents(QWidget *parent, const QString &programFolder)
{
    THelpWindow *window = showUrl(parent, THelpTopics::contentsUrl(), programFolder);
    if (window)
        window->showContentsTab();
    return window;
}

THelpWindow *TContextHelp::showIndex(QWidget *parent, const QString &programFolder)
{
    THelpWindow *window = showUrl(parent, THelpTopics::contentsUrl(), programFolder);
    if (window)
        window->showIndexTab();
    return window;
}

THelpWindow *TContextHelp::showHelpOnHelp(QWidget *parent, const QString &programFolder)
{
    return showUrl(parent, THelpTopics::helpOnHelpUrl(), programFolder);
}

void TContextHelp::wire(QWidget *window, QAbstractButton *helpButton, int topic)
{
    if (helpButton)
        QObject::connect(helpButton, &QAbstractButton::clicked, window,
                         [window, topic] { show(window, topic); });
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), window);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, window, [window, topic] { show(window, topic); });
}

void TContextHelp::installHandler(const QString &programFolder)
{
    THelpRequest::setHandler([programFolder](QWidget *asking, int topic) { show(asking, topic, programFolder); });
}
