#include "TBatchRecords.h"

#include "TAddressSession.h"
#include "TFilterCriteria.h"
#include "TFilterFile.h"

bool TBatchRecords::open(TAddressSession &session, const QString &file, const QString &filterFile, bool tagged,
                         QString &error)
{
    QString path = file;
    if (path.isEmpty())
        path = session.chooseStartupFile().path;
    if (path.isEmpty()) {
        error = QStringLiteral("No address file to print");
        return false;
    }
    // The file is opened as the table alone, so the run leaves the recent-file list as it was.
    const TResult opened = session.table().OpenTableFile(path);
    if (!opened.ok) {
        error = opened.message;
        return false;
    }
    if (!session.table().CheckValidIndex()) {
        error = QStringLiteral("The indexes of ") + path + QStringLiteral(" are missing or damaged: rebuild them first");
        return false;
    }
    if (filterFile.isEmpty() && !tagged) {
        (void)session.clearFilter(); // shows every record the user can see; nothing can be dropped
        return true;
    }
    TFilterCriteria criteria;
    if (!filterFile.isEmpty() && !TFilterFile::RestoreFilterFrom(filterFile, criteria, &error))
        return false;
    if (tagged)
        criteria.setTagged(true);
    const TFilterOutcome outcome = session.setCriteria(criteria);
    if (!session.isFilterSet()) {
        error = outcome.message.isEmpty() ? QStringLiteral("The filter shows no records") : outcome.message;
        return false;
    }
    return true;
}
