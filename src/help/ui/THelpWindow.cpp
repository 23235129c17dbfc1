#include "THelpWindow.h"

#include "THelpTopics.h"

#include <QAction>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QKeySequence>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A browser that reads the collection's pages (and their style sheets and pictures) through
// the help engine; other addresses are not followed.
class TCollectionBrowser : public QTextBrowser
{
public:
    TCollectionBrowser(QHelpEngine &engine, QWidget *parent) : QTextBrowser(parent), m_engine(engine)
    {
        setOpenLinks(true);
        setOpenExternalLinks(false);
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (name.scheme() == QLatin1String("qthelp")) {
            // The part of a page ("#select-label") is where the page scrolls to, not a file.
            QUrl file = name;
            file.setFragment(QString());
            return m_engine.fileData(file);
        }
        return QTextBrowser::loadResource(type, name);
    }

private:
    QHelpEngine &m_engine;
};

const char *const kTitle = "Corvantis Help";

} // namespace

THelpWindow::THelpWindow(const QString &collectionFile, QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QLatin1String(kTitle));
    setAttribute(Qt::WA_DeleteOnClose);
    // A window of its own, not a child drawn inside the asking window.
    setWindowFlag(Qt::Window);

    m_engine = new QHelpEngine(collectionFile, this);
    // The collection beside a read-only installation is only read; the user's copy may be
    // completed and gets the search index.
    m_engine->setReadOnly(!QFileInfo(QFileInfo(collectionFile).absolutePath()).isWritable());
    if (!m_engine->setupData()) {
        m_failure = m_engine->error();
    } else {
        if (!m_engine->registeredDocumentations().contains(THelpTopics::helpNamespace()) &&
            !m_engine->isReadOnly()) {
            // A collection moved away from the pages it was made with registers them again.
            const QString pages = QFileInfo(collectionFile).absolutePath() + QStringLiteral("/corvantis.qch");
            m_engine->registerDocumentation(pages);
        }
        m_ready = m_engine->registeredDocumentations().contains(THelpTopics::helpNamespace());
        if (!m_ready)
            m_failure = m_engine->error();
    }
    buildWindow();
    if (m_ready) {
        connect(m_engine->searchEngine(), &QHelpSearchEngine::indexingFinished, this,
                [this] { m_searchReady = true; });
        m_engine->searchEngine()->scheduleIndexDocumentation();
    }
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::buildWindow()
{
    ContentsView = m_engine->contentWidget();
    ContentsView->setObjectName(QStringLiteral("ContentsView"));
    IndexView = m_engine->indexWidget();
    IndexView->setObjectName(QStringLiteral("IndexView"));
    QHelpSearchEngine *searchEngine = m_engine->searchEngine();
    SearchQuery = searchEngine->queryWidget();
    SearchQuery->setObjectName(QStringLiteral("SearchQuery"));
    SearchResults = searchEngine->resultWidget();
    SearchResults->setObjectName(QStringLiteral("SearchResults"));

    auto *searchPage = new QWidget;
    auto *searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(SearchQuery);
    searchLayout->addWidget(SearchResults, 1);

    Tabs = new QTabWidget;
    Tabs->setObjectName(QStringLiteral("HelpTabs"));
    Tabs->addTab(ContentsView, QStringLiteral("&Contents"));
    Tabs->addTab(IndexView, QStringLiteral("&Index"));
    Tabs->addTab(searchPage, QStringLiteral("&Search"));

    Page = new TCollectionBrowser(*m_engine, this);
    Page->setObjectName(QStringLiteral("HelpPage"));

    auto *splitter = new QSplitter;
    splitter->addWidget(Tabs);
    splitter->addWidget(Page);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 520});
    setCentralWidget(splitter);

    auto *bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("HelpToolBar"));
    bar->setMovable(false);
    auto *back = bar->addAction(QStringLiteral("&Back"), Page, &QTextBrowser::backward);
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    back->setEnabled(false);
    auto *forward = bar->addAction(QStringLiteral("&Forward"), Page, &QTextBrowser::forward);
    forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    forward->setEnabled(false);
    auto *home =
        bar->addAction(QStringLiteral("C&ontents"), this, [this] { showPage(THelpTopics::contentsUrl()); });
    BackButton = qobject_cast<QToolButton *>(bar->widgetForAction(back));
    ForwardButton = qobject_cast<QToolButton *>(bar->widgetForAction(forward));
    HomeButton = qobject_cast<QToolButton *>(bar->widgetForAction(home));
    BackButton->setObjectName(QStringLiteral("BackButton"));
    ForwardButton->setObjectName(QStringLiteral("ForwardButton"));
    HomeButton->setObjectName(QStringLiteral("HomeButton"));
    connect(Page, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(Page, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    connect(ContentsView, &QHelpContentWidget::linkActivated, this, &THelpWindow::showPage);
    connect(IndexView, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { showPage(document.url); });
    connect(IndexView, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    showPage(documents.first().url);
            });
    connect(SearchQuery, &QHelpSearchQueryWidget::search, this, &THelpWindow::search);
    connect(SearchResults, &QHelpSearchResultWidget::requestShowLink, this, &THelpWindow::showPage);
    resize(760, 560);
}

void THelpWindow::search()
{
    m_engine->searchEngine()->search(SearchQuery->searchInput());
}

void THelpWindow::showPage(const QUrl &url)
{
    Page->setSource(url);
    const QModelIndex entry = ContentsView->indexOf(url);
    if (entry.isValid())
        ContentsView->setCurrentIndex(entry);
}

QUrl THelpWindow::currentPage() const
{
    return Page->source();
}

void THelpWindow::showContentsTab()
{
    Tabs->setCurrentIndex(0);
}

void THelpWindow::showIndexTab()
{
    Tabs->setCurrentIndex(1);
    IndexView->setFocus();
}

void THelpWindow::showSearchTab()
{
    Tabs->setCurrentIndex(2);
    SearchQuery->setFocus();
}
