// One DBF table file of the FoxPro 2.x family: the header, the field descriptors and the
// fixed-length records. Owned by a Table (or used alone by tools). It reads and writes
// whole records and keeps the record count, the last-update date and the end mark true.
#pragma once

#include "Env.h"
#include "Field.h"
#include "File.h"
#include "Status.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace xbase {

class DbfFile
{
public:
    /// Version byte of a table with a memo file.
    static constexpr uint8_t kVersionWithMemo = 0xF5;
    /// Version byte of a table without memo fields.
    static constexpr uint8_t kVersionPlain = 0x03;

    /// Opens and validates `path`. Corruption when the header, the descriptors or the record
    /// layout do not fit the format or the file's size; nothing is then ever written. A file
    /// that holds fewer whole records than its header claims opens with the records it
    /// holds (isShort()); the first write puts the true count into the header.
    static Status open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<DbfFile> &out);
    static Status open(const std::string &path, bool readOnly, std::unique_ptr<DbfFile> &out)
    {
        return open(Env::posix(), path, readOnly, out);
    }
    /// Creates an empty table (replacing any file of that name). Fields of types C N L D M;
    /// InvalidArgument for a bad name, type, width or a repeated name.
    static Status create(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fields,
                         std::unique_ptr<DbfFile> &out);
    static Status create(const std::string &path, const std::vector<FieldDescriptor> &fields,
                         std::unique_ptr<DbfFile> &out)
    {
        return create(Env::posix(), path, fields, out);
    }
    /// Checks a field list as create() would, without touching any file.
    static Status validateFields(const std::vector<FieldDescriptor> &fields);

    const Schema &schema() const { return m_schema; }
    const std::string &path() const { return m_file->path(); }
    bool isReadOnly() const { return !m_file->isWritable(); }
    uint8_t version() const { return m_version; }
    /// True when any field is a memo (type M, or G / P that also live in the memo file).
    bool hasMemoFields() const;
    uint32_t recordCount() const { return m_recordCount; }
    /// The count the header holds (differs from recordCount() only for a short file).
    uint32_t claimedRecordCount() const { return m_claimedCount; }
    bool isShort() const { return m_claimedCount != m_recordCount; }
    uint16_t headerLength() const { return m_headerLength; }
    uint16_t recordLength() const { return m_recordLength; }
    /// Byte 28: bit 0 set when a production (same-named) compound index belongs to the table.
    uint8_t tableFlags() const { return m_flags; }
    bool hasProductionIndex() const { return (m_flags & 1) != 0; }
    /// Byte 29, the code page mark (0 = none given; the engine then assumes Windows-1252).
    uint8_t codePage() const { return m_codePage; }
    /// Last-update date as stored: year - 1900, month, day.
    std::array<uint8_t, 3> lastUpdate() const { return m_lastUpdate; }

    /// Reads record `recno` (1-based) into `out` (recordLength() bytes).
    Status readRecord(uint32_t recno, char *out) const;
    /// Reads `count` consecutive records starting at `first` in one call.
    Status readRecords(uint32_t first, uint32_t count, char *out) const;
    /// Overwrites an existing record. Requires: 1 <= recno <= recordCount().
    Status writeRecord(uint32_t recno, const char *data);
    /// Overwrites `count` consecutive existing records in one call.
    Status writeRecords(uint32_t first, uint32_t count, const char *data);
    /// Appends one record: the record and the end mark are written first, then the header
    /// count, so a process stopped in between leaves the previous table intact.
    Status appendRecord(const char *data, uint32_t &recno);
    /// Appends many records in one write, then the header count once.
    Status appendRecords(const char *data, uint32_t count);
    /// Keeps the first `count` records: writes the header count first, then cuts the file
    /// after the end mark.
    Status truncateTo(uint32_t count);
    /// Sets or clears the production-index bit of byte 28.
    Status setProductionIndex(bool present);
    /// Code page mark of Windows-1252 text.
    static constexpr uint8_t kCodePageWindows1252 = 0x03;
    /// Sets byte 29, the code page mark, so that other programs decode the text as it is
    /// stored (without one they guess, often a DOS code page).
    Status setCodePageMark(uint8_t mark);
    /// The header as stored: the first headerLength() bytes.
    Status headerBytes(std::string &out) const;
    /// Makes `header` (from headerBytes()) the header of a table holding `count` records,
    /// updated today, with no pending writes.
    static void stampHeader(std::string &header, uint32_t count);
    /// Re-reads the count from the header (another shared opener may have appended).
    Status refresh();

    /// Deferred header writes, for a table opened exclusively: appends then write only the
    /// record and the end mark (one call), and the count reaches the header at syncHeader().
    /// Before the first deferred write, header byte 14 is set; a file opened with that byte
    /// set was left by a stopped writer, and every whole record in it counts as posted.
    Status setDeferredHeader(bool deferred);
    /// Writes the true count and date and clears byte 14.
    Status syncHeader();
    /// True when the file was opened with byte 14 set (see setDeferredHeader()).
    bool wasLeftPending() const { return m_wasPending; }
    /// Sets byte 14 before a deferred write (no-op unless deferring; done once).
    Status markPending();

    /// While deferring, an overwrite of existing records first goes to a redo journal beside
    /// the table (journalPath()), so a write cut short can be completed: a writable open of a
    /// file left pending applies the journal (recoverJournal()), a read-only one reads through
    /// it. syncHeader() removes the journal.
    void setJournaled(bool on) { m_journaled = on; }
    /// Applies a journal a stopped writer left (when the file was left pending) and removes
    /// any journal. A journal whose bytes do not check out was cut short itself: its records
    /// were never touched, and it is ignored.
    Status recoverJournal();
    /// After writeRecord(recno, ...) failed: makes `data` (the record's bytes before) what the
    /// record holds again. True when the record will hold them, written now or, should that
    /// fail, by the next write or flush or from the journal; false when it will hold the bytes
    /// of the failed write instead.
    bool undoWrite(uint32_t recno, const char *data);
    /// The journal of the table at `path`: the same name with the extension JNL.
    static std::string journalPath(const std::string &path);

    File &file() { return *m_file; }

    /// Keeps the last records read one at a time in memory, for a table no other process
    /// can write (opened exclusively): seeks and goes that return to the same records then
    /// skip the read. Writes through this object keep it true.
    void setRecordCache(bool on);

private:
    DbfFile() = default;
    Status parse(uint64_t fileSize);
    Status writeHeaderCount(uint32_t count, bool clearPending = false);
    static constexpr size_t kPendingByte = 14;
    static constexpr uint8_t kPendingMark = 1;
    uint64_t recordOffset(uint32_t recno) const
    {
        return m_headerLength + static_cast<uint64_t>(recno - 1) * m_recordLength;
    }

    void forgetCached(uint32_t first, uint32_t count);
    Status writeJournal(uint32_t first, uint32_t count, const char *data);
    // Records one journal entry holds at most.
    uint32_t journalBatch() const;
    // Writes the records of an overwrite that failed after its journal entry was written.
    Status settle();
    // The records a valid journal holds: false when there is none or it does not check out.
    bool readJournal(uint32_t &first, uint32_t &count, std::string &data) const;

    static constexpr uint32_t kCachedRecords = 256;
    std::unique_ptr<File> m_file;
    Env *m_env = nullptr;
    bool m_journaled = false;
    std::unique_ptr<File> m_journal; // open while this object has written a journal entry
    // An overwrite that failed after its journal entry was written: the journal's records,
    // which must reach the file before anything else is written or the journal goes.
    std::string m_unsettled;
    uint32_t m_unsettledFirst = 0;
    uint32_t m_journalSequence = 0;
    std::string m_journalEntry; // the entry being written, kept for its memory
    // A read-only opener's view of a journal a stopped writer left: records m_overlayFirst ..
    std::string m_overlay;
    uint32_t m_overlayFirst = 0;
    uint32_t m_overlayCount = 0;
    Schema m_schema;
    bool m_cacheOn = false;
    mutable std::vector<uint32_t> m_cachedRecno; // per slot, 0 = empty
    mutable std::string m_cachedData;            // kCachedRecords records
    uint8_t m_version = kVersionPlain;
    uint32_t m_recordCount = 0;
    uint32_t m_claimedCount = 0;
    uint16_t m_headerLength = 0;
    uint16_t m_recordLength = 0;
    uint8_t m_flags = 0;
    uint8_t m_codePage = 0;
    std::array<uint8_t, 3> m_lastUpdate{{0, 1, 1}};
    std::string m_appendBuffer; // a record and the end mark, written in one call
    bool m_deferred = false;    // header writes wait for syncHeader()
    bool m_pending = false;     // byte 14 is set in the file by this object
    bool m_wasPending = false;  // byte 14 was set when the file was opened
};

} // namespace xbase
