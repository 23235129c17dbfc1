#include "TReportRun.h"

#include "TAddressSession.h"

TReportRun::TReportRun(TAddressSession &session) : m_session(session)
{
    TAddressTable &table = session.table();
    m_order = table.orderTag();
    m_query = table.query();
    m_recno = table.hasRecord() ? table.recno() : 0;
}

TReportRun::~TReportRun()
{
    TAddressTable &table = m_session.table();
    if (!table.isOpen())
        return;
    // Each of these put back a state the table had moments ago, so a failure is left alone:
    // the table then shows the run's state, and the hand-over restores the session's again.
    if (table.orderTag() != m_order)
        (void)table.setOrderTag(m_order);
    if (table.query() != m_query)
        (void)table.setQuery(m_query);
    if (m_recno > 0)
        (void)table.goTo(m_recno);
}

TOutputStart TReportRun::start(const QString &orderTag, const TOutputRecordsChoice &choice)
{
    TAddressTable &table = m_session.table();
    if (!orderTag.isEmpty() && table.orderTag().compare(orderTag, Qt::CaseInsensitive) != 0) {
        const TResult sorted = table.setOrderTag(orderTag);
        if (!sorted) {
            TOutputStart failed;
            failed.result = sorted;
            return failed;
        }
    }
    return TOutputRecords::apply(m_session, choice, m_recno);
}
