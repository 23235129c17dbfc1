#include "TSysIndexRebuild.h"

#include "TFileCase.h"

#include "Table.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::string toEngine(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

// Rebuilds one table; false when a step failed (the table is closed either way).
bool rebuild(const QString &dbf, const QString &sysFolder, const TSysIndexRebuild::Step &step,
             xbase::ProgressHook *progress)
{
    xbase::Table table;
    if (!table.open(toEngine(dbf), xbase::OpenMode::Exclusive).ok())
        return false;
    const QByteArray tagName = step.tagName.toLatin1();
    // The tag as order when it is there; a missing or unreadable index is what this run
    // repairs, so it does not stop the table's rebuild.
    (void)table.setOrder(std::string_view(tagName.constData(), static_cast<size_t>(tagName.size())));

    QString indexFile = QFile::decodeName(QByteArray::fromStdString(table.indexFileName()));
    if (indexFile.isEmpty())
        indexFile = TFileCase::resolve(sysFolder, TSystemTables::name(step.table) + QStringLiteral(".CDX"));
    (void)table.closeIndexes(true);
    QFile::remove(indexFile); // errors ignored: a file that stays is replaced by the build

    bool ok = table.pack(progress).ok();
    if (ok) {
        const xbase::TagDefinition tag{tagName.toStdString(), step.keyExpr.toStdString(), ""};
        ok = table.addTag(tag, progress).ok();
    }
    ok = table.close().ok() && ok;
    return ok;
}

} // namespace

const std::vector<TSysIndexRebuild::Step> &TSysIndexRebuild::steps()
{
    static const std::vector<Step> kSteps = {
        {TSystemTable::Letter, QStringLiteral("Rebuilding Letters File indexes"), QStringLiteral("DESCRIPT"),
         QStringLiteral("UPPER(DESCRIPT)")},
        {TSystemTable::Label, QStringLiteral("Rebuilding Label File indexes"), QStringLiteral("DESCRIPT"),
         QStringLiteral("UPPER(DESCRIPT)")},
        {TSystemTable::Csz, QStringLiteral("Rebuilding State/Province File indexes"), QStringLiteral("STATE"),
         QStringLiteral("UPPER(STATE)")},
        {TSystemTable::LblTpl, QStringLiteral("Rebuilding Label Setup File indexes"),
         QStringLiteral("DESCRIPT"), QStringLiteral("UPPER(descript)")},
        {TSystemTable::Envelope, QStringLiteral("Rebuilding Envelope File indexes"),
         QStringLiteral("DESCRIPT"), QStringLiteral("UPPER(descript)")},
        {TSystemTable::Report, QStringLiteral("Rebuilding Report File indexes"), QStringLiteral("DESCRIPT"),
         QStringLiteral("UPPER(descript)")},
    };
    return kSteps;
}

TSysIndexRebuild::Report TSysIndexRebuild::run(const QString &programFolder, xbase::ProgressHook *progress,
                                               const std::function<void(const QString &)> &announce)
{
    Report report;
    const QString sysFolder = TSystemTables::folder(programFolder);
    for (const Step &step : steps()) {
        if (announce)
            announce(step.text);
        const QString name = TSystemTables::name(step.table);
        const QString dbf = TSystemTables::dbfPath(programFolder, step.table);
        if (!QFileInfo::exists(dbf)) {
            report.missing << name;
            continue;
        }
        if (rebuild(dbf, sysFolder, step, progress))
            report.rebuilt << name;
        else
            report.failed << name;
    }
    return report;
}
