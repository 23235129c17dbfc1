// The memo file of a table. A FoxPro memo file (.FPT): a big-endian header with the next free
// block and the block size, then blocks; each memo starts a run of blocks with an 8-byte
// header (type, length). A dBase memo file (.DBT), read only: a little-endian next free block
// and 512-byte blocks (dBase IV: the block size at byte 20); a dBase III memo runs to its
// 0x1A terminator, a dBase IV memo starts with FF FF 08 00 and its length.
// Owned by the Table whose memo fields point into it.
#pragma once

#include "Env.h"
#include "File.h"
#include "Status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace xbase {

class MemoFile
{
public:
    /// Block size of files this engine creates.
    static constexpr uint32_t kDefaultBlockSize = 64;
    /// Bytes of the file header; the first memo block starts after it.
    static constexpr uint32_t kHeaderSize = 512;
    /// Block type of text memos.
    static constexpr uint32_t kTextType = 1;
    /// Bytes of an FPT block header (type and length) before the memo's bytes.
    static constexpr uint32_t kBlockHeaderSize = 8;

    enum class Kind { Fpt, Dbt };

    /// Opens and checks the header. Corruption when the block size is 0 or the next free
    /// block lies before the first data block. A dBase memo file always opens read-only.
    static Status open(Env &env, const std::string &path, bool readOnly, std::unique_ptr<MemoFile> &out,
                       Kind kind = Kind::Fpt);
    static Status open(const std::string &path, bool readOnly, std::unique_ptr<MemoFile> &out)
    {
        return open(Env::posix(), path, readOnly, out);
    }
    /// Creates an empty FoxPro memo file (replacing any file of that name).
    static Status create(Env &env, const std::string &path, uint32_t blockSize,
                         std::unique_ptr<MemoFile> &out);
    static Status create(const std::string &path, uint32_t blockSize, std::unique_ptr<MemoFile> &out)
    {
        return create(Env::posix(), path, blockSize, out);
    }

    Kind kind() const { return m_kind; }
    uint32_t blockSize() const { return m_blockSize; }
    uint32_t nextFreeBlock() const { return m_nextFree; }
    /// First block a memo may start at (the header occupies the blocks before it).
    uint32_t firstDataBlock() const { return (kHeaderSize + m_blockSize - 1) / m_blockSize; }
    const std::string &path() const { return m_file->path(); }

    /// Reads the memo starting at `block` (0 = no memo: empty text). Corruption when the
    /// block lies in the header or past the end of the file, or the length runs past it.
    Status read(uint32_t block, std::string &out) const;
    /// The same with the block type (kTextType for every dBase memo).
    Status read(uint32_t block, uint32_t &type, std::string &out) const;
    /// The stored length of the memo at `block`, checked as read() checks it.
    Status length(uint32_t block, uint32_t &out) const;
    /// The header blocks as stored (firstDataBlock() blocks).
    Status headerBytes(std::string &out) const;
    /// Appends the FPT bytes of one memo (block header, `data`, zeros to the next whole block)
    /// to `out`; answers how many blocks they take.
    static uint32_t encodeBlocks(uint32_t type, std::string_view data, uint32_t blockSize, std::string &out);

    /// Stores `text` for a memo that was at `oldBlock` (0 = none) and answers its block in
    /// `newBlock` (0 for empty text). Text that fits the blocks of the old memo is rewritten
    /// there in one write; other text goes to new blocks at the end, written before the
    /// header's next-free block is moved past them, so a stopped writer loses nothing stored.
    Status write(uint32_t oldBlock, std::string_view text, uint32_t &newBlock);
    /// Reads the memos starting at `blocks[0..count)` (0 = none) into `out[0..count)`, as read()
    /// would one by one, reading neighbouring memos together; with `types`, their block types
    /// into `types[0..count)` as well.
    Status readMany(const uint32_t *blocks, size_t count, std::string *out, uint32_t *types = nullptr) const;
    /// Stores `text` in new blocks that are gathered in memory with the others written this way
    /// and reach the file at flushGathered() (or before any other write): answers the block the
    /// memo will start at (0 for empty text). Nothing may point at it before the flush.
    Status writeGathered(std::string_view text, uint32_t &newBlock);
    /// Writes the gathered memos in one call, then moves the next free block past them.
    Status flushGathered();
    /// Empties the file: next free block back to the first data block, blocks cut off.
    Status clear();
    /// Re-reads the next free block (another shared opener may have written).
    Status refresh();

    /// Deferred header writes (the table is open exclusively and its DBF header carries the
    /// pending mark): new blocks are written, the next free block reaches the header at
    /// syncHeader().
    void setDeferredHeader(bool deferred) { m_deferred = deferred; }
    Status syncHeader();
    /// After a stopped writer: blocks past the stored next free block may belong to posted
    /// records, so the next free block moves to the end of the file.
    Status recoverNextFree();

private:
    MemoFile() = default;
    Status writeNextFree(uint32_t next);
    Status checkWritable() const;
    // The file's size as last seen when that already reaches `end`; asked of the file again
    // otherwise, since a program sharing the file may have extended it since. Spares a system
    // call on every memo read.
    Status sizeCovering(uint64_t end, uint64_t &out) const;
    // The name and block for a message about a damaged memo.
    std::string blockText(uint32_t block) const;
    // A dBase memo's bytes: `fromOffset` is where they start, `out` receives them.
    Status readDbt(uint32_t block, std::string *out, uint32_t &length) const;
    uint32_t blocksFor(uint64_t bytes) const
    {
        return static_cast<uint32_t>((bytes + kBlockHeaderSize + m_blockSize - 1) / m_blockSize);
    }

    std::unique_ptr<File> m_file;
    Kind m_kind = Kind::Fpt;
    uint32_t m_blockSize = kDefaultBlockSize;
    uint32_t m_nextFree = 0;
    mutable uint64_t m_knownSize = 0; // bytes the file was last seen to hold (see sizeCovering)
    bool m_deferred = false;
    bool m_headerStale = false; // m_nextFree differs from the file's header
    // The piece of the file readMany() last read, kept so a walk over many records does not
    // take fresh memory for every call.
    mutable std::string m_readSpan;
    std::string m_gathered; // memos of writeGathered(), to be written at m_nextFree
    uint32_t m_gatheredBlocks = 0;
};

} // namespace xbase
