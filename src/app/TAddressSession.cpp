#include "TAddressSession.h"

#include "TAddingPrefs.h"
#include "TFieldLengths.h"
#include "TFileCase.h"
#include "TFreezeGuard.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TPrinterService.h"
#include "TRecentFiles.h"
#include "TSortOrders.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace {

QString unableToOpen(const QString &path)
{
    return QStringLiteral("Unable to open ") + path + QStringLiteral("\r\n\r\n") +
           QStringLiteral(" * May not be ") + QStringLiteral("a Corvantis") + QStringLiteral(" file.") +
           QStringLiteral("\r\n") + QStringLiteral(" * May be in use by another program or user");
}

const QString kFirstOrder = QStringLiteral("LNAME");

} // namespace

TAddressSession::TAddressSession(QString settingsPath, QObject *parent)
    : QObject(parent), m_settingsPath(std::move(settingsPath)), m_table(std::make_unique<TAddressTable>())
{
}

TAddressSession::~TAddressSession() = default;

QString TAddressSession::programFolder() const
{
    return QFileInfo(m_settingsPath).absolutePath() + QLatin1Char('/');
}

// ---- Start-up -----------------------------------------------------------------------------

void TAddressSession::loadSettings()
{
    TIniFile ini(m_settingsPath);
    m_table->setGlobalTagId(TAddingPrefs::loadGlobalTagId(ini));
    m_recent = TRecentFiles::load(ini);
    setFilterExpression(QString());
    emit recentFilesChanged();
}

TStartupFile TAddressSession::chooseStartupFile()
{
    TStartupFile choice;
    if (!m_recent.isEmpty()) {
        choice.path = m_recent.first();
        return choice;
    }
    const QString path = TFileCase::resolve(programFolder(), QStringLiteral("DATA/add0001.DBF"));
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        TIniFile ini(m_settingsPath);
        choice.created = TAddressTable::CreateAddressFile(path, TFieldLengths::load(ini));
        if (!choice.created)
            return choice;
    }
    choice.path = path;
    return choice;
}

// ---- The open file ------------------------------------------------------------------------

TOpenResult TAddressSession::open(const QString &path)
{
    TOpenResult result;
    if (path.isEmpty())
        return result;
    TFreezeGuard frozen(*m_table);
    if (m_table->isOpen())
        (void)m_table->setQuery(QString()); // the file closes next; its query goes with it
    const TResult opened = m_table->OpenTableFile(path);
    if (!opened) {
        m_indexValid = false;
        m_orderTag.clear();
        result.reason = opened;
        if (opened.isNotFound() && !opened.message.isEmpty())
            result.messages.append(opened.message);
        result.messages.append(unableToOpen(path));
        emit fileChanged();
        emit orderChanged();
        return result;
    }
    // The file itself opened: it heads the recent list, whatever becomes of its indexes.
    {
        TIniFile ini(m_settingsPath);
        m_recent = TRecentFiles::added(TRecentFiles::load(ini), path);
        // A settings file that cannot be written keeps the list for this run only.
        (void)TRecentFiles::save(ini, m_recent);
    }
    emit recentFilesChanged();
    m_indexValid = m_table->CheckValidIndex();
    if (!m_indexValid) {
        result.outcome = TOpenOutcome::NeedsRebuild;
        emit fileChanged();
        return result;
    }
    showOpenFile();
    result.outcome = TOpenOutcome::Opened;
    emit fileChanged();
    return result;
}

bool TAddressSession::finishOpen()
{
    m_indexValid = m_table->CheckValidIndex();
    if (!m_indexValid) {
        close();
        return false;
    }
    showOpenFile();
    emit fileChanged();
    return true;
}

void TAddressSession::abandonOpen()
{
    close();
}

void TAddressSession::afterRebuild()
{
    if (!m_table->isOpen())
        return;
    TFreezeGuard frozen(*m_table);
    m_indexValid = m_table->CheckValidIndex();
    setOrderTag(m_orderTag.isEmpty() ? kFirstOrder : m_orderTag);
    applyCriteria(m_criteria);
    (void)m_table->first(); // nothing visible leaves the table at its end
    emit fileChanged();
}

void TAddressSession::close()
{
    m_table->close();
    m_indexValid = false;
    m_orderTag.clear();
    emit fileChanged();
    emit orderChanged();
}

void TAddressSession::showOpenFile()
{
    // The form shows once, at the first record, after order and query are set: counting the
    // records of a large file without its query would read every record.
    TFreezeGuard frozen(*m_table);
    applyCriteria(m_criteria);
    setOrderTag(kFirstOrder);
    (void)m_table->first(); // an empty file or a filter showing nothing leaves no record: fine
}

// ---- Filter -------------------------------------------------------------------------------

QString TAddressSession::recordQuery() const
{
    return TRecordQuery::queryFor(m_filterExpression);
}

void TAddressSession::setFilterExpression(const QString &expression)
{
    m_filterExpression = expression;
    emit filterChanged();
}

TFilterOutcome TAddressSession::applyCriteria(TFilterCriteria &criteria)
{
    TFilterTargetOf<TAddressTable> target(*m_table);
    const TFilterOutcome outcome = TRecordQuery::apply(criteria, m_table->globalTagId(), target);
    // A dropped filter leaves the criteria cleared, so the expression is empty again.
    setFilterExpression(criteria.BuildQueryString(m_table->globalTagId()));
    return outcome;
}

TFilterOutcome TAddressSession::setCriteria(const TFilterCriteria &criteria)
{
    m_criteria = criteria;
    if (!m_table->isOpen()) {
        setFilterExpression(m_criteria.BuildQueryString(m_table->globalTagId()));
        return {};
    }
    TFreezeGuard frozen(*m_table);
    const TFilterOutcome outcome = applyCriteria(m_criteria);
    (void)m_table->first(); // nothing visible: the table stays at its end
    return outcome;
}

TFilterOutcome TAddressSession::clearFilter()
{
    TFilterCriteria cleared = m_criteria;
    cleared.ClearQueryVars();
    return setCriteria(cleared);
}

TFilterOutcome TAddressSession::reapplyFilter()
{
    if (!m_table->isOpen())
        return {};
    TFreezeGuard frozen(*m_table);
    const quint32 record = m_table->hasRecord() ? m_table->recno() : 0;
    const TFilterOutcome outcome = applyCriteria(m_criteria);
    // A record the filter no longer shows, or one that cannot be read, gives way to the first.
    if (record == 0 || !m_table->goTo(record))
        (void)m_table->first();
    return outcome;
}

TFilterOutcome TAddressSession::testCriteria(TFilterCriteria &criteria)
{
    if (!m_table->isOpen())
        return {};
    TFreezeGuard frozen(*m_table);
    TFilterTargetOf<TAddressTable> target(*m_table);
    const TFilterOutcome outcome = TRecordQuery::apply(criteria, m_table->globalTagId(), target);
    (void)m_table->first();
    return outcome;
}

// ---- Order --------------------------------------------------------------------------------

bool TAddressSession::setOrderTag(const QString &tagName)
{
    const TSortOrder *order = TSortOrders::byTag(tagName);
    if (!order)
        return false;
    // An engine error here is ignored: the records keep their order.
    (void)m_table->setOrderTag(order->tag);
    m_orderTag = order->tag;
    emit orderChanged();
    return true;
}

// ---- Live flag ----------------------------------------------------------------------------

void TAddressSession::setLive(bool live)
{
    if (live == m_live)
        return;
    m_live = live;
    emit liveChanged(live);
}

TAddressSession::ToolGuard::ToolGuard(TAddressSession &session)
    : m_session(session), m_wasLive(session.isLive())
{
    m_session.table().freeze();
    m_session.setLive(false);
}

TAddressSession::ToolGuard::~ToolGuard()
{
    // Live again before the display thaws, so the announcement of the thaw refreshes the form.
    m_session.setLive(m_wasLive);
    m_session.table().unfreeze();
}

// ---- Printing -----------------------------------------------------------------------------

TPrinterService &TAddressSession::printerService()
{
    if (!m_printerService) {
        if (m_printerServiceMaker)
            m_printerService = m_printerServiceMaker();
        if (!m_printerService)
            m_printerService =
                std::make_unique<TPdfPrinterService>(programFolder() + QStringLiteral("Corvantis.pdf"));
    }
    return *m_printerService;
}

void TAddressSession::setPrinterServiceMaker(std::function<std::unique_ptr<TPrinterService>()> maker)
{
    m_printerServiceMaker = std::move(maker);
}

void TAddressSession::setPrinterService(std::unique_ptr<TPrinterService> service)
{
    m_printerService = std::move(service);
}

THandOverRefusal TAddressSession::checkPrinters()
{
    TPrinterService &service = printerService();
    if (service.printerNames().isEmpty())
        return THandOverRefusal::NoPrinters;
    if (service.selectedPrinter() < 0) {
        service.setSelectedPrinter(service.selectedPrinter());
        if (service.selectedPrinter() < 0)
            return THandOverRefusal::NoDefaultPrinter;
    }
    return THandOverRefusal::None;
}

// ---- Snapshot and hand-over ---------------------------------------------------------------

TSessionSnapshot TAddressSession::snapshot()
{
    TSessionSnapshot s;
    s.hadRecord = m_table->hasRecord();
    s.recno = s.hadRecord ? m_table->recno() : 0;
    s.query = m_table->query();
    s.folder = QDir::currentPath();
    // Only a service already made has a selection; asking would make one.
    s.printer = m_printerService ? m_printerService->selectedPrinter() : -1;
    s.compositeFields = m_table->compositeFieldsOn();
    return s;
}

void TAddressSession::restore(const TSessionSnapshot &s, const TRestoreParts &parts)
{
    TFreezeGuard frozen(*m_table);
    // The order comes back before the record is looked for. An engine error is ignored, as
    // in setOrderTag().
    if (m_table->isOpen())
        (void)m_table->setOrderTag(m_orderTag);
    m_table->setCompositeFieldsOn(s.compositeFields);
    if (parts.query && m_table->isOpen()) {
        // The query was in force before, so the engine takes it again; a scope the window set
        // goes with it.
        (void)m_table->setQuery(s.query);
        (void)m_table->engine().setScope({}, {});
    }
    if (parts.folder)
        QDir::setCurrent(s.folder);
    if (parts.printer && s.printer >= 0)
        printerService().setSelectedPrinter(s.printer);
    // A record the window deleted or filtered away leaves the first visible one current.
    if (parts.record && s.hadRecord && !m_table->goTo(s.recno))
        (void)m_table->first();
}

THandOverRefusal TAddressSession::handOver(const THandOver &needs,
                                           const std::function<void(TAddressSession &)> &window)
{
    if (m_table->isEditing())
        return THandOverRefusal::Editing;
    if (needs.needsFile && !m_table->isOpen())
        return THandOverRefusal::NoFile;
    if (needs.needsRecords && !m_table->hasRecord())
        return THandOverRefusal::NoRecords;
    if (needs.printerCheck) {
        const THandOverRefusal printers = checkPrinters();
        if (printers != THandOverRefusal::None)
            return printers;
    }

    const TSessionSnapshot before = snapshot();
    {
        std::optional<ToolGuard> tool;
        if (needs.freeze)
            tool.emplace(*this);
        if (needs.queryDuring && m_table->isOpen()) {
            // A query the engine refuses leaves the user's query in force for the window.
            (void)m_table->setQuery(*needs.queryDuring);
        }
        if (needs.compositeFields)
            m_table->setCompositeFieldsOn(true);

        window(*this);

        TRestoreParts parts;
        parts.record = needs.keepRecord && !needs.firstRecord;
        parts.query = needs.keepQuery;
        parts.folder = needs.keepFolder;
        parts.printer = needs.keepPrinter;
        restore(before, parts);
        // The filter was in force before the window, so applying it again can only drop one
        // that now shows nothing, which happens without a message.
        if (needs.reapplyFilter)
            (void)reapplyFilter();
        if (needs.firstRecord)
            (void)m_table->first();
    }
    emit orderChanged();
    return THandOverRefusal::None;
}
