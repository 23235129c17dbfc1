// Opens arbitrary bytes as a table with its memo file and walks every record, field and memo
// both ways, then runs the check. The input holds the DBF bytes' length (4 bytes, little
// endian), the DBF bytes, then the memo file's bytes.
#include "Table.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

bool writeFile(const std::string &path, const uint8_t *data, size_t size)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    return ok;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 4)
        return 0;
    size_t dbfSize = static_cast<size_t>(data[0]) | (static_cast<size_t>(data[1]) << 8) |
                     (static_cast<size_t>(data[2]) << 16) | (static_cast<size_t>(data[3]) << 24);
    if (dbfSize > size - 4)
        dbfSize = size - 4;
    static const std::string base = "/tmp/dbf_fuzz_" + std::to_string(::getpid());
    const std::string dbf = base + ".DBF";
    const std::string fpt = base + ".FPT";
    if (!writeFile(dbf, data + 4, dbfSize) || !writeFile(fpt, data + 4 + dbfSize, size - 4 - dbfSize))
        return 0;

    xbase::Table t;
    if (t.open(dbf, xbase::OpenMode::ReadOnly).ok()) {
        const int fields = t.schema().fieldCount();
        t.setDeletedHidden(false);
        int visited = 0;
        for (t.goTop(); !t.eof() && visited < 2000; t.skip(1), ++visited) {
            std::string value;
            for (int i = 0; i < fields; ++i)
                t.fieldValue(i, value);
            (void)t.isDeleted();
        }
        visited = 0;
        for (t.goBottom(); !t.bof() && !t.eof() && visited < 200; t.skip(-1), ++visited) {
        }
        t.go(t.recordCount() / 2 + 1);
        uint64_t n = 0;
        t.setQuery("!DELETED()");
        t.queryCount(n);
        std::vector<std::string> faults;
        t.check(faults);
        t.close();
    }
    ::unlink(dbf.c_str());
    ::unlink(fpt.c_str());
    return 0;
}
