#include "THelpTopics.h"

namespace {

// The numbers below 3000 are the program's long-standing topics; the windows that had none
// carry numbers from 3000 on, a hundred per folder (app 3000, labels 3100, envelopes 3200,
// letters 3300, reports 3400, design objects 3500, printing 3600, tools 3700, transfer 3800).
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
    {3001, "current-record.html#copy"},
    {3002, "current-record.html#print"},
    {3003, "search.html#memo"},
    {3004, "editing-records.html#date"},
    {3005, "tagging.html"},
    {3006, "editing-records.html#new-record"},
    {3007, "getting-started.html"},
    {3010, "dialer.html"},
    {3011, "dialer.html#call"},
    {3100, "labels.html"},
    {3101, "labels.html#select-label"},
    {3102, "labels.html#new-layout"},
    {3103, "labels.html#user-defined"},
    {3104, "label-designer.html"},
    {3105, "labels.html#specific-labels"},
    {3106, "labels.html#bulk-mail"},
    {3200, "envelopes.html"},
    {3201, "envelopes.html#size"},
    {3202, "envelopes.html#designer"},
    {3203, "envelopes.html#feed"},
    {3204, "envelopes.html#before-printing"},
    {3300, "letters.html"},
    {3301, "letter-editor.html"},
    {3302, "letter-editor.html#find"},
    {3303, "letter-editor.html#page"},
    {3304, "letter-editor.html#paragraph"},
    {3305, "letter-editor.html#spelling"},
    {3306, "letters.html#preview"},
    {3307, "letters.html#printing"},
    {3400, "reports.html"},
    {3401, "report-designer.html"},
    {3402, "report-designer.html#properties"},
    {3500, "design-objects.html#text"},
    {3501, "design-objects.html#multiline"},
    {3502, "design-objects.html#address"},
    {3503, "design-objects.html#field"},
    {3504, "design-objects.html#counter"},
    {3505, "design-objects.html#barcode"},
    {3506, "design-objects.html#symbol"},
    {3507, "design-objects.html#effects"},
    {3508, "design-objects.html#image"},
    {3600, "preview.html"},
    {3601, "preview.html#status"},
    {3602, "printer-calibration.html"},
    {3700, "tools.html#count-zip"},
    {3701, "tools.html#state-zip"},
    {3702, "tools.html#duplicates"},
    {3703, "tools.html#convert-case"},
    {3704, "tools.html#delete-records"},
    {3705, "tools.html#search-replace"},
    {3800, "import-dbf.html#older"},
    {3801, "export.html"},
    {3802, "import-match.html#dbf"},
    {3803, "import-match.html#ascii"},
};

const char *const kContentsPage = "index.html";
const char *const kHelpOnHelpPage = "help-on-help.html";

} // namespace

QList<THelpTopic> THelpTopics::all()
{
    return QList<THelpTopic>(std::begin(kTopics), std::end(kTopics));
}

QString THelpTopics::file(int number)
{
    return page(number).section(QLatin1Char('#'), 0, 0);
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
    // "page.html#part" opens the page at that part.
    address.setPath(QLatin1Char('/') + virtualFolder() + QLatin1Char('/') + page.section(QLatin1Char('#'), 0, 0));
    const QString part = page.section(QLatin1Char('#'), 1);
    if (!part.isEmpty())
        address.setFragment(part);
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
