#include "TableParts.h"

#include <cctype>

namespace xbase {

using namespace tableparts;

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
        // kKeysPerPass together; a group's memory goes back to the sort's workspace once its
        // tags are written, and the next group collects its keys there. Memory the process
        // has not touched before costs far more than reading the records again (the page
        // cache hands them over), so a build of many tags takes fresh memory for one group.
        const uint32_t count = m_dbf->recordCount();
        const uint32_t recLen = m_dbf->recordLength();
        const uint32_t perChunk = recordsPerChunk(recLen, count);
        std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
        // Per tag: the first tag of each group reports its group's read pass (0..50) and its
        // sort; every other tag reports its own 0..100. Overall: one run in which each group
        // takes its tags' share, the first fifth of it for the read pass.
        const int tagsToBuild = static_cast<int>(jobs.size());
        std::vector<size_t> groupEnds;
        uint64_t groupBytes = 0;
        for (size_t i = 0; i < jobs.size(); ++i) {
            const uint64_t bytes = (uint64_t(jobs[i].spec.keyLength) + sizeof(uint32_t)) * count;
            if (i > 0 && groupBytes + bytes > kKeysPerPass) {
                groupEnds.push_back(i);
                groupBytes = 0;
            }
            groupBytes += bytes;
        }
        groupEnds.push_back(jobs.size());
        char key[256];
        size_t groupBegin = 0;
        for (size_t pass = 0; result.ok() && pass < groupEnds.size(); ++pass) {
            const size_t groupEnd = groupEnds[pass];
            const int b = static_cast<int>(groupBegin);
            const int e = static_cast<int>(groupEnd);
            const int spanLo = 100 * b / tagsToBuild;
            const int spanHi = 100 * e / tagsToBuild;
            const int readHi = spanLo + (spanHi - spanLo) / 5;
            ScaledProgress readPart(progress, perTag ? 0 : spanLo, perTag ? 50 : readHi);
            RecordProgress rp(progress ? &readPart : nullptr, count);
            for (size_t i = groupBegin; i < groupEnd; ++i)
                if (!jobs[i].condition.isValid())
                    jobs[i].builder->reserve(count);
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
            for (int i = b; result.ok() && i < e; ++i) {
                ScaledProgress finishPart(progress,
                                          perTag ? (i == b ? 50 : 0)
                                                 : readHi + (spanHi - readHi) * (i - b) / (e - b),
                                          perTag ? 100 : readHi + (spanHi - readHi) * (i - b + 1) / (e - b));
                result = jobs[static_cast<size_t>(i)].builder->finish(progress ? &finishPart : nullptr);
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
