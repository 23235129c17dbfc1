#include "TableParts.h"

#include <cctype>
#include <unistd.h>

namespace xbase {

using namespace tableparts;

Table::Table() : m_env(&Env::posix()) {}

Table::~Table()
{
    // A destructor cannot report: callers that need to know close() first.
    (void)close();
}

const Schema &Table::schema() const
{
    static const Schema empty;
    return m_dbf ? m_dbf->schema() : empty;
}

// ---- Files -----------------------------------------------------------------------------

Status Table::create(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fields)
{
    XBASE_TRY(DbfFile::validateFields(fields));
    const std::string staging = stagingPath(path);
    XBASE_TRY(createFiles(env, staging, fields));
    return putInPlace(env, staging, path, hasMemoField(fields));
}

bool Table::hasMemoField(const std::vector<FieldDescriptor> &fields)
{
    return std::any_of(fields.begin(), fields.end(), [](const FieldDescriptor &f) { return f.type == 'M'; });
}

std::string Table::stagingPath(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "$";
    return path.substr(0, dot) + "$" + path.substr(dot);
}

Status Table::createFiles(Env &env, const std::string &path, const std::vector<FieldDescriptor> &fields)
{
    const bool needsMemo = hasMemoField(fields);
    const std::string memoPath = companionPath(env, path, "FPT");
    if (needsMemo) {
        std::unique_ptr<MemoFile> memo;
        const Status s = MemoFile::create(env, memoPath, MemoFile::kDefaultBlockSize, memo);
        if (!s.ok()) {
            memo.reset();
            removeIfThere(env, memoPath);
            return s;
        }
    }
    std::unique_ptr<DbfFile> dbf;
    const Status s = DbfFile::create(env, path, fields, dbf);
    if (!s.ok()) {
        dbf.reset();
        removeIfThere(env, path);
        if (needsMemo)
            removeIfThere(env, memoPath);
    }
    return s;
}

Status Table::putInPlace(Env &env, const std::string &staging, const std::string &path, bool hasMemo)
{
    // The old table goes first, its index with it (it describes records that are gone); the
    // memo file comes next and the DBF last, so a DBF under the name always has its memo file.
    const std::string stagingMemo = companionPath(env, staging, "FPT");
    const std::string oldIndex = companionPath(env, path, "CDX");
    Status s;
    if (env.exists(path))
        s = env.remove(path);
    if (s.ok() && env.exists(oldIndex))
        s = env.remove(oldIndex);
    if (s.ok() && hasMemo)
        s = env.rename(stagingMemo, companionPath(env, path, "FPT"));
    if (s.ok())
        s = env.rename(staging, path);
    if (!s.ok()) {
        removeIfThere(env, staging);
        removeIfThere(env, stagingMemo);
    }
    return s;
}

int Table::codePageOf(uint8_t mark)
{
    // The code page marks of DBF files (language driver numbers) and the code pages they name.
    static const std::pair<uint8_t, int> kMarks[] = {
        {0x01, 437},   {0x02, 850},  {0x03, 1252}, {0x04, 10000}, {0x08, 865},  {0x09, 437},   {0x0A, 850},
        {0x0B, 437},   {0x0D, 437},  {0x0E, 850},  {0x0F, 437},   {0x10, 850},  {0x11, 437},   {0x12, 850},
        {0x13, 932},   {0x14, 850},  {0x15, 437},  {0x16, 850},   {0x17, 865},  {0x18, 437},   {0x19, 437},
        {0x1A, 850},   {0x1B, 437},  {0x1C, 863},  {0x1D, 850},   {0x1F, 852},  {0x22, 852},   {0x23, 852},
        {0x24, 860},   {0x25, 850},  {0x26, 866},  {0x37, 850},   {0x40, 852},  {0x4D, 936},   {0x4E, 949},
        {0x4F, 950},   {0x50, 874},  {0x57, 1252}, {0x58, 1252},  {0x59, 1252}, {0x64, 852},   {0x65, 866},
        {0x66, 865},   {0x67, 861},  {0x6A, 737},  {0x6B, 857},   {0x6C, 863},  {0x78, 950},   {0x79, 949},
        {0x7A, 936},   {0x7B, 932},  {0x7C, 874},  {0x7D, 1255},  {0x7E, 1256}, {0x96, 10007}, {0x97, 10029},
        {0x98, 10006}, {0xC8, 1250}, {0xC9, 1251}, {0xCA, 1254},  {0xCB, 1253}, {0xCC, 1257},
    };
    for (const auto &m : kMarks)
        if (m.first == mark)
            return m.second;
    return 0;
}

TableInfo Table::info() const
{
    TableInfo i;
    if (!m_dbf)
        return i;
    i.version = m_dbf->version();
    i.lastUpdate = m_dbf->lastUpdate();
    i.records = m_dbf->recordCount();
    i.claimedRecords = m_dbf->claimedRecordCount();
    i.headerLength = m_dbf->headerLength();
    i.recordLength = m_dbf->recordLength();
    i.flags = m_dbf->tableFlags();
    i.codePageMark = m_dbf->codePage();
    i.codePage = codePageOf(i.codePageMark);
    if (m_memo) {
        i.memoPath = m_memo->path();
        i.memoIsDbt = m_memo->kind() == MemoFile::Kind::Dbt;
        i.memoBlockSize = m_memo->blockSize();
        i.memoNextFree = m_memo->nextFreeBlock();
    }
    if (m_cdx)
        i.indexPath = m_cdx->path();
    return i;
}

Status Table::open(Env &env, const std::string &path, OpenMode mode, const std::string &alias)
{
    XBASE_TRY(close());
    m_env = &env;
    const bool readOnly = mode == OpenMode::ReadOnly;
    std::unique_ptr<DbfFile> dbf;
    XBASE_TRY(DbfFile::open(env, path, readOnly, dbf));
    XBASE_TRY(dbf->file().lock(mode == OpenMode::Exclusive ? FileLockKind::Exclusive : FileLockKind::Shared));
    // New files a pack or zap left complete take the old ones' places before anything is read;
    // a reader that may not write reads them where they lie.
    FileSet files = filesOf(env, path);
    if (env.exists(files.dbf + kSwapDone)) {
        if (readOnly) {
            dbf.reset();
            XBASE_TRY(DbfFile::open(env, files.dbf + kSwapDone, true, dbf));
            if (env.exists(files.memo + kSwapNew))
                files.memo += kSwapNew;
            if (env.exists(files.index + kSwapNew))
                files.index += kSwapNew;
        } else {
            dbf.reset();
            XBASE_TRY(finishSwap(env, files));
            XBASE_TRY(DbfFile::open(env, path, readOnly, dbf));
            XBASE_TRY(dbf->file().lock(mode == OpenMode::Exclusive ? FileLockKind::Exclusive
                                                                   : FileLockKind::Shared));
            files = filesOf(env, path);
        }
    } else if (!readOnly) {
        // Work files of a pack that stopped before its new files were complete.
        for (const std::string &left : {files.dbf + kSwapNew, files.memo + kSwapNew, files.index + kSwapNew})
            removeIfThere(env, left);
    }
    std::unique_ptr<MemoFile> memo;
    if (dbf->hasMemoFields()) {
        if (!env.exists(files.memo))
            return Status::NotFound("Memo file " + files.memo + " not found");
        if (files.memoIsDbt && !readOnly)
            return Status::InvalidArgument(path +
                                           " has a dBase memo file (.DBT); such tables open read-only only");
        XBASE_TRY(MemoFile::open(env, files.memo, readOnly, memo,
                                 files.memoIsDbt ? MemoFile::Kind::Dbt : MemoFile::Kind::Fpt));
    }
    // A writer stopped while its header writes were deferred: its memo blocks run to the end
    // of the memo file (the record count was recovered the same way when the DBF opened).
    if (dbf->wasLeftPending() && memo)
        XBASE_TRY(memo->recoverNextFree());
    // Its last overwrite of a record may have been cut short: the journal completes it.
    if (!readOnly)
        XBASE_TRY(dbf->recoverJournal());
    if (mode == OpenMode::Exclusive) {
        // Nobody else reads the file while it is open, so header writes wait for flush();
        // the headers of a stopped writer are corrected here.
        XBASE_TRY(dbf->syncHeader());
        if (memo)
            XBASE_TRY(memo->syncHeader());
        XBASE_TRY(dbf->setDeferredHeader(true));
        dbf->setJournaled(true);
        if (memo)
            memo->setDeferredHeader(true);
        dbf->setRecordCache(true);
    }
    m_dbf = std::move(dbf);
    m_memo = std::move(memo);
    m_path = path;
    m_mode = mode;
    m_alias = alias.empty() ? fileStem(path) : alias;
    const Status s = openIndexes(files.index, readOnly);
    if (!s.ok()) {
        // The open's own failure is the one to report; nothing was written since.
        (void)close();
        return s;
    }
    return goTop();
}

Table::FileSet Table::filesOf(Env &env, const std::string &path)
{
    FileSet f;
    f.dbf = path;
    f.index = companionPath(env, path, "CDX");
    const std::string fpt = companionPath(env, path, "FPT");
    const std::string dbt = companionPath(env, path, "DBT");
    f.memo = fpt;
    // dBase tables keep their memos in a .DBT; FoxPro ones in an .FPT. The version byte says
    // which, and the file that exists decides where it does not.
    uint8_t version = 0;
    std::unique_ptr<File> file;
    if (env.open(path, FileAccess::ReadOnly, file).ok() && file->readAt(0, &version, 1).ok()) {
        const bool dbase = version == 0x83 || version == 0x8B || version == 0x8E || version == 0xCB;
        const bool haveFpt = env.exists(fpt);
        const bool haveDbt = env.exists(dbt);
        if ((dbase && (haveDbt || !haveFpt)) || (!dbase && haveDbt && !haveFpt)) {
            f.memo = dbt;
            f.memoIsDbt = true;
        }
    }
    return f;
}

Status Table::finishSwap(Env &env, const FileSet &files)
{
    if (env.exists(files.memo + kSwapNew))
        XBASE_TRY(env.rename(files.memo + kSwapNew, files.memo));
    if (env.exists(files.index + kSwapNew))
        XBASE_TRY(env.rename(files.index + kSwapNew, files.index));
    return env.rename(files.dbf + kSwapDone, files.dbf);
}

Status Table::close()
{
    Status result;
    if (m_editing)
        cancelEdit();
    if (m_idx)
        result = closeTempIndex(false);
    const Status flushed = flush();
    if (result.ok())
        result = flushed;
    m_tags.clear();
    m_cdx.reset();
    m_memo.reset();
    m_dbf.reset();
    m_path.clear();
    m_alias.clear();
    m_order = 0;
    m_scoped = false;
    m_scopeLo.clear();
    m_scopeHi.clear();
    m_recno = 0;
    m_eof = m_bof = true;
    m_found = false;
    m_record.clear();
    m_entryKey.clear();
    m_queryText.clear();
    m_query = Expression();
    m_queryBits.clear();
    m_queryActive = false;
    m_indexInterrupted = false;
    m_indexError.clear();
    m_readAheadCount = 0;
    return result;
}

Status Table::flush()
{
    if (!m_dbf || m_mode == OpenMode::ReadOnly)
        return Status::Ok();
    // Each file is brought up to date even when another fails; the first failure is reported.
    Status result;
    const auto keep = [&result](const Status &s) {
        if (result.ok() && !s.ok())
            result = s;
    };
    // The DBF's pending mark tells the next opener to recover the memo file's next free block
    // too, so it is cleared only once that block is in the memo header.
    if (m_memo)
        keep(m_memo->syncHeader());
    if (result.ok())
        keep(m_dbf->syncHeader());
    if (m_cdx)
        keep(m_cdx->flush());
    if (m_idx)
        keep(m_idx->flush());
    return result;
}

std::string Table::cdxPath() const
{
    return companionPath(*m_env, m_path, "CDX");
}

// ---- Settings --------------------------------------------------------------------------

void Table::setDeletedHidden(bool hidden)
{
    if (hidden == m_deletedHidden)
        return;
    m_deletedHidden = hidden;
    requery();
}

void Table::setExact(bool exact)
{
    if (exact == m_eval.exact)
        return;
    m_eval.exact = exact;
    requery();
}

void Table::requery()
{
    if (!m_queryActive)
        return;
    // Without its bitmap the query is answered record by record, which is slower but right.
    if (!rebuildQuery().ok()) {
        m_queryBitCount = 0;
        m_queryBits.clear();
    }
}

// ---- The current record ----------------------------------------------------------------

RecordRef Table::record() const
{
    if (!isOpen())
        return {};
    return RecordRef{m_editing ? m_edit.data() : m_record.data(),
                     m_editing && m_appending ? recordCount() + 1 : m_recno};
}

Status Table::memoBlock(const char *data, const FieldDescriptor &f, uint32_t &block) const
{
    block = 0;
    const char *p = data + f.offset;
    if (f.length == 4) {
        const auto *u = reinterpret_cast<const unsigned char *>(p);
        block = static_cast<uint32_t>(u[0]) | (static_cast<uint32_t>(u[1]) << 8) |
                (static_cast<uint32_t>(u[2]) << 16) | (static_cast<uint32_t>(u[3]) << 24);
        return Status::Ok();
    }
    uint64_t v = 0;
    bool digits = false;
    for (uint8_t i = 0; i < f.length; ++i) {
        const char c = p[i];
        if (c == ' ' || c == '\0') {
            if (digits)
                break;
            continue;
        }
        if (c < '0' || c > '9')
            return Status::Corruption("Memo pointer of field " + f.name + " is not a number");
        digits = true;
        v = v * 10 + static_cast<uint64_t>(c - '0');
        if (v > 0xFFFFFFFFull)
            return Status::Corruption("Memo pointer of field " + f.name + " is out of range");
    }
    block = static_cast<uint32_t>(v);
    return Status::Ok();
}

void Table::putMemoBlock(char *data, const FieldDescriptor &f, uint32_t block) const
{
    char *p = data + f.offset;
    if (f.length == 4) {
        for (int i = 0; i < 4; ++i)
            p[i] = static_cast<char>(block >> (8 * i));
        return;
    }
    std::memset(p, ' ', f.length);
    if (block == 0)
        return;
    const std::string digits = std::to_string(block);
    if (digits.size() <= f.length)
        std::memcpy(p + f.length - digits.size(), digits.data(), digits.size());
}

Status Table::fieldValue(std::string_view name, std::string &out) const
{
    const int i = schema().indexOf(name);
    if (i < 0)
        return Status::NotFound("Field " + std::string(name) + " does not exist");
    return fieldValue(i, out);
}

Status Table::fieldValue(int index, std::string &out) const
{
    out.clear();
    if (!isOpen() || index < 0 || index >= schema().fieldCount())
        return Status::NotFound("Field " + std::to_string(index) + " does not exist");
    if (schema().field(index).type == 'M') {
        if (m_editing) {
            auto it = m_memoEdits.find(index);
            if (it != m_memoEdits.end()) {
                out = it->second;
                return Status::Ok();
            }
        }
        if (m_eof)
            return Status::Ok();
    }
    return fieldValue(record(), index, out);
}

Status Table::fieldValue(const RecordRef &rec, int index, std::string &out) const
{
    out.clear();
    if (!isOpen() || index < 0 || index >= schema().fieldCount())
        return Status::NotFound("Field " + std::to_string(index) + " does not exist");
    if (rec.data == nullptr)
        return Status::InvalidArgument("No record bytes were given");
    const FieldDescriptor &f = schema().field(index);
    const std::string_view raw(rec.data + f.offset, f.length);
    switch (f.type) {
    case 'C':
        out = trimRight(raw);
        return Status::Ok();
    case 'N':
    case 'F':
        out = trimBoth(raw);
        return Status::Ok();
    case 'L': {
        const char c = raw[0];
        out = (c == 'T' || c == 't' || c == 'Y' || c == 'y') ? "T" : (c == ' ' || c == '?') ? "" : "F";
        return Status::Ok();
    }
    case 'D':
        out = trimRight(raw);
        return Status::Ok();
    case 'M': {
        uint32_t block = 0;
        XBASE_TRY(memoBlock(rec.data, f, block));
        if (block == 0)
            return Status::Ok();
        if (!m_memo)
            return Status::NotFound("The table has no memo file");
        return m_memo->read(block, out);
    }
    default:
        out.assign(raw.data(), raw.size());
        return Status::Ok();
    }
}

Status Table::storedRecord(uint32_t recno, std::string &out) const
{
    out.clear();
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (recno == 0 || recno > recordCount())
        return Status::NotFound("Record " + std::to_string(recno) + " does not exist");
    std::string bytes(m_dbf->recordLength(), ' ');
    XBASE_TRY(m_dbf->readRecord(recno, &bytes[0]));
    out.swap(bytes);
    return Status::Ok();
}

Status Table::logicalValue(std::string_view name, bool &out) const
{
    std::string v;
    XBASE_TRY(fieldValue(name, v));
    out = v == "T";
    return Status::Ok();
}

Status Table::memo(std::string_view name, std::string &out) const
{
    const int i = schema().indexOf(name);
    if (i < 0 || schema().field(i).type != 'M')
        return Status::NotFound("Memo field " + std::string(name) + " does not exist");
    return fieldValue(i, out);
}

// ---- Editing ---------------------------------------------------------------------------

Status Table::lockRecord()
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode == OpenMode::ReadOnly)
        return Status::IoError(m_path + " is open read-only");
    if (m_editing)
        return Status::Ok();
    if (m_eof || m_recno == 0)
        return Status::NotFound("No current record to edit");
    if (m_mode == OpenMode::Shared) {
        XBASE_TRY(m_dbf->file().lockRange(recordLockOffset(m_recno)));
        // Another opener may have changed the record since it was read.
        XBASE_TRY(loadRecord(m_recno));
    }
    m_lockedRecno = m_recno;
    m_edit = m_record;
    m_memoEdits.clear();
    m_appending = false;
    m_editing = true;
    return Status::Ok();
}

Status Table::appendBlank()
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode == OpenMode::ReadOnly)
        return Status::IoError(m_path + " is open read-only");
    if (m_editing)
        cancelEdit();
    m_edit.assign(m_dbf->recordLength(), ' ');
    m_memoEdits.clear();
    m_appending = true;
    m_editing = true;
    return Status::Ok();
}

Status Table::setFieldValue(std::string_view name, std::string_view value)
{
    const int i = schema().indexOf(name);
    if (i < 0)
        return Status::NotFound("Field " + std::string(name) + " does not exist");
    return setFieldValue(i, value);
}

Status Table::setFieldValue(int i, std::string_view value)
{
    if (!isOpen() || i < 0 || i >= schema().fieldCount())
        return Status::NotFound("Field " + std::to_string(i) + " does not exist");
    if (!m_editing)
        XBASE_TRY(lockRecord());
    const FieldDescriptor &f = schema().field(i);
    if (f.type == 'M') {
        if (!m_memo)
            return Status::NotFound("The table has no memo file");
        m_memoEdits[i] = std::string(value);
        return Status::Ok();
    }
    return putField(&m_edit[0], i, value);
}

Status Table::putField(char *data, int i, std::string_view value) const
{
    if (!isOpen() || i < 0 || i >= schema().fieldCount())
        return Status::NotFound("Field " + std::to_string(i) + " does not exist");
    const FieldDescriptor &f = schema().field(i);
    char *p = data + f.offset;
    switch (f.type) {
    case 'C': {
        const size_t n = std::min<size_t>(value.size(), f.length);
        std::memcpy(p, value.data(), n);
        std::memset(p + n, ' ', f.length - n);
        return Status::Ok();
    }
    case 'N':
    case 'F': {
        const std::string v = trimBoth(value);
        if (v.size() > f.length)
            return Status::InvalidArgument("Value " + v + " does not fit field " + f.name);
        for (char c : v)
            if (!std::isdigit(static_cast<unsigned char>(c)) && c != '-' && c != '.' && c != '+')
                return Status::InvalidArgument("Value " + v + " is not a number");
        std::memset(p, ' ', f.length);
        std::memcpy(p + f.length - v.size(), v.data(), v.size());
        return Status::Ok();
    }
    case 'L': {
        const std::string v = trimBoth(value);
        if (v.empty()) {
            *p = ' ';
            return Status::Ok();
        }
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(v[0])));
        if (c != 'T' && c != 'F' && c != 'Y' && c != 'N')
            return Status::InvalidArgument("Value " + v + " is not a logical value");
        *p = (c == 'T' || c == 'Y') ? 'T' : 'F';
        return Status::Ok();
    }
    case 'D': {
        const std::string v = trimBoth(value);
        if (!v.empty() && (v.size() != 8 || !std::all_of(v.begin(), v.end(), [](char c) {
                               return std::isdigit(static_cast<unsigned char>(c));
                           })))
            return Status::InvalidArgument("Value " + v + " is not a date YYYYMMDD");
        std::memset(p, ' ', 8);
        std::memcpy(p, v.data(), v.size());
        return Status::Ok();
    }
    case 'M':
        return Status::InvalidArgument("Memo field " + f.name + " is written by putMemo");
    default:
        return Status::InvalidArgument("Field " + f.name + " has a type this engine does not write");
    }
}

Status Table::setLogical(std::string_view name, bool value)
{
    return setFieldValue(name, value ? "T" : "F");
}

void Table::cancelEdit()
{
    if (m_editing && m_mode == OpenMode::Shared && m_lockedRecno != 0)
        m_dbf->file().unlockRange(recordLockOffset(m_lockedRecno));
    m_editing = false;
    m_appending = false;
    m_lockedRecno = 0;
    m_edit.clear();
    m_memoEdits.clear();
}

Status Table::post()
{
    if (!m_editing)
        return Status::Ok();
    for (const auto &t : m_tags)
        if (!t->error.empty())
            return Status::InvalidArgument(t->error + "; the index cannot be kept up to date");
    // Shared openers take turns at the end of the files: under the header lock they see the
    // count and the next free memo block the others left.
    struct HeaderLock {
        File *file = nullptr;
        ~HeaderLock()
        {
            if (file)
                file->unlockRange(kHeaderLockOffset);
        }
    } headerLock;
    if (m_mode == OpenMode::Shared) {
        XBASE_TRY(m_dbf->file().lockRange(kHeaderLockOffset, true));
        headerLock.file = &m_dbf->file();
        XBASE_TRY(m_dbf->refresh());
        if (m_memo)
            XBASE_TRY(m_memo->refresh());
        if (m_cdx)
            XBASE_TRY(m_cdx->refresh());
    }
    XBASE_TRY(m_dbf->markPending());
    // Memo blocks first, always new ones: until the record points at them the old text stays
    // whole, so a stopped writer leaves the record with its old memo or its new one.
    for (const auto &me : m_memoEdits) {
        const FieldDescriptor &f = schema().field(me.first);
        if (!m_appending) {
            uint32_t oldBlock = 0;
            std::string oldText;
            if (memoBlock(m_edit.data(), f, oldBlock).ok() && m_memo->read(oldBlock, oldText).ok() &&
                oldText == me.second)
                continue;
        }
        uint32_t newBlock = 0;
        XBASE_TRY(m_memo->write(0, me.second, newBlock));
        putMemoBlock(&m_edit[0], f, newBlock);
    }
    // Then the tags: their first change marks the index file as being updated, so a process
    // stopped before the record is written leaves an index that asks for its rebuild.
    std::string old;
    uint32_t recno = m_recno;
    if (m_appending) {
        recno = m_dbf->recordCount() + 1;
    } else {
        // The keys to remove are those of the record as stored. Only a shared opener can find
        // it changed since it was read (lockRecord() read it again under the lock).
        if (m_mode != OpenMode::Exclusive)
            XBASE_TRY(m_dbf->readRecord(recno, &m_record[0]));
        old = m_record;
    }
    if (const Status s = updateTags(old, m_edit, recno, m_appending); !s.ok()) {
        // Some tags may hold the new keys already: the index asks for its rebuild.
        indexLeftBehind();
        return s;
    }
    m_readAheadCount = 0;
    uint32_t written = 0;
    const Status stored =
        m_appending ? m_dbf->appendRecord(m_edit.data(), written) : m_dbf->writeRecord(recno, m_edit.data());
    if (!stored.ok()) {
        // The record stays as it was: a write cut short is undone (the journal completes the
        // undo should that fail too), and the keys go back to what the record holds; failing
        // that, the index asks for its rebuild.
        bool back = true;
        if (m_appending)
            back = removeKeys(m_edit, recno).ok();
        else if (m_dbf->undoWrite(recno, old.data()))
            back = updateTags(m_edit, old, recno, false).ok();
        if (!back)
            indexLeftBehind();
        return stored;
    }
    if (m_appending && m_queryActive && recno == m_queryBitCount + 1) {
        // The bitmap grows with the table so the new record's bit is kept below.
        if (m_queryBits.size() * 64 < recno)
            m_queryBits.push_back(0);
        ++m_queryBitCount;
    }
    if (m_mode == OpenMode::Shared && m_cdx)
        XBASE_TRY(m_cdx->flush()); // before the header lock lets the next writer in
    m_record.swap(m_edit);
    cancelEdit();
    m_recno = recno;
    m_eof = m_bof = false;
    if (m_queryActive)
        setQueryBit(recno, (!m_deletedHidden || m_record[0] != '*') &&
                               m_query.isTrue(RecordRef{m_record.data(), recno}, m_eval));
    return syncEntry();
}

Status Table::removeKeys(const std::string &data, uint32_t recno)
{
    const RecordRef rec{data.data(), recno};
    for (const auto &t : m_tags) {
        if (!t->key.isValid() || t->isTemporary || (t->hasCondition() && !t->condition.isTrue(rec, {})))
            continue;
        const Status s = t->tag->remove(t->key.indexKey(rec), recno);
        if (!s.ok() && s.code() != StatusCode::NotFound)
            return s;
    }
    return Status::Ok();
}

void Table::indexLeftBehind()
{
    m_indexInterrupted = true;
    if (m_cdx)
        m_cdx->markInterrupted();
}

Status Table::updateTags(const std::string &oldData, const std::string &newData, uint32_t recno, bool isNew)
{
    const RecordRef newRec{newData.data(), recno};
    const RecordRef oldRec{oldData.data(), recno};
    for (const auto &t : m_tags) {
        if (!t->key.isValid())
            continue;
        if (isNew) {
            if (!t->isTemporary && (!t->hasCondition() || t->condition.isTrue(newRec, {})))
                XBASE_TRY(t->tag->insert(t->key.indexKey(newRec), recno));
            continue;
        }
        if (!t->affectedBy(oldData, newData))
            continue;
        const std::string newKey = t->key.indexKey(newRec);
        const bool newIn = !t->hasCondition() || t->condition.isTrue(newRec, {});
        const std::string oldKey = t->key.indexKey(oldRec);
        const bool oldIn = !t->hasCondition() || t->condition.isTrue(oldRec, {});
        if (oldKey == newKey && oldIn == newIn)
            continue;
        bool wasThere = oldIn;
        if (oldIn) {
            const Status s = t->tag->remove(oldKey, recno);
            if (s.code() == StatusCode::NotFound)
                wasThere = false;
            else if (!s.ok())
                return s;
        }
        if (t->isTemporary && !wasThere)
            continue; // only records added by keyAdd() belong to a temporary index
        if (newIn)
            XBASE_TRY(t->tag->insert(newKey, recno));
    }
    return Status::Ok();
}

Status Table::deleteRecord()
{
    if (!m_editing)
        XBASE_TRY(lockRecord());
    if (m_appending)
        return Status::InvalidArgument("Post the new record before marking it");
    m_edit[0] = '*';
    return post();
}

Status Table::recall()
{
    if (!m_editing)
        XBASE_TRY(lockRecord());
    if (m_appending)
        return Status::InvalidArgument("Post the new record before recalling it");
    m_edit[0] = ' ';
    return post();
}

} // namespace xbase
