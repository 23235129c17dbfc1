// Building many tags at once over a generated table held in memory: the index file's bytes
// depend only on the records and the tag definitions, and they are the bytes earlier builds
// wrote; a cancel or a failing write mid-build is reported and leaves no work running.
#include "MemoryEnv.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

using namespace xbase;

namespace {

const std::string kPath = "DATA/MANY.DBF";
const std::string kIndex = "DATA/MANY.CDX";

std::vector<FieldDescriptor> fields()
{
    return {{"LNAME", 'C', 20, 0, 0}, {"FNAME", 'C', 14, 0, 0}, {"CITY", 'C', 18, 0, 0},
            {"ZIP", 'C', 10, 0, 0},   {"ISDEL", 'L', 1, 0, 0},  {"CODES", 'C', 40, 0, 0}};
}

// Keys of every kind: long and short, shared heads, many equal keys, FOR conditions, keys
// that end in blanks and keys that differ only in their last bytes.
std::vector<TagDefinition> tags()
{
    return {{"NAME", "UPPER(LNAME-FNAME)", ""},
            {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", ""},
            {"CITY", "UPPER(CITY+ZIP)", "!ISDEL"},
            {"ZIP", "ZIP", ""},
            {"CODES", "CODES", ""},
            {"TAIL", "RIGHT(CODES,3)+LNAME", "ISDEL"},
            {"DELETED", "DELETED()", ""},
            {"ISDEL", "ISDEL", ""}};
}

// Fills `env` with a table of `count` generated records, every 13th marked deleted.
void makeTable(MemoryEnv &env, uint32_t count)
{
    ASSERT_TRUE(Table::create(env, kPath, fields()).ok());
    Table t;
    ASSERT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
    const char *const last[] = {"Smith", "Smithson", "Brown", "Browning", "Adams", "Young", "", "Zed"};
    const char *const first[] = {"Al", "Ann", "Anne", "Bob", "Jo", ""};
    const char *const city[] = {"Boston", "Boston Heights", "Salem", "Austin", "Portland"};
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (uint32_t i = 0; i < count; ++i) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("LNAME", last[next(8)]).ok());
        ASSERT_TRUE(t.setFieldValue("FNAME", first[next(6)]).ok());
        ASSERT_TRUE(t.setFieldValue("CITY", city[next(5)]).ok());
        ASSERT_TRUE(t.setFieldValue("ZIP", std::to_string(10000 + next(400))).ok());
        ASSERT_TRUE(t.setLogical("ISDEL", next(3) == 0).ok());
        std::string codes(37, 'Q');
        codes += std::to_string(100 + next(900));
        ASSERT_TRUE(t.setFieldValue("CODES", codes).ok());
        ASSERT_TRUE(t.post().ok());
        if (i % 13 == 0) {
            ASSERT_TRUE(t.deleteRecord().ok());
        }
    }
    ASSERT_TRUE(t.close().ok());
}

uint64_t fnv1a(const std::string &bytes)
{
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

// The index file's bytes after building tags() over the table in `env`.
std::string buildIndex(MemoryEnv &env)
{
    Table t;
    EXPECT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
    EXPECT_TRUE(t.addTags(tags()).ok());
    EXPECT_TRUE(t.close().ok());
    std::string bytes;
    EXPECT_TRUE(env.fileBytes(kIndex, bytes));
    return bytes;
}

TEST(TableTagBuild, TheIndexBytesDependOnlyOnTheRecordsAndAreThoseEarlierBuildsWrote)
{
    MemoryEnv env;
    makeTable(env, 30000);
    const MemoryEnv::Snapshot records = env.snapshot();
    const std::string first = buildIndex(env);
    env.restore(records);
    const std::string second = buildIndex(env);
    ASSERT_EQ(first.size(), second.size());
    EXPECT_TRUE(first == second);
    EXPECT_EQ(fnv1a(first), 14655705140327959207ull) << first.size(); // 885,760 bytes
    Table t;
    ASSERT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
    std::vector<std::string> faults;
    ASSERT_TRUE(t.check(faults).ok());
    EXPECT_TRUE(faults.empty()) << (faults.empty() ? "" : faults.front());
}

// Says stop at its `stopAt`-th report.
class StopAt : public ProgressHook
{
public:
    explicit StopAt(int stopAt) : m_left(stopAt) {}
    bool report(int) override { return --m_left > 0; }

private:
    int m_left;
};

TEST(TableTagBuild, ACancelOrAFailedWriteAnywhereIsReportedAndNoWorkIsLeftRunning)
{
    MemoryEnv env;
    makeTable(env, 30000);
    const MemoryEnv::Snapshot records = env.snapshot();
    env.clearFaults();
    (void)buildIndex(env);
    const uint64_t writes = env.writeCount();
    ASSERT_GT(writes, 4u);
    for (int stopAt : {1, 2, 9, 40, 150}) {
        env.restore(records);
        Table t;
        ASSERT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
        StopAt hook(stopAt);
        const Status s = t.addTags(tags(), &hook);
        EXPECT_EQ(s.message(), "Index build cancelled") << stopAt;
    }
    for (uint64_t failing : {uint64_t(1), writes / 3, writes / 2, writes - 1}) {
        env.restore(records);
        Table t;
        ASSERT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
        MemoryEnv::Faults faults;
        faults.failWrite = failing;
        env.setFaults(faults);
        const Status s = t.addTags(tags());
        EXPECT_EQ(s.code(), StatusCode::IoError) << failing << ": " << s.message();
        env.clearFaults();
    }
}

} // namespace
