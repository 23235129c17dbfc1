// Adding, saving, cancelling, deleting and cloning records of the open address file, with the
// adding preferences: carried values, the city and state looked up by ZIP, the duplicate-name
// look-up, the default country and date, where the focus goes and which boxes Tab skips.
// No windows: questions go through the functions the caller hands in. The main window owns one
// instance over its table.
#pragma once

#include "TAddingPrefs.h"
#include "TResult.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class TAddressTable;

// The values of the record that was current when an add started.
struct TCarryValues {
    QString org, city, state, zip, street, street2, country;
};

// What the "New Record" window gave (empty texts for boxes it did not show), and the city and
// state the ZIP look-up found for it (empty until lookUpCityState() found them).
struct TNewRecordAnswers {
    QString lname, fname, zip;
    QString city, state;
};

class TRecordEditor
{
public:
    explicit TRecordEditor(TAddressTable &table);

    void setPrefs(const TAddingPrefs &prefs) { m_prefs = prefs; }
    const TAddingPrefs &prefs() const { return m_prefs; }
    // Re-applies the filter; called when a post or a delete leaves no record visible.
    void setFilterReapplier(std::function<void()> reapply) { m_reapplyFilter = std::move(reapply); }

    // ---- Adding ---------------------------------------------------------------------

    // The current record's ORG, CITY, STATE, ZIP, STREET, STREET2, and COUNTRY only when
    // CarryCountry is set. All empty when no record is shown.
    TCarryValues carryValues() const;

    // The CITY and STATE of the first visible record, in ZIP order, whose ZIP begins with `zip`
    // (any case). False, with both left alone, when there is none. Order, Exact setting and
    // record are put back afterwards.
    bool FillCityState(const QString &zip, QString &city, QString &state);

    // The record holding exactly this name, and the question to ask about it. recno 0 (no
    // question) when either name is empty or no record has it. Order and Exact are put back;
    // the table is left on the record it was on.
    struct Duplicate {
        quint32 recno = 0;
        QString question;
    };
    Duplicate findDuplicateName(const QString &first, const QString &last);

    // The ZIP look-up of an add: with PlugCityState and a ZIP, the city and state of the first
    // record in ZIP order whose ZIP begins with it go into `answers` (FillCityState). It runs
    // before the duplicate-name test, so the record a No leaves current is not moved again.
    // False, with `answers` unchanged, when nothing was looked up or found.
    bool lookUpCityState(TNewRecordAnswers &answers);

    // The look-up above with its question: `askContinue` gets the question text and answers
    // Yes (true) or No. No duplicate or Yes: true, on the record that was current. No: false,
    // with the duplicate current.
    bool CheckDupName(const QString &first, const QString &last,
                      const std::function<bool(const QString &question)> &askContinue);

    // Starts a new record and fills it from the answers (the ZIP with the city and state
    // looked up for it), the carried values and the defaults. The record stays unposted (the
    // table is inserting). A failure cancels the insert and leaves the table as it was.
    TResult insertNewRecord(const TNewRecordAnswers &answers, const TCarryValues &carry, const QDate &today);

    // The field whose box takes the focus after an add has started: LNAME, FNAME, the first of
    // MIDDLE, PREFIX, TITLE, ORG that is not skipped, else STREET.
    QString focusFieldAfterAdd() const;

    // The fields whose boxes lose their Tab stop while a new record is edited ("DATE" stands
    // for the date box).
    static QStringList skippedFields(const TAddingPrefs &prefs);

    // ---- Saving and the rest --------------------------------------------------------

    // The memo text as it is stored: line breaks as CR LF and, when that text is not empty and
    // its length is a multiple of 4, one blank added to its last line.
    static QString storedMemo(const QString &memoText);

    // Writes the boxes' texts (field name to text; DATE as "YYYYMMDD") that differ from the
    // record, and the memo, then posts. On failure the edit stays open with every value set so
    // far, and the message says why. With no record visible afterwards the filter is re-applied.
    TResult save(const QMap<QString, QString> &fields, const QString &memoText);

    // Drops the edit or the insert.
    void cancel();

    // Marks the current record deleted (the delete mark and ISDEL), then goes to the previous
    // visible record (the first one when it was the first). With no record visible afterwards
    // the filter is re-applied. A failure leaves the record as it was, or marked and hidden.
    TResult deleteCurrent();

    // Adds a copy of the current record (every field but ISDEL and TAG, and the memo) and posts
    // it; the copy becomes current. A failure leaves the file without the copy.
    TResult cloneCurrent();

    // Puts `date` into DATE as "YYYYMMDD" (an invalid date empties it), starting an edit when
    // none is running. The record stays unsaved.
    TResult setDate(const QDate &date);

private:
    void reapplyFilterWhenNothingVisible();
    // Appends a blank record and fills the non-empty values; a value the table refuses
    // cancels the append, so no half-filled record stays.
    TResult appendWith(const QMap<QString, QString> &values);

    TAddressTable &m_table;
    TAddingPrefs m_prefs;
    std::function<void()> m_reapplyFilter;
};
