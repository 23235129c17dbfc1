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
    m_batch.reserve(kBatchBytes + m_recordLength);
    return TResult::fromStatus(engine.closeIndexes(true));
}

TResult TImportSink::append()
{
    if (m_recordLength == 0)
        return TResult::failure(QStringLiteral("No file is open"));
    cancel();
    m_batch.append(m_recordLength, ' ');
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
    xbase::Table &engine = m_table.engine();
    for (const auto &m : m_memos) {
        if (const xbase::Status s = engine.putMemo(current(), m.first, m.second); !s.ok()) {
            cancel();
            return TResult::fromStatus(s);
        }
    }
    m_memos.clear();
    m_filling = false;
    ++m_batched;
    if (m_batch.size() >= kBatchBytes)
        return flushBatch();
    return TResult::success();
}

TResult TImportSink::flushBatch()
{
    cancel();
    const uint32_t n = m_batched;
    if (n == 0)
        return TResult::success();
    m_batched = 0;
    const xbase::Status s = m_table.engine().appendRecords(m_batch.data(), n);
    m_batch.clear();
    if (s.ok())
        m_written += n;
    return TResult::fromStatus(s);
}

void TImportSink::cancel()
{
    if (m_filling) {
        m_batch.resize(m_batch.size() - m_recordLength);
        m_filling = false;
    }
    m_memos.clear();
}

TResult TImportSink::rebuild(xbase::ProgressHook *progress)
{
    cancel();
    return m_table.CreateAddressTags(progress);
}

void TImportSink::end(TImportOutcome &out, xbase::ProgressHook *progress)
{
    if (const TResult flushed = flushBatch(); !flushed.ok) {
        out.end = TImportOutcome::End::WriteError;
        out.reason = flushed.message;
    }
    out.imported = m_written;
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
        out.imported = m_written;
        return false;
    }
    out.imported = m_written + m_batched;
    return true;
}
