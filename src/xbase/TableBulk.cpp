// The table's bulk paths: records filled in memory and appended many at a time, the records of
// a failed run cut off again, and records read in any order with neighbours read together.
#include "TableParts.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace xbase {

namespace {

// Bytes between two wanted records that are still read along rather than read past: copying
// them costs less than another call into the system.
constexpr size_t kGapBytes = 16 * 1024;
// The most bytes one gathered read takes.
constexpr size_t kSpanBytes = size_t(1) << 20;

} // namespace

uint32_t Table::recordLength() const
{
    return m_dbf ? m_dbf->recordLength() : 0;
}

Status Table::putMemo(char *data, int index, std::string_view text)
{
    if (!isOpen() || index < 0 || index >= schema().fieldCount() || schema().field(index).type != 'M')
        return Status::NotFound("Memo field " + std::to_string(index) + " does not exist");
    if (m_mode == OpenMode::ReadOnly)
        return Status::IoError(m_path + " is open read-only");
    if (!m_memo)
        return Status::NotFound("The table has no memo file");
    const FieldDescriptor &f = schema().field(index);
    uint32_t block = 0;
    if (!text.empty()) {
        XBASE_TRY(m_dbf->markPending());
        XBASE_TRY(m_memo->writeGathered(text, block));
    }
    putMemoBlock(data, f, block);
    return Status::Ok();
}

Status Table::memoTexts(const char *records, size_t count, int index, std::vector<std::string> &out) const
{
    out.resize(count);
    if (!isOpen() || index < 0 || index >= schema().fieldCount() || schema().field(index).type != 'M')
        return Status::NotFound("Memo field " + std::to_string(index) + " does not exist");
    const FieldDescriptor &f = schema().field(index);
    const size_t recLen = m_dbf->recordLength();
    std::vector<uint32_t> blocks(count, 0);
    bool any = false;
    for (size_t i = 0; i < count; ++i) {
        XBASE_TRY(memoBlock(records + i * recLen, f, blocks[i]));
        any = any || blocks[i] != 0;
    }
    if (!any) {
        for (std::string &text : out)
            text.clear();
        return Status::Ok();
    }
    if (!m_memo)
        return Status::NotFound("The table has no memo file");
    return m_memo->readMany(blocks.data(), count, out.data());
}

Status Table::appendRecords(const char *data, uint32_t count)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode != OpenMode::Exclusive)
        return Status::InvalidArgument(m_path + " must be open exclusively to append in bulk");
    if (m_editing)
        return Status::InvalidArgument("An edit is running");
    // A temporary index holds only the records added to it one by one, so it may stay open.
    if (m_cdx || std::any_of(m_tags.begin(), m_tags.end(), [](const auto &t) { return !t->isTemporary; }))
        return Status::InvalidArgument("Close the indexes before appending in bulk");
    if (count == 0)
        return Status::Ok();
    const uint32_t before = m_dbf->recordCount();
    m_readAheadCount = 0;
    // The memos of putMemo() first: a record never points at blocks not yet written.
    if (m_memo)
        XBASE_TRY(m_memo->flushGathered());
    XBASE_TRY(m_dbf->appendRecords(data, count));
    if (m_queryActive) {
        const size_t recLen = m_dbf->recordLength();
        for (uint32_t k = 0; k < count; ++k) {
            const uint32_t recno = before + 1 + k;
            if (recno == m_queryBitCount + 1) {
                if (m_queryBits.size() * 64 < recno)
                    m_queryBits.push_back(0);
                ++m_queryBitCount;
            }
            const char *rec = data + k * recLen;
            setQueryBit(recno,
                        (!m_deletedHidden || rec[0] != '*') && m_query.isTrue(RecordRef{rec, recno}, m_eval));
        }
    }
    return Status::Ok();
}

Status Table::truncateRecords(uint32_t count)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode != OpenMode::Exclusive)
        return Status::InvalidArgument(m_path + " must be open exclusively to remove records");
    if (m_editing)
        return Status::InvalidArgument("An edit is running");
    if (m_cdx || m_idx || !m_tags.empty())
        return Status::InvalidArgument("Close the indexes before removing records");
    if (count >= m_dbf->recordCount())
        return Status::Ok();
    m_readAheadCount = 0;
    XBASE_TRY(m_dbf->truncateTo(count));
    if (m_recno > count)
        setEof();
    if (m_queryActive)
        XBASE_TRY(rebuildQuery());
    return Status::Ok();
}

Status Table::storedRecords(const uint32_t *recnos, size_t count, char *out) const
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    const uint32_t total = m_dbf->recordCount();
    const size_t recLen = m_dbf->recordLength();
    std::vector<std::pair<uint32_t, uint32_t>> sorted(count); // record number, position in out
    for (size_t i = 0; i < count; ++i) {
        if (recnos[i] == 0 || recnos[i] > total)
            return Status::NotFound("Record " + std::to_string(recnos[i]) + " does not exist");
        sorted[i] = {recnos[i], static_cast<uint32_t>(i)};
    }
    std::sort(sorted.begin(), sorted.end());
    const uint32_t spanRecords = std::max<uint32_t>(1, static_cast<uint32_t>(kSpanBytes / recLen));
    const uint32_t gapRecords = static_cast<uint32_t>(kGapBytes / recLen);
    std::string span;
    for (size_t i = 0; i < count;) {
        const uint32_t first = sorted[i].first;
        size_t j = i + 1;
        while (j < count && sorted[j].first - sorted[j - 1].first <= gapRecords + 1 &&
               sorted[j].first - first < spanRecords)
            ++j;
        const uint32_t n = sorted[j - 1].first - first + 1;
        // Records asked for in file order, one after another, are read straight into place.
        bool inPlace = n == j - i;
        for (size_t k = i + 1; inPlace && k < j; ++k)
            inPlace = sorted[k].second == sorted[k - 1].second + 1;
        if (inPlace) {
            XBASE_TRY(m_dbf->readRecords(first, n, out + static_cast<size_t>(sorted[i].second) * recLen));
        } else if (n == 1) {
            XBASE_TRY(m_dbf->readRecord(first, out + sorted[i].second * recLen));
        } else {
            span.resize(static_cast<size_t>(n) * recLen);
            XBASE_TRY(m_dbf->readRecords(first, n, &span[0]));
            for (size_t k = i; k < j; ++k)
                std::memcpy(out + sorted[k].second * recLen, span.data() + (sorted[k].first - first) * recLen,
                            recLen);
        }
        i = j;
    }
    return Status::Ok();
}

} // namespace xbase
