#include "THelpTopics.h"

namespace {

const THelpTopic kTopics[] = {
    {1015, "technical-support.html"},
    {1021, "import-dbf.html"},
    {1023, "import-ascii.html"},
    {1026, "search.html"},
    {1029, "main-window.html"},
    {1030, "editing-records.html"},
    {1033, "filter.html"},
    {1034, "browse.html"},
    {1037, "new-database.html"},
    {1038, "preferences.html"},
    {1039, "system-reindex.html"},
    {1040, "reindex.html"},
    {2097, "field-lengths.html"},
    {2098, "faq.html"},
    {2099, "deleting-records.html"},
};

const char *const kContentsPage = "index.html";
const char *const kHelpOnHelpPage = "help-on-help.html";

} // namespace

QList<THelpTopic> THelpTopics::all()
{
    return QList<THelpTopic>(std::begin(kTopics), std::end(kTopics));
}

QString THelpTopics::page(int number)
{
    for (const THelpTopic &topic : kTopics) {
        if (topic.number == number)
            return QLatin1String(topic.page);
    }
    return QString();
}

QUrl THelpTopics::url(const QString &page)
{
    QUrl address;
    address.setScheme(QStringLiteral("qthelp"));
    address.setHost(helpNamespace());
    address.setPath(QLatin1Char('/') + virtualFolder() + QLatin1Char('/') + page);
    return address;
}

QUrl THelpTopics::topicUrl(int number)
{
    const QString found = page(number);
    return found.isEmpty() ? contentsUrl() : url(found);
}

QUrl THelpTopics::contentsUrl()
{
    return url(QLatin1String(kContentsPage));
}

QUrl THelpTopics::helpOnHelpUrl()
{
    return url(QLatin1String(kHelpOnHelpPage));
}
