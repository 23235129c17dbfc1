// The help window driven offscreen: F1 and the Help menu of the main window, a Getting Started
// link, a dialog wired by TContextHelp, back and forward, the keyword index, the full-text
// search, and a damaged help file.
#include "TContextHelp.h"
#include "THelpRequest.h"
#include "TAddressMain.h"
#include "TGettingStarted.h"
#include "THelpTopics.h"
#include "THelpWindow.h"
#include "TIniFile.h"
#include "TMessages.h"

#include "TempDir.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHelpIndexWidget>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kBuildHelp = QStringLiteral(CORVANTIS_BINARY_DIR "/help/");

class ContextHelp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TMessages::setAnswerer([this](const TMessageRequest &request) {
            boxes.append(request.text);
            return QMessageBox::Ok;
        });
        // The program folder holds its own copy of the collection, as an installed copy does.
        ASSERT_TRUE(QDir().mkpath(folder() + QStringLiteral("help")));
        for (const char *name : {"corvantis.qhc", "corvantis.qch"})
            ASSERT_TRUE(QFile::copy(kBuildHelp + QLatin1String(name),
                                    folder() + QStringLiteral("help/") + QLatin1String(name)));
    }
    void TearDown() override
    {
        delete TContextHelp::openWindow();
        TMessages::setAnswerer({});
    }
    QString folder() const { return QString::fromStdString(dir.path()) + QLatin1Char('/'); }
    void startMainWindow()
    {
        TIniFile ini(folder() + QStringLiteral("CORVAN.ini"));
        ini.writeBool(QStringLiteral("Misc"), QStringLiteral("GettingStarted"), true);
        window = std::make_unique<TAddressMain>(folder() + QStringLiteral("CORVAN.ini"));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    static QString shownPage(THelpWindow *help) { return help->currentPage().fileName(); }

    TempDir dir;
    std::unique_ptr<TAddressMain> window;
    QStringList boxes;
};

} // namespace

TEST_F(ContextHelp, F1InTheMainWindowOpensTheMainWindowTopic)
{
    startMainWindow();
    QTest::keyClick(window.get(), Qt::Key_F1);
    THelpWindow *help = TContextHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentPage(), THelpTopics::topicUrl(1029));
    EXPECT_TRUE(help->Page->toPlainText().contains(QStringLiteral("The main window")));
    EXPECT_EQ(help->windowModality(), Qt::NonModal);
}

TEST_F(ContextHelp, TheHelpMenuOpensContentsIndexAndHelpOnHelpInOneWindow)
{
    startMainWindow();
    window->HowtoUseHelp1->trigger();
    THelpWindow *help = TContextHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(shownPage(help), QStringLiteral("help-on-help.html"));
    window->SearchforHelpOn1->trigger();
    EXPECT_EQ(TContextHelp::openWindow(), help);
    EXPECT_EQ(help->Tabs->currentIndex(), 1);
    window->Contents1->trigger();
    EXPECT_EQ(shownPage(help), QStringLiteral("index.html"));
    EXPECT_EQ(help->Tabs->currentIndex(), 0);
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(ContextHelp, AGettingStartedLinkOpensItsTopic)
{
    startMainWindow();
    window->mnuHelpGettingStarted->trigger();
    TGettingStarted *welcome = nullptr;
    QTRY_VERIFY((welcome = window->findChild<TGettingStarted *>()) != nullptr && welcome->isVisible());
    emit welcome->TextView->anchorClicked(QUrl(QStringLiteral("topic:DELETE")));
    THelpWindow *help = TContextHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentPage(), THelpTopics::topicUrl(2099));
    EXPECT_EQ(shownPage(help), QStringLiteral("deleting-records.html"));
}

TEST_F(ContextHelp, AWiredDialogsHelpButtonAndF1OpenItsTopicAboveTheModalDialog)
{
    QDialog dialog;
    auto *helpButton = new QPushButton(QStringLiteral("Help"), &dialog);
    TContextHelp::wire(&dialog, helpButton, 1038);
    QWidget *opened = nullptr;
    QUrl byButton;
    Qt::WindowModality modality = Qt::NonModal;
    QTimer::singleShot(0, &dialog, [&] {
        QTest::mouseClick(helpButton, Qt::LeftButton);
        opened = TContextHelp::openWindow();
        if (opened) {
            modality = opened->windowModality();
            byButton = static_cast<THelpWindow *>(opened)->currentPage();
        }
        delete opened;
        // F1 is a shortcut of the dialog's window, which has the keyboard again.
        dialog.activateWindow();
        if (!QTest::qWaitForWindowActive(&dialog))
            ADD_FAILURE() << "the dialog did not become active";
        QTest::keyClick(helpButton, Qt::Key_F1);
        opened = TContextHelp::openWindow();
        dialog.reject();
    });
    // Found beside the test program: the build's own collection.
    dialog.exec();
    EXPECT_EQ(byButton, THelpTopics::topicUrl(1038));
    EXPECT_EQ(modality, Qt::ApplicationModal);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(static_cast<THelpWindow *>(opened)->currentPage(), THelpTopics::topicUrl(1038));
}

TEST_F(ContextHelp, AWindowsRequestThroughTheInstalledHandlerOpensItsPartOfASharedPage)
{
    TContextHelp::installHandler(folder());
    THelpRequest::ask(nullptr, 3101);
    THelpRequest::setHandler({});
    THelpWindow *help = TContextHelp::openWindow();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(boxes.isEmpty()) << boxes.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(help->currentPage(), THelpTopics::topicUrl(3101));
    EXPECT_EQ(shownPage(help), QStringLiteral("labels.html"));
    EXPECT_TRUE(help->Page->toPlainText().contains(QStringLiteral("Select Label Template")));
}

TEST_F(ContextHelp, BackAndForwardReturnThroughThePagesRead)
{
    THelpWindow *help = TContextHelp::show(nullptr, 1026, folder());
    ASSERT_NE(help, nullptr);
    TContextHelp::show(nullptr, 1033, folder());
    TContextHelp::show(nullptr, 1034, folder());
    EXPECT_FALSE(help->ForwardButton->isEnabled());
    QTest::mouseClick(help->BackButton, Qt::LeftButton);
    QTest::mouseClick(help->BackButton, Qt::LeftButton);
    EXPECT_EQ(shownPage(help), QStringLiteral("search.html"));
    QTest::mouseClick(help->ForwardButton, Qt::LeftButton);
    EXPECT_EQ(shownPage(help), QStringLiteral("filter.html"));
    QTest::mouseClick(help->HomeButton, Qt::LeftButton);
    EXPECT_EQ(shownPage(help), QStringLiteral("index.html"));
}

TEST_F(ContextHelp, AKeywordOfTheIndexOpensItsPage)
{
    THelpWindow *help = TContextHelp::showIndex(nullptr, folder());
    ASSERT_NE(help, nullptr);
    QTRY_VERIFY(help->IndexView->model()->rowCount() > 0);
    help->IndexView->filterIndices(QStringLiteral("Address Browse"));
    QTRY_VERIFY(help->IndexView->currentIndex().isValid());
    QTest::keyClick(help->IndexView, Qt::Key_Return);
    QTRY_COMPARE(shownPage(help), QStringLiteral("browse.html"));
}

TEST_F(ContextHelp, TheFullTextSearchFindsPagesByTheirWords)
{
    THelpWindow *help = TContextHelp::show(nullptr, 1029, folder());
    ASSERT_NE(help, nullptr);
    help->showSearchTab();
    QHelpSearchEngine *search = help->findChild<QHelpSearchEngine *>();
    ASSERT_NE(search, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(help->isSearchReady(), 20000);
    auto *input = help->SearchQuery->findChild<QLineEdit *>();
    ASSERT_NE(input, nullptr);
    QTest::keyClicks(input, QStringLiteral("reclaim"));
    QTest::keyClick(input, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(search->searchResultCount() > 0, 20000);
    const auto results = search->searchResults(0, search->searchResultCount());
    ASSERT_FALSE(results.isEmpty());
    EXPECT_EQ(results.first().url().fileName(), QStringLiteral("reindex.html"));
}

TEST_F(ContextHelp, ADamagedHelpFileIsReportedAndNoWindowOpens)
{
    QFile damaged(folder() + QStringLiteral("help/corvantis.qhc"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(QByteArray(4096, '\x5a'));
    damaged.close();
    EXPECT_EQ(TContextHelp::show(nullptr, 1029, folder()), nullptr);
    EXPECT_EQ(TContextHelp::openWindow(), nullptr);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.first().startsWith(QStringLiteral("The help file could not be opened: ")));
}
