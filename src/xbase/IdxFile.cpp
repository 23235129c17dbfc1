#include "CdxFile.h"

#include "CompactTree.h"
#include "IndexPageFile.h"

namespace xbase {

namespace {

class IdxFileImpl : public IdxFile
{
public:
    explicit IdxFileImpl(std::unique_ptr<IndexPageFile> file) : m_file(std::move(file)), m_tree(*m_file, 0) {}
    // A destructor cannot report: owners that need to know flush() before they let go.
    ~IdxFileImpl() override { (void)m_file->flush(); }

    Status load()
    {
        if (m_file->size() < kTagHeaderSize + kPageSize)
            return Status::Corruption("Index file " + m_file->path() + " is too short to be a compact index");
        XBASE_TRY(m_tree.load());
        if ((m_tree.options() & kOptionCompact) == 0)
            return Status::Corruption("Index file " + m_file->path() + " is not a compact index");
        return Status::Ok();
    }

    Status initialize(const TagSpec &specIn)
    {
        TagSpec spec = specIn;
        spec.name.clear();
        if (spec.keyLength < 1 || spec.keyLength > kMaxKeyLength)
            return Status::InvalidArgument("Key length " + std::to_string(spec.keyLength) +
                                           " is out of range");
        if (spec.keyExpr.size() + spec.forExpr.size() + 2 > 512)
            return Status::InvalidArgument("Key and FOR expressions must fit in 510 characters");
        uint8_t options = kOptionCompact;
        if (spec.unique)
            options |= kOptionUnique;
        if (!spec.forExpr.empty())
            options |= kOptionFor;
        uint32_t header = 0;
        XBASE_TRY(m_file->allocate(2, header));
        XBASE_TRY(m_tree.initialize(spec, options));
        return m_file->flush();
    }

    IndexTag *tag() override { return &m_tree; }
    Status flush() override { return m_file->flush(); }

private:
    std::unique_ptr<IndexPageFile> m_file;
    CompactTree m_tree;
};

} // namespace

Status IdxFile::open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<IdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file;
    XBASE_TRY(IndexPageFile::open(env, path, readOnly, file));
    auto idx = std::make_unique<IdxFileImpl>(std::move(file));
    XBASE_TRY(idx->load());
    out = std::move(idx);
    return Status::Ok();
}

Status IdxFile::openFromMemory(std::string bytes, bool readOnly, std::unique_ptr<IdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file = IndexPageFile::fromMemory(std::move(bytes), readOnly);
    if (!file)
        return Status::IoError("The index bytes could not be held in memory");
    auto idx = std::make_unique<IdxFileImpl>(std::move(file));
    XBASE_TRY(idx->load());
    out = std::move(idx);
    return Status::Ok();
}

Status IdxFile::create(Env &env, const std::string &path, const TagSpec &spec, std::unique_ptr<IdxFile> &out)
{
    std::unique_ptr<IndexPageFile> file;
    XBASE_TRY(IndexPageFile::create(env, path, file));
    auto idx = std::make_unique<IdxFileImpl>(std::move(file));
    XBASE_TRY(idx->initialize(spec));
    out = std::move(idx);
    return Status::Ok();
}

} // namespace xbase
