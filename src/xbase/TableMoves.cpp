#include "TableParts.h"

namespace xbase {

using namespace tableparts;

// ---- Moves -----------------------------------------------------------------------------

uint32_t Table::recordCount() const
{
    return m_dbf ? m_dbf->recordCount() : 0;
}

Status Table::loadRecord(uint32_t recno)
{
    const uint32_t recLen = m_dbf->recordLength();
    m_record.resize(recLen);
    if (m_turboRead && m_mode != OpenMode::Shared) {
        // Whole-file passes: records come from a block read ahead in the direction of travel.
        if (recno < m_readAheadFirst || recno >= m_readAheadFirst + m_readAheadCount) {
            constexpr uint32_t kBlock = 128;
            const uint32_t count = m_dbf->recordCount();
            const bool backwards = m_recno != 0 && recno < m_recno;
            const uint32_t first = backwards ? (recno > kBlock ? recno - kBlock + 1 : 1) : recno;
            const uint32_t n = std::min(kBlock, count - first + 1);
            m_readAhead.resize(static_cast<size_t>(n) * recLen);
            m_readAheadCount = 0;
            XBASE_TRY(m_dbf->readRecords(first, n, &m_readAhead[0]));
            m_readAheadFirst = first;
            m_readAheadCount = n;
        }
        m_record.assign(&m_readAhead[static_cast<size_t>(recno - m_readAheadFirst) * recLen], recLen);
    } else {
        XBASE_TRY(m_dbf->readRecord(recno, &m_record[0]));
    }
    m_recno = recno;
    m_eof = m_bof = false;
    return Status::Ok();
}

void Table::setTurboRead(bool on)
{
    m_turboRead = on;
    m_readAheadCount = 0;
    if (!on)
        std::string().swap(m_readAhead);
}

void Table::setEof()
{
    m_recno = recordCount() + 1;
    m_eof = true;
    m_record.assign(m_dbf ? m_dbf->recordLength() : 1, ' ');
    m_entryKey.clear();
}

void Table::setBof()
{
    m_bof = true;
    m_eof = false;
}

bool Table::queryBit(uint32_t recno) const
{
    const uint32_t i = recno - 1;
    return (m_queryBits[i / 64] >> (i % 64)) & 1u;
}

void Table::setQueryBit(uint32_t recno, bool on)
{
    if (recno == 0 || recno > m_queryBitCount)
        return;
    const uint32_t i = recno - 1;
    if (on)
        m_queryBits[i / 64] |= uint64_t(1) << (i % 64);
    else
        m_queryBits[i / 64] &= ~(uint64_t(1) << (i % 64));
}

bool Table::passesFilters(const char *data, uint32_t recno) const
{
    if (m_deletedHidden && data[0] == '*')
        return false;
    if (!m_queryActive)
        return true;
    if (recno <= m_queryBitCount)
        return queryBit(recno);
    return m_query.isTrue(RecordRef{data, recno}, m_eval);
}

Status Table::refreshShared()
{
    if (m_mode != OpenMode::Shared)
        return Status::Ok();
    XBASE_TRY(m_dbf->refresh());
    if (m_cdx)
        XBASE_TRY(m_cdx->refresh());
    return Status::Ok();
}

Status Table::goTop()
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    XBASE_TRY(refreshShared());
    if (m_editing)
        cancelEdit();
    m_found = false;
    bool landed = false;
    if (currentTag())
        XBASE_TRY(firstVisibleInOrder(true, landed));
    else {
        m_recno = 0;
        XBASE_TRY(stepInRecordOrder(true, landed));
    }
    if (!landed) {
        setEof();
        m_bof = true;
    }
    return Status::Ok();
}

Status Table::goBottom()
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_editing)
        cancelEdit();
    m_found = false;
    XBASE_TRY(refreshShared());
    bool landed = false;
    if (currentTag())
        XBASE_TRY(firstVisibleInOrder(false, landed));
    else {
        m_recno = recordCount() + 1;
        XBASE_TRY(stepInRecordOrder(false, landed));
    }
    if (!landed) {
        setEof();
        m_bof = true;
    }
    return Status::Ok();
}

Status Table::skip(int64_t n)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_editing)
        cancelEdit();
    m_found = false;
    const bool forward = n >= 0;
    int64_t steps = forward ? n : -n;
    if (n == 0) {
        if (!m_eof && m_recno > 0)
            return loadRecord(m_recno);
        return Status::Ok();
    }
    if (!forward && m_eof) {
        // Backwards from the end lands on the last visible record.
        XBASE_TRY(goBottom());
        --steps;
        if (m_eof)
            return Status::Ok();
    }
    if (forward && m_eof)
        return Status::Ok();
    while (steps-- > 0) {
        const uint32_t keepRecno = m_recno;
        const std::string keepRecord = m_record;
        const std::string keepKey = m_entryKey;
        bool landed = false;
        if (currentTag())
            XBASE_TRY(stepInOrder(forward, landed));
        else
            XBASE_TRY(stepInRecordOrder(forward, landed));
        if (!landed) {
            if (forward) {
                setEof();
            } else {
                // Before the first record: stay on it with bof set.
                m_recno = keepRecno;
                m_record = keepRecord;
                m_entryKey = keepKey;
                m_eof = false;
                m_bof = true;
            }
            return Status::Ok();
        }
    }
    return Status::Ok();
}

Status Table::stepInRecordOrder(bool forward, bool &landed)
{
    landed = false;
    const uint32_t count = recordCount();
    int64_t r = static_cast<int64_t>(m_recno);
    for (;;) {
        r += forward ? 1 : -1;
        if (r < 1 || r > static_cast<int64_t>(count))
            return Status::Ok();
        const auto rec = static_cast<uint32_t>(r);
        if (m_queryActive && rec <= m_queryBitCount && !queryBit(rec))
            continue;
        XBASE_TRY(loadRecord(rec));
        if (passesFilters(m_record.data(), rec)) {
            landed = true;
            return Status::Ok();
        }
    }
}

Status Table::firstVisibleInOrder(bool forward, bool &landed)
{
    landed = false;
    OpenTag *t = currentTag();
    IndexEntry e;
    bool found = false;
    if (forward) {
        if (m_scoped && !m_scopeLo.empty())
            XBASE_TRY(t->tag->lowerBound(m_scopeLo, e, found));
        else
            XBASE_TRY(t->tag->first(e, found));
    } else {
        if (m_scoped && !m_scopeHi.empty()) {
            std::string probe = m_scopeHi;
            probe.resize(std::max<size_t>(probe.size(), t->tag->spec().keyLength), '\xFF');
            XBASE_TRY(t->tag->lowerBound(probe, e, found));
            IndexEntry before;
            if (found) {
                XBASE_TRY(t->tag->prev(e, before, found));
            } else {
                XBASE_TRY(t->tag->last(before, found));
            }
            e = before;
        } else {
            XBASE_TRY(t->tag->last(e, found));
        }
    }
    for (int guard = 0; found; ++guard) {
        if (!inScope(e.key))
            return Status::Ok();
        if (e.recno >= 1 && e.recno <= recordCount() &&
            !(m_queryActive && e.recno <= m_queryBitCount && !queryBit(e.recno))) {
            XBASE_TRY(loadRecord(e.recno));
            if (passesFilters(m_record.data(), e.recno)) {
                m_entryKey = e.key;
                landed = true;
                return Status::Ok();
            }
        }
        IndexEntry nextEntry;
        if (forward)
            XBASE_TRY(t->tag->next(e, nextEntry, found));
        else
            XBASE_TRY(t->tag->prev(e, nextEntry, found));
        e = nextEntry;
    }
    return Status::Ok();
}

Status Table::stepInOrder(bool forward, bool &landed)
{
    landed = false;
    OpenTag *t = currentTag();
    IndexEntry e{m_entryKey, m_recno};
    for (;;) {
        IndexEntry nextEntry;
        bool found = false;
        if (forward)
            XBASE_TRY(t->tag->next(e, nextEntry, found));
        else
            XBASE_TRY(t->tag->prev(e, nextEntry, found));
        if (!found || !inScope(nextEntry.key))
            return Status::Ok();
        e = nextEntry;
        if (e.recno < 1 || e.recno > recordCount())
            continue;
        if (m_queryActive && e.recno <= m_queryBitCount && !queryBit(e.recno))
            continue;
        XBASE_TRY(loadRecord(e.recno));
        if (passesFilters(m_record.data(), e.recno)) {
            m_entryKey = e.key;
            landed = true;
            return Status::Ok();
        }
    }
}

Status Table::syncEntry()
{
    OpenTag *t = currentTag();
    if (!t || m_eof || m_recno == 0) {
        m_entryKey.clear();
        return Status::Ok();
    }
    const RecordRef rec{m_record.data(), m_recno};
    std::string key = t->key.isValid() ? t->key.indexKey(rec) : std::string();
    if (!key.empty()) {
        // The entry the tag holds for this record, usually exactly where its key says.
        bool hit = false;
        XBASE_TRY(t->tag->scan(key, key, true, false, [&](std::string_view k, uint32_t r) {
            if (r == m_recno) {
                m_entryKey = std::string(k);
                hit = true;
                return false;
            }
            return true;
        }));
        if (hit)
            return Status::Ok();
    }
    // A key another engine built with another rule: look the record up by number.
    bool hit = false;
    XBASE_TRY(t->tag->scan({}, {}, true, true, [&](std::string_view k, uint32_t r) {
        if (r == m_recno) {
            m_entryKey = std::string(k);
            hit = true;
            return false;
        }
        return true;
    }));
    if (!hit)
        m_entryKey = key;
    return Status::Ok();
}

Status Table::go(uint32_t recno)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_editing)
        cancelEdit();
    m_found = false;
    if (recno == 0)
        return Status::NotFound("Record 0 does not exist");
    if (m_mode == OpenMode::Shared && recno > recordCount())
        XBASE_TRY(m_dbf->refresh());
    if (recno > recordCount()) {
        setEof();
        return Status::Ok();
    }
    XBASE_TRY(loadRecord(recno));
    return syncEntry();
}

Status Table::seek(std::string_view keyIn, bool &found)
{
    found = false;
    m_found = false;
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_editing)
        cancelEdit();
    OpenTag *t = currentTag();
    if (!t)
        return Status::InvalidArgument("Seek needs an index order");
    XBASE_TRY(refreshShared());
    std::string_view key = keyIn.substr(0, std::min<size_t>(keyIn.size(), t->tag->spec().keyLength));
    IndexEntry e;
    bool have = false;
    XBASE_TRY(t->tag->lowerBound(key, e, have));
    while (have) {
        if (m_scoped && !m_scopeHi.empty() && !inScope(e.key) && !prefixLess(e.key, m_scopeLo))
            break;
        if (e.recno >= 1 && e.recno <= recordCount() &&
            !(m_queryActive && e.recno <= m_queryBitCount && !queryBit(e.recno))) {
            XBASE_TRY(loadRecord(e.recno));
            if (passesFilters(m_record.data(), e.recno) && inScope(e.key))
                break;
        }
        IndexEntry nextEntry;
        XBASE_TRY(t->tag->next(e, nextEntry, have));
        e = nextEntry;
    }
    if (have) {
        found = std::string_view(e.key).substr(0, key.size()) == key;
        if (found || m_softSeek) {
            m_entryKey = e.key;
            m_found = found;
            return Status::Ok();
        }
    }
    setEof();
    return Status::Ok();
}

} // namespace xbase
