#include "TableParts.h"

#include "CompactTagBuilder.h"
#include "DbfFile.h"

#include <atomic>
#include <cctype>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace xbase {

using namespace tableparts;

namespace {

// Tables with fewer records build their tags on one thread: a second one would cost more
// than it saves.
constexpr uint32_t kTwoThreadRecords = 8192;

// Stops and joins a worker when the scope is left early, also by an exception, so no work
// outlives the build.
struct JoinOnExit {
    std::thread &thread;
    std::function<void()> stop;
    ~JoinOnExit()
    {
        if (thread.joinable()) {
            stop();
            thread.join();
        }
    }
};

// One tag of a group whose entries go straight into its builder's room.
struct KeySource {
    const Expression *key;
    const Expression *condition; // null: every record has an entry
    CompactTagBuilder *builder;
};

// Puts the entries of records [first, last] into the builders: at the front in ascending
// record order, or at the back in descending order. Stops early once `stop` is set.
Status gatherRange(const DbfFile &dbf, const std::vector<KeySource> &tags, uint32_t first, uint32_t last,
                   bool atBack, std::vector<char> &buffer, const std::atomic<bool> &stop,
                   RecordProgress *progress)
{
    const uint32_t recLen = dbf.recordLength();
    const uint32_t perChunk = static_cast<uint32_t>(buffer.size() / std::max<uint32_t>(1, recLen));
    uint32_t done = 0;
    const uint32_t total = last - first + 1;
    while (done < total) {
        if (stop.load(std::memory_order_relaxed))
            return Status::Ok();
        const uint32_t n = std::min(perChunk, total - done);
        const uint32_t from = atBack ? last - done - n + 1 : first + done;
        XBASE_TRY(dbf.readRecords(from, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k) {
            const uint32_t at = atBack ? n - 1 - k : k;
            const RecordRef rec{buffer.data() + static_cast<size_t>(at) * recLen, from + at};
            for (const KeySource &t : tags) {
                if (t.condition && !t.condition->isTrue(rec, {}))
                    continue;
                if (atBack) {
                    t.key->indexKeyInto(rec, t.builder->backKey());
                    t.builder->addBack(rec.recno);
                } else {
                    t.key->indexKeyInto(rec, t.builder->frontKey());
                    t.builder->addFront(rec.recno);
                }
            }
        }
        done += n;
        if (progress && !progress->step(done))
            return Status::InvalidArgument("Index build cancelled");
    }
    return Status::Ok();
}

// Gathers the entries of every record for `tags`, whose builders have room for an entry of
// every record (openBothEnds). On two threads this one takes the first half of the records
// and reports the progress; the other takes the second half from its end.
Status gatherKeys(const DbfFile &dbf, const std::vector<KeySource> &tags, bool twoThreads,
                  std::vector<char> &buffer, std::vector<char> &secondBuffer, ProgressHook *hook)
{
    const uint32_t count = dbf.recordCount();
    std::atomic<bool> stop{false};
    const uint32_t half = twoThreads ? count / 2 : count;
    RecordProgress rp(hook, half);
    if (!rp.start())
        return Status::InvalidArgument("Index build cancelled");
    Status second;
    std::thread worker;
    if (half < count) {
        try {
            worker = std::thread([&] {
                try {
                    second = gatherRange(dbf, tags, half + 1, count, true, secondBuffer, stop, nullptr);
                } catch (const std::bad_alloc &) {
                    second = Status::IoError("Not enough memory to build the index");
                }
                if (!second.ok())
                    stop.store(true);
            });
        } catch (const std::system_error &) {
            second = gatherRange(dbf, tags, half + 1, count, true, secondBuffer, stop, nullptr);
        }
    }
    const JoinOnExit joined{worker, [&] { stop.store(true); }};
    Status first = gatherRange(dbf, tags, 1, half, false, buffer, stop, &rp);
    if (!first.ok())
        stop.store(true);
    if (worker.joinable())
        worker.join();
    XBASE_TRY(first);
    return second;
}

// Sorts the builders' entries, two at a time on two threads (each with its own workspace:
// the builders' shared one and `second`), while `write(k)` finishes builder k on this
// thread, in order. The first failure in that order is the result; no sort is left running.
Status sortAndWrite(const std::vector<CompactTagBuilder *> &builders, SortWorkspace &second,
                    const std::function<Status(int)> &write)
{
    const size_t n = builders.size();
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<SortWorkspace *> freeRoom{&builders.front()->sharedWorkspace(), &second};
    std::vector<SortWorkspace *> roomOf(n, nullptr); // set once builder k is sorted
    size_t next = 0;
    bool stop = false;
    // Takes the next builder to sort and sorts it; call with `lock` held.
    auto sortNext = [&](std::unique_lock<std::mutex> &lock) {
        const size_t k = next++;
        SortWorkspace *room = freeRoom.back();
        freeRoom.pop_back();
        lock.unlock();
        builders[k]->sortInto(*room);
        lock.lock();
        roomOf[k] = room;
        changed.notify_all();
    };
    auto work = [&] {
        std::unique_lock<std::mutex> lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next == n || !freeRoom.empty(); });
            if (stop || next == n)
                return;
            sortNext(lock);
        }
    };
    std::thread worker;
    try {
        worker = std::thread(work);
    } catch (const std::system_error &) {
        // One thread sorts them all.
    }
    const JoinOnExit joined{worker, [&] {
                                std::lock_guard<std::mutex> lock(mutex);
                                stop = true;
                                changed.notify_all();
                            }};
    Status result;
    for (size_t k = 0; result.ok() && k < n; ++k) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            while (!roomOf[k]) {
                if (next < n && !freeRoom.empty())
                    sortNext(lock);
                else
                    changed.wait(lock);
            }
        }
        result = write(static_cast<int>(k));
        std::lock_guard<std::mutex> lock(mutex);
        freeRoom.push_back(roomOf[k]);
        changed.notify_all();
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
        changed.notify_all();
    }
    if (worker.joinable())
        worker.join();
    return result;
}

} // namespace

// ---- Orders and tags -------------------------------------------------------------------

int Table::tagCount() const
{
    return m_cdx ? static_cast<int>(m_tags.size()) - (m_idx ? 1 : 0) : 0;
}

int Table::tagOrder(std::string_view name) const
{
    const int n = tagCount();
    for (int i = 0; i < n; ++i) {
        const std::string &t = m_tags[static_cast<size_t>(i)]->tag->spec().name;
        if (t.size() == name.size() && std::equal(t.begin(), t.end(), name.begin(), [](char a, char b) {
                return std::toupper(static_cast<unsigned char>(a)) ==
                       std::toupper(static_cast<unsigned char>(b));
            }))
            return i + 1;
    }
    return 0;
}

TagSpec Table::tagSpec(int order) const
{
    if (order < 1 || order > static_cast<int>(m_tags.size()))
        return {};
    return m_tags[static_cast<size_t>(order - 1)]->tag->spec();
}

Table::OpenTag *Table::currentTag()
{
    if (m_order < 1 || m_order > static_cast<int>(m_tags.size()))
        return nullptr;
    return m_tags[static_cast<size_t>(m_order - 1)].get();
}

const Table::OpenTag *Table::currentTag() const
{
    return const_cast<Table *>(this)->currentTag();
}

Status Table::setOrder(int order)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (order < 0 || order > static_cast<int>(m_tags.size()))
        return Status::NotFound("Order " + std::to_string(order) + " does not exist");
    m_order = order;
    m_scoped = false;
    m_scopeLo.clear();
    m_scopeHi.clear();
    if (!m_eof && m_recno > 0)
        return syncEntry();
    return Status::Ok();
}

Status Table::setOrder(std::string_view tagName)
{
    const int o = tagOrder(tagName);
    if (o == 0)
        return Status::NotFound("Tag " + std::string(tagName) + " does not exist");
    return setOrder(o);
}

std::string Table::indexFileName() const
{
    const OpenTag *t = currentTag();
    if (!t)
        return {};
    return t->isTemporary ? m_idxPath : m_cdx->path();
}

Status Table::setScope(std::string_view lo, std::string_view hi)
{
    if (lo.empty() && hi.empty()) {
        m_scoped = false;
        m_scopeLo.clear();
        m_scopeHi.clear();
        return Status::Ok();
    }
    if (!currentTag())
        return Status::InvalidArgument("A scope needs an index order");
    m_scoped = true;
    m_scopeLo = std::string(lo);
    m_scopeHi = std::string(hi);
    return Status::Ok();
}

bool Table::inScope(std::string_view key) const
{
    if (!m_scoped)
        return true;
    if (!m_scopeLo.empty() && prefixLess(key, m_scopeLo))
        return false;
    if (!m_scopeHi.empty() && key.substr(0, m_scopeHi.size()) > std::string_view(m_scopeHi))
        return false;
    return true;
}

Status Table::openIndexes(const std::string &path, bool readOnly)
{
    if (!m_env->exists(path))
        return Status::Ok(); // a missing production index is for the caller to rebuild
    std::unique_ptr<CdxFile> cdx;
    const Status s = CdxFile::open(*m_env, path, readOnly, cdx);
    if (s.code() == StatusCode::Corruption) {
        // The records are still good: the table opens without its index, which then reads as
        // missing (a rebuild replaces it) and is never written.
        m_indexError = s.message();
        return Status::Ok();
    }
    XBASE_TRY(s);
    m_cdx = std::move(cdx);
    m_indexInterrupted = m_cdx->wasInterrupted();
    reloadTags(orderTagName(), isTemporaryOrder());
    return Status::Ok();
}

void Table::compileTag(IndexTag *tag, OpenTag &out) const
{
    out.tag = tag;
    const TagSpec &spec = tag->spec();
    Status s = Expression::compile(spec.keyExpr, schema(), out.key);
    if (s.ok())
        tag->setKeyType(keyTypeOf(out.key));
    if (s.ok() && !spec.forExpr.empty())
        s = Expression::compile(spec.forExpr, schema(), out.condition);
    // A tag whose key does not compile still orders the records; it only cannot follow edits.
    if (!s.ok())
        out.error = "Tag " + spec.name + ": " + s.message();
    collectReads(out.key.root(), out.reads);
    collectReads(out.condition.root(), out.reads);
}

void Table::reloadTags(const std::string &orderName, bool temporaryOrder)
{
    std::unique_ptr<OpenTag> temp;
    if (!m_tags.empty() && m_tags.back()->isTemporary) {
        temp = std::move(m_tags.back());
        m_tags.pop_back();
    }
    m_tags.clear();
    for (int i = 0; m_cdx && i < m_cdx->tagCount(); ++i) {
        IndexTag *tag = m_cdx->tag(i);
        if (!tag)
            continue;
        auto t = std::make_unique<OpenTag>();
        compileTag(tag, *t);
        m_tags.push_back(std::move(t));
    }
    const bool haveTemp = temp != nullptr;
    if (temp)
        m_tags.push_back(std::move(temp));
    if (temporaryOrder && haveTemp)
        m_order = static_cast<int>(m_tags.size());
    else
        m_order = orderName.empty() ? 0 : tagOrder(orderName);
}

std::string Table::orderTagName() const
{
    const OpenTag *t = currentTag();
    return t && !t->isTemporary ? t->tag->spec().name : std::string();
}

bool Table::isTemporaryOrder() const
{
    const OpenTag *t = currentTag();
    return t && t->isTemporary;
}

Status Table::addTag(const TagDefinition &tag, ProgressHook *progress)
{
    return addTags({tag}, progress);
}

Status Table::addTags(const std::vector<TagDefinition> &tags, ProgressHook *progress)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode == OpenMode::ReadOnly)
        return Status::IoError(m_path + " is open read-only");
    if (m_editing)
        cancelEdit();
    return buildTags(tags, progress, true, false);
}

Status Table::buildTags(const std::vector<TagDefinition> &tags, ProgressHook *progress, bool perTag,
                        bool intoNewFile)
{
    struct Job {
        TagSpec spec;
        Expression key;
        Expression condition;
        std::unique_ptr<TagBuilder> builder;
    };
    std::vector<Job> jobs(tags.size());
    for (size_t i = 0; i < tags.size(); ++i) {
        Job &j = jobs[i];
        std::string name = tags[i].name;
        for (char &c : name)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (name.empty() || name.size() > 10)
            return Status::InvalidArgument("Invalid tag name \"" + tags[i].name + "\"");
        XBASE_TRY(Expression::compile(tags[i].keyExpr, schema(), j.key));
        if (!tags[i].forExpr.empty())
            XBASE_TRY(Expression::compile(tags[i].forExpr, schema(), j.condition));
        j.spec.name = name;
        j.spec.keyExpr = tags[i].keyExpr;
        j.spec.forExpr = tags[i].forExpr;
        j.spec.keyType = keyTypeOf(j.key);
        const int len = j.key.keyLength();
        if (len < 1 || len > 240)
            return Status::InvalidArgument("Tag " + name + ": key length " + std::to_string(len) +
                                           " is not allowed");
        j.spec.keyLength = static_cast<uint16_t>(len);
    }

    const std::string orderName = orderTagName();
    const bool tempOrder = isTemporaryOrder();
    const std::string indexPath = cdxPath();
    const std::string freshPath = indexPath + kSwapNew;
    std::unique_ptr<CdxFile> fresh;
    CdxFile *target = nullptr;
    if (intoNewFile) {
        XBASE_TRY(CdxFile::create(*m_env, freshPath, fresh));
        target = fresh.get();
    } else {
        if (!m_cdx) {
            std::unique_ptr<CdxFile> cdx;
            XBASE_TRY(CdxFile::create(*m_env, indexPath, cdx));
            m_cdx = std::move(cdx);
            m_indexInterrupted = false;
            m_indexError.clear();
        }
        // The tag list changes under the open tags; they are compiled again below.
        reloadTags({}, false);
        target = m_cdx.get();
    }
    Status result;
    for (Job &j : jobs) {
        result = target->addTag(j.spec, j.builder);
        if (!result.ok())
            break;
    }

    if (result.ok() && !jobs.empty()) {
        // The records are read in passes, each feeding a group of builders whose keys fit
        // kKeysPerPass together; every group collects its keys in the one room the first
        // group touched. Memory the process has not touched before costs far more than
        // reading the records again (the page cache hands them over), so a build of many tags
        // takes fresh memory for one group (and the sort's workspaces).
        const uint32_t count = m_dbf->recordCount();
        const uint32_t recLen = m_dbf->recordLength();
        const uint32_t perChunk = recordsPerChunk(recLen, count);
        std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
        // Per tag: the first tag of each group reports its group's read pass (0..50) and its
        // sort; every other tag reports its own 0..100. Overall: one run in which each group
        // takes its tags' share, the first fifth of it for the read pass.
        const int tagsToBuild = static_cast<int>(jobs.size());
        std::vector<size_t> groupEnds;
        std::vector<uint64_t> groupSizes;
        uint64_t groupBytes = 0;
        for (size_t i = 0; i < jobs.size(); ++i) {
            // A compact builder of a tag without a condition, which has an entry for every
            // record, keeps no record numbers: they follow from the entries' places.
            const bool implicitRecnos =
                dynamic_cast<CompactTagBuilder *>(jobs[i].builder.get()) && !jobs[i].condition.isValid();
            const uint64_t bytes =
                (uint64_t(jobs[i].spec.keyLength) + (implicitRecnos ? 0 : sizeof(uint32_t))) * count;
            if (i > 0 && groupBytes + bytes > kKeysPerPass) {
                groupEnds.push_back(i);
                groupSizes.push_back(groupBytes);
                groupBytes = 0;
            }
            groupBytes += bytes;
        }
        groupEnds.push_back(jobs.size());
        groupSizes.push_back(groupBytes);
        // A large table's keys are gathered and sorted by two threads; the tags are written
        // on this one, in their order, so the file is the same as one thread makes.
        std::unique_ptr<SortWorkspace> secondWorkspace;
        std::vector<char> secondBuffer;
        BulkBuffer room;
        size_t groupBegin = 0;
        for (size_t pass = 0; result.ok() && pass < groupEnds.size(); ++pass) {
            const size_t groupEnd = groupEnds[pass];
            const int b = static_cast<int>(groupBegin);
            const int e = static_cast<int>(groupEnd);
            const int spanLo = 100 * b / tagsToBuild;
            const int spanHi = 100 * e / tagsToBuild;
            const int readHi = spanLo + (spanHi - spanLo) / 5;
            ScaledProgress readPart(progress, perTag ? 0 : spanLo, perTag ? 50 : readHi);
            // Room for an entry of every record, also for tags with a FOR condition, only
            // while the group keeps to kKeysPerPass: a larger tag takes what its records need.
            std::vector<CompactTagBuilder *> direct;
            std::vector<KeySource> sources;
            bool inPlace = count > 0;
            for (size_t i = groupBegin; inPlace && i < groupEnd; ++i) {
                auto *c = dynamic_cast<CompactTagBuilder *>(jobs[i].builder.get());
                inPlace = c && (!jobs[i].condition.isValid() || groupSizes[pass] <= kKeysPerPass);
                direct.push_back(c);
                sources.push_back(
                    {&jobs[i].key, jobs[i].condition.isValid() ? &jobs[i].condition : nullptr, c});
            }
            const bool twoThreads =
                inPlace && count >= kTwoThreadRecords && std::thread::hardware_concurrency() >= 2;
            if (inPlace) {
                // One room for the group's keys serves every group in turn: memory touched
                // once costs nothing the next time.
                auto align = [](uint64_t bytes) { return (bytes + 63) / 64 * 64; };
                uint64_t need = 0;
                auto recnoBytes = [&](size_t i) {
                    return jobs[i].condition.isValid() ? align(uint64_t(count) * 4) : 0;
                };
                for (size_t i = groupBegin; i < groupEnd; ++i)
                    need += align(uint64_t(jobs[i].spec.keyLength) * count) + recnoBytes(i);
                if (need > room.size() && (need > SIZE_MAX || !room.resize(static_cast<size_t>(need)))) {
                    result = Status::IoError("Not enough memory to build the index");
                    break;
                }
                char *at = room.data();
                for (size_t i = groupBegin; i < groupEnd; ++i) {
                    char *keys = at;
                    at += align(uint64_t(jobs[i].spec.keyLength) * count);
                    uint32_t *recnos = recnoBytes(i) > 0 ? reinterpret_cast<uint32_t *>(at) : nullptr;
                    direct[i - groupBegin]->openBothEnds(count, keys, recnos);
                    at += recnoBytes(i);
                }
                if (twoThreads && secondBuffer.empty())
                    secondBuffer.resize(buffer.size());
                result = gatherKeys(*m_dbf, sources, twoThreads, buffer, secondBuffer,
                                    progress ? &readPart : nullptr);
                for (CompactTagBuilder *c : direct)
                    c->closeBothEnds();
            } else {
                RecordProgress rp(progress ? &readPart : nullptr, count);
                for (size_t i = groupBegin; i < groupEnd; ++i)
                    if (!jobs[i].condition.isValid())
                        jobs[i].builder->reserve(count);
                char key[256];
                bool go = rp.start();
                for (uint32_t first = 1; go && result.ok() && first <= count; first += perChunk) {
                    const uint32_t n = std::min(perChunk, count - first + 1);
                    result = m_dbf->readRecords(first, n, buffer.data());
                    for (uint32_t k = 0; result.ok() && k < n; ++k) {
                        const RecordRef rec{buffer.data() + static_cast<size_t>(k) * recLen, first + k};
                        for (size_t i = groupBegin; i < groupEnd; ++i) {
                            Job &j = jobs[i];
                            if (j.condition.isValid() && !j.condition.isTrue(rec, {}))
                                continue;
                            j.key.indexKeyInto(rec, key);
                            j.builder->add(std::string_view(key, j.spec.keyLength), rec.recno);
                        }
                    }
                    go = rp.step(first + n - 1);
                }
                if (!go && result.ok())
                    result = Status::InvalidArgument("Index build cancelled");
            }
            auto finishPart = [&](int i) {
                return ScaledProgress(
                    progress, perTag ? (i == b ? 50 : 0) : readHi + (spanHi - readHi) * (i - b) / (e - b),
                    perTag ? 100 : readHi + (spanHi - readHi) * (i - b + 1) / (e - b));
            };
            if (result.ok() && twoThreads) {
                if (!secondWorkspace)
                    secondWorkspace = std::make_unique<SortWorkspace>();
                result = sortAndWrite(direct, *secondWorkspace, [&](int k) {
                    ScaledProgress part = finishPart(b + k);
                    return direct[static_cast<size_t>(k)]->finish(progress ? &part : nullptr);
                });
            }
            for (int i = b; result.ok() && !twoThreads && i < e; ++i) {
                ScaledProgress part = finishPart(i);
                result = jobs[static_cast<size_t>(i)].builder->finish(progress ? &part : nullptr);
            }
            groupBegin = groupEnd;
        }
    }
    for (Job &j : jobs)
        j.builder.reset();

    if (intoNewFile) {
        // The new file takes the old one's place only whole: until the rename the old index
        // stays open and as it was.
        if (result.ok())
            result = fresh->sync();
        fresh.reset();
        if (result.ok())
            result = m_env->rename(freshPath, indexPath);
        if (!result.ok()) {
            removeIfThere(*m_env, freshPath);
            return result;
        }
        m_cdx.reset(); // its file is gone from under that name
        m_indexInterrupted = false;
        m_indexError.clear();
        std::unique_ptr<CdxFile> cdx;
        result = CdxFile::open(*m_env, indexPath, false, cdx);
        m_cdx = std::move(cdx);
    } else {
        const Status flushed = m_cdx->flush();
        if (result.ok())
            result = flushed;
    }
    if (result.ok() && m_cdx && m_cdx->tagCount() > 0)
        result = m_dbf->setProductionIndex(true);
    reloadTags(orderName, tempOrder);
    if (!m_eof && m_recno > 0) {
        const Status synced = syncEntry();
        if (result.ok())
            result = synced;
    }
    return result;
}

Status Table::removeTag(std::string_view name)
{
    if (!m_cdx)
        return Status::NotFound("Tag " + std::string(name) + " does not exist");
    const int o = tagOrder(name);
    if (o == 0)
        return Status::NotFound("Tag " + std::string(name) + " does not exist");
    const std::string current = orderTagName();
    const bool tempOrder = isTemporaryOrder();
    reloadTags({}, false); // the open tags point into the tag list that changes
    const Status removed = m_cdx->removeTag(std::string(name));
    reloadTags(current, tempOrder);
    XBASE_TRY(removed);
    return m_cdx->flush();
}

Status Table::closeIndexes(bool deleteFile)
{
    if (!m_cdx)
        return Status::Ok();
    const std::string path = m_cdx->path();
    const bool tempOrder = isTemporaryOrder();
    Status s;
    if (m_mode != OpenMode::ReadOnly)
        s = m_cdx->flush();
    m_cdx.reset();
    reloadTags({}, tempOrder);
    m_scoped = false;
    m_indexInterrupted = false;
    if (deleteFile && m_mode != OpenMode::ReadOnly) {
        const Status removed = m_env->remove(path);
        if (!removed.ok() && removed.code() != StatusCode::NotFound)
            return removed;
        XBASE_TRY(m_dbf->setProductionIndex(false));
    }
    return s;
}

Status Table::reindex(ProgressHook *progress)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode == OpenMode::ReadOnly)
        return Status::IoError(m_path + " is open read-only");
    if (!m_indexError.empty())
        return Status::Corruption(m_indexError + "; its tags must be created again");
    if (!m_cdx)
        return Status::Ok();
    if (m_editing)
        cancelEdit();
    std::vector<TagDefinition> defs;
    for (int i = 0; i < tagCount(); ++i) {
        const TagSpec &s = m_tags[static_cast<size_t>(i)]->tag->spec();
        defs.push_back({s.name, s.keyExpr, s.forExpr});
    }
    return buildTags(defs, progress, false, true);
}

Status Table::createTempIndex(const std::string &path, std::string_view keyExpr)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_idx)
        XBASE_TRY(closeTempIndex(true));
    auto t = std::make_unique<OpenTag>();
    XBASE_TRY(Expression::compile(keyExpr, schema(), t->key));
    TagSpec spec;
    spec.keyExpr = std::string(keyExpr);
    spec.keyType = keyTypeOf(t->key);
    const int len = t->key.keyLength();
    if (len < 1 || len > 240)
        return Status::InvalidArgument("Key length " + std::to_string(len) + " is not allowed");
    spec.keyLength = static_cast<uint16_t>(len);
    std::unique_ptr<IdxFile> idx;
    XBASE_TRY(IdxFile::create(*m_env, path, spec, idx));
    m_idx = std::move(idx);
    m_idxPath = path;
    t->tag = m_idx->tag();
    t->isTemporary = true;
    m_tags.push_back(std::move(t));
    m_order = static_cast<int>(m_tags.size());
    m_scoped = false;
    if (!m_eof && m_recno > 0)
        m_entryKey = m_tags.back()->key.indexKey(RecordRef{m_record.data(), m_recno});
    return Status::Ok();
}

Status Table::keyAdd()
{
    if (!m_idx)
        return Status::InvalidArgument("No temporary index is open");
    if (m_eof || m_recno == 0)
        return Status::NotFound("No current record");
    OpenTag &t = *m_tags.back();
    const std::string key = t.key.indexKey(record());
    XBASE_TRY(t.tag->insert(key, m_recno));
    if (currentTag() == &t)
        m_entryKey = key;
    return Status::Ok();
}

Status Table::closeTempIndex(bool deleteFile)
{
    if (!m_idx)
        return Status::Ok();
    const bool wasOrder = isTemporaryOrder();
    m_tags.pop_back();
    Status s;
    if (m_mode != OpenMode::ReadOnly)
        s = m_idx->flush();
    m_idx.reset();
    if (wasOrder) {
        m_order = 0;
        m_scoped = false;
    }
    if (deleteFile) {
        const Status removed = m_env->remove(m_idxPath);
        if (s.ok() && !removed.ok() && removed.code() != StatusCode::NotFound)
            s = removed;
    }
    m_idxPath.clear();
    return s;
}

} // namespace xbase
