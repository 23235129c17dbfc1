#include "TableParts.h"

#include "CompactTagBuilder.h"

#include <cstring>

namespace xbase {

using namespace tableparts;

// ---- Maintenance -----------------------------------------------------------------------

Status Table::pack(ProgressHook *progress)
{
    return rewrite(false, progress);
}

Status Table::zap()
{
    return rewrite(true, nullptr);
}

namespace {

// Sequential output to a new file, written in large pieces.
class FileWriter
{
public:
    explicit FileWriter(File &file, uint64_t at) : m_file(file), m_at(at)
    {
        m_buffer.reserve(kChunkBytes + 4096);
    }
    std::string &buffer() { return m_buffer; }
    // Writes the buffer once it holds a chunk's worth.
    Status spill() { return m_buffer.size() >= kChunkBytes ? drain() : Status::Ok(); }
    Status drain()
    {
        if (m_buffer.empty())
            return Status::Ok();
        XBASE_TRY(m_file.writeAt(m_at, m_buffer.data(), m_buffer.size()));
        m_at += m_buffer.size();
        m_buffer.clear();
        return Status::Ok();
    }

private:
    File &m_file;
    uint64_t m_at;
    std::string m_buffer;
};

} // namespace

Status Table::rewrite(bool keepNone, ProgressHook *progress)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode != OpenMode::Exclusive)
        return Status::InvalidArgument(keepNone ? "Zap needs the table opened exclusively"
                                                : "Pack needs the table opened exclusively");
    if (m_editing)
        cancelEdit();
    // The headers on disk must be true before they are copied, and nothing may be left to
    // write to the old files once the new ones replace them.
    XBASE_TRY(flush());
    const bool hasTags = tagCount() > 0;
    // A sound index is carried over with its record numbers renumbered, which needs no key
    // computed again; one left mid-update is built again once the new records are in place;
    // one that could not be read is left as it is.
    const bool renumber = hasTags && !m_indexInterrupted && m_indexError.empty();
    const bool rebuildAfter = hasTags && !renumber && m_indexError.empty();
    FileSet files;
    files.dbf = m_path;
    files.memo = m_memo ? m_memo->path() : companionPath(*m_env, m_path, "FPT");
    files.index = cdxPath();
    const std::string newDbf = files.dbf + kSwapNew;
    const std::string newMemo = files.memo + kSwapNew;
    const std::string newIndex = files.index + kSwapNew;

    ScaledProgress recordPart(progress, 0, hasTags ? 50 : 100);
    RecordProgress rp(progress ? &recordPart : nullptr, recordCount());
    if (!rp.start())
        return Status::InvalidArgument(keepNone ? "Zap cancelled" : "Pack cancelled");

    const auto discard = [&](const Status &why) {
        removeIfThere(*m_env, newDbf);
        removeIfThere(*m_env, newMemo);
        removeIfThere(*m_env, newIndex);
        return why;
    };
    const uint32_t count = recordCount();
    const uint32_t recLen = m_dbf->recordLength();
    std::vector<uint32_t> renumbered(renumber ? static_cast<size_t>(count) + 1 : 0, 0);
    uint32_t written = 0;
    Status result = [&]() -> Status {
        std::string dbfHeader;
        XBASE_TRY(m_dbf->headerBytes(dbfHeader));
        std::unique_ptr<File> dbfOut;
        XBASE_TRY(m_env->open(newDbf, FileAccess::Create, dbfOut));
        FileWriter records(*dbfOut, dbfHeader.size());
        std::unique_ptr<File> memoOut;
        std::unique_ptr<FileWriter> memos;
        std::string memoHeader;
        uint32_t nextBlock = 0;
        const uint32_t blockSize = m_memo ? m_memo->blockSize() : 0;
        if (m_memo) {
            XBASE_TRY(m_memo->headerBytes(memoHeader));
            XBASE_TRY(m_env->open(newMemo, FileAccess::Create, memoOut));
            memos = std::make_unique<FileWriter>(*memoOut, memoHeader.size());
            nextBlock = m_memo->firstDataBlock();
        }
        std::vector<const FieldDescriptor *> memoFields;
        for (const FieldDescriptor &f : schema().fields())
            if (f.type == 'M' || f.type == 'G' || f.type == 'P')
                memoFields.push_back(&f);

        // The kept records in their order, each memo copied right after the one before.
        const uint32_t perChunk = recordsPerChunk(recLen, count);
        std::vector<char> in(static_cast<size_t>(perChunk) * recLen);
        std::string text;
        // The memos of a chunk's kept records, field by field, read together; a chunk where
        // that fails is read memo by memo, so the fault is reported with its record.
        std::vector<std::vector<std::string>> chunkTexts(memoFields.size());
        std::vector<std::vector<uint32_t>> chunkTypes(memoFields.size());
        std::vector<uint32_t> chunkBlocks;
        for (uint32_t first = 1; !keepNone && first <= count; first += perChunk) {
            const uint32_t n = std::min(perChunk, count - first + 1);
            XBASE_TRY(m_dbf->readRecords(first, n, in.data()));
            bool together = m_memo != nullptr;
            for (size_t fi = 0; together && fi < memoFields.size(); ++fi) {
                chunkBlocks.assign(n, 0);
                for (uint32_t k = 0; together && k < n; ++k) {
                    const char *rec = in.data() + static_cast<size_t>(k) * recLen;
                    together = rec[0] == '*' || memoBlock(rec, *memoFields[fi], chunkBlocks[k]).ok();
                    if (rec[0] == '*')
                        chunkBlocks[k] = 0;
                }
                chunkTexts[fi].resize(n);
                chunkTypes[fi].resize(n);
                together = together && m_memo->readMany(chunkBlocks.data(), n, chunkTexts[fi].data(),
                                                        chunkTypes[fi].data())
                                           .ok();
            }
            for (uint32_t k = 0; k < n; ++k) {
                const char *rec = in.data() + static_cast<size_t>(k) * recLen;
                if (rec[0] == '*')
                    continue;
                ++written;
                if (renumber)
                    renumbered[first + k] = written;
                std::string &out = records.buffer();
                const size_t at = out.size();
                out.append(rec, recLen);
                for (size_t fi = 0; fi < memoFields.size(); ++fi) {
                    const FieldDescriptor *f = memoFields[fi];
                    uint32_t block = 0;
                    uint32_t type = 0;
                    Status s = memoBlock(rec, *f, block);
                    if (s.ok() && block != 0 && together) {
                        type = chunkTypes[fi][k];
                        text.swap(chunkTexts[fi][k]);
                    } else if (s.ok() && block != 0) {
                        s = m_memo ? m_memo->read(block, type, text)
                                   : Status::NotFound("the memo file is missing");
                    }
                    if (!s.ok())
                        return Status::Corruption("Record " + std::to_string(first + k) + " field " +
                                                  f->name + ": " + s.message() + "; nothing was removed");
                    uint32_t newBlock = 0;
                    if (block != 0 && !text.empty()) {
                        newBlock = nextBlock;
                        const uint32_t used = MemoFile::encodeBlocks(type, text, blockSize, memos->buffer());
                        if (static_cast<uint64_t>(nextBlock) + used > 0xFFFFFFFFull)
                            return Status::IoError(files.memo + ": the memo file is full");
                        nextBlock += used;
                    }
                    putMemoBlock(&out[at], *f, newBlock);
                }
                XBASE_TRY(records.spill());
                if (memos)
                    XBASE_TRY(memos->spill());
            }
            if (!rp.step(first + n - 1))
                return Status::InvalidArgument("Pack cancelled");
        }
        records.buffer().push_back('\x1A');
        XBASE_TRY(records.drain());
        DbfFile::stampHeader(dbfHeader, written);
        XBASE_TRY(dbfOut->writeAt(0, dbfHeader.data(), dbfHeader.size()));
        if (memos) {
            XBASE_TRY(memos->drain());
            for (int i = 0; i < 4; ++i)
                memoHeader[static_cast<size_t>(i)] = static_cast<char>(nextBlock >> (24 - 8 * i));
            XBASE_TRY(memoOut->writeAt(0, memoHeader.data(), memoHeader.size()));
        }
        rp.finish();

        if (renumber) {
            // Kept records keep their relative order, so each tag's entries stay in order and
            // go to the new file as they are, with their new numbers.
            std::unique_ptr<CdxFile> cdx;
            XBASE_TRY(CdxFile::create(*m_env, newIndex, cdx));
            const int n = tagCount();
            // Each builder is kept until the end: while one lives, the next one collects its
            // entries in the memory the one before used instead of in memory never touched.
            std::vector<std::unique_ptr<TagBuilder>> builders;
            for (int i = 0; i < n; ++i) {
                IndexTag *old = m_tags[static_cast<size_t>(i)]->tag;
                builders.emplace_back();
                std::unique_ptr<TagBuilder> &builder = builders.back();
                XBASE_TRY(cdx->addTag(old->spec(), builder));
                builder->setSortedInput();
                if (old->spec().forExpr.empty())
                    builder->reserve(written);
                XBASE_TRY(old->scan({}, {}, true, true, [&](std::string_view key, uint32_t r) {
                    if (r < renumbered.size() && renumbered[r] != 0)
                        builder->add(key, renumbered[r]);
                    return true;
                }));
                ScaledProgress part(progress, 50 + 50 * i / n, 50 + 50 * (i + 1) / n);
                XBASE_TRY(builder->finish(progress ? &part : nullptr));
            }
            XBASE_TRY(cdx->sync());
        }
        XBASE_TRY(dbfOut->sync());
        if (memoOut)
            XBASE_TRY(memoOut->sync());
        return Status::Ok();
    }();
    if (!result.ok())
        return discard(result);
    // Every new file is complete: from this rename on they replace the old ones, and an open
    // finishes the renames should this run not get to.
    result = m_env->rename(newDbf, files.dbf + kSwapDone);
    if (!result.ok())
        return discard(result);
    if (!renumber)
        removeIfThere(*m_env, newIndex);
    if (!m_memo)
        removeIfThere(*m_env, newMemo);

    // The old files have nothing pending: closing them writes nothing.
    const std::string idxPath = m_idxPath;
    const std::string idxExpr = m_idx ? m_tags.back()->tag->spec().keyExpr : std::string();
    const bool tempOrder = isTemporaryOrder();
    const std::string orderName = orderTagName();
    const std::string query = m_queryText;
    const std::string alias = m_alias;
    const std::string path = m_path;
    const OpenMode mode = m_mode;
    if (m_idx)
        removeIfThere(*m_env, idxPath);
    (void)close(); // nothing was left to write; the new files are what counts now
    result = finishSwap(*m_env, files);
    if (!result.ok())
        return Status(result.code(), result.message() +
                                         "; the table is closed and opening it again finishes " +
                                         (keepNone ? "the zap" : "the pack"));
    XBASE_TRY(open(*m_env, path, mode, alias));
    // A temporary index only holds what was added to it; it starts empty again.
    if (!idxPath.empty()) {
        XBASE_TRY(createTempIndex(idxPath, idxExpr));
        if (!tempOrder)
            m_order = 0;
    }
    if (!orderName.empty())
        m_order = tagOrder(orderName);
    if (rebuildAfter) {
        ScaledProgress tagPart(progress, 50, 100);
        XBASE_TRY(reindex(progress ? &tagPart : nullptr));
    }
    if (!query.empty())
        XBASE_TRY(setQuery(query));
    return goTop();
}

Status Table::copyStructure(const std::string &path, ProgressHook *progress) const
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (progress && !progress->report(0))
        return Status::InvalidArgument("Copy cancelled");
    XBASE_TRY(copyableFields());
    XBASE_TRY(create(*m_env, path, schema().fields()));
    if (progress)
        (void)progress->report(100); // the copy is complete; a late cancel has nothing to stop
    return Status::Ok();
}

Status Table::copyableFields() const
{
    for (const FieldDescriptor &f : schema().fields())
        if (std::strchr("CNLDM", f.type) == nullptr || (f.type == 'M' && f.length != 10))
            return Status::InvalidArgument("Field " + f.name + " has a type this engine does not create");
    return Status::Ok();
}

Status Table::copyTo(const std::string &path, ProgressHook *progress)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_editing)
        cancelEdit();
    uint64_t total = 0;
    XBASE_TRY(queryCount(total));
    XBASE_TRY(copyableFields());
    // The copy is made under another name and put in place whole.
    const std::string staging = stagingPath(path);
    XBASE_TRY(createFiles(*m_env, staging, schema().fields()));
    const uint32_t here = m_eof ? 0 : m_recno;
    Table out;
    Status result = out.open(*m_env, staging, OpenMode::Exclusive);
    RecordProgress rp(progress, total);
    if (result.ok() && !rp.start())
        result = Status::InvalidArgument("Copy cancelled");
    uint64_t done = 0;
    for (result = result.ok() ? goTop() : result; result.ok() && !m_eof; result = skip(1)) {
        result = out.appendBlank();
        if (!result.ok())
            break;
        out.m_edit = m_record;
        for (int i = 0; result.ok() && i < schema().fieldCount(); ++i) {
            const FieldDescriptor &f = schema().field(i);
            if (f.type != 'M')
                continue;
            std::string text;
            result = fieldValue(i, text);
            putMemoBlock(&out.m_edit[0], f, 0);
            if (result.ok() && !text.empty())
                result = out.setFieldValue(i, text);
        }
        if (result.ok())
            result = out.post();
        if (result.ok() && !rp.step(++done))
            result = Status::InvalidArgument("Copy cancelled");
        if (!result.ok())
            break;
    }
    const Status closed = out.close();
    if (result.ok())
        result = closed;
    if (result.ok())
        result = putInPlace(*m_env, staging, path, hasMemoField(schema().fields()));
    if (result.ok()) {
        (void)rp.finish(); // the copy is complete; a late cancel has nothing to stop
    } else {
        removeIfThere(*m_env, staging);
        removeIfThere(*m_env, companionPath(*m_env, staging, "FPT"));
    }
    if (here != 0) {
        const Status back = go(here);
        if (result.ok())
            result = back;
    } else {
        setEof();
    }
    return result;
}

// ---- Checks ----------------------------------------------------------------------------

Status Table::check(std::vector<std::string> &faults, ProgressHook *progress)
{
    CheckReport report;
    XBASE_TRY(check(report, progress));
    faults.insert(faults.end(), report.faults.begin(), report.faults.end());
    return Status::Ok();
}

Status Table::check(CheckReport &report, ProgressHook *progress)
{
    std::vector<std::string> &faults = report.faults;
    // Tags whose keys for some records another program built with an upper-case rule that
    // leaves accented letters small: sound, but seeks with this engine's keys miss them.
    std::vector<std::pair<std::string, uint64_t>> narrowKeys;
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    // A check walks every record and would lose the typing of an open edit: refuse instead.
    if (m_editing)
        return Status::InvalidArgument("A record is being edited; save or cancel it before the check");
    if (m_dbf->isShort())
        faults.push_back("Header claims " + std::to_string(m_dbf->claimedRecordCount()) +
                         " records but the file holds " + std::to_string(m_dbf->recordCount()));
    if (!m_indexError.empty())
        faults.push_back(m_indexError);
    else if (m_dbf->hasProductionIndex() && !m_cdx)
        faults.push_back("Header says a production index exists but " + cdxPath() + " is missing");
    if (m_indexInterrupted)
        faults.push_back("The index was left in the middle of an update");
    if (m_dbf->wasLeftPending())
        faults.push_back("The record count and the next free memo block in the headers were left behind by a "
                         "stopped writer; opening the table for writing corrects them");
    const int ntags = tagCount();
    for (int i = 0; i < ntags; ++i)
        if (!m_tags[static_cast<size_t>(i)]->error.empty())
            faults.push_back(m_tags[static_cast<size_t>(i)]->error);
    if (m_cdx) {
        const Status s = m_cdx->check(faults);
        if (!s.ok())
            faults.push_back(s.message());
    }

    // Record faults are counted; the first ones are listed.
    constexpr size_t kListed = 20;
    size_t recordFaults = 0;
    auto recordFault = [&](const std::string &line) {
        if (recordFaults++ < kListed * 5)
            faults.push_back(line);
    };
    const uint32_t count = recordCount();
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = recordsPerChunk(recLen, count);
    std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);

    // The tags are checked in batches whose expected keys fit a memory budget: each batch
    // reads the records once, keeps every record's key per tag, then walks each tag.
    std::vector<int> checkable;
    for (int i = 0; i < ntags; ++i)
        if (m_tags[static_cast<size_t>(i)]->key.isValid())
            checkable.push_back(i);
    constexpr uint64_t kBudget = 64ull << 20;
    size_t next = 0;
    bool firstPass = true;
    const uint64_t passes = 1 + checkable.size();
    uint64_t passesDone = 0;
    RecordProgress rp(progress, static_cast<uint64_t>(count) * passes);
    rp.start();
    while (firstPass || next < checkable.size()) {
        std::vector<int> batch;
        uint64_t bytes = 0;
        while (next < checkable.size()) {
            const uint64_t need = static_cast<uint64_t>(count) *
                                  (m_tags[static_cast<size_t>(checkable[next])]->tag->spec().keyLength + 1u);
            if (!batch.empty() && bytes + need > kBudget)
                break;
            batch.push_back(checkable[next++]);
            bytes += need;
        }
        std::vector<std::string> keys(batch.size());
        std::vector<std::vector<uint8_t>> wanted(batch.size()); // 1 = the tag should hold the record
        for (size_t b = 0; b < batch.size(); ++b) {
            keys[b].resize(static_cast<size_t>(count) *
                           m_tags[static_cast<size_t>(batch[b])]->tag->spec().keyLength);
            wanted[b].assign(static_cast<size_t>(count) + 1, 0);
        }
        for (uint32_t first = 1; first <= count; first += perChunk) {
            const uint32_t n = std::min(perChunk, count - first + 1);
            XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
            for (uint32_t k = 0; k < n; ++k) {
                const char *data = buffer.data() + static_cast<size_t>(k) * recLen;
                const uint32_t recno = first + k;
                const RecordRef rec{data, recno};
                if (firstPass) {
                    if (data[0] != ' ' && data[0] != '*')
                        recordFault("Record " + std::to_string(recno) +
                                    ": delete mark is neither blank nor '*'");
                    for (const FieldDescriptor &f : schema().fields()) {
                        if (f.type != 'M')
                            continue;
                        uint32_t block = 0;
                        Status s = memoBlock(data, f, block);
                        if (s.ok() && block != 0) {
                            uint32_t len = 0;
                            s = m_memo ? m_memo->length(block, len)
                                       : Status::NotFound("the memo file is missing");
                            if (s.ok() && block >= m_memo->nextFreeBlock())
                                s = Status::Corruption("block " + std::to_string(block) +
                                                       " lies past the next free block");
                        }
                        if (!s.ok())
                            recordFault("Record " + std::to_string(recno) + " field " + f.name + ": " +
                                        s.message());
                    }
                }
                for (size_t b = 0; b < batch.size(); ++b) {
                    const OpenTag &t = *m_tags[static_cast<size_t>(batch[b])];
                    if (t.hasCondition() && !t.condition.isTrue(rec, {}))
                        continue;
                    const size_t len = t.tag->spec().keyLength;
                    const std::string key = t.key.indexKey(rec);
                    key.copy(&keys[b][static_cast<size_t>(recno - 1) * len], std::min(len, key.size()));
                    wanted[b][recno] = 1;
                }
            }
            rp.step(passesDone * count + first + n - 1);
        }
        ++passesDone;
        firstPass = false;

        for (size_t b = 0; b < batch.size(); ++b) {
            const OpenTag &t = *m_tags[static_cast<size_t>(batch[b])];
            const std::string &name = t.tag->spec().name;
            const size_t len = t.tag->spec().keyLength;
            std::vector<uint8_t> &want = wanted[b];
            size_t reported = 0;
            uint64_t narrow = 0;
            auto tagFault = [&](const std::string &line) {
                if (reported++ < kListed)
                    faults.push_back("Tag " + name + ": " + line);
            };
            std::string prevKey;
            uint32_t prevRecno = 0;
            bool havePrev = false;
            bool ordered = true;
            uint64_t entries = 0;
            const Status scanned = t.tag->scan({}, {}, true, true, [&](std::string_view k, uint32_t r) {
                if (havePrev && (k < prevKey || (k == prevKey && r <= prevRecno)))
                    ordered = false;
                prevKey.assign(k.data(), k.size());
                prevRecno = r;
                havePrev = true;
                ++entries;
                if (r == 0 || r > count) {
                    tagFault("entry for record " + std::to_string(r) + ", which does not exist");
                } else if (want[r] == 0) {
                    tagFault("record " + std::to_string(r) + " has an entry it should not have");
                } else if (want[r] == 2) {
                    tagFault("record " + std::to_string(r) + " has more than one entry");
                } else {
                    want[r] = 2;
                    const std::string_view expected(&keys[b][static_cast<size_t>(r - 1) * len], len);
                    if (k != expected && upperCp1252(k) == expected) {
                        ++narrow;
                    } else if (k != expected) {
                        tagFault("record " + std::to_string(r) + " has key \"" + trimRight(k) +
                                 "\", the record gives \"" + trimRight(expected) + "\"");
                    }
                }
                return entries <= static_cast<uint64_t>(count) * 2 + 16;
            });
            if (!scanned.ok()) {
                faults.push_back("Tag " + name + ": " + scanned.message());
                continue;
            }
            if (!ordered)
                faults.push_back("Tag " + name + ": entries are out of order");
            for (uint32_t r = 1; r <= count; ++r)
                if (want[r] == 1)
                    tagFault("record " + std::to_string(r) + " is missing");
            if (reported > kListed)
                faults.push_back("Tag " + name + ": " + std::to_string(reported - kListed) + " more faults");
            if (narrow > 0)
                narrowKeys.emplace_back(name, narrow);
        }
    }
    if (recordFaults > kListed * 5)
        faults.push_back(std::to_string(recordFaults - kListed * 5) + " more faults in records");
    if (!narrowKeys.empty()) {
        uint64_t total = 0;
        std::string names;
        for (const auto &n : narrowKeys) {
            total += n.second;
            names += (names.empty() ? "" : ", ") + n.first;
        }
        report.notes.push_back(std::to_string(total) + " keys of tag" + (narrowKeys.size() > 1 ? "s " : " ") +
                               names +
                               " were built by a program whose upper case leaves accented letters small; the "
                               "index is sound, but seeks for those records miss: run reindex to build the "
                               "keys with this engine's rule");
    }
    rp.finish();
    return Status::Ok();
}

} // namespace xbase
