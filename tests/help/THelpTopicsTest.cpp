// The numbered topics: every number the windows ask for (in the sources) has a page, every
// page is listed for the collection, and the built collection serves each of them.
#include "THelpTopics.h"
#include "THelpCollection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHelpEngineCore>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSource = QStringLiteral(CORVANTIS_SOURCE_DIR);
const QString kBuild = QStringLiteral(CORVANTIS_BINARY_DIR);

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The topic numbers the program's windows ask for: the kHelpTopic constants, the numbers
// handed to TContextHelp, and the link table of the Getting Started window.
QSet<int> topicsInSources()
{
    const QRegularExpression patterns[] = {
        QRegularExpression(QStringLiteral("kHelpTopic\\w*\\s*=\\s*(\\d+)")),
        QRegularExpression(QStringLiteral("TContextHelp::(?:show|wire)\\([^;]*?(\\d{4})\\s*[,)]")),
        QRegularExpression(QStringLiteral("\\{\"[A-Z ]+\",\\s*(\\d{4})\\}")),
    };
    QSet<int> topics;
    QDirIterator it(kSource + QStringLiteral("/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString text = readText(it.next());
        for (const QRegularExpression &pattern : patterns) {
            auto match = pattern.globalMatch(text);
            while (match.hasNext())
                topics.insert(match.next().captured(1).toInt());
        }
    }
    return topics;
}

QStringList listedPages()
{
    QStringList pages;
    for (const QString &line :
         readText(kSource + QStringLiteral("/src/help/pages/pages.txt")).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        pages << line.section(QLatin1Char('|'), 0, 0).trimmed();
    }
    return pages;
}

} // namespace

TEST(HelpTopics, EveryTopicTheWindowsAskForHasAListedPage)
{
    const QSet<int> asked = topicsInSources();
    // The scan sees the windows that carry their numbers today.
    for (int known : {1026, 1034, 1037, 1015, 2098})
        EXPECT_TRUE(asked.contains(known)) << known;
    const QStringList pages = listedPages();
    for (int topic : asked) {
        const QString page = THelpTopics::file(topic);
        EXPECT_FALSE(page.isEmpty()) << "topic " << topic << " has no page";
        EXPECT_TRUE(pages.contains(page)) << page.toStdString();
        EXPECT_TRUE(QFileInfo::exists(kSource + QStringLiteral("/src/help/pages/") + page))
            << page.toStdString();
    }
}

TEST(HelpTopics, UnknownNumbersLeadToTheContentsAndAddressesAreQtHelpUrls)
{
    EXPECT_EQ(THelpTopics::topicUrl(1029).toString(),
              QStringLiteral("qthelp://org.corvantis.help/doc/main-window.html"));
    // A topic on a part of a shared page: the page's address with the part as its fragment.
    EXPECT_EQ(THelpTopics::topicUrl(3101).toString(),
              QStringLiteral("qthelp://org.corvantis.help/doc/labels.html#select-label"));
    EXPECT_EQ(THelpTopics::file(3101), QStringLiteral("labels.html"));
    EXPECT_EQ(THelpTopics::topicUrl(4711), THelpTopics::contentsUrl());
    EXPECT_TRUE(THelpTopics::page(0).isEmpty());
    QSet<QString> seen;
    for (const THelpTopic &topic : THelpTopics::all())
        seen.insert(QLatin1String(topic.page));
    EXPECT_EQ(seen.size(), THelpTopics::all().size()) << "two topics share a page";
}

TEST(HelpTopics, TheBuiltCollectionServesEveryListedPageAndTopic)
{
    const QString collection = THelpCollection::find(kBuild + QLatin1Char('/'));
    ASSERT_FALSE(collection.isEmpty());
    // A copy, so that reading never touches the build's collection.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("/help")));
    for (const char *name : {"corvantis.qhc", "corvantis.qch"}) {
        ASSERT_TRUE(QFile::copy(QFileInfo(collection).absolutePath() + QLatin1Char('/') + QLatin1String(name),
                                dir.path() + QStringLiteral("/help/") + QLatin1String(name)));
    }
    EXPECT_EQ(THelpCollection::find(dir.path()), dir.path() + QStringLiteral("/help/corvantis.qhc"));

    QHelpEngineCore engine(dir.path() + QStringLiteral("/help/corvantis.qhc"));
    ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
    ASSERT_TRUE(engine.registeredDocumentations().contains(THelpTopics::helpNamespace()));
    for (const QString &page : listedPages()) {
        const QByteArray html = engine.fileData(THelpTopics::url(page));
        EXPECT_TRUE(html.contains("<h1>")) << page.toStdString();
    }
    for (const THelpTopic &topic : THelpTopics::all()) {
        QUrl file = THelpTopics::topicUrl(topic.number);
        file.setFragment(QString());
        EXPECT_FALSE(engine.fileData(file).isEmpty()) << topic.number;
    }
    EXPECT_FALSE(engine.fileData(THelpTopics::helpOnHelpUrl()).isEmpty());
}

TEST(HelpTopics, LinksBetweenPagesLeadToListedPages)
{
    const QStringList pages = listedPages();
    const QRegularExpression href(QStringLiteral("href=\"([^\"#]+)"));
    for (const QString &page : pages) {
        auto match = href.globalMatch(readText(kSource + QStringLiteral("/src/help/pages/") + page));
        while (match.hasNext()) {
            const QString target = match.next().captured(1);
            EXPECT_TRUE(pages.contains(target) || target == QLatin1String("style.css"))
                << page.toStdString() << " links to " << target.toStdString();
        }
    }
}
