#include "DbfFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <ctime>
#include <iterator>
#include <set>

namespace xbase {

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kDescriptorSize = 32;

uint32_t le32(const unsigned char *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t le16(const unsigned char *p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void put32(unsigned char *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(unsigned char *p, uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

// Today's local date as stored (year - 1900, month, day). The local time is worked out again
// at most once a minute: appends ask for it on every header write.
std::array<uint8_t, 3> today()
{
    thread_local std::time_t lastMinute = -1;
    thread_local std::array<uint8_t, 3> last{{0, 1, 1}};
    const std::time_t now = std::time(nullptr);
    if (now / 60 != lastMinute) {
        std::tm tm{};
        localtime_r(&now, &tm);
        last = {{static_cast<uint8_t>(tm.tm_year % 256), static_cast<uint8_t>(tm.tm_mon + 1),
                 static_cast<uint8_t>(tm.tm_mday)}};
        lastMinute = now / 60;
    }
    return last;
}

bool knownType(char t)
{
    return std::strchr("CNLMDFIBYTGPV0QW@+O", t) != nullptr && t != '\0';
}

} // namespace

bool DbfFile::hasMemoFields() const
{
    for (const FieldDescriptor &f : m_schema.fields())
        if (f.type == 'M' || f.type == 'G' || f.type == 'P')
            return true;
    return false;
}

Status DbfFile::open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<DbfFile> &out)
{
    out.reset();
    std::unique_ptr<DbfFile> dbf(new DbfFile());
    XBASE_TRY(env.open(path, readOnly ? FileAccess::ReadOnly : FileAccess::ReadWrite, dbf->m_file));
    dbf->m_env = &env;
    uint64_t size = 0;
    XBASE_TRY(dbf->m_file->size(size));
    XBASE_TRY(dbf->parse(size));
    if (readOnly && dbf->m_wasPending) {
        // A stopped writer's last overwrite may be cut short in the file but whole in its journal.
        if (!dbf->readJournal(dbf->m_overlayFirst, dbf->m_overlayCount, dbf->m_overlay))
            dbf->m_overlayCount = 0;
    }
    out = std::move(dbf);
    return Status::Ok();
}

Status DbfFile::parse(uint64_t fileSize)
{
    const std::string &path = m_file->path();
    auto corrupt = [&](const std::string &what) { return Status::Corruption(path + ": " + what); };
    if (fileSize < kHeaderSize + 1)
        return corrupt("too short for a table header");
    unsigned char h[kHeaderSize];
    XBASE_TRY(m_file->readAt(0, h, sizeof h));
    m_version = h[0];
    static const uint8_t kVersions[] = {0x02, 0x03, 0x04, 0x05, 0x30, 0x31, 0x32, 0x43, 0x63,
                                        0x7B, 0x83, 0x8B, 0x8E, 0xB3, 0xCB, 0xE5, 0xF5, 0xFB};
    if (std::find(std::begin(kVersions), std::end(kVersions), m_version) == std::end(kVersions))
        return corrupt("not a DBF table (version byte " + std::to_string(m_version) + ")");
    m_lastUpdate = {{h[1], h[2], h[3]}};
    m_claimedCount = le32(h + 4);
    m_headerLength = le16(h + 8);
    m_recordLength = le16(h + 10);
    m_flags = h[28];
    m_codePage = h[29];
    if (m_headerLength < kHeaderSize + kDescriptorSize + 1)
        return corrupt("header length " + std::to_string(m_headerLength) + " is too small");
    if (m_headerLength > fileSize)
        return corrupt("header length " + std::to_string(m_headerLength) + " is past the end of the file");
    if (m_recordLength < 2)
        return corrupt("record length " + std::to_string(m_recordLength) + " is too small");

    std::vector<unsigned char> area(m_headerLength - kHeaderSize);
    XBASE_TRY(m_file->readAt(kHeaderSize, area.data(), area.size()));
    std::vector<FieldDescriptor> fields;
    std::set<std::string> names;
    size_t pos = 0;
    bool terminated = false;
    while (pos < area.size()) {
        if (area[pos] == 0x0D) {
            terminated = true;
            break;
        }
        if (pos + kDescriptorSize > area.size())
            break;
        const unsigned char *d = area.data() + pos;
        FieldDescriptor f;
        size_t n = 0;
        while (n < 11 && d[n] != 0)
            ++n;
        f.name.assign(reinterpret_cast<const char *>(d), n);
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        if (f.name.empty())
            return corrupt("field " + std::to_string(fields.size() + 1) + " has no name");
        for (char &c : f.name) {
            const auto u = static_cast<unsigned char>(c);
            if (u < 0x20 || u == 0x7F)
                return corrupt("field " + std::to_string(fields.size() + 1) + " has a damaged name");
            c = static_cast<char>(std::toupper(u));
        }
        f.type = static_cast<char>(d[11]);
        if (!knownType(f.type))
            return corrupt("field " + f.name + " has an unknown type");
        f.length = d[16];
        f.decimals = d[17];
        if (f.length == 0)
            return corrupt("field " + f.name + " has length 0");
        if (!names.insert(f.name).second)
            return corrupt("field name " + f.name + " appears twice");
        fields.push_back(f);
        pos += kDescriptorSize;
    }
    if (!terminated)
        return corrupt("the field list has no end mark within the header");
    if (fields.empty())
        return corrupt("the table has no fields");
    m_schema = Schema(std::move(fields));
    if (m_schema.recordLength() > m_recordLength)
        return corrupt("fields need " + std::to_string(m_schema.recordLength()) + " bytes but a record has " +
                       std::to_string(m_recordLength));
    const uint64_t room = (fileSize - m_headerLength) / m_recordLength;
    m_recordCount = m_claimedCount;
    if (room < m_claimedCount)
        m_recordCount = static_cast<uint32_t>(room);
    m_wasPending = h[kPendingByte] == kPendingMark;
    if (m_wasPending && room > m_claimedCount) {
        // This engine stopped while header writes were deferred: every whole record it
        // appended (each written together with the end mark) was posted.
        m_recordCount = static_cast<uint32_t>(std::min<uint64_t>(room, 0xFFFFFFFEull));
        m_claimedCount = m_recordCount;
    }
    return Status::Ok();
}

Status DbfFile::setDeferredHeader(bool deferred)
{
    if (!deferred && m_pending)
        XBASE_TRY(syncHeader());
    m_deferred = deferred;
    return Status::Ok();
}

Status DbfFile::markPending()
{
    if (!m_deferred || m_pending)
        return Status::Ok();
    const uint8_t mark = kPendingMark;
    XBASE_TRY(m_file->writeAt(kPendingByte, &mark, 1));
    m_pending = true;
    return Status::Ok();
}

bool DbfFile::undoWrite(uint32_t recno, const char *data)
{
    if (!(m_journaled && m_pending)) {
        // Without a journal the old bytes are put back as well as the file allows.
        (void)writeRecords(recno, 1, data);
        return true;
    }
    if (m_unsettled.empty())
        return true; // the failed write never reached the record
    // The old bytes become what the journal says the record holds, then go to the file.
    if (!writeJournal(recno, 1, data).ok())
        return false;
    m_unsettled.assign(data, m_recordLength);
    m_unsettledFirst = recno;
    (void)settle(); // what fails here is written by the next write or flush, or from the journal
    return true;
}

Status DbfFile::settle()
{
    if (m_unsettled.empty())
        return Status::Ok();
    forgetCached(m_unsettledFirst, static_cast<uint32_t>(m_unsettled.size() / m_recordLength));
    XBASE_TRY(m_file->writeAt(recordOffset(m_unsettledFirst), m_unsettled.data(), m_unsettled.size()));
    m_unsettled.clear();
    return Status::Ok();
}

Status DbfFile::syncHeader()
{
    // Until the journal's records are in the file the pending mark and the journal stay.
    XBASE_TRY(settle());
    if (m_file->isWritable() && (m_pending || m_wasPending || m_claimedCount != m_recordCount)) {
        XBASE_TRY(writeHeaderCount(m_recordCount, true));
        m_pending = false;
        m_wasPending = false;
    }
    if (m_journal && !m_pending) {
        // With the pending mark clear the journal is never read again; a copy that stays
        // behind is removed by the next writer.
        m_journal.reset();
        (void)m_env->remove(journalPath(path()));
    }
    return Status::Ok();
}

namespace {

constexpr char kJournalMagic[4] = {'C', 'V', 'J', '3'};
// Entries go to two slots in turn, so an entry cut short never spoils the one before it.
constexpr uint64_t kJournalSlotBytes = 65536;
constexpr size_t kJournalOverhead = 24; // magic, sequence, first, count, record length; checksum

// A checksum that tells a journal entry cut short from a whole one, eight bytes at a step.
uint32_t entrySum(const char *data, size_t n)
{
    uint64_t h = 0x243F6A8885A308D3ull ^ n;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, data + i, 8);
        h = (h ^ w) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 29;
    }
    for (; i < n; ++i)
        h = (h ^ static_cast<unsigned char>(data[i])) * 0x100000001B3ull;
    h ^= h >> 32;
    return static_cast<uint32_t>(h);
}

} // namespace

std::string DbfFile::journalPath(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + ".JNL";
    const bool lower = dot + 1 < path.size() && std::islower(static_cast<unsigned char>(path[dot + 1]));
    return path.substr(0, dot) + (lower ? ".jnl" : ".JNL");
}

uint32_t DbfFile::journalBatch() const
{
    return std::max<uint32_t>(1,
                              static_cast<uint32_t>((kJournalSlotBytes - kJournalOverhead) / m_recordLength));
}

Status DbfFile::writeJournal(uint32_t first, uint32_t count, const char *data)
{
    if (!m_journal)
        XBASE_TRY(m_env->open(journalPath(path()), FileAccess::Create, m_journal));
    const size_t bytes = static_cast<size_t>(count) * m_recordLength;
    std::string &entry = m_journalEntry;
    entry.resize(20 + bytes + 4);
    auto *p = reinterpret_cast<unsigned char *>(&entry[0]);
    std::memcpy(p, kJournalMagic, 4);
    put32(p + 4, ++m_journalSequence);
    put32(p + 8, first);
    put32(p + 12, count);
    put32(p + 16, m_recordLength);
    std::memcpy(p + 20, data, bytes);
    put32(p + 20 + bytes, entrySum(entry.data(), 20 + bytes));
    return m_journal->writeAt((m_journalSequence % 2) * kJournalSlotBytes, entry.data(), entry.size());
}

bool DbfFile::readJournal(uint32_t &first, uint32_t &count, std::string &data) const
{
    const std::string jpath = journalPath(path());
    std::unique_ptr<File> journal;
    if (!m_env || !m_env->exists(jpath) || !m_env->open(jpath, FileAccess::ReadOnly, journal).ok())
        return false;
    // The valid entry with the higher sequence number is the last one written.
    bool found = false;
    uint32_t bestSequence = 0;
    for (uint64_t slot = 0; slot < 2; ++slot) {
        unsigned char head[20];
        const uint64_t at = slot * kJournalSlotBytes;
        if (!journal->readAt(at, head, sizeof head).ok() || std::memcmp(head, kJournalMagic, 4) != 0)
            continue;
        const uint32_t sequence = le32(head + 4);
        const uint32_t f = le32(head + 8);
        const uint32_t c = le32(head + 12);
        if (le32(head + 16) != m_recordLength || f == 0 || c == 0 || f > m_recordCount ||
            c > m_recordCount - f + 1 ||
            static_cast<uint64_t>(c) * m_recordLength + kJournalOverhead > kJournalSlotBytes)
            continue;
        const size_t bytes = static_cast<size_t>(c) * m_recordLength;
        std::string entry(20 + bytes + 4, '\0');
        if (!journal->readAt(at, &entry[0], entry.size()).ok() ||
            le32(reinterpret_cast<const unsigned char *>(&entry[20 + bytes])) !=
                entrySum(entry.data(), 20 + bytes))
            continue;
        if (found && sequence <= bestSequence)
            continue;
        found = true;
        bestSequence = sequence;
        first = f;
        count = c;
        data = entry.substr(20, bytes);
    }
    return found;
}

Status DbfFile::recoverJournal()
{
    if (isReadOnly())
        return Status::Ok();
    const std::string jpath = journalPath(path());
    if (!m_env->exists(jpath))
        return Status::Ok();
    uint32_t first = 0;
    uint32_t count = 0;
    std::string data;
    if (m_wasPending && readJournal(first, count, data)) {
        forgetCached(first, count);
        XBASE_TRY(m_file->writeAt(recordOffset(first), data.data(), data.size()));
    }
    return m_env->remove(jpath);
}

Status DbfFile::validateFields(const std::vector<FieldDescriptor> &fields)
{
    if (fields.empty())
        return Status::InvalidArgument("A table needs at least one field");
    if (fields.size() > 255)
        return Status::InvalidArgument("A table holds at most 255 fields");
    std::set<std::string> names;
    uint32_t total = 1;
    for (const FieldDescriptor &f : fields) {
        if (f.name.empty() || f.name.size() > 10 || !std::isalpha(static_cast<unsigned char>(f.name[0])))
            return Status::InvalidArgument("Invalid field name \"" + f.name + "\"");
        std::string upper;
        for (char c : f.name) {
            const auto u = static_cast<unsigned char>(c);
            if (!std::isalnum(u) && c != '_')
                return Status::InvalidArgument("Invalid field name \"" + f.name + "\"");
            upper += static_cast<char>(std::toupper(u));
        }
        if (!names.insert(upper).second)
            return Status::InvalidArgument("Field name " + upper + " appears twice");
        bool ok = false;
        switch (f.type) {
        case 'C':
            ok = f.length >= 1 && f.decimals == 0;
            break;
        case 'N':
            ok = f.length >= 1 && f.length <= 20 && (f.decimals == 0 || f.decimals + 2 <= f.length);
            break;
        case 'L':
            ok = f.length == 1 && f.decimals == 0;
            break;
        case 'D':
            ok = f.length == 8 && f.decimals == 0;
            break;
        case 'M':
            ok = f.length == 10 && f.decimals == 0;
            break;
        default:
            return Status::InvalidArgument("Field " + upper + " has an unsupported type");
        }
        if (!ok)
            return Status::InvalidArgument("Field " + upper + " has an invalid width or decimals");
        total += f.length;
    }
    if (total > 65500)
        return Status::InvalidArgument("The record is too long");
    return Status::Ok();
}

Status DbfFile::create(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fieldsIn,
                       std::unique_ptr<DbfFile> &out)
{
    out.reset();
    XBASE_TRY(validateFields(fieldsIn));
    std::vector<FieldDescriptor> fields = fieldsIn;
    for (FieldDescriptor &f : fields)
        for (char &c : f.name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::unique_ptr<DbfFile> dbf(new DbfFile());
    dbf->m_schema = Schema(fields);
    dbf->m_version = dbf->hasMemoFields() ? kVersionWithMemo : kVersionPlain;
    // The header ends with the field terminator and one filler byte, as other FoxPro-compatible
    // programs write it.
    dbf->m_headerLength = static_cast<uint16_t>(kHeaderSize + kDescriptorSize * fields.size() + 2);
    dbf->m_recordLength = static_cast<uint16_t>(dbf->m_schema.recordLength());
    dbf->m_lastUpdate = today();
    std::vector<unsigned char> bytes(dbf->m_headerLength + 1, 0);
    bytes[0] = dbf->m_version;
    bytes[1] = dbf->m_lastUpdate[0];
    bytes[2] = dbf->m_lastUpdate[1];
    bytes[3] = dbf->m_lastUpdate[2];
    put16(&bytes[8], dbf->m_headerLength);
    put16(&bytes[10], dbf->m_recordLength);
    size_t pos = kHeaderSize;
    for (const FieldDescriptor &f : dbf->m_schema.fields()) {
        std::memcpy(&bytes[pos], f.name.data(), f.name.size());
        bytes[pos + 11] = static_cast<unsigned char>(f.type);
        put32(&bytes[pos + 12], f.offset);
        bytes[pos + 16] = f.length;
        bytes[pos + 17] = f.decimals;
        pos += kDescriptorSize;
    }
    bytes[pos] = 0x0D;
    bytes[dbf->m_headerLength] = 0x1A;
    XBASE_TRY(env.open(path, FileAccess::Create, dbf->m_file));
    dbf->m_env = &env;
    XBASE_TRY(dbf->m_file->writeAt(0, bytes.data(), bytes.size()));
    out = std::move(dbf);
    return Status::Ok();
}

Status DbfFile::readRecord(uint32_t recno, char *out) const
{
    if (!m_cacheOn)
        return readRecords(recno, 1, out);
    const uint32_t slot = recno % kCachedRecords;
    char *cached = &m_cachedData[static_cast<size_t>(slot) * m_recordLength];
    if (m_cachedRecno[slot] == recno && recno <= m_recordCount) {
        std::memcpy(out, cached, m_recordLength);
        return Status::Ok();
    }
    XBASE_TRY(readRecords(recno, 1, out));
    std::memcpy(cached, out, m_recordLength);
    m_cachedRecno[slot] = recno;
    return Status::Ok();
}

void DbfFile::setRecordCache(bool on)
{
    m_cacheOn = on;
    m_cachedRecno.assign(on ? kCachedRecords : 0, 0);
    m_cachedData.assign(on ? static_cast<size_t>(kCachedRecords) * m_recordLength : 0, '\0');
}

void DbfFile::forgetCached(uint32_t first, uint32_t count)
{
    if (!m_cacheOn)
        return;
    if (count >= kCachedRecords) {
        std::fill(m_cachedRecno.begin(), m_cachedRecno.end(), 0);
        return;
    }
    for (uint32_t r = first; r - first < count; ++r)
        if (m_cachedRecno[r % kCachedRecords] == r)
            m_cachedRecno[r % kCachedRecords] = 0;
}

Status DbfFile::readRecords(uint32_t first, uint32_t count, char *out) const
{
    if (first == 0 || first > m_recordCount || count > m_recordCount - first + 1)
        return Status::NotFound("Record " + std::to_string(first) + " does not exist");
    XBASE_TRY(m_file->readAt(recordOffset(first), out, static_cast<size_t>(count) * m_recordLength));
    if (m_overlayCount > 0) {
        const uint32_t lo = std::max(first, m_overlayFirst);
        const uint32_t hi = std::min(first + count, m_overlayFirst + m_overlayCount);
        for (uint32_t r = lo; r < hi; ++r)
            std::memcpy(out + static_cast<size_t>(r - first) * m_recordLength,
                        m_overlay.data() + static_cast<size_t>(r - m_overlayFirst) * m_recordLength,
                        m_recordLength);
    }
    return Status::Ok();
}

Status DbfFile::writeRecord(uint32_t recno, const char *data)
{
    return writeRecords(recno, 1, data);
}

Status DbfFile::writeRecords(uint32_t first, uint32_t count, const char *data)
{
    if (first == 0 || first > m_recordCount || count > m_recordCount - first + 1)
        return Status::NotFound("Record " + std::to_string(first) + " does not exist");
    forgetCached(first, count);
    XBASE_TRY(settle());
    XBASE_TRY(markPending());
    if (m_journaled && m_pending) {
        // Each batch goes to the journal first: a write of it cut short is completed from there.
        const uint32_t batch = journalBatch();
        for (uint32_t done = 0; done < count;) {
            const uint32_t n = std::min(batch, count - done);
            const char *part = data + static_cast<size_t>(done) * m_recordLength;
            const size_t bytes = static_cast<size_t>(n) * m_recordLength;
            XBASE_TRY(writeJournal(first + done, n, part));
            const Status written = m_file->writeAt(recordOffset(first + done), part, bytes);
            if (!written.ok()) {
                m_unsettled.assign(part, bytes);
                m_unsettledFirst = first + done;
                return written;
            }
            done += n;
        }
    } else {
        XBASE_TRY(m_file->writeAt(recordOffset(first), data, static_cast<size_t>(count) * m_recordLength));
    }
    if (!m_pending && (isShort() || m_wasPending || m_lastUpdate != today()))
        XBASE_TRY(writeHeaderCount(m_recordCount, m_wasPending));
    return Status::Ok();
}

Status DbfFile::appendRecord(const char *data, uint32_t &recno)
{
    XBASE_TRY(appendRecords(data, 1));
    recno = m_recordCount;
    return Status::Ok();
}

Status DbfFile::appendRecords(const char *data, uint32_t count)
{
    if (count == 0)
        return Status::Ok();
    if (static_cast<uint64_t>(m_recordCount) + count > 0xFFFFFFFEull)
        return Status::InvalidArgument("The table cannot hold more records");
    const size_t bytes = static_cast<size_t>(count) * m_recordLength;
    m_appendBuffer.resize(bytes + 1);
    std::memcpy(&m_appendBuffer[0], data, bytes);
    m_appendBuffer[bytes] = '\x1A';
    forgetCached(m_recordCount + 1, count);
    XBASE_TRY(markPending());
    XBASE_TRY(m_file->writeAt(recordOffset(m_recordCount + 1), m_appendBuffer.data(), m_appendBuffer.size()));
    // Kept for the next append up to the size of a bulk append's batch (a few megabytes), so
    // appending batch after batch does not take fresh memory each time.
    if (m_appendBuffer.size() > (4u << 20))
        std::string().swap(m_appendBuffer);
    if (m_pending) {
        m_recordCount += count;
        m_claimedCount = m_recordCount;
        return Status::Ok();
    }
    return writeHeaderCount(m_recordCount + count, m_wasPending);
}

Status DbfFile::truncateTo(uint32_t count)
{
    if (count > m_recordCount)
        return Status::InvalidArgument("Cannot grow a table by truncating it");
    forgetCached(1, 0xFFFFFFFFu);
    XBASE_TRY(writeHeaderCount(count, true));
    m_pending = m_wasPending = false;
    const char eof = '\x1A';
    XBASE_TRY(m_file->writeAt(recordOffset(count + 1), &eof, 1));
    return m_file->truncate(recordOffset(count + 1) + 1);
}

Status DbfFile::writeHeaderCount(uint32_t count, bool clearPending)
{
    const std::array<uint8_t, 3> date = today();
    unsigned char h[kPendingByte + 1];
    const size_t n = clearPending ? sizeof h : 8;
    if (clearPending)
        XBASE_TRY(m_file->readAt(0, h, sizeof h));
    h[0] = m_version;
    h[1] = date[0];
    h[2] = date[1];
    h[3] = date[2];
    put32(h + 4, count);
    if (clearPending)
        h[kPendingByte] = 0;
    XBASE_TRY(m_file->writeAt(0, h, n));
    m_lastUpdate = date;
    m_recordCount = count;
    m_claimedCount = count;
    return Status::Ok();
}

Status DbfFile::headerBytes(std::string &out) const
{
    out.assign(m_headerLength, '\0');
    return m_file->readAt(0, &out[0], out.size());
}

void DbfFile::stampHeader(std::string &header, uint32_t count)
{
    if (header.size() <= kPendingByte)
        return;
    const std::array<uint8_t, 3> date = today();
    for (size_t i = 0; i < 3; ++i)
        header[1 + i] = static_cast<char>(date[i]);
    put32(reinterpret_cast<unsigned char *>(&header[4]), count);
    header[kPendingByte] = 0;
}

Status DbfFile::setProductionIndex(bool present)
{
    const uint8_t flags = present ? (m_flags | 1) : (m_flags & ~1u);
    if (flags == m_flags)
        return Status::Ok();
    XBASE_TRY(m_file->writeAt(28, &flags, 1));
    m_flags = flags;
    return Status::Ok();
}

Status DbfFile::setCodePageMark(uint8_t mark)
{
    if (mark == m_codePage)
        return Status::Ok();
    XBASE_TRY(m_file->writeAt(29, &mark, 1));
    m_codePage = mark;
    return Status::Ok();
}

Status DbfFile::refresh()
{
    forgetCached(1, 0xFFFFFFFFu);
    uint64_t size = 0;
    XBASE_TRY(m_file->size(size));
    unsigned char h[8];
    XBASE_TRY(m_file->readAt(0, h, sizeof h));
    m_claimedCount = le32(h + 4);
    const uint64_t room = (size - m_headerLength) / m_recordLength;
    m_recordCount = room < m_claimedCount ? static_cast<uint32_t>(room) : m_claimedCount;
    return Status::Ok();
}

} // namespace xbase
