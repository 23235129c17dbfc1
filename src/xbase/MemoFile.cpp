#include "MemoFile.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace xbase {

namespace {

uint32_t be32(const unsigned char *p)
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}
uint32_t le32(const unsigned char *p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void putBe32(unsigned char *p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

// dBase blocks are 512 bytes unless a dBase IV header names another multiple of 512.
constexpr uint32_t kDbtBlockSize = 512;
// A dBase IV memo block starts with these bytes, then its length including the 8 header bytes.
const unsigned char kDbt4Signature[4] = {0xFF, 0xFF, 0x08, 0x00};
// A dBase III memo ends at this byte (written twice).
constexpr char kDbtEnd = '\x1A';

} // namespace

Status MemoFile::open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<MemoFile> &out,
                      Kind kind)
{
    out.reset();
    std::unique_ptr<MemoFile> memo(new MemoFile());
    memo->m_kind = kind;
    const bool writable = !readOnly && kind == Kind::Fpt;
    XBASE_TRY(env.open(path, writable ? FileAccess::ReadWrite : FileAccess::ReadOnly, memo->m_file));
    uint64_t size = 0;
    XBASE_TRY(memo->m_file->size(size));
    if (kind == Kind::Dbt) {
        if (size < kDbtBlockSize)
            return Status::Corruption(path + ": too short for a memo file header");
        unsigned char h[24];
        XBASE_TRY(memo->m_file->readAt(0, h, sizeof h));
        memo->m_nextFree = le32(h);
        const uint32_t dbase4Size = static_cast<uint32_t>(h[20] | (h[21] << 8));
        memo->m_blockSize = kDbtBlockSize;
        if (h[16] != 0x03 && dbase4Size >= kDbtBlockSize && dbase4Size % kDbtBlockSize == 0)
            memo->m_blockSize = dbase4Size;
        out = std::move(memo);
        return Status::Ok();
    }
    if (size < 8)
        return Status::Corruption(path + ": too short for a memo file header");
    unsigned char h[8];
    XBASE_TRY(memo->m_file->readAt(0, h, sizeof h));
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

Status MemoFile::create(Env &env, const std::string &path, uint32_t blockSize, std::unique_ptr<MemoFile> &out)
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
    XBASE_TRY(env.open(path, FileAccess::Create, memo->m_file));
    XBASE_TRY(memo->m_file->writeAt(0, header.data(), header.size()));
    out = std::move(memo);
    return Status::Ok();
}

Status MemoFile::sizeCovering(uint64_t end, uint64_t &out) const
{
    if (m_knownSize < end)
        XBASE_TRY(m_file->size(m_knownSize));
    out = m_knownSize;
    return Status::Ok();
}

std::string MemoFile::blockText(uint32_t block) const
{
    return m_file->path() + ": memo block " + std::to_string(block);
}

Status MemoFile::readDbt(uint32_t block, std::string *out, uint32_t &length) const
{
    length = 0;
    const std::string where = blockText(block);
    uint64_t size = 0;
    // A dBase III memo runs to its end mark, so the whole file's size is wanted.
    XBASE_TRY(m_file->size(size));
    m_knownSize = size;
    const uint64_t offset = static_cast<uint64_t>(block) * m_blockSize;
    if (offset >= size)
        return Status::Corruption(where + " lies past the end of the file");
    unsigned char h[8] = {};
    size_t got = 0;
    XBASE_TRY(m_file->readSomeAt(offset, h, sizeof h, got));
    if (got == sizeof h && std::memcmp(h, kDbt4Signature, sizeof kDbt4Signature) == 0) {
        const uint32_t stored = le32(h + 4);
        if (stored < 8 || offset + stored > size)
            return Status::Corruption(where + " claims " + std::to_string(stored) +
                                      " bytes, more than the file holds");
        length = stored - 8;
        if (out) {
            out->resize(length);
            if (length > 0)
                XBASE_TRY(m_file->readAt(offset + 8, &(*out)[0], length));
        }
        return Status::Ok();
    }
    // dBase III: the text runs to the first end mark, or to the end of the file.
    std::string chunk(m_blockSize, '\0');
    uint64_t at = offset;
    if (out)
        out->clear();
    while (at < size) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(chunk.size(), size - at));
        XBASE_TRY(m_file->readAt(at, &chunk[0], n));
        const void *end = std::memchr(chunk.data(), kDbtEnd, n);
        const size_t take = end ? static_cast<size_t>(static_cast<const char *>(end) - chunk.data()) : n;
        if (static_cast<uint64_t>(length) + take > 0x7FFFFFF0u)
            return Status::Corruption(where + " holds a memo too long to read");
        length += static_cast<uint32_t>(take);
        if (out)
            out->append(chunk.data(), take);
        if (end)
            break;
        at += n;
    }
    return Status::Ok();
}

Status MemoFile::length(uint32_t block, uint32_t &out) const
{
    out = 0;
    if (block == 0)
        return Status::Ok();
    if (block < firstDataBlock())
        return Status::Corruption(blockText(block) + " lies inside the header");
    if (m_kind == Kind::Dbt)
        return readDbt(block, nullptr, out);
    uint64_t size = 0;
    const uint64_t offset = static_cast<uint64_t>(block) * m_blockSize;
    XBASE_TRY(sizeCovering(offset + kBlockHeaderSize, size));
    if (offset + kBlockHeaderSize > size)
        return Status::Corruption(blockText(block) + " lies past the end of the file");
    unsigned char h[kBlockHeaderSize];
    XBASE_TRY(m_file->readAt(offset, h, sizeof h));
    const uint32_t len = be32(h + 4);
    XBASE_TRY(sizeCovering(offset + kBlockHeaderSize + len, size));
    if (offset + kBlockHeaderSize + len > size)
        return Status::Corruption(blockText(block) + " claims " + std::to_string(len) +
                                  " bytes, more than the file holds");
    out = len;
    return Status::Ok();
}

Status MemoFile::read(uint32_t block, std::string &out) const
{
    uint32_t type = 0;
    return read(block, type, out);
}

Status MemoFile::read(uint32_t block, uint32_t &type, std::string &out) const
{
    out.clear();
    type = kTextType;
    if (block == 0)
        return Status::Ok();
    if (block < firstDataBlock())
        return Status::Corruption(blockText(block) + " lies inside the header");
    if (m_kind == Kind::Dbt) {
        uint32_t len = 0;
        return readDbt(block, &out, len);
    }
    uint64_t size = 0;
    const uint64_t offset = static_cast<uint64_t>(block) * m_blockSize;
    XBASE_TRY(sizeCovering(offset + kBlockHeaderSize, size));
    if (offset + kBlockHeaderSize > size)
        return Status::Corruption(blockText(block) + " lies past the end of the file");
    // One read takes the header and, for the usual short memo, the text with it.
    unsigned char first[512];
    const size_t want = static_cast<size_t>(std::min<uint64_t>(sizeof first, size - offset));
    XBASE_TRY(m_file->readAt(offset, first, want));
    type = be32(first);
    const uint32_t len = be32(first + 4);
    XBASE_TRY(sizeCovering(offset + kBlockHeaderSize + len, size));
    if (offset + kBlockHeaderSize + len > size)
        return Status::Corruption(blockText(block) + " claims " + std::to_string(len) +
                                  " bytes, more than the file holds");
    if (len == 0)
        return Status::Ok();
    if (kBlockHeaderSize + len <= want) {
        out.assign(reinterpret_cast<const char *>(first) + kBlockHeaderSize, len);
        return Status::Ok();
    }
    out.resize(len);
    return m_file->readAt(offset + kBlockHeaderSize, &out[0], len);
}

Status MemoFile::headerBytes(std::string &out) const
{
    out.assign(static_cast<size_t>(firstDataBlock()) * m_blockSize, '\0');
    size_t got = 0;
    return m_file->readSomeAt(0, &out[0], out.size(), got);
}

uint32_t MemoFile::encodeBlocks(uint32_t type, std::string_view data, uint32_t blockSize, std::string &out)
{
    const uint64_t bytes = kBlockHeaderSize + data.size();
    const uint32_t blocks = static_cast<uint32_t>((bytes + blockSize - 1) / blockSize);
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(blocks) * blockSize, '\0');
    auto *p = reinterpret_cast<unsigned char *>(&out[at]);
    putBe32(p, type);
    putBe32(p + 4, static_cast<uint32_t>(data.size()));
    if (!data.empty())
        std::memcpy(p + kBlockHeaderSize, data.data(), data.size());
    return blocks;
}

Status MemoFile::checkWritable() const
{
    if (m_kind == Kind::Dbt)
        return Status::InvalidArgument(m_file->path() + ": dBase memo files are read only");
    if (!m_file->isWritable())
        return Status::IoError(m_file->path() + " is open read-only");
    return Status::Ok();
}

Status MemoFile::write(uint32_t oldBlock, std::string_view text, uint32_t &newBlock)
{
    newBlock = 0;
    if (text.empty())
        return Status::Ok();
    XBASE_TRY(checkWritable());
    XBASE_TRY(flushGathered());
    if (text.size() > 0x7FFFFFF0u)
        return Status::InvalidArgument("The memo text is too long");
    const uint32_t need = blocksFor(text.size());

    if (oldBlock != 0) {
        uint32_t oldLength = 0;
        if (length(oldBlock, oldLength).ok() && blocksFor(oldLength) >= need &&
            oldBlock + blocksFor(oldLength) <= m_nextFree) {
            std::string bytes;
            encodeBlocks(kTextType, text, m_blockSize, bytes);
            // Only the memo's own bytes: the blocks' tail may hold nothing this write knows.
            XBASE_TRY(m_file->writeAt(static_cast<uint64_t>(oldBlock) * m_blockSize, bytes.data(),
                                      kBlockHeaderSize + text.size()));
            newBlock = oldBlock;
            return Status::Ok();
        }
    }
    if (static_cast<uint64_t>(m_nextFree) + need > 0xFFFFFFFFull)
        return Status::IoError(m_file->path() + ": the memo file is full");
    // Padded to whole blocks so the file always ends on a block boundary.
    std::string bytes;
    encodeBlocks(kTextType, text, m_blockSize, bytes);
    const uint32_t at = m_nextFree;
    XBASE_TRY(m_file->writeAt(static_cast<uint64_t>(at) * m_blockSize, bytes.data(), bytes.size()));
    m_knownSize = std::max<uint64_t>(m_knownSize, static_cast<uint64_t>(at) * m_blockSize + bytes.size());
    if (m_deferred) {
        m_nextFree = at + need;
        m_headerStale = true;
    } else {
        XBASE_TRY(writeNextFree(at + need));
    }
    newBlock = at;
    return Status::Ok();
}

Status MemoFile::writeGathered(std::string_view text, uint32_t &newBlock)
{
    newBlock = 0;
    if (text.empty())
        return Status::Ok();
    XBASE_TRY(checkWritable());
    if (text.size() > 0x7FFFFFF0u)
        return Status::InvalidArgument("The memo text is too long");
    const uint32_t at = m_nextFree + m_gatheredBlocks;
    if (static_cast<uint64_t>(at) + blocksFor(text.size()) > 0xFFFFFFFFull)
        return Status::IoError(m_file->path() + ": the memo file is full");
    m_gatheredBlocks += encodeBlocks(kTextType, text, m_blockSize, m_gathered);
    newBlock = at;
    return Status::Ok();
}

Status MemoFile::flushGathered()
{
    if (m_gatheredBlocks == 0)
        return Status::Ok();
    const uint32_t at = m_nextFree;
    const uint32_t need = m_gatheredBlocks;
    std::string bytes;
    bytes.swap(m_gathered);
    m_gatheredBlocks = 0;
    XBASE_TRY(m_file->writeAt(static_cast<uint64_t>(at) * m_blockSize, bytes.data(), bytes.size()));
    m_knownSize = std::max<uint64_t>(m_knownSize, static_cast<uint64_t>(at) * m_blockSize + bytes.size());
    if (m_deferred) {
        m_nextFree = at + need;
        m_headerStale = true;
        return Status::Ok();
    }
    return writeNextFree(at + need);
}

Status MemoFile::readMany(const uint32_t *blocks, size_t count, std::string *out, uint32_t *types) const
{
    uint32_t ignored = 0;
    if (m_kind == Kind::Dbt) {
        for (size_t i = 0; i < count; ++i)
            XBASE_TRY(read(blocks[i], types ? types[i] : ignored, out[i]));
        return Status::Ok();
    }
    std::vector<std::pair<uint32_t, size_t>> sorted; // block, position
    sorted.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        out[i].clear();
        if (types)
            types[i] = kTextType;
        if (blocks[i] != 0)
            sorted.emplace_back(blocks[i], i);
    }
    std::sort(sorted.begin(), sorted.end());
    // Memos closer than kGap bytes are read in one piece of at most kSpan bytes, with the
    // first kLead bytes of the last one; a memo running past its piece is read by itself.
    constexpr uint64_t kGap = 16 * 1024;
    constexpr uint64_t kSpan = 1 << 20;
    constexpr uint64_t kLead = 1024;
    std::string &span = m_readSpan;
    for (size_t i = 0; i < sorted.size();) {
        const uint64_t from = static_cast<uint64_t>(sorted[i].first) * m_blockSize;
        size_t j = i + 1;
        while (j < sorted.size()) {
            const uint64_t at = static_cast<uint64_t>(sorted[j].first) * m_blockSize;
            const uint64_t prev = static_cast<uint64_t>(sorted[j - 1].first) * m_blockSize;
            if (at - prev > kGap || at - from > kSpan)
                break;
            ++j;
        }
        if (sorted[i].first < firstDataBlock())
            return Status::Corruption(blockText(sorted[i].first) + " lies inside the header");
        uint64_t size = 0;
        const uint64_t want = static_cast<uint64_t>(sorted[j - 1].first) * m_blockSize + kLead - from;
        XBASE_TRY(sizeCovering(from + want, size));
        if (from >= size)
            return Status::Corruption(blockText(sorted[i].first) + " lies past the end of the file");
        span.resize(static_cast<size_t>(std::min<uint64_t>(want, size - from)));
        XBASE_TRY(m_file->readAt(from, &span[0], span.size()));
        for (size_t k = i; k < j; ++k) {
            const uint64_t rel = static_cast<uint64_t>(sorted[k].first) * m_blockSize - from;
            std::string &text = out[sorted[k].second];
            uint32_t &type = types ? types[sorted[k].second] : ignored;
            if (rel + kBlockHeaderSize <= span.size()) {
                const auto *h = reinterpret_cast<const unsigned char *>(span.data() + rel);
                const uint32_t len = be32(h + 4);
                if (rel + kBlockHeaderSize + len <= span.size()) {
                    type = be32(h);
                    text.assign(span.data() + rel + kBlockHeaderSize, len);
                    continue;
                }
            }
            XBASE_TRY(read(sorted[k].first, type, text));
        }
        i = j;
    }
    return Status::Ok();
}

Status MemoFile::syncHeader()
{
    XBASE_TRY(flushGathered());
    if (!m_headerStale)
        return Status::Ok();
    XBASE_TRY(writeNextFree(m_nextFree));
    m_headerStale = false;
    return Status::Ok();
}

Status MemoFile::recoverNextFree()
{
    if (m_kind == Kind::Dbt)
        return Status::Ok();
    uint64_t size = 0;
    XBASE_TRY(m_file->size(size));
    m_knownSize = size;
    const uint64_t end = (size + m_blockSize - 1) / m_blockSize;
    if (end > m_nextFree && end <= 0xFFFFFFFFull) {
        m_nextFree = static_cast<uint32_t>(end);
        m_headerStale = true;
    }
    return Status::Ok();
}

Status MemoFile::writeNextFree(uint32_t next)
{
    XBASE_TRY(checkWritable());
    unsigned char h[4];
    putBe32(h, next);
    XBASE_TRY(m_file->writeAt(0, h, sizeof h));
    m_nextFree = next;
    return Status::Ok();
}

Status MemoFile::clear()
{
    XBASE_TRY(writeNextFree(firstDataBlock()));
    m_headerStale = false;
    m_knownSize = 0; // asked again at the next read
    return m_file->truncate(static_cast<uint64_t>(firstDataBlock()) * m_blockSize);
}

Status MemoFile::refresh()
{
    if (m_kind == Kind::Dbt)
        return Status::Ok();
    unsigned char h[4];
    XBASE_TRY(m_file->readAt(0, h, sizeof h));
    const uint32_t next = be32(h);
    if (next < firstDataBlock())
        return Status::Corruption(m_file->path() + ": next free memo block lies inside the header");
    m_nextFree = next;
    return Status::Ok();
}

} // namespace xbase
