#include "TImportSink.h"

#include "TImportOutcome.h"

#include "TAddressTable.h"

#include <cmath>

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
        m_writer = std::make_unique<TBatchWriter>(m_table.engine());
    const xbase::Status s = m_writer->handOver(m_batch);
    if (!s.ok())
        m_batch.clear(); // nothing more is written: the records waiting are dropped
    return TResult::fromStatus(s);
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
    out.imported = (m_writer ? m_writer->handed() : 0) + m_batch.count;
    return true;
}
