// Helpers of the tagging tests: the stored TAG of any record, and a target whose tagging fails
// at a chosen record.
#pragma once

#include "TAddressTable.h"
#include "TTagTarget.h"

#include <QList>
#include <QString>

#include <string>

namespace tagtest {

// The TAG stored in record `recno`, visible or not. Moves the table.
inline QString storedTag(TAddressTable &table, quint32 recno)
{
    std::string out;
    if (!table.engine().go(recno).ok() || !table.engine().fieldValue("TAG", out).ok())
        return QStringLiteral("?");
    return QString::fromStdString(out).trimmed();
}

// Records 1..count in order, each tagged in memory; tagging record `failAt` fails.
class FailingTarget : public TTagTarget
{
public:
    FailingTarget(int count, int failAt) : tagged(count + 1, false), m_count(count), m_failAt(failAt) {}

    void freeze() override { ++frozen; }
    void unfreeze() override { --frozen; }
    bool first() override { return (m_at = m_count > 0 ? 1 : 0) != 0; }
    bool next() override
    {
        if (m_at == 0 || m_at >= m_count)
            return false;
        ++m_at;
        return true;
    }
    quint32 recno() const override { return quint32(m_at); }
    bool goTo(quint32 recno) override
    {
        if (recno < 1 || int(recno) > m_count)
            return false;
        m_at = int(recno);
        return true;
    }
    TResult tagCurrent() override
    {
        if (m_at == m_failAt)
            return TResult::failure(QStringLiteral("Disk full"));
        tagged[m_at] = true;
        return TResult::success();
    }

    QList<bool> tagged; // by record number
    int frozen = 0;

private:
    int m_count;
    int m_failAt;
    int m_at = 0;
};

} // namespace tagtest
