// Opens arbitrary bytes as a table with its memo file in memory for writing, then edits a
// record, appends one, packs and checks: a damaged table must be refused or written soundly,
// never written further in a way that crashes or loses what it held. The input is laid out as
// for dbf_fuzz: the DBF bytes' length (4 bytes, little endian), the DBF bytes, the memo bytes.
#include "MemoryEnv.h"
#include "Table.h"

#include <cstdint>
#include <string>

namespace {

using namespace xbase;

// Edits the first character field of the first record, appends one record, packs.
void edit(Table &t)
{
    int field = -1;
    for (int i = 0; field < 0 && i < t.schema().fieldCount(); ++i)
        if (t.schema().field(i).type == 'C')
            field = i;
    if (t.recordCount() > 0 && t.go(1).ok() && t.lockRecord().ok()) {
        if (field >= 0)
            (void)t.setFieldValue(field, "Fuzz"); // a field that cannot take it keeps its value
        (void)t.post();                           // a damaged table may refuse the post
    }
    if (t.appendBlank().ok()) {
        if (field >= 0)
            (void)t.setFieldValue(field, "New");
        (void)t.post();
    }
    (void)t.pack(); // refused when a memo of a kept record cannot be read
    std::vector<std::string> faults;
    (void)t.check(faults);
    uint64_t n = 0;
    if (t.setVisibleQuery("").ok())
        (void)t.queryCount(n);
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
    MemoryEnv env;
    env.setFile("T.DBF", std::string(reinterpret_cast<const char *>(data) + 4, dbfSize));
    env.setFile("T.FPT", std::string(reinterpret_cast<const char *>(data) + 4 + dbfSize, size - 4 - dbfSize));
    // Room for what a small table may grow to, so a hostile record count cannot ask for more.
    MemoryEnv::Faults room;
    room.spaceLimit = 4 * (size + 4096);
    env.setFaults(room);
    Table t;
    if (t.open(env, "T.DBF", OpenMode::Exclusive).ok()) {
        edit(t);
        (void)t.close(); // a full disk makes the close fail; the files stay in memory only
    }
    return 0;
}
