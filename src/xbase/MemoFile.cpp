#include "MemoFile.h"

#include <vector>

namespace xbase {

namespace {
uint32_t be32(const unsigned char *p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
void putBe32(unsigned char *p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}
} // namespace

Status MemoFile::open(const std::string &path, bool readOnly, std::unique_ptr<MemoFile> &out)
{
    out.reset();
    std::unique_ptr<MemoFile> memo(new MemoFile());
    XBASE_TRY(memo->m_file.open(path, readOnly ? FileAccess::ReadOnly : FileAccess::ReadWrite));
    uint64_t size = 0;
    XBASE_TRY(memo->m_file.size(size));
    if (size < 8)
        return Status::Corruption(path + ": too short for a memo file header");
    unsigned char h[8];
    XBASE_TRY(memo->m_file.readAt(0, h, sizeof h));
    memo->m_blockSize = (static_cast<uint32_t>(h[6]) << 8) | h[7];
    if (memo->m_blockSize == 0)
        return Status::Corruption(path + ": memo block size is 0");
    memo->m_nextFree = be32(h);
    if (memo->m_nextFree < memo->firstDataBlock())
        return Status::Corruption(path + ": next free memo block " + std::to_string(memo->m_nextFree) +
                                  " lies inside the header");
    out = std::move(memo);
    return Status::Ok();
}

Status MemoFile::create(const std::string &path, uint32_t blockSize, std::unique_ptr<MemoFile> &out)
{
    out.reset();
    if (blockSize == 0 || blockSize > 0xFFFF)
        return Status::InvalidArgument("Invalid memo block size");
    std::unique_ptr<MemoFile> memo(new MemoFile());
    memo->m_blockSize = blockSize;
    memo->m_nextFree = memo->firstDataBlock();
    std::vector<unsigned char> header(static_cast<size_t>(memo->m_nextFree) * blockSize, 0);
    putBe32(header.data(), memo->m_nextFree);
    header[6] = static_cast<unsigned char>(blockSize >> 8);
    header[7] = static_cast<unsigned char>(blockSize);
    XBASE_TRY(memo->m_file.open(path, FileAccess::Create));
    XBASE_TRY(memo->m_file.writeAt(0, header.data(), header.size()));
    out = std::move(memo);
    return Status::Ok();
}

Status MemoFile::length(uint32_t block, uint32_t &out) const
{
    out = 0;
    if (block == 0)
        return Status::Ok();
    const std::string where = m_file.path() + ": memo block " + std::to_string(block);
    if (block < firstDataBlock())
        return Status::Corruption(where + " lies inside the header");
    uint64_t size = 0;
    XBASE_TRY(m_file.size(size));
    const uint64_t offset = static_cast<uint64_t>(block) * m_blockSize;
    if (offset + 8 > size)
        return Status::Corruption(where + " lies past the end of the file");
    unsigned char h[8];
    XBASE_TRY(m_file.readAt(offset, h, sizeof h));
    const uint32_t len = be32(h + 4);
    if (offset + 8 + len > size)
        return Status::Corruption(where + " claims " + std::to_string(len) +
                                  " bytes, more than the file holds");
    out = len;
    return Status::Ok();
}

Status MemoFile::read(uint32_t block, std::string &out) const
{
    out.clear();
    uint32_t len = 0;
    XBASE_TRY(length(block, len));
    if (len == 0)
        return Status::Ok();
    out.resize(len);
    return m_file.readAt(static_cast<uint64_t>(block) * m_blockSize + 8, &out[0], len);
}

Status MemoFile::write(uint32_t oldBlock, std::string_view text, uint32_t &newBlock)
{
    newBlock = 0;
    if (text.empty())
        return Status::Ok();
    if (text.size() > 0x7FFFFFF0u)
        return Status::InvalidArgument("The memo text is too long");
    std::string bytes(8 + text.size(), '\0');
    auto *p = reinterpret_cast<unsigned char *>(&bytes[0]);
    putBe32(p, kTextType);
    putBe32(p + 4, static_cast<uint32_t>(text.size()));
    bytes.replace(8, text.size(), text.data(), text.size());
    const uint32_t need = blocksFor(text.size());

    if (oldBlock != 0) {
        uint32_t oldLength = 0;
        if (length(oldBlock, oldLength).ok() && blocksFor(oldLength) >= need &&
            oldBlock + blocksFor(oldLength) <= m_nextFree) {
            XBASE_TRY(
                m_file.writeAt(static_cast<uint64_t>(oldBlock) * m_blockSize, bytes.data(), bytes.size()));
            newBlock = oldBlock;
            return Status::Ok();
        }
    }
    if (static_cast<uint64_t>(m_nextFree) + need > 0xFFFFFFFFull)
        return Status::IoError(m_file.path() + ": the memo file is full");
    // Pad to whole blocks so the file always ends on a block boundary.
    bytes.resize(static_cast<size_t>(need) * m_blockSize, '\0');
    const uint32_t at = m_nextFree;
    XBASE_TRY(m_file.writeAt(static_cast<uint64_t>(at) * m_blockSize, bytes.data(), bytes.size()));
    if (m_deferred) {
        m_nextFree = at + need;
        m_headerStale = true;
    } else {
        XBASE_TRY(writeNextFree(at + need));
    }
    newBlock = at;
    return Status::Ok();
}

Status MemoFile::syncHeader()
{
    if (!m_headerStale)
        return Status::Ok();
    XBASE_TRY(writeNextFree(m_nextFree));
    m_headerStale = false;
    return Status::Ok();
}

Status MemoFile::recoverNextFree()
{
    uint64_t size = 0;
    XBASE_TRY(m_file.size(size));
    const uint64_t end = (size + m_blockSize - 1) / m_blockSize;
    if (end > m_nextFree && end <= 0xFFFFFFFFull) {
        m_nextFree = static_cast<uint32_t>(end);
        m_headerStale = true;
    }
    return Status::Ok();
}

Status MemoFile::writeNextFree(uint32_t next)
{
    unsigned char h[4];
    putBe32(h, next);
    XBASE_TRY(m_file.writeAt(0, h, sizeof h));
    m_nextFree = next;
    return Status::Ok();
}

Status MemoFile::clear()
{
    XBASE_TRY(writeNextFree(firstDataBlock()));
    m_headerStale = false;
    return m_file.truncate(static_cast<uint64_t>(firstDataBlock()) * m_blockSize);
}

Status MemoFile::refresh()
{
    unsigned char h[4];
    XBASE_TRY(m_file.readAt(0, h, sizeof h));
    const uint32_t next = be32(h);
    if (next < firstDataBlock())
        return Status::Corruption(m_file.path() + ": next free memo block lies inside the header");
    m_nextFree = next;
    return Status::Ok();
}

} // namespace xbase
