// Opens arbitrary bytes as a table with its memo file, all in memory, and walks every record,
// field and memo both ways, then runs the check. The input holds the DBF bytes' length (4
// bytes, little endian), the DBF bytes, then the memo file's bytes (offered as a FoxPro and as
// a dBase memo file; the version byte picks one).
#include "MemoryEnv.h"
#include "Table.h"

#include <cstdint>
#include <string>

namespace {

using namespace xbase;

void walk(Table &t)
{
    const int fields = t.schema().fieldCount();
    t.setDeletedHidden(false);
    int visited = 0;
    for (Status s = t.goTop(); s.ok() && !t.eof() && visited < 2000; s = t.skip(1), ++visited) {
        std::string value;
        for (int i = 0; i < fields; ++i)
            (void)t.fieldValue(i, value); // damaged fields answer Corruption; the walk goes on
        (void)t.isDeleted();
    }
    visited = 0;
    for (Status s = t.goBottom(); s.ok() && !t.bof() && !t.eof() && visited < 200;
         s = t.skip(-1), ++visited) {
    }
    (void)t.go(t.recordCount() / 2 + 1);
    uint64_t n = 0;
    if (t.setVisibleQuery("").ok())
        (void)t.queryCount(n);
    std::vector<std::string> faults;
    (void)t.check(faults);
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
    const std::string dbf(reinterpret_cast<const char *>(data) + 4, dbfSize);
    const std::string memo(reinterpret_cast<const char *>(data) + 4 + dbfSize, size - 4 - dbfSize);
    MemoryEnv env;
    env.setFile("T.DBF", dbf);
    env.setFile("T.FPT", memo);
    env.setFile("T.DBT", memo);
    Table t;
    if (t.open(env, "T.DBF", OpenMode::ReadOnly).ok())
        walk(t);
    return 0;
}
