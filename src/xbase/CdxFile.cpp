#include "CdxFile.h"

#include "CompactTagBuilder.h"
#include "CompactTree.h"
#include "IndexPageFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

namespace xbase {

namespace {

// "Update in progress": four bytes in the reserved area of the file's first page, set before
// the first change after opening or flushing and cleared by flush().
constexpr uint32_t kMarkerOffset = 488;
const std::string kMarkerOn("UPD\x01", 4);
const std::string kMarkerOff(4, '\0');

constexpr uint16_t kDirectoryKeyLength = 10;
constexpr uint8_t kDirectoryOptions = 0xE0;

std::string upperAscii(std::string s)
{
    for (char &c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string trimName(std::string_view key)
{
    size_t n = key.size();
    while (n > 0 && (key[n - 1] == ' ' || key[n - 1] == '\0'))
        --n;
    return std::string(key.substr(0, n));
}

class CdxFileImpl : public CdxFile
{
public:
    explicit CdxFileImpl(std::unique_ptr<IndexPageFile> file)
        : m_file(std::move(file)), m_directory(*m_file, 0)
    {
        m_file->setUpdateMarker(kMarkerOffset, kMarkerOn, kMarkerOff);
    }
    // A destructor cannot report: owners that need to know flush() before they let go.
    ~CdxFileImpl() override { (void)m_file->flush(m_interrupted); }

    Status load()
    {
        if (m_file->size() < kTagHeaderSize + kPageSize)
            return Status::Corruption("Index file " + m_file->path() +
                                      " is too short to be a compound index");
        uint8_t first[kPageSize];
        XBASE_TRY(m_file->readPage(0, first));
        m_interrupted = std::memcmp(first + kMarkerOffset, kMarkerOn.data(), kMarkerOn.size()) == 0;
        XBASE_TRY(m_directory.load());
        m_directory.setKeyType('C');
        std::vector<std::pair<std::string, uint32_t>> entries;
        std::unordered_set<uint32_t> offsets;
        const uint64_t limit = m_file->size() / kPageSize;
        Status inner = Status::Ok();
        XBASE_TRY(m_directory.scan({}, {}, false, true, [&](std::string_view key, uint32_t recno) {
            const std::string name = trimName(key);
            if (name.empty()) {
                inner = Status::Corruption("Index file " + m_file->path() + " has a tag without a name");
                return false;
            }
            if (recno == 0 || !m_file->isPage(recno) || !m_file->isPage(recno + kPageSize) ||
                !offsets.insert(recno).second || entries.size() > limit) {
                inner = Status::Corruption("Index file " + m_file->path() + ": tag " + name +
                                           " has its header outside the file");
                return false;
            }
            entries.emplace_back(name, recno);
            return true;
        }));
        if (!inner.ok()) {
            m_file->markDamaged();
            return inner;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const auto &a, const auto &b) { return a.second < b.second; });
        for (const auto &e : entries) {
            auto tree = std::make_unique<CompactTree>(*m_file, e.second);
            tree->setName(e.first);
            XBASE_TRY(tree->load());
            m_tags.push_back(std::move(tree));
        }
        return Status::Ok();
    }

    Status initialize()
    {
        uint32_t header = 0;
        XBASE_TRY(m_file->allocate(2, header));
        TagSpec spec;
        spec.keyLength = kDirectoryKeyLength;
        XBASE_TRY(m_directory.initialize(spec, kDirectoryOptions));
        return m_file->flush();
    }

    int tagCount() const override { return static_cast<int>(m_tags.size()); }
    IndexTag *tag(int index) override
    {
        return index >= 0 && index < tagCount() ? m_tags[static_cast<size_t>(index)].get() : nullptr;
    }
    IndexTag *tag(const std::string &name) override { return find(upperAscii(name)); }

    Status addTag(const TagSpec &specIn, std::unique_ptr<TagBuilder> &builder) override
    {
        TagSpec spec = specIn;
        spec.name = upperAscii(spec.name);
        if (spec.name.empty() || spec.name.size() > m_directory.spec().keyLength || spec.name.size() > 10)
            return Status::InvalidArgument("Tag name \"" + spec.name + "\" must have 1 to 10 characters");
        for (char c : spec.name)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
                return Status::InvalidArgument("Tag name \"" + spec.name +
                                               "\" may hold only letters, digits and _");
        if (spec.keyLength < 1 || spec.keyLength > kMaxKeyLength)
            return Status::InvalidArgument("Key length " + std::to_string(spec.keyLength) +
                                           " is out of range");
        if (spec.keyExpr.empty() || spec.keyExpr.size() + spec.forExpr.size() + 2 > 512)
            return Status::InvalidArgument("Key and FOR expressions must fit in 510 characters");
        if (spec.keyType != 'C' && spec.keyType != 'N' && spec.keyType != 'L')
            return Status::InvalidArgument("Key type must be C, N or L");
        if (m_file->isReadOnly())
            return Status::InvalidArgument("Index file " + m_file->path() + " is open read-only");
        if (m_file->isDamaged())
            return Status::Corruption("Index file " + m_file->path() +
                                      " is damaged and is not written further");
        std::shared_ptr<SortWorkspace> workspace = m_sortWorkspace.lock();
        if (!workspace) {
            workspace = std::make_shared<SortWorkspace>();
            m_sortWorkspace = workspace;
        }
        builder = std::make_unique<CompactTagBuilder>(
            spec.keyLength, spec.unique,
            [this, spec](const char *keys, const uint32_t *recnos, size_t n, ProgressHook *progress) {
                return writeTag(spec, keys, recnos, n, progress);
            },
            workspace);
        return Status::Ok();
    }

    Status removeTag(const std::string &name) override
    {
        CompactTree *t = find(upperAscii(name));
        if (!t)
            return Status::NotFound("Tag " + name + " does not exist");
        XBASE_TRY(m_file->beginUpdate());
        std::vector<uint32_t> pages;
        const bool collected = t->collectPages(pages).ok();
        const uint32_t header = t->headerOffset();
        m_tags.erase(std::find_if(m_tags.begin(), m_tags.end(), [t](const auto &p) { return p.get() == t; }));
        m_rebuilt.erase(t);
        XBASE_TRY(writeDirectory());
        noteRebuilt(nullptr);
        if (collected) {
            for (uint32_t p : pages)
                m_file->release(p);
            m_file->release(header);
            m_file->release(header + kPageSize);
        }
        return Status::Ok();
    }

    bool wasInterrupted() const override { return m_interrupted; }
    void markInterrupted() override { m_interrupted = true; }
    // A file left interrupted keeps its marker until every tag has been rebuilt.
    Status flush() override { return m_file->flush(m_interrupted); }
    Status sync() override
    {
        XBASE_TRY(flush());
        return m_file->sync();
    }
    Status refresh() override
    {
        XBASE_TRY(m_file->refresh());
        XBASE_TRY(m_directory.load());
        for (auto &t : m_tags) {
            const std::string name = t->spec().name;
            XBASE_TRY(t->load());
            t->setName(name);
        }
        return Status::Ok();
    }
    const std::string &path() const override { return m_file->path(); }

    Status check(std::vector<std::string> &faults) override
    {
        XBASE_TRY(m_directory.check(faults));
        for (auto &t : m_tags)
            XBASE_TRY(t->check(faults));
        return Status::Ok();
    }

private:
    // The interruption is over once every tag has been built again since opening.
    void noteRebuilt(CompactTree *t)
    {
        if (t)
            m_rebuilt.insert(t);
        if (m_interrupted && std::all_of(m_tags.begin(), m_tags.end(),
                                         [this](const auto &p) { return m_rebuilt.count(p.get()) > 0; }))
            m_interrupted = false;
    }

    CompactTree *find(const std::string &upperName)
    {
        for (auto &t : m_tags)
            if (t->spec().name == upperName)
                return t.get();
        return nullptr;
    }

    static uint8_t optionsFor(const TagSpec &spec)
    {
        uint8_t options = kOptionCompact | kOptionCompound;
        if (spec.unique)
            options |= kOptionUnique;
        if (!spec.forExpr.empty())
            options |= kOptionFor;
        return options;
    }

    Status writeTag(const TagSpec &spec, const char *keys, const uint32_t *recnos, size_t n,
                    ProgressHook *progress)
    {
        XBASE_TRY(m_file->beginUpdate());
        CompactTree *t = find(spec.name);
        if (t) {
            // Replaced in place: the header keeps its offset, so the tag keeps its order.
            uint8_t h[kTagHeaderSize];
            CompactTree::encodeHeader(spec, t->root(), optionsFor(spec), h);
            XBASE_TRY(m_file->writePage(t->headerOffset(), h));
            XBASE_TRY(m_file->writePage(t->headerOffset() + kPageSize, h + kPageSize));
            XBASE_TRY(t->load());
            t->setName(spec.name);
            t->setKeyType(spec.keyType);
            XBASE_TRY(t->replaceSorted(keys, recnos, n, progress, 30, 99));
            noteRebuilt(t);
            return Status::Ok();
        }
        uint32_t header = 0;
        XBASE_TRY(m_file->allocate(2, header));
        auto tree = std::make_unique<CompactTree>(*m_file, header);
        XBASE_TRY(tree->initialize(spec, optionsFor(spec)));
        XBASE_TRY(tree->replaceSorted(keys, recnos, n, progress, 30, 99));
        m_rebuilt.insert(tree.get());
        m_tags.push_back(std::move(tree));
        XBASE_TRY(writeDirectory());
        noteRebuilt(nullptr);
        return Status::Ok();
    }

    Status writeDirectory()
    {
        const size_t L = m_directory.spec().keyLength;
        std::vector<std::pair<std::string, uint32_t>> entries;
        for (const auto &t : m_tags) {
            std::string key = t->spec().name;
            key.resize(L, ' ');
            entries.emplace_back(key, t->headerOffset());
        }
        std::sort(entries.begin(), entries.end());
        std::string keys;
        std::vector<uint32_t> recnos;
        for (const auto &e : entries) {
            keys += e.first;
            recnos.push_back(e.second);
        }
        return m_directory.replaceSorted(keys.data(), recnos.data(), recnos.size(), nullptr, 0, 0);
    }

    std::unique_ptr<IndexPageFile> m_file;
    CompactTree m_directory;
    std::vector<std::unique_ptr<CompactTree>> m_tags;
    bool m_interrupted = false;
    std::weak_ptr<SortWorkspace> m_sortWorkspace; // shared by the builders of one run
    std::unordered_set<const CompactTree *> m_rebuilt;
};

} // namespace

Status CdxFile::open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<CdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file;
    XBASE_TRY(IndexPageFile::open(env, path, readOnly, file));
    auto cdx = std::make_unique<CdxFileImpl>(std::move(file));
    XBASE_TRY(cdx->load());
    out = std::move(cdx);
    return Status::Ok();
}

Status CdxFile::openFromMemory(std::string bytes, bool readOnly, std::unique_ptr<CdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file = IndexPageFile::fromMemory(std::move(bytes), readOnly);
    if (!file)
        return Status::IoError("The index bytes could not be held in memory");
    auto cdx = std::make_unique<CdxFileImpl>(std::move(file));
    XBASE_TRY(cdx->load());
    out = std::move(cdx);
    return Status::Ok();
}

Status CdxFile::create(Env &env, const std::string &path, std::unique_ptr<CdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file;
    XBASE_TRY(IndexPageFile::create(env, path, file));
    auto cdx = std::make_unique<CdxFileImpl>(std::move(file));
    XBASE_TRY(cdx->initialize());
    out = std::move(cdx);
    return Status::Ok();
}

} // namespace xbase
