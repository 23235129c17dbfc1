#include "TPresortReader.h"

#include "TAddressTable.h"
#include "TPresortFile.h"

#include <utility>

namespace {

const QString kZip = QStringLiteral("ZIP");

} // namespace

TPresortReader::TPresortReader(TAddressTable &table, TPresortRange range)
    : m_table(table), m_range(std::move(range))
{
}

QString TPresortReader::zipKeyOf(const QString &zip)
{
    QString key = zip.left(5);
    while (!key.isEmpty() && key.back() == QLatin1Char(' '))
        key.chop(1);
    return key;
}

TResult TPresortReader::open(const QString &path)
{
    QStringList lines;
    const TResult loaded = TPresortFile::load(path, lines);
    if (!loaded)
        return loaded;
    return begin(lines);
}

TResult TPresortReader::begin(const QStringList &lines)
{
    m_lines.clear();
    m_next = 0;
    m_key.clear();
    m_atSeek = false;
    if (!m_table.isOpen())
        return TResult::failure(QStringLiteral("No file is open"));
    if (m_table.engine().tagOrder("ZIP") == 0)
        return TResult::failure(QStringLiteral("The address file has no ZIP index; rebuild the indexes"),
                                xbase::StatusCode::NotFound);
    const TResult ordered = m_table.setOrderTag(kZip);
    if (!ordered)
        return ordered;
    m_table.engine().setExact(false);
    m_lines = lines;
    return TResult::success();
}

TResult TPresortReader::GetNextSortedZip(TPresortStep &step)
{
    step = TPresortStep();
    for (;;) {
        if (!m_key.isEmpty()) {
            if (!m_atSeek) {
                const TResult moved = m_table.next();
                if (moved.isNotFound()) {
                    m_key.clear();
                    continue;
                }
                if (!moved)
                    return moved;
            }
            m_atSeek = false;
            const QString zip = m_table.value(kZip);
            // The tag's keys are the upper-cased ZIP codes; past the last one beginning with
            // the key, the key's records are done.
            if (!zip.toUpper().startsWith(m_key)) {
                m_key.clear();
                continue;
            }
            if (zipKeyOf(zip).toUpper() == m_key && m_range.contains(m_table.recno())) {
                step.kind = TPresortStep::Kind::Record;
                return TResult::success();
            }
            continue; // a longer ZIP under a shorter key, or a record before the run's start
        }
        if (m_next >= m_lines.size())
            return TResult::success(); // End
        const QString line = m_lines.at(m_next++);
        if (TPresortFile::isHeader(line)) {
            step.kind = TPresortStep::Kind::Header;
            step.header = line;
            return TResult::success();
        }
        const QString key = line.toUpper();
        const TResult found = m_table.seek(key);
        if (found.isNotFound())
            continue;
        if (!found)
            return found;
        m_key = key;
        m_atSeek = true;
    }
}
