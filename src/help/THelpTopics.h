// The numbered help topics: which page of the help collection each topic number opens, and
// the pages every window can reach without a number (contents, help on help). Stateless.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

struct THelpTopic {
    int number;
    // The page's file name inside the collection ("main-window.html"), with the part of the
    // page after "#" when several windows share one page ("labels.html#select-label").
    const char *page;
};

class THelpTopics
{
public:
    // The namespace and virtual folder the collection's pages live under.
    static QString helpNamespace() { return QStringLiteral("org.corvantis.help"); }
    static QString virtualFolder() { return QStringLiteral("doc"); }

    // The main window's topic, also opened when a window asks for help without a number.
    static constexpr int kMainWindow = 1029;

    // Every numbered topic, in number order.
    static QList<THelpTopic> all();
    // The page of topic `number`; empty when no page carries that number.
    static QString page(int number);
    // The file of topic `number`'s page, without its part ("labels.html"); empty as page().
    static QString file(int number);
    // The address of a page of the collection ("qthelp://org.corvantis.help/doc/" + page); a
    // part after "#" becomes the address's fragment.
    static QUrl url(const QString &page);
    // The address of topic `number`; an unknown number gives the contents page, so a Help
    // button never leads nowhere.
    static QUrl topicUrl(int number);
    static QUrl contentsUrl();
    static QUrl helpOnHelpUrl();
};
