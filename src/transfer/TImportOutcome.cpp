#include "TImportOutcome.h"

QString TImportOutcome::message(bool textSource) const
{
    const QString n = QString::number(imported);
    switch (end) {
    case End::Complete:
        return QStringLiteral("Import complete. Imported ") + n + QStringLiteral(" records.");
    case End::Cancelled:
        return QStringLiteral("Import cancelled after importing ") + n + QStringLiteral(" records.");
    case End::ReadError:
        if (textSource)
            return QStringLiteral("Unknown error reading ASCII file after importing ") + n +
                   QStringLiteral(" records.");
        break;
    case End::WriteError:
        if (textSource)
            return QStringLiteral("Unknown error writing to data file after importing ") + n +
                   QStringLiteral(" records.");
        break;
    }
    return QStringLiteral("Unknown error while importing.") + QStringLiteral(" Imported ") + n +
           QStringLiteral(" records before the error.");
}

QStringList TImportOutcome::notes() const
{
    QStringList out;
    if (!reason.isEmpty() && (end == End::ReadError || end == End::WriteError))
        out << reason;
    if (cutValues > 0)
        out << QString::number(cutValues) + QStringLiteral(" values were longer than their field and were cut.");
    if (longLines > 0)
        out << QString::number(longLines) + QStringLiteral(" lines had more than 255 columns; the rest of each was skipped.");
    if (unreadDates > 0)
        out << QString::number(unreadDates) + QStringLiteral(" dates could not be read and were left empty.");
    if (!rebuild.ok)
        out << rebuild.message;
    return out;
}
