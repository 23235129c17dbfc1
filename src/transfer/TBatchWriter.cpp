#include "TBatchWriter.h"

#include "Table.h"

#include <utility>

TBatchWriter::TBatchWriter(xbase::Table &target) : m_target(target), m_thread([this] { run(); }) {}

TBatchWriter::~TBatchWriter()
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return !m_busy; });
        m_stop = true;
    }
    m_work.notify_one();
    m_thread.join();
}

xbase::Status TBatchWriter::handOver(TRecordBatch &batch)
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return !m_busy; });
        if (!m_failure.ok())
            return m_failure;
        m_handed += batch.count;
        std::swap(m_batch, batch);
        m_busy = true;
    }
    m_work.notify_one();
    batch.clear();
    return xbase::Status::Ok();
}

xbase::Status TBatchWriter::wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return !m_busy; });
    return m_failure;
}

qint64 TBatchWriter::written()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_written;
}

void TBatchWriter::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_busy || m_stop; });
        if (!m_busy)
            return;
        lock.unlock();
        uint32_t stored = 0;
        const xbase::Status s = write(stored);
        lock.lock();
        m_written += stored;
        if (!s.ok() && m_failure.ok())
            m_failure = s;
        m_busy = false;
        m_done.notify_all();
    }
}

xbase::Status TBatchWriter::write(uint32_t &stored)
{
    if (m_batch.count == 0)
        return xbase::Status::Ok();
    const size_t length = m_target.recordLength();
    char *records = &m_batch.records[0];
    for (const TRecordBatch::Memo &m : m_batch.memos) {
        const xbase::Status s = m_target.putMemo(records + m.record * length, m.field, m.text);
        if (!s.ok()) {
            // The records before the one whose memo failed are kept, with their memos.
            if (m.record > 0 && m_target.appendRecords(records, m.record).ok())
                stored = m.record;
            return s;
        }
    }
    XBASE_TRY(m_target.appendRecords(records, m_batch.count));
    stored = m_batch.count;
    return xbase::Status::Ok();
}
