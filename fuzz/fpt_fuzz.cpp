// Opens arbitrary bytes as a memo file in memory, FoxPro and dBase kinds, and reads the memos
// at the block numbers the input names; the FoxPro kind is then written to and read back.
// The input: a count byte n, n block numbers (4 bytes each, little endian), then the file.
#include "MemoFile.h"
#include "MemoryEnv.h"

#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace xbase;
    if (size < 1)
        return 0;
    const size_t n = std::min<size_t>(data[0], (size - 1) / 4);
    std::vector<uint32_t> blocks;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t *p = data + 1 + 4 * i;
        blocks.push_back(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
    }
    const size_t at = 1 + 4 * n;
    MemoryEnv env;
    env.setFile("M", std::string(reinterpret_cast<const char *>(data) + at, size - at));
    MemoryEnv::Faults room;
    room.spaceLimit = 4 * size + 65536;
    env.setFaults(room);
    for (MemoFile::Kind kind : {MemoFile::Kind::Fpt, MemoFile::Kind::Dbt}) {
        std::unique_ptr<MemoFile> memo;
        if (!MemoFile::open(env, "M", kind == MemoFile::Kind::Dbt, memo, kind).ok())
            continue;
        std::string text;
        uint32_t type = 0;
        uint32_t length = 0;
        for (uint32_t b : blocks) {
            (void)memo->read(b, type, text); // a damaged memo answers Corruption
            (void)memo->length(b, length);
        }
        std::string header;
        (void)memo->headerBytes(header);
        if (kind != MemoFile::Kind::Fpt)
            continue;
        for (uint32_t b : blocks) {
            uint32_t written = 0;
            if (memo->write(b, std::string(b % 700, 'x'), written).ok() && memo->read(written, text).ok() &&
                text != std::string(b % 700, 'x'))
                __builtin_trap(); // what was written must read back
        }
        (void)memo->syncHeader();
    }
    return 0;
}
