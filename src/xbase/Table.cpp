#include "Table.h"

#include "ExpressionNode.h"
#include "QueryPlanner.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace xbase {

struct Table::OpenTag {
    IndexTag *tag = nullptr;
    Expression key;
    Expression condition; // empty when the tag has none
    std::string error;    // why the key could not be compiled ("" when it could)
    bool isTemporary = false;
    // The record bytes the key and condition read (offset, length); an edit that leaves them
    // alone cannot change the tag.
    std::vector<std::pair<uint32_t, uint32_t>> reads;
    bool hasCondition() const { return condition.isValid(); }
    bool affectedBy(const std::string &a, const std::string &b) const
    {
        for (const auto &r : reads)
            if (r.first + r.second <= a.size() && r.first + r.second <= b.size() &&
                std::memcmp(a.data() + r.first, b.data() + r.first, r.second) != 0)
                return true;
        return false;
    }
};

namespace {

constexpr size_t kChunkBytes = 1 << 20; // whole-file passes read about this much per call
// Lock bytes past any real data: one for the end of the files, one per record after it.
constexpr uint64_t kHeaderLockOffset = 0x40000000ull;

bool fileExists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// `path` with its extension replaced by `ext` (given in upper case). The letter case follows
// the table's own extension; when no such file exists the other case is tried.
std::string companionPath(const std::string &path, const std::string &ext)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    std::string base = path;
    bool lower = false;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
        base = path.substr(0, dot);
        const std::string oldExt = path.substr(dot + 1);
        lower = !oldExt.empty() && std::islower(static_cast<unsigned char>(oldExt[0]));
    }
    std::string lowerExt = ext;
    for (char &c : lowerExt)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string first = base + "." + (lower ? lowerExt : ext);
    const std::string second = base + "." + (lower ? ext : lowerExt);
    if (!fileExists(first) && fileExists(second))
        return second;
    return first;
}

std::string fileStem(const std::string &path)
{
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    for (char &c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string trimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return std::string(s.substr(0, n));
}

std::string trimBoth(std::string_view s)
{
    size_t b = 0;
    while (b < s.size() && s[b] == ' ')
        ++b;
    return trimRight(s.substr(b));
}

bool prefixLess(std::string_view key, std::string_view bound)
{
    return key.substr(0, bound.size()) < bound;
}

// Reports one part of a longer run: maps 0..100 of the part to lo..hi of the whole.
class ScaledProgress : public ProgressHook
{
public:
    ScaledProgress(ProgressHook *outer, int lo, int hi) : m_outer(outer), m_lo(lo), m_hi(hi) {}
    bool report(int percent) override
    {
        if (!m_outer)
            return true;
        const int p = m_lo + (m_hi - m_lo) * std::clamp(percent, 0, 100) / 100;
        if (p == m_last)
            return true;
        m_last = p;
        return m_outer->report(p);
    }

private:
    ProgressHook *m_outer;
    int m_lo;
    int m_hi;
    int m_last = -1;
};

// Reports the percentage of records done, once per percent.
class RecordProgress
{
public:
    RecordProgress(ProgressHook *hook, uint64_t total) : m_hook(hook), m_total(total) {}
    bool start() { return report(0); }
    bool step(uint64_t done)
    {
        if (!m_hook || m_total == 0)
            return true;
        return report(static_cast<int>(done * 100 / m_total));
    }
    bool finish() { return report(100); }

private:
    bool report(int p)
    {
        if (!m_hook || p == m_last)
            return true;
        m_last = p;
        return m_hook->report(p);
    }
    ProgressHook *m_hook;
    uint64_t m_total;
    int m_last = -1;
};

void collectReads(const ExpressionNode *n, std::vector<std::pair<uint32_t, uint32_t>> &out)
{
    if (!n)
        return;
    if (n->kind == NodeKind::Field || n->kind == NodeKind::EmptyMemo)
        out.emplace_back(n->offset, n->length);
    else if (n->kind == NodeKind::Deleted)
        out.emplace_back(0, 1);
    for (const auto &c : n->children)
        collectReads(c.get(), out);
}

char keyTypeOf(const Expression &e)
{
    switch (e.type()) {
    case ValueType::Character:
        return 'C';
    case ValueType::Logical:
        return 'L';
    default:
        return 'N';
    }
}

} // namespace

Table::Table() = default;

Table::~Table()
{
    close();
}

const Schema &Table::schema() const
{
    static const Schema empty;
    return m_dbf ? m_dbf->schema() : empty;
}

// ---- Files -----------------------------------------------------------------------------

Status Table::create(const std::string &path, const std::vector<FieldDescriptor> &fields)
{
    std::unique_ptr<DbfFile> dbf;
    XBASE_TRY(DbfFile::validateFields(fields));
    const bool needsMemo =
        std::any_of(fields.begin(), fields.end(), [](const FieldDescriptor &f) { return f.type == 'M'; });
    std::unique_ptr<MemoFile> memo;
    if (needsMemo)
        XBASE_TRY(MemoFile::create(companionPath(path, "FPT"), MemoFile::kDefaultBlockSize, memo));
    return DbfFile::create(path, fields, dbf);
}

Status Table::open(const std::string &path, OpenMode mode, const std::string &alias)
{
    close();
    const bool readOnly = mode == OpenMode::ReadOnly;
    std::unique_ptr<DbfFile> dbf;
    XBASE_TRY(DbfFile::open(path, readOnly, dbf));
    XBASE_TRY(dbf->file().lock(mode == OpenMode::Exclusive ? FileLockKind::Exclusive : FileLockKind::Shared));
    std::unique_ptr<MemoFile> memo;
    if (dbf->hasMemoFields()) {
        const std::string memoPath = companionPath(path, "FPT");
        if (!fileExists(memoPath))
            return Status::NotFound("Memo file " + memoPath + " not found");
        XBASE_TRY(MemoFile::open(memoPath, readOnly, memo));
    }
    // A writer stopped while its header writes were deferred: its memo blocks run to the end
    // of the memo file (the record count was recovered the same way when the DBF opened).
    if (dbf->wasLeftPending() && memo)
        XBASE_TRY(memo->recoverNextFree());
    if (mode == OpenMode::Exclusive) {
        // Nobody else reads the file while it is open, so header writes wait for flush();
        // the headers of a stopped writer are corrected here.
        XBASE_TRY(dbf->syncHeader());
        if (memo)
            XBASE_TRY(memo->syncHeader());
        XBASE_TRY(dbf->setDeferredHeader(true));
        if (memo)
            memo->setDeferredHeader(true);
        dbf->setRecordCache(true);
    }
    m_dbf = std::move(dbf);
    m_memo = std::move(memo);
    m_path = path;
    m_mode = mode;
    m_alias = alias.empty() ? fileStem(path) : alias;
    const Status s = openIndexes(readOnly);
    if (!s.ok()) {
        close();
        return s;
    }
    return goTop();
}

Status Table::openIndexes(bool readOnly)
{
    const std::string path = cdxPath();
    if (!fileExists(path))
        return Status::Ok(); // a missing production index is for the caller to rebuild
    std::unique_ptr<CdxFile> cdx;
    const Status s = CdxFile::open(path, readOnly, cdx);
    if (s.code() == StatusCode::Corruption) {
        // The records are still good: the table opens without its index, which then reads as
        // missing (a rebuild replaces it) and is never written.
        m_indexError = s.message();
        return Status::Ok();
    }
    XBASE_TRY(s);
    m_cdx = std::move(cdx);
    m_indexInterrupted = m_cdx->wasInterrupted();
    for (int i = 0; i < m_cdx->tagCount(); ++i) {
        auto t = std::make_unique<OpenTag>();
        XBASE_TRY(compileTag(m_cdx->tag(i), *t));
        m_tags.push_back(std::move(t));
    }
    return Status::Ok();
}

Status Table::compileTag(IndexTag *tag, OpenTag &out) const
{
    out.tag = tag;
    if (!tag)
        return Status::Corruption("An index tag could not be read");
    const TagSpec &spec = tag->spec();
    Status s = Expression::compile(spec.keyExpr, schema(), out.key);
    if (s.ok())
        tag->setKeyType(keyTypeOf(out.key));
    if (s.ok() && !spec.forExpr.empty())
        s = Expression::compile(spec.forExpr, schema(), out.condition);
    if (!s.ok())
        out.error = "Tag " + spec.name + ": " + s.message();
    collectReads(out.key.root(), out.reads);
    collectReads(out.condition.root(), out.reads);
    return Status::Ok();
}

Status Table::close()
{
    Status result;
    if (m_editing)
        cancelEdit();
    if (m_idx)
        closeTempIndex(false);
    result = flush();
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
    if (m_memo)
        XBASE_TRY(m_memo->syncHeader());
    XBASE_TRY(m_dbf->syncHeader());
    if (m_cdx && m_mode != OpenMode::ReadOnly)
        XBASE_TRY(m_cdx->flush());
    if (m_idx && m_mode != OpenMode::ReadOnly)
        XBASE_TRY(m_idx->flush());
    return Status::Ok();
}

std::string Table::cdxPath() const
{
    return companionPath(m_path, "CDX");
}

// ---- Settings --------------------------------------------------------------------------

void Table::setDeletedHidden(bool hidden)
{
    if (hidden == m_deletedHidden)
        return;
    m_deletedHidden = hidden;
    if (m_queryActive)
        rebuildQuery();
}

void Table::setExact(bool exact)
{
    if (exact == m_eval.exact)
        return;
    m_eval.exact = exact;
    if (m_queryActive)
        rebuildQuery();
}

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
    return buildTags(tags, progress, true);
}

Status Table::buildTags(const std::vector<TagDefinition> &tags, ProgressHook *progress, bool perTag)
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

    // Remember the current order by name; the tag list is rebuilt below.
    const std::string orderName =
        (currentTag() && !currentTag()->isTemporary) ? currentTag()->tag->spec().name : "";
    const bool tempOrder = currentTag() && currentTag()->isTemporary;
    std::unique_ptr<OpenTag> temp;
    if (m_idx) {
        temp = std::move(m_tags.back());
        m_tags.pop_back();
    }
    m_tags.clear();
    if (!m_cdx) {
        std::unique_ptr<CdxFile> cdx;
        XBASE_TRY(CdxFile::create(cdxPath(), cdx));
        m_cdx = std::move(cdx);
        m_indexInterrupted = false;
        m_indexError.clear();
    }
    Status result;
    for (Job &j : jobs) {
        result = m_cdx->addTag(j.spec, j.builder);
        if (!result.ok())
            break;
    }

    if (result.ok() && !jobs.empty()) {
        // One pass over the records feeds every builder.
        const uint32_t count = m_dbf->recordCount();
        const uint32_t recLen = m_dbf->recordLength();
        const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
        std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
        // Per tag: the first tag's run covers the read pass (0..50) and its sort; every other
        // tag reports its own 0..100. Overall: one run, the read pass 0..20, then each tag's
        // share of the rest.
        const int tagsToBuild = static_cast<int>(jobs.size());
        ScaledProgress readPart(progress, 0, perTag ? 50 : 20);
        RecordProgress rp(progress ? &readPart : nullptr, count);
        for (Job &j : jobs)
            if (!j.condition.isValid())
                j.builder->reserve(count);
        char key[256];
        bool go = rp.start();
        for (uint32_t first = 1; go && result.ok() && first <= count; first += perChunk) {
            const uint32_t n = std::min(perChunk, count - first + 1);
            result = m_dbf->readRecords(first, n, buffer.data());
            for (uint32_t k = 0; result.ok() && k < n; ++k) {
                const RecordRef rec{buffer.data() + static_cast<size_t>(k) * recLen, first + k};
                for (Job &j : jobs) {
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
        for (size_t i = 0; result.ok() && i < jobs.size(); ++i) {
            const int k = static_cast<int>(i);
            ScaledProgress finishPart(progress, perTag ? (i == 0 ? 50 : 0) : 20 + 80 * k / tagsToBuild,
                                      perTag ? 100 : 20 + 80 * (k + 1) / tagsToBuild);
            result = jobs[i].builder->finish(progress ? &finishPart : nullptr);
        }
    }
    for (Job &j : jobs)
        j.builder.reset();
    const Status flushed = m_cdx->flush();
    if (result.ok())
        result = flushed;
    if (result.ok() && m_cdx->tagCount() > 0)
        result = m_dbf->setProductionIndex(true);

    for (int i = 0; i < m_cdx->tagCount(); ++i) {
        auto t = std::make_unique<OpenTag>();
        compileTag(m_cdx->tag(i), *t);
        m_tags.push_back(std::move(t));
    }
    if (temp)
        m_tags.push_back(std::move(temp));
    if (tempOrder)
        m_order = static_cast<int>(m_tags.size());
    else
        m_order = orderName.empty() ? 0 : tagOrder(orderName);
    if (!m_eof && m_recno > 0)
        syncEntry();
    return result;
}

Status Table::removeTag(std::string_view name)
{
    if (!m_cdx)
        return Status::NotFound("Tag " + std::string(name) + " does not exist");
    const int o = tagOrder(name);
    if (o == 0)
        return Status::NotFound("Tag " + std::string(name) + " does not exist");
    const std::string current =
        (currentTag() && !currentTag()->isTemporary) ? currentTag()->tag->spec().name : "";
    const bool tempOrder = currentTag() && currentTag()->isTemporary;
    XBASE_TRY(m_cdx->removeTag(std::string(name)));
    std::unique_ptr<OpenTag> temp;
    if (m_idx) {
        temp = std::move(m_tags.back());
        m_tags.pop_back();
    }
    m_tags.clear();
    for (int i = 0; i < m_cdx->tagCount(); ++i) {
        auto t = std::make_unique<OpenTag>();
        compileTag(m_cdx->tag(i), *t);
        m_tags.push_back(std::move(t));
    }
    if (temp)
        m_tags.push_back(std::move(temp));
    m_order = tempOrder ? static_cast<int>(m_tags.size()) : (current.empty() ? 0 : tagOrder(current));
    return m_cdx->flush();
}

Status Table::closeIndexes(bool deleteFile)
{
    if (!m_cdx)
        return Status::Ok();
    const std::string path = m_cdx->path();
    std::unique_ptr<OpenTag> temp;
    const bool tempOrder = currentTag() && currentTag()->isTemporary;
    if (m_idx) {
        temp = std::move(m_tags.back());
        m_tags.pop_back();
    }
    m_tags.clear();
    Status s;
    if (m_mode != OpenMode::ReadOnly)
        s = m_cdx->flush();
    m_cdx.reset();
    if (temp)
        m_tags.push_back(std::move(temp));
    m_order = tempOrder ? 1 : 0;
    m_scoped = false;
    m_indexInterrupted = false;
    if (deleteFile && m_mode != OpenMode::ReadOnly) {
        if (::unlink(path.c_str()) != 0 && fileExists(path))
            return Status::IoError("Cannot delete " + path);
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
    std::vector<TagDefinition> defs;
    for (int i = 0; i < tagCount(); ++i) {
        const TagSpec &s = m_tags[static_cast<size_t>(i)]->tag->spec();
        defs.push_back({s.name, s.keyExpr, s.forExpr});
    }
    const std::string orderName =
        (currentTag() && !currentTag()->isTemporary) ? currentTag()->tag->spec().name : "";
    XBASE_TRY(closeIndexes(true));
    XBASE_TRY(buildTags(defs, progress, false));
    if (!orderName.empty())
        m_order = tagOrder(orderName);
    if (!m_eof && m_recno > 0)
        return syncEntry();
    return Status::Ok();
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
    XBASE_TRY(IdxFile::create(path, spec, idx));
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
    const bool wasOrder = currentTag() && currentTag()->isTemporary;
    m_tags.pop_back();
    Status s;
    if (m_mode != OpenMode::ReadOnly)
        s = m_idx->flush();
    m_idx.reset();
    if (wasOrder) {
        m_order = 0;
        m_scoped = false;
    }
    if (deleteFile)
        ::unlink(m_idxPath.c_str());
    m_idxPath.clear();
    return s;
}

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
    char *p = &m_edit[f.offset];
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
        if (!m_memo)
            return Status::NotFound("The table has no memo file");
        m_memoEdits[i] = std::string(value);
        return Status::Ok();
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
        // The record stays as it was, so its keys go back to what it holds; failing that, the
        // index asks for its rebuild.
        const Status back = m_appending ? removeKeys(m_edit, recno) : updateTags(m_edit, old, recno, false);
        if (!back.ok())
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

Status Table::pack(ProgressHook *progress)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode != OpenMode::Exclusive)
        return Status::InvalidArgument("Pack needs the table opened exclusively");
    if (m_editing)
        cancelEdit();
    const bool hasTags = tagCount() > 0;
    ScaledProgress packPart(progress, 0, hasTags ? 50 : 100);
    RecordProgress rp(progress ? &packPart : nullptr, recordCount());
    if (!rp.start())
        return Status::InvalidArgument("Pack cancelled");
    // A temporary index only holds what was added to it; it starts empty again.
    if (m_idx) {
        const std::string idxPath = m_idxPath;
        const std::string expr = m_tags.back()->tag->spec().keyExpr;
        const bool wasOrder = currentTag() && currentTag()->isTemporary;
        XBASE_TRY(closeTempIndex(true));
        XBASE_TRY(createTempIndex(idxPath, expr));
        if (!wasOrder)
            m_order = 0;
    }
    // A sound index is carried over with its record numbers renumbered, which needs no key
    // computed again. While that runs the old file lies under another name, so a process
    // stopped before the new file is in place leaves no index rather than a wrong one.
    bool remap = hasTags && !m_indexInterrupted && m_indexError.empty();
    for (int i = 0; remap && i < tagCount(); ++i)
        remap = m_tags[static_cast<size_t>(i)]->error.empty();
    const std::string indexPath = hasTags ? m_cdx->path() : std::string();
    const std::string aside = indexPath + ".old";
    if (remap && ::rename(indexPath.c_str(), aside.c_str()) != 0)
        remap = false;

    // Kept records move down in place. Every write lands on a slot that was already read, so
    // each kept record exists at least once at every moment.
    const uint32_t count = recordCount();
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
    std::vector<char> in(static_cast<size_t>(perChunk) * recLen);
    std::vector<char> out;
    out.reserve(in.size());
    std::vector<uint32_t> renumber(remap ? static_cast<size_t>(count) + 1 : 0, 0);
    uint32_t written = 0;
    bool moving = false;
    for (uint32_t first = 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, in.data()));
        out.clear();
        uint32_t outStart = written + 1;
        for (uint32_t k = 0; k < n; ++k) {
            const char *rec = in.data() + static_cast<size_t>(k) * recLen;
            if (rec[0] == '*') {
                moving = true;
                continue;
            }
            ++written;
            if (remap)
                renumber[first + k] = written;
            if (moving)
                out.insert(out.end(), rec, rec + recLen);
            else
                outStart = written + 1;
        }
        if (!out.empty())
            XBASE_TRY(m_dbf->writeRecords(outStart, static_cast<uint32_t>(out.size() / recLen), out.data()));
        rp.step(first + n - 1);
    }
    m_readAheadCount = 0;
    XBASE_TRY(m_dbf->truncateTo(written));
    rp.finish();
    if (m_queryActive)
        XBASE_TRY(rebuildQuery());
    if (hasTags) {
        ScaledProgress tagPart(progress, 50, 100);
        Status s = remap ? renumberTags(renumber, indexPath, progress ? &tagPart : nullptr)
                         : reindex(progress ? &tagPart : nullptr);
        if (remap) {
            ::unlink(aside.c_str());
            if (!s.ok() && isOpen() && m_indexError.empty())
                s = reindex(progress ? &tagPart : nullptr);
        }
        XBASE_TRY(s);
    }
    return goTop();
}

Status Table::renumberTags(const std::vector<uint32_t> &renumber, const std::string &indexPath,
                           ProgressHook *progress)
{
    const std::string orderName =
        (currentTag() && !currentTag()->isTemporary) ? currentTag()->tag->spec().name : "";
    const std::string fresh = indexPath + ".new";
    std::unique_ptr<CdxFile> cdx;
    Status result = CdxFile::create(fresh, cdx);
    const int n = tagCount();
    std::unique_ptr<TagBuilder> previous; // lends its memory to the next tag's builder
    for (int i = 0; result.ok() && i < n; ++i) {
        IndexTag *old = m_tags[static_cast<size_t>(i)]->tag;
        std::unique_ptr<TagBuilder> builder;
        result = cdx->addTag(old->spec(), builder);
        previous.reset();
        if (!result.ok())
            break;
        if (old->spec().forExpr.empty())
            builder->reserve(m_dbf->recordCount());
        result = old->scan({}, {}, true, true, [&](std::string_view key, uint32_t r) {
            if (r < renumber.size() && renumber[r] != 0)
                builder->add(key, renumber[r]);
            return true;
        });
        ScaledProgress part(progress, 100 * i / n, 100 * (i + 1) / n);
        if (result.ok())
            result = builder->finish(progress ? &part : nullptr);
        previous = std::move(builder);
    }
    previous.reset();
    if (result.ok())
        result = cdx->flush();
    cdx.reset();
    // The old index goes either way: its record numbers no longer fit the table.
    std::unique_ptr<OpenTag> temp;
    if (m_idx) {
        temp = std::move(m_tags.back());
        m_tags.pop_back();
    }
    m_tags.clear();
    m_cdx.reset();
    if (result.ok() && ::rename(fresh.c_str(), indexPath.c_str()) != 0)
        result = Status::IoError("Cannot rename " + fresh + " to " + indexPath);
    if (!result.ok()) {
        ::unlink(fresh.c_str());
        if (temp)
            m_tags.push_back(std::move(temp));
        return result;
    }
    result = openIndexes(false);
    if (temp)
        m_tags.push_back(std::move(temp));
    if (temp && currentTag() == nullptr)
        m_order = static_cast<int>(m_tags.size());
    else
        m_order = orderName.empty() ? (m_order > static_cast<int>(m_tags.size()) ? 0 : m_order)
                                    : tagOrder(orderName);
    return result;
}

Status Table::zap()
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_mode != OpenMode::Exclusive)
        return Status::InvalidArgument("Zap needs the table opened exclusively");
    if (m_editing)
        cancelEdit();
    m_readAheadCount = 0;
    XBASE_TRY(m_dbf->truncateTo(0));
    if (m_memo)
        XBASE_TRY(m_memo->clear());
    if (m_queryActive)
        XBASE_TRY(rebuildQuery());
    if (m_idx) {
        const std::string path = m_idxPath;
        const std::string expr = m_tags.back()->tag->spec().keyExpr;
        const bool wasOrder = currentTag() && currentTag()->isTemporary;
        XBASE_TRY(closeTempIndex(true));
        XBASE_TRY(createTempIndex(path, expr));
        if (!wasOrder)
            m_order = 0;
    }
    XBASE_TRY(reindex(nullptr));
    return goTop();
}

Status Table::copyStructure(const std::string &path, ProgressHook *progress) const
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (progress && !progress->report(0))
        return Status::InvalidArgument("Copy cancelled");
    std::vector<FieldDescriptor> fields = schema().fields();
    for (const FieldDescriptor &f : fields)
        if (std::strchr("CNLDM", f.type) == nullptr || (f.type == 'M' && f.length != 10))
            return Status::InvalidArgument("Field " + f.name + " has a type this engine does not create");
    XBASE_TRY(create(path, fields));
    if (progress)
        progress->report(100);
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
    XBASE_TRY(copyStructure(path));
    const uint32_t here = m_eof ? 0 : m_recno;
    Table out;
    Status result = out.open(path, OpenMode::Exclusive);
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
    if (result.ok())
        result = out.close();
    out.close();
    if (result.ok())
        rp.finish();
    else {
        ::unlink(path.c_str());
        ::unlink(companionPath(path, "FPT").c_str());
    }
    if (here != 0)
        go(here);
    else
        setEof();
    return result;
}

// ---- Queries ---------------------------------------------------------------------------

Status Table::setQuery(std::string_view expr)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (trimBoth(expr).empty()) {
        m_queryActive = false;
        m_queryText.clear();
        m_query = Expression();
        m_queryBits.clear();
        m_queryBitCount = 0;
        return Status::Ok();
    }
    Expression compiled;
    XBASE_TRY(Expression::compile(expr, schema(), compiled));
    m_query = compiled;
    m_queryText = std::string(expr);
    m_queryActive = true;
    return rebuildQuery();
}

namespace {

// The production tags the planner may read: those whose key compiled.
class TagCatalog : public IndexCatalog
{
public:
    void add(IndexTag *tag, const Expression *key) { m_tags.push_back({tag, key}); }
    int tagCount() const override { return static_cast<int>(m_tags.size()); }
    const TagSpec &tagSpec(int i) const override { return m_tags[static_cast<size_t>(i)].first->spec(); }
    const Expression &tagKey(int i) const override { return *m_tags[static_cast<size_t>(i)].second; }
    Status scan(int i, std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                const std::function<bool(std::string_view, uint32_t)> &visit) override
    {
        return m_tags[static_cast<size_t>(i)].first->scan(lo, hi, hiInclusive, unboundedHi, visit);
    }

private:
    std::vector<std::pair<IndexTag *, const Expression *>> m_tags;
};

} // namespace

IndexTag *Table::deletedMarkTag() const
{
    // A production tag on DELETED() without a condition holds every record's delete mark.
    IndexTag *found = nullptr;
    for (int i = 0; i < tagCount(); ++i) {
        const OpenTag &t = *m_tags[static_cast<size_t>(i)];
        if (!t.key.isValid() || t.hasCondition())
            continue;
        std::string expr = t.tag->spec().keyExpr;
        expr.erase(std::remove(expr.begin(), expr.end(), ' '), expr.end());
        for (char &c : expr)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (expr == "DELETED()" && t.tag->spec().keyLength == 1)
            found = t.tag;
    }
    return found;
}

Status Table::rebuildQuery()
{
    const uint32_t count = recordCount();
    m_queryBitCount = count;
    m_queryBits.assign((static_cast<size_t>(count) + 63) / 64 + 1, 0);

    // Tags narrow the query to candidates; only those are read and re-tested, unless the
    // plan is exact and a DELETED() tag tells the marked records.
    TagCatalog catalog;
    for (int i = 0; i < tagCount(); ++i) {
        OpenTag &t = *m_tags[static_cast<size_t>(i)];
        if (t.key.isValid() && !t.hasCondition())
            catalog.add(t.tag, &t.key);
    }
    IndexTag *deletedTag = deletedMarkTag();
    QueryPlan plan;
    if (count > 0 && catalog.tagCount() > 0 && planQuery(m_query, catalog, count, m_eval, plan).ok() &&
        plan.indexed) {
        const RecordBitmap &c = plan.candidates;
        if (plan.exact && (!m_deletedHidden || deletedTag)) {
            for (uint32_t r = c.nextSet(1); r != 0; r = r < count ? c.nextSet(r + 1) : 0)
                setQueryBit(r, true);
            if (m_deletedHidden) {
                XBASE_TRY(deletedTag->scan("T", "T", true, false, [&](std::string_view, uint32_t r) {
                    setQueryBit(r, false);
                    return true;
                }));
            }
            return Status::Ok();
        }
        if (c.count() < count / 8) {
            std::string rec(m_dbf->recordLength(), ' ');
            for (uint32_t r = c.nextSet(1); r != 0; r = r < count ? c.nextSet(r + 1) : 0) {
                XBASE_TRY(m_dbf->readRecord(r, &rec[0]));
                if (m_deletedHidden && rec[0] == '*')
                    continue;
                if (m_query.isTrue(RecordRef{rec.data(), r}, m_eval))
                    setQueryBit(r, true);
            }
            return Status::Ok();
        }
    }
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
    std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
    for (uint32_t first = 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k) {
            const char *data = buffer.data() + static_cast<size_t>(k) * recLen;
            if (m_deletedHidden && data[0] == '*')
                continue;
            if (m_query.isTrue(RecordRef{data, first + k}, m_eval))
                setQueryBit(first + k, true);
        }
    }
    return Status::Ok();
}

Status Table::queryCount(uint64_t &out)
{
    out = 0;
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_queryActive) {
        if (m_queryBitCount < recordCount())
            XBASE_TRY(rebuildQuery());
        for (uint64_t w : m_queryBits)
            out += static_cast<uint64_t>(__builtin_popcountll(w));
        return Status::Ok();
    }
    const uint32_t count = recordCount();
    if (!m_deletedHidden) {
        out = count;
        return Status::Ok();
    }
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
    std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
    for (uint32_t first = 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k)
            if (buffer[static_cast<size_t>(k) * recLen] != '*')
                ++out;
    }
    return Status::Ok();
}

Status Table::visibleSet(RecordBitmap &shown)
{
    const uint32_t count = recordCount();
    if (!m_queryActive && !m_deletedHidden) {
        shown.setAll();
        return Status::Ok();
    }
    // Only an exclusive opener knows that no one else changed a record since the query's
    // bitmap or the DELETED() tag was last brought up to date; others read the records.
    uint32_t answered = 0; // records 1..answered are decided without reading them
    if (m_mode == OpenMode::Exclusive) {
        if (m_queryActive) {
            answered = std::min(m_queryBitCount, count);
            for (uint32_t w = 0; w * 64 < answered; ++w) {
                uint64_t bits = m_queryBits[w];
                while (bits != 0) {
                    const uint32_t r = w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits)) + 1;
                    bits &= bits - 1;
                    if (r <= answered)
                        shown.set(r);
                }
            }
        } else if (IndexTag *marks = deletedMarkTag()) {
            shown.setAll();
            XBASE_TRY(marks->scan("T", "T", true, false, [&](std::string_view, uint32_t r) {
                shown.reset(r);
                return true;
            }));
            answered = count;
        }
    }
    if (answered >= count)
        return Status::Ok();
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
    std::vector<char> buffer(static_cast<size_t>(std::min(perChunk, count - answered)) * recLen);
    for (uint32_t first = answered + 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k)
            if (passesFilters(buffer.data() + static_cast<size_t>(k) * recLen, first + k))
                shown.set(first + k);
    }
    return Status::Ok();
}

Status Table::visibleRecnos(std::vector<uint32_t> &out)
{
    out.clear();
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    XBASE_TRY(refreshShared());
    RecordBitmap shown(recordCount());
    XBASE_TRY(visibleSet(shown));
    OpenTag *t = currentTag();
    if (!t) {
        out.reserve(shown.count());
        for (uint32_t r = shown.nextSet(1); r != 0; r = r < shown.size() ? shown.nextSet(r + 1) : 0)
            out.push_back(r);
        return Status::Ok();
    }
    // The scope's keys lie together in the order, from the first not below its low bound
    // to the last whose prefix is not above its high bound.
    const bool bounded = m_scoped && !m_scopeHi.empty();
    const std::string lo = m_scoped ? m_scopeLo : std::string();
    return t->tag->scan(lo, bounded ? m_scopeHi : std::string(), true, !bounded,
                        [&](std::string_view, uint32_t r) {
                            if (shown.test(r))
                                out.push_back(r);
                            return true;
                        });
}

Status Table::evaluate(std::string_view expr, Value &out) const
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    Expression e;
    XBASE_TRY(Expression::compile(expr, schema(), e));
    out = e.evaluate(record(), m_eval);
    return Status::Ok();
}

Status Table::evalLogical(std::string_view expr, bool &out) const
{
    Value v;
    XBASE_TRY(evaluate(expr, v));
    if (v.type != ValueType::Logical)
        return Status::InvalidArgument("The expression is not a logical one");
    out = v.logical;
    return Status::Ok();
}

// ---- Checks ----------------------------------------------------------------------------

Status Table::check(std::vector<std::string> &faults, ProgressHook *progress)
{
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
    const uint32_t perChunk = std::max<uint32_t>(1, static_cast<uint32_t>(kChunkBytes / recLen));
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
                    if (k != expected)
                        tagFault("record " + std::to_string(r) + " has key \"" + trimRight(k) +
                                 "\", the record gives \"" + trimRight(expected) + "\"");
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
        }
    }
    if (recordFaults > kListed * 5)
        faults.push_back(std::to_string(recordFaults - kListed * 5) + " more faults in records");
    rp.finish();
    return Status::Ok();
}

} // namespace xbase
