#include "TTagCommands.h"

#include "TAddingPrefs.h"
#include "TAddressTable.h"
#include "TAddressTagTarget.h"
#include "TFreezeGuard.h"
#include "TGlobalTagId.h"
#include "TIniFile.h"

TTagCommands::TTagCommands(TAddressTable &table, QString settingsPath, TTagHooks hooks)
    : m_table(table), m_settingsPath(std::move(settingsPath)), m_hooks(std::move(hooks))
{
}

void TTagCommands::setLive(bool live) const
{
    if (m_hooks.setLive)
        m_hooks.setLive(live);
}

TResult TTagCommands::ToggleTag()
{
    if (!m_table.isOpen() || (!m_table.hasRecord() && !m_table.isEditing()))
        return TResult::success();
    const bool startsEdit = !m_table.isEditing();
    if (startsEdit)
        setLive(false);
    const QString id = m_table.globalTagId();
    const QString tag = m_table.value(QStringLiteral("TAG")) == id ? QString() : id;
    TResult result = m_table.setValue(QStringLiteral("TAG"), tag);
    if (!startsEdit)
        return result;
    if (result.ok)
        result = m_table.post();
    if (!result.ok)
        m_table.cancelEdit(); // never leave half of a change behind
    setLive(true);
    if (!result.ok && m_hooks.information)
        m_hooks.information(result.message);
    if (m_table.visibleCount() == 0)
        call(m_hooks.reapplyFilter);
    call(m_hooks.refreshForm);
    return result;
}

TResult TTagCommands::ClearTags()
{
    // Identifiers come from the clock to the second. A new one is never one this run made
    // before, nor the current one: two clears within a second would otherwise bring back the
    // identifier, and with it the tags, of the first. Such a clear takes a later second.
    QDateTime moment = m_clock ? m_clock() : QDateTime::currentDateTime();
    if (m_lastMoment.isValid() && moment <= m_lastMoment)
        moment = m_lastMoment.addSecs(1);
    QString id = TGlobalTagId::make(moment);
    while (id == m_table.globalTagId()) {
        moment = moment.addSecs(1);
        id = TGlobalTagId::make(moment);
    }
    m_lastMoment = moment;
    TIniFile ini(m_settingsPath);
    const bool stored = TAddingPrefs::saveGlobalTagId(ini, id);
    m_table.setGlobalTagId(id);
    call(m_hooks.reapplyFilter);
    call(m_hooks.refreshForm);
    if (stored)
        return TResult::success();
    if (m_hooks.information)
        m_hooks.information(settingsFailedMessage());
    return TResult::failure(settingsFailedMessage());
}

bool TTagCommands::TagAllFilterMatches()
{
    if (!m_table.isOpen() || m_table.isEditing())
        return false;
    if (m_hooks.ask && !m_hooks.ask(tagAllCaption(), tagAllQuestion()))
        return false;
    setLive(false);
    {
        TFreezeGuard frozen(m_table);
        TAddressTagTarget target(m_table);
        if (m_hooks.runTagging)
            m_hooks.runTagging(target);
    }
    setLive(true);
    if (m_table.visibleCount() == 0)
        call(m_hooks.reapplyFilter);
    (void)m_table.first(); // nothing visible leaves the table at its end
    call(m_hooks.refreshForm);
    return true;
}
