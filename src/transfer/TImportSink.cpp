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

TImportSink::TImportSink(TAddressTable &table) : m_table(table) {}

TResult TImportSink::begin()
{
    xbase::Table &engine = m_table.engine();
    if (!engine.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    const TResult query = m_table.setQuery(QString());
    if (!query.ok)
        return query;
    return TResult::fromStatus(engine.closeIndexes(true));
}

TResult TImportSink::append()
{
    return TResult::fromStatus(m_table.engine().appendBlank());
}

TResult TImportSink::set(int index, std::string_view bytes)
{
    if (bytes.empty())
        return TResult::success();
    xbase::Table &engine = m_table.engine();
    const xbase::FieldDescriptor &f = engine.schema().field(index);
    if (f.type == 'C' && bytes.size() > f.length) {
        bytes = bytes.substr(0, f.length);
        ++m_cut;
    }
    if (f.type == 'M')
        return setMemo(index, bytes);
    const xbase::Status s = engine.setFieldValue(index, bytes);
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
    return TResult::fromStatus(m_table.engine().setFieldValue(index, bytes));
}

TResult TImportSink::post()
{
    return TResult::fromStatus(m_table.engine().post());
}

void TImportSink::cancel()
{
    if (m_table.engine().isEditing())
        m_table.engine().cancelEdit();
}

TResult TImportSink::rebuild(xbase::ProgressHook *progress)
{
    cancel();
    return m_table.CreateAddressTags(progress);
}

bool TImportSink::finish(TResult filled, TImportOutcome &out)
{
    if (filled.ok)
        filled = post();
    if (!filled.ok) {
        cancel();
        out.end = TImportOutcome::End::WriteError;
        out.reason = filled.message;
        return false;
    }
    ++out.imported;
    return true;
}
