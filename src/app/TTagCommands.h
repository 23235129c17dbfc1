// The tagging commands of the main window: toggling the current record's tag, "Clear &Tags"
// and "&Tag All Filter Matches". The record work is done here; what the main window does
// around it (its live flag, the filter, the form, boxes and the "Tagging" window) comes in
// through hooks. The main window owns one instance for its table.
#pragma once

#include "TResult.h"

#include <QDateTime>
#include <QString>

#include <functional>

class TAddressTable;
class TTagTarget;

// What the main window does for the commands. Every hook may be empty.
struct TTagHooks {
    std::function<void(bool live)> setLive; // the main window's live flag
    std::function<void()> reapplyFilter;    // apply the filter again (drops one matching nothing)
    std::function<void()> refreshForm;      // show the current record again (and SetButtons)
    std::function<void(const QString &text)> information; // a notice ("Information")
    // A Yes/No question; true on Yes. Empty counts as Yes.
    std::function<bool(const QString &caption, const QString &text)> ask;
    // Runs the "Tagging" window modally over `target`.
    std::function<void(TTagTarget &target)> runTagging;
};

class TTagCommands
{
public:
    // `settingsPath` is the settings file the tag identifier is stored in.
    TTagCommands(TAddressTable &table, QString settingsPath, TTagHooks hooks = {});

    TTagHooks &hooks() { return m_hooks; }
    // The clock new identifiers are made from (tests); the current local time unless set.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Toggles the current record's tag: TAG becomes empty when it equals the tag identifier,
    // else the identifier. Outside an edit the record is edited and posted at once, with the
    // window not live meanwhile; a post that fails drops the edit (the record stays as it
    // was), shows the message and returns it. During an edit the change joins the edit and
    // nothing is written. When no record is visible afterwards, the filter is applied again.
    // The form is refreshed after a post; during an edit only the "Tagged" box needs to be
    // shown again (TAddressTable::isTagged() reads the edit). Does nothing without a record.
    TResult ToggleTag();

    // Voids every tag: a new identifier (never the current one nor one made earlier in the run,
    // even within the same second), stored as GlobalTagId in the settings file and set on the table, then the
    // filter applied again and the form refreshed. No record is written. When the settings
    // file cannot be written the new identifier still holds for this run; a notice says so
    // and the result carries it.
    TResult ClearTags();

    // "&Tag All Filter Matches": asks "Tag all records matching filter?" ("TAG ALL"); on Yes,
    // with the window not live and the display frozen, runs the "Tagging" window over the
    // visible records, then unfreezes, marks the window live, applies the filter again when
    // the tagging left no record visible, goes to the first record and refreshes the form.
    // Does nothing while a record is being edited or no file is open. True when it ran.
    bool TagAllFilterMatches();

    static QString tagAllQuestion() { return QStringLiteral("Tag all records matching filter?"); }
    static QString tagAllCaption() { return QStringLiteral("TAG ALL"); }
    static QString settingsFailedMessage()
    {
        return QStringLiteral("The new tag identifier could not be stored in the settings file");
    }

private:
    void call(const std::function<void()> &hook) const
    {
        if (hook)
            hook();
    }
    void setLive(bool live) const;

    TAddressTable &m_table;
    QString m_settingsPath;
    TTagHooks m_hooks;
    std::function<QDateTime()> m_clock;
    QDateTime m_lastMoment; // the moment of the last identifier made
};
