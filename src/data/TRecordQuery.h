// The record query in force on the open address file: "!ISDEL", joined with the filter
// expression when a filter is set, and the rules for applying the filter criteria to the
// table. Stateless; the main window calls it after every change of the criteria, after the
// tools and after a file opens, and the filter window calls it for "Test".
#pragma once

#include "TFilterCriteria.h"

#include <QString>

#include <string>

namespace xbase {
class Table;
}

// What the filter acts on: a table that takes a query and counts what it shows.
class TFilterTarget
{
public:
    virtual ~TFilterTarget() = default;
    // Shows only records for which `expr` holds; false when the expression is refused (the
    // old query then stays).
    virtual bool setQuery(const QString &expr) = 0;
    // Records the query and the delete marks let through.
    virtual qint64 visibleCount() = 0;
};

// The target for any table class with setQuery(QString) -> bool (or a result testing as one) and
// visibleCount() -> qint64 (the main window's open address table). Holds a reference; the table must outlive
// it.
template <class Table> class TFilterTargetOf : public TFilterTarget
{
public:
    explicit TFilterTargetOf(Table &table) : m_table(table) {}
    bool setQuery(const QString &expr) override { return static_cast<bool>(m_table.setQuery(expr)); }
    qint64 visibleCount() override { return static_cast<qint64>(m_table.visibleCount()); }

private:
    Table &m_table;
};

// The target for an engine table directly.
class TEngineFilterTarget : public TFilterTarget
{
public:
    explicit TEngineFilterTarget(xbase::Table &table) : m_table(table) {}
    bool setQuery(const QString &expr) override;
    qint64 visibleCount() override;
    // The engine's reason for the last refused query or failed count.
    const std::string &lastError() const { return m_lastError; }

private:
    xbase::Table &m_table;
    std::string m_lastError;
};

// The result of applying the filter.
struct TFilterOutcome {
    // Records the filter shows; 0 when no filter is in force afterwards.
    qint64 count = 0;
    // The text to show in a message box ("" for none).
    QString message;
    // True when the criteria were cleared because the filter could not be kept.
    bool dropped = false;
};

class TRecordQuery
{
public:
    // The query while no filter is set: every record not soft-deleted.
    static QString baseQuery() { return QStringLiteral("!ISDEL"); }
    // Longer filters would make the query pass the 255 characters an expression may hold.
    static constexpr int kMaxFilterLength = 243;

    // The query for a filter expression: "!ISDEL" for an empty one, else
    // filter + ".and. !ISDEL".
    static QString queryFor(const QString &filter);

    // Applies the criteria to `target`:
    // - no filter set: the query "!ISDEL", count 0;
    // - a filter longer than kMaxFilterLength: the message "Sorry - filter is too
    //   complex.Please simplify it.", the query "!ISDEL", the criteria cleared, count 0;
    // - otherwise the filter's query; when it shows nothing, the criteria are cleared and the
    //   query "!ISDEL" set without a message (count 0); else the count.
    // A query the engine refuses is dropped like a filter that shows nothing, with a message.
    static TFilterOutcome apply(TFilterCriteria &criteria, const QString &globalTagId, TFilterTarget &target);

    // The filter status of the main window's status line: n + " filter matches" while a
    // filter is set, n + " records (no filter)" while none is set and records are visible,
    // "No records" otherwise.
    static QString statusText(bool filterSet, qint64 visible);
};
