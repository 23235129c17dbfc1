// The help window: the collection's contents, keyword index and full-text search on the left,
// the page on the right, with back, forward and contents buttons. One window serves the whole
// program (TContextHelp finds it again); it deletes itself when closed.
#pragma once

#include <QMainWindow>
#include <QUrl>

class QHelpEngine;
class QTabWidget;
class QTextBrowser;
class QToolButton;
class QHelpContentWidget;
class QHelpIndexWidget;
class QHelpSearchQueryWidget;
class QHelpSearchResultWidget;

class THelpWindow : public QMainWindow
{
    Q_OBJECT

public:
    // `collectionFile` is the help collection (.qhc); when it lacks the pages, the .qch beside
    // it is registered first. Check isReady() before showing pages.
    explicit THelpWindow(const QString &collectionFile, QWidget *parent = nullptr);
    ~THelpWindow() override;

    // The collection opened and holds our pages.
    bool isReady() const { return m_ready; }
    // The full-text index has been brought up to date once; searches find every page.
    bool isSearchReady() const { return m_searchReady; }
    // The message why it is not ready.
    QString failure() const { return m_failure; }

    // Shows `url` (a qthelp:// address of the collection).
    void showPage(const QUrl &url);
    QUrl currentPage() const;
    // Puts the Contents, Index or Search tab in front.
    void showContentsTab();
    void showIndexTab();
    void showSearchTab();

    QTabWidget *Tabs = nullptr;
    QTextBrowser *Page = nullptr;
    QToolButton *BackButton = nullptr;
    QToolButton *ForwardButton = nullptr;
    QToolButton *HomeButton = nullptr;
    QHelpContentWidget *ContentsView = nullptr;
    QHelpIndexWidget *IndexView = nullptr;
    QHelpSearchQueryWidget *SearchQuery = nullptr;
    QHelpSearchResultWidget *SearchResults = nullptr;

private:
    void buildWindow();
    void search();

    QHelpEngine *m_engine = nullptr;
    bool m_ready = false;
    bool m_searchReady = false;
    QString m_failure;
};
