#include "TRecordQuery.h"

#include "TCp1252.h"

#include "Table.h"

bool TEngineFilterTarget::setQuery(const QString &expr)
{
    const QByteArray bytes = TCp1252::fromString(expr);
    const xbase::Status s =
        m_table.setQuery(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    m_lastError = s.ok() ? std::string() : s.message();
    return s.ok();
}

qint64 TEngineFilterTarget::visibleCount()
{
    uint64_t n = 0;
    const xbase::Status s = m_table.queryCount(n);
    m_lastError = s.ok() ? std::string() : s.message();
    return s.ok() ? static_cast<qint64>(n) : 0;
}

QString TRecordQuery::queryFor(const QString &filter)
{
    if (filter.isEmpty())
        return baseQuery();
    return filter + QStringLiteral(".and. ") + baseQuery();
}

TFilterOutcome TRecordQuery::apply(TFilterCriteria &criteria, const QString &globalTagId,
                                   TFilterTarget &target)
{
    TFilterOutcome outcome;
    const QString filter = criteria.BuildQueryString(globalTagId);
    auto drop = [&](const QString &message) {
        target.setQuery(baseQuery());
        criteria.ClearQueryVars();
        outcome.count = 0;
        outcome.message = message;
        outcome.dropped = true;
        return outcome;
    };
    if (filter.isEmpty()) {
        target.setQuery(baseQuery());
        return outcome;
    }
    if (filter.size() > kMaxFilterLength)
        return drop(QStringLiteral("Sorry - filter is too complex.Please simplify it."));
    if (!target.setQuery(queryFor(filter)))
        return drop(QStringLiteral("Unable to apply the filter."));
    const qint64 n = target.visibleCount();
    if (n <= 0)
        return drop(QString());
    outcome.count = n;
    return outcome;
}

QString TRecordQuery::statusText(bool filterSet, qint64 visible)
{
    if (filterSet)
        return QString::number(visible) + QStringLiteral(" filter matches");
    if (visible > 0)
        return QString::number(visible) + QStringLiteral(" records (no filter)");
    return QStringLiteral("No records");
}
