#include "TImportSink.h"

#include "TImportOutcome.h"

#include "TAddressTable.h"

#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

bool TImportGauge::report(int percent)
{
    if (percent > m_last)
        m_rises += percent - m_last;
    m_last = percent;
    const int position = std::min(100, static_cast<int>(std::lround(static_cast<double>(m_rises) / 18.0)));
    if (position != m_position && (m_position < 100)) {
        m_position = position;
        if (m_show)
            m_show(position);
    }
    return true;
}

namespace {

// The bytes of posted records gathered before they are written in one call.
constexpr size_t kBatchBytes = size_t(1) << 20;

} // namespace

// The thread that writes the batches: one batch at a time, the memos of its records first
// (each record then points at its memo's blocks), then its records in one append. After a
// failure it writes nothing more and answers that failure.
class TImportSink::Writer
{
public:
    explicit Writer(xbase::Table &engine) : m_engine(engine), m_thread([this] { run(); }) {}
    ~Writer()
    {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_done.wait(lock, [this] { return !m_busy; });
            m_stop = true;
        }
        m_work.notify_one();
        m_thread.join();
    }

    // Waits for the batch before; when it was written, takes `batch` to write (and hands back
    // the emptied buffers of the one before in its place), else answers its failure.
    xbase::Status handOver(Batch &batch)
    {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_done.wait(lock, [this] { return !m_busy; });
            if (!m_failure.ok())
                return m_failure;
            std::swap(m_batch, batch);
            m_busy = true;
        }
        m_work.notify_one();
        batch.records.clear();
        batch.count = 0;
        batch.memos.clear();
        return xbase::Status::Ok();
    }

    // Waits until the batch handed over is written; the first failure, if any.
    xbase::Status wait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [this] { return !m_busy; });
        return m_failure;
    }

    // Records in the file; only meaningful after wait().
    qint64 written()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_written;
    }

private:
    void run()
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

    // Writes m_batch; `stored` says how many of its records reached the file.
    xbase::Status write(uint32_t &stored)
    {
        const size_t length = m_engine.recordLength();
        char *records = &m_batch.records[0];
        for (const BatchMemo &m : m_batch.memos) {
            const xbase::Status s = m_engine.putMemo(records + m.record * length, m.field, m.text);
            if (!s.ok()) {
                // The records before the one whose memo failed are kept, with their memos.
                if (m.record > 0 && m_engine.appendRecords(records, m.record).ok())
                    stored = m.record;
                return s;
            }
        }
        XBASE_TRY(m_engine.appendRecords(records, m_batch.count));
        stored = m_batch.count;
        return xbase::Status::Ok();
    }

    xbase::Table &m_engine;
    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    Batch m_batch;
    bool m_busy = false;
    bool m_stop = false;
    xbase::Status m_failure;
    qint64 m_written = 0;
    std::thread m_thread; // last: started once the members it uses are made
};

TImportSink::TImportSink(TAddressTable &table) : m_table(table) {}

TImportSink::~TImportSink() = default;

qint64 TImportSink::written()
{
    if (!m_writer)
        return 0;
    (void)m_writer->wait(); // its failure is answered where the batch was handed over
    return m_writer->written();
}

TResult TImportSink::begin()
{
    xbase::Table &engine = m_table.engine();
    if (!engine.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    const TResult query = m_table.setQuery(QString());
    if (!query.ok)
        return query;
    if (engine.isEditing())
        engine.cancelEdit();
    m_recordLength = engine.recordLength();
    m_batch.records.reserve(kBatchBytes + m_recordLength);
    return TResult::fromStatus(engine.closeIndexes(true));
}

TResult TImportSink::append()
{
    if (m_recordLength == 0)
        return TResult::failure(QStringLiteral("No file is open"));
    cancel();
    m_batch.records.append(m_recordLength, ' ');
    m_filling = true;
    return TResult::success();
}

TResult TImportSink::set(int index, std::string_view bytes)
{
    if (bytes.empty())
        return TResult::success();
    if (!m_filling)
        return TResult::failure(QStringLiteral("No record is being imported"));
    xbase::Table &engine = m_table.engine();
    const xbase::FieldDescriptor &f = engine.schema().field(index);
    if (f.type == 'C' && bytes.size() > f.length) {
        bytes = bytes.substr(0, f.length);
        ++m_cut;
    }
    if (f.type == 'M')
        return setMemo(index, bytes);
    const xbase::Status s = engine.putField(current(), index, bytes);
    if (!s.ok() && s.code() == xbase::StatusCode::InvalidArgument) {
        // A value that does not fit a typed field (a date or logical that is not one) is
        // counted as cut and left as the append made it.
        ++m_cut;
        return TResult::success();
    }
    return TResult::fromStatus(s);
}

TResult TImportSink::setMemo(int index, std::string_view bytes)
{
    if (bytes.empty())
        return TResult::success();
    if (!m_filling)
        return TResult::failure(QStringLiteral("No record is being imported"));
    for (auto &m : m_memos)
        if (m.first == index) {
            m.second.assign(bytes.data(), bytes.size());
            return TResult::success();
        }
    m_memos.emplace_back(index, std::string(bytes));
    return TResult::success();
}

TResult TImportSink::post()
{
    if (!m_filling)
        return TResult::failure(QStringLiteral("No record is being imported"));
    for (auto &m : m_memos)
        if (!m.second.empty())
            m_batch.memos.push_back({m_batch.count, m.first, std::move(m.second)});
    m_memos.clear();
    m_filling = false;
    ++m_batch.count;
    if (m_batch.records.size() >= kBatchBytes)
        return flushBatch();
    return TResult::success();
}

TResult TImportSink::flushBatch()
{
    cancel();
    if (m_batch.count == 0)
        return TResult::success();
    if (!m_writer)
        m_writer = std::make_unique<Writer>(m_table.engine());
    const uint32_t n = m_batch.count;
    const xbase::Status s = m_writer->handOver(m_batch);
    if (!s.ok()) {
        // Nothing more is written: the records waiting are dropped.
        m_batch.records.clear();
        m_batch.count = 0;
        m_batch.memos.clear();
        return TResult::fromStatus(s);
    }
    m_handed += n;
    return TResult::success();
}

void TImportSink::cancel()
{
    if (m_filling) {
        m_batch.records.resize(m_batch.records.size() - m_recordLength);
        m_filling = false;
    }
    m_memos.clear();
}

TResult TImportSink::rebuild(xbase::ProgressHook *progress)
{
    cancel();
    if (m_writer)
        (void)m_writer->wait(); // the tags are built over every record written
    return m_table.CreateAddressTags(progress);
}

void TImportSink::end(TImportOutcome &out, xbase::ProgressHook *progress)
{
    TResult flushed = flushBatch();
    if (flushed.ok && m_writer) {
        if (const xbase::Status s = m_writer->wait(); !s.ok())
            flushed = TResult::fromStatus(s);
    }
    if (!flushed.ok && out.end != TImportOutcome::End::WriteError) {
        out.end = TImportOutcome::End::WriteError;
        out.reason = flushed.message;
    }
    out.imported = written();
    out.cutValues = m_cut;
    out.rebuild = rebuild(progress);
}

bool TImportSink::finish(TResult filled, TImportOutcome &out)
{
    if (filled.ok)
        filled = post();
    if (!filled.ok) {
        cancel();
        out.end = TImportOutcome::End::WriteError;
        out.reason = filled.message;
        out.imported = written();
        return false;
    }
    out.imported = m_handed + m_batch.count;
    return true;
}
