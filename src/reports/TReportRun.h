// The table side of one report run: the run sorts the session's table by the report's order,
// shows the chosen records and starts at the chosen one; when the run object goes away the
// table's order, query and record are put back, whether the run finished, stopped or was
// aborted. The report window and the batch run create one per run, on the stack.
#pragma once

#include "TOutputRecords.h"

#include <QString>

class TAddressSession;

class TReportRun
{
public:
    // Remembers the table's order, query and current record. Requires: a file is open.
    explicit TReportRun(TAddressSession &session);
    ~TReportRun();
    TReportRun(const TReportRun &) = delete;
    TReportRun &operator=(const TReportRun &) = delete;

    // Sorts by `orderTag` (empty keeps the order) and applies `choice` from the remembered
    // record. Every record the choice shows is printed from where the run starts: no record
    // is skipped for the way its key sorts.
    TOutputStart start(const QString &orderTag, const TOutputRecordsChoice &choice);

    // The record that was current when the run began (0 when none was).
    quint32 rememberedRecord() const { return m_recno; }

private:
    TAddressSession &m_session;
    QString m_order;
    QString m_query;
    quint32 m_recno = 0;
};
