// Every write an operation makes is failed in turn, on a small table with a few tags held in
// memory. After each failure the operation must have said so, the files must open again with
// every record posted before it (with its memo), nothing may read wrong, and the check must be
// clean, or clean after the rebuild the program offers.
#include "MemoryEnv.h"
#include "Table.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace xbase;

namespace {

const std::string kPath = "DATA/PEOPLE.DBF";
const std::string kCopy = "DATA/COPY.DBF";

std::vector<FieldDescriptor> fields()
{
    return {
        {"LNAME", 'C', 16, 0, 0}, {"CITY", 'C', 12, 0, 0}, {"ISDEL", 'L', 1, 0, 0}, {"MEMO", 'M', 10, 0, 0}};
}

std::vector<TagDefinition> tags()
{
    return {{"LNAME", "UPPER(LNAME)", ""}, {"CITY", "UPPER(CITY)", "!ISDEL"}, {"DELETED", "DELETED()", ""}};
}

// One record as the files hold it.
struct Row {
    bool marked = false;
    std::string lname, city, isdel, memo;
    bool operator==(const Row &o) const
    {
        return marked == o.marked && lname == o.lname && city == o.city && isdel == o.isdel && memo == o.memo;
    }
};
using Rows = std::vector<Row>;

std::string describe(const Rows &rows)
{
    std::string s;
    for (const Row &r : rows)
        s += (r.marked ? "*" : " ") + r.lname + "|" + r.city + "|" + r.isdel + "|" +
             std::to_string(r.memo.size()) + "\n";
    return s;
}

// Every record of `t` in record order, marked ones too. False when a read fails.
bool readRows(Table &t, Rows &out)
{
    out.clear();
    t.setDeletedHidden(false);
    if (!t.setOrder(0).ok())
        return false;
    for (uint32_t r = 1; r <= t.recordCount(); ++r) {
        Row row;
        if (!t.go(r).ok())
            return false;
        row.marked = t.isDeleted();
        if (!t.fieldValue("LNAME", row.lname).ok() || !t.fieldValue("CITY", row.city).ok() ||
            !t.fieldValue("ISDEL", row.isdel).ok() || !t.fieldValue("MEMO", row.memo).ok())
            return false;
        out.push_back(row);
    }
    t.setDeletedHidden(true);
    return true;
}

// The record numbers each tag visits, marked records hidden, as a text to compare.
std::string tagWalks(Table &t)
{
    std::string s;
    for (int o = 1; o <= t.tagCount(); ++o) {
        std::vector<uint32_t> recnos;
        if (!t.setOrder(o).ok() || !t.visibleRecnos(recnos).ok())
            return "unreadable";
        s += t.tagSpec(o).name + ":";
        for (uint32_t r : recnos)
            s += " " + std::to_string(r);
        s += "\n";
    }
    return s;
}

std::vector<std::string> checkFaults(Table &t)
{
    std::vector<std::string> faults;
    const Status s = t.check(faults);
    if (!s.ok())
        faults.push_back(s.message());
    return faults;
}

// The rebuild the program offers: the index file dropped and the table's tags made anew from
// the program's own definitions, never from the ones stored in the damaged file (an interrupted
// tag build can leave a tag whose stored key expression is empty).
Status rebuild(Table &t)
{
    XBASE_TRY(t.closeIndexes(true));
    return t.addTags(tags());
}

Status post(Table &t, const std::string &lname, const std::string &city, const std::string &memo)
{
    XBASE_TRY(t.setFieldValue("LNAME", lname));
    XBASE_TRY(t.setFieldValue("CITY", city));
    XBASE_TRY(t.setLogical("ISDEL", false));
    XBASE_TRY(t.setFieldValue("MEMO", memo));
    return t.post();
}

// The small table every operation starts from: eight records, two of them marked, memos of
// one to several blocks, three tags.
MemoryEnv::Snapshot startingFiles()
{
    MemoryEnv env;
    EXPECT_TRUE(Table::create(env, kPath, fields()).ok());
    Table t;
    EXPECT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
    const char *const names[] = {"Smith", "Jones", "Brown", "Taylor", "Wilson", "Evans", "Walker", "Wright"};
    const char *const cities[] = {"Boston", "Salem", "Austin", "Denver",
                                  "Boston", "Miami", "Salem",  "Austin"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(t.appendBlank().ok());
        EXPECT_TRUE(
            post(t, names[i], cities[i], std::string(static_cast<size_t>(i * 45 % 200), char('a' + i))).ok());
    }
    EXPECT_TRUE(t.addTags(tags()).ok());
    for (uint32_t r : {3u, 6u}) {
        EXPECT_TRUE(t.go(r).ok());
        EXPECT_TRUE(t.deleteRecord().ok());
    }
    EXPECT_TRUE(t.close().ok());
    return env.snapshot();
}

struct Operation {
    const char *name;
    std::function<Status(Table &)> run;
    // Whether the operation writes a copy whose whole contents must match when it exists.
    bool makesCopy = false;
    // Whether it appends many records in one write and then builds the tags anew: a device
    // that goes away inside that write may leave the whole records before the cut (each one
    // complete).
    bool bulk = false;
};

const Operation kOperations[] = {
    {"Append",
     [](Table &t) {
         XBASE_TRY(t.appendBlank());
         return post(t, "Young", "Dallas", std::string(150, 'n'));
     }},
    {"EditKeyField",
     [](Table &t) {
         XBASE_TRY(t.go(2));
         XBASE_TRY(t.setFieldValue("CITY", "Zurich"));
         XBASE_TRY(t.setFieldValue("LNAME", "Abbott"));
         return t.post();
     }},
    {"Delete",
     [](Table &t) {
         XBASE_TRY(t.go(4));
         XBASE_TRY(t.setLogical("ISDEL", true));
         return t.deleteRecord();
     }},
    {"Recall",
     [](Table &t) {
         t.setDeletedHidden(false);
         XBASE_TRY(t.go(3));
         return t.recall();
     }},
    {"MemoGrows",
     [](Table &t) {
         XBASE_TRY(t.go(2));
         XBASE_TRY(t.setFieldValue("MEMO", std::string(700, 'G')));
         return t.post();
     }},
    {"MemoShrinks",
     [](Table &t) {
         XBASE_TRY(t.go(5));
         XBASE_TRY(t.setFieldValue("MEMO", "short"));
         return t.post();
     }},
    {"BulkAppend",
     [](Table &t) {
         // As an import does it: the index dropped, records filled in memory and appended
         // together with their memos, the tags built again.
         XBASE_TRY(t.closeIndexes(true));
         const size_t length = t.recordLength();
         std::string records(2 * length, ' ');
         const int memo = t.schema().indexOf("MEMO");
         XBASE_TRY(t.putField(&records[0], 0, "Young"));
         XBASE_TRY(t.putField(&records[0], 1, "Dallas"));
         XBASE_TRY(t.putMemo(&records[0], memo, std::string(150, 'n')));
         XBASE_TRY(t.putField(&records[length], 0, "Zane"));
         XBASE_TRY(t.putField(&records[length], 2, "F"));
         XBASE_TRY(t.putMemo(&records[length], memo, std::string(700, 'z')));
         XBASE_TRY(t.appendRecords(records.data(), 2));
         return t.addTags(tags());
     },
     false, true},
    {"TruncateRecords",
     [](Table &t) {
         XBASE_TRY(t.closeIndexes(true));
         XBASE_TRY(t.truncateRecords(5));
         return t.addTags(tags());
     },
     false, true},
    {"Pack", [](Table &t) { return t.pack(); }},
    {"Zap", [](Table &t) { return t.zap(); }},
    {"Reindex", [](Table &t) { return t.reindex(); }},
    {"CopyStructure", [](Table &t) { return t.copyStructure(kCopy); }, true},
    {"CopyTo", [](Table &t) { return t.copyTo(kCopy); }, true},
};

// What a run of the operation left: the table's records and tag walks, and the copy's records.
struct Outcome {
    Rows rows;
    std::string walks;
    bool copyExists = false;
    Rows copyRows;
};

// Opens the files in `env` and reads what they hold; false (with a failure noted) when the
// table does not open or a read fails.
bool readOutcome(MemoryEnv &env, Outcome &out, bool rebuildWhenFaulty, std::string &why)
{
    Table t;
    Status s = t.open(env, kPath, OpenMode::Exclusive);
    if (!s.ok()) {
        why = "the table does not open: " + s.message();
        return false;
    }
    if (!readRows(t, out.rows)) {
        why = "a record does not read";
        return false;
    }
    std::vector<std::string> faults = checkFaults(t);
    // The program offers the rebuild for a damaged index and for one whose tags are missing
    // (an operation that dropped the index to build it anew and failed in between).
    const bool tagsMissing = t.tagCount() != static_cast<int>(tags().size());
    if ((!faults.empty() || tagsMissing) && rebuildWhenFaulty) {
        s = rebuild(t);
        if (!s.ok()) {
            why = "the rebuild fails: " + s.message();
            return false;
        }
        faults = checkFaults(t);
    }
    if (!faults.empty()) {
        why = "the check finds: " + faults.front();
        return false;
    }
    out.walks = tagWalks(t);
    if (t.tagCount() != static_cast<int>(tags().size())) {
        why = "the table has " + std::to_string(t.tagCount()) + " tags";
        return false;
    }
    if (!t.close().ok()) {
        why = "the table does not close";
        return false;
    }
    out.copyExists = env.exists(kCopy);
    if (out.copyExists) {
        Table copy;
        s = copy.open(env, kCopy, OpenMode::ReadOnly);
        if (!s.ok()) {
            // A copy that does not open reads no wrong data; one that opens must be whole.
            out.copyExists = false;
        } else if (!readRows(copy, out.copyRows)) {
            why = "a record of the copy does not read";
            return false;
        }
    }
    return true;
}

struct Mode {
    const char *name;
    bool shortWrite;
    bool deviceGone;
};

void PrintTo(const Operation &op, std::ostream *os)
{
    *os << op.name;
}
void PrintTo(const Mode &mode, std::ostream *os)
{
    *os << mode.name;
}

class TableFaults : public ::testing::TestWithParam<std::tuple<Operation, Mode>>
{
};

// Runs the operation on the starting files with `faults`; returns the operation's and the
// close's combined result.
Status runOperation(MemoryEnv &env, const Operation &op, const MemoryEnv::Faults &faults)
{
    env.setFaults(faults);
    Table t;
    Status s = t.open(env, kPath, OpenMode::Exclusive);
    if (s.ok())
        s = op.run(t);
    const Status closed = t.close();
    return s.ok() ? closed : s;
}

} // namespace

TEST_P(TableFaults, EveryFailedWriteIsReportedAndLosesNothingPosted)
{
    const Operation op = std::get<0>(GetParam());
    const Mode mode = std::get<1>(GetParam());
    static const MemoryEnv::Snapshot start = startingFiles();
    MemoryEnv env;

    // The run without faults: how many writes it makes and what it leaves.
    env.restore(start);
    Outcome before;
    std::string why;
    ASSERT_TRUE(readOutcome(env, before, false, why)) << why;
    env.restore(start);
    ASSERT_TRUE(runOperation(env, op, MemoryEnv::Faults()).ok());
    const uint64_t writes = env.writeCount();
    ASSERT_GT(writes, 0u);
    Outcome after;
    ASSERT_TRUE(readOutcome(env, after, false, why)) << why;

    for (uint64_t n = 1; n <= writes; ++n) {
        SCOPED_TRACE(std::string(op.name) + " " + mode.name + ", write " + std::to_string(n) + " of " +
                     std::to_string(writes));
        env.restore(start);
        MemoryEnv::Faults faults;
        faults.failWrite = n;
        faults.shortWrite = mode.shortWrite;
        faults.failLaterWrites = mode.deviceGone;
        const Status s = runOperation(env, op, faults);
        ASSERT_TRUE(env.hasFailed());
        EXPECT_FALSE(s.ok()) << "the failure went unreported";
        env.clearFaults();

        Outcome left;
        const bool read = readOutcome(env, left, true, why);
        ASSERT_TRUE(read) << why;
        // The table holds what it held before, or what the operation makes of it.
        const bool asBefore = left.rows == before.rows && left.walks == before.walks;
        const bool asAfter = left.rows == after.rows && left.walks == after.walks;
        const bool wholePrefix = op.bulk && mode.deviceGone && left.rows.size() >= before.rows.size() &&
                                 left.rows.size() <= after.rows.size() &&
                                 std::equal(left.rows.begin(), left.rows.end(), after.rows.begin());
        EXPECT_TRUE(asBefore || asAfter || wholePrefix) << "records:\n"
                                         << describe(left.rows) << "tags:\n"
                                         << left.walks << "before:\n"
                                         << describe(before.rows) << before.walks << "after:\n"
                                         << describe(after.rows) << after.walks;
        if (op.makesCopy && left.copyExists) {
            EXPECT_EQ(describe(left.copyRows), describe(after.copyRows)) << "a copy opens with wrong records";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, TableFaults,
                         ::testing::Combine(::testing::ValuesIn(kOperations),
                                            ::testing::Values(Mode{"Fails", false, false},
                                                              Mode{"ShortWrite", true, false},
                                                              Mode{"DeviceGone", true, true})),
                         [](const ::testing::TestParamInfo<std::tuple<Operation, Mode>> &p) {
                             return std::string(std::get<0>(p.param).name) + std::get<1>(p.param).name;
                         });

// A full disk, a failing sync and a failing rename take the same care.
TEST(TableFaults, NoSpaceFailingSyncsAndRenamesLeaveTheTableWhole)
{
    const MemoryEnv::Snapshot start = startingFiles();
    MemoryEnv env;
    env.restore(start);
    Outcome before;
    std::string why;
    ASSERT_TRUE(readOutcome(env, before, false, why)) << why;
    const uint64_t used = env.usedBytes();
    for (const Operation &op : kOperations) {
        std::vector<MemoryEnv::Faults> cases;
        for (uint64_t room : {0, 1, 100, 600, 2000}) {
            MemoryEnv::Faults f;
            f.spaceLimit = used + room;
            cases.push_back(f);
        }
        MemoryEnv::Faults sync;
        sync.failSync = true;
        cases.push_back(sync);
        for (uint64_t r = 1; r <= 4; ++r) {
            MemoryEnv::Faults rename;
            rename.failRename = r;
            cases.push_back(rename);
        }
        for (size_t i = 0; i < cases.size(); ++i) {
            SCOPED_TRACE(std::string(op.name) + " case " + std::to_string(i));
            env.restore(start);
            const Status s = runOperation(env, op, cases[i]);
            const bool failed = env.hasFailed();
            env.clearFaults();
            if (failed) {
                EXPECT_FALSE(s.ok()) << "the failure went unreported";
            }
            Outcome left;
            ASSERT_TRUE(readOutcome(env, left, true, why)) << why;
            if (!failed || op.makesCopy)
                continue;
            if (left.rows != before.rows) {
                // Only an operation that completed after all may have changed the records.
                env.restore(start);
                ASSERT_TRUE(runOperation(env, op, MemoryEnv::Faults()).ok());
                Outcome after;
                ASSERT_TRUE(readOutcome(env, after, false, why)) << why;
                EXPECT_EQ(describe(left.rows), describe(after.rows));
            }
        }
    }
}

// A record overwrite cut short by a writer that went away: a reader reads the record whole
// through the journal, and the next writer completes it from there.
TEST(TableFaults, AnOverwriteCutShortIsReadAndCompletedFromTheJournal)
{
    const MemoryEnv::Snapshot start = startingFiles();
    MemoryEnv env;
    const std::string journal = "DATA/PEOPLE.JNL";
    bool torn = false;
    for (uint64_t n = 1; n < 20 && !torn; ++n) {
        env.restore(start);
        MemoryEnv::Faults faults;
        faults.failWrite = n;
        faults.shortWrite = true;
        faults.failLaterWrites = true;
        env.setFaults(faults);
        {
            Table t;
            ASSERT_TRUE(t.open(env, kPath, OpenMode::Exclusive).ok());
            ASSERT_TRUE(t.go(7).ok());
            ASSERT_TRUE(t.setFieldValue("CITY", "Yellowknife").ok());
            ASSERT_TRUE(t.setFieldValue("LNAME", "Zimmermann").ok());
            (void)t.post(); // fails: that is the point
            (void)t.close();
        }
        env.clearFaults();
        // The write that was cut short is the one whose record is half old, half new.
        std::string dbf;
        ASSERT_TRUE(env.fileBytes(kPath, dbf));
        Table peek;
        ASSERT_TRUE(peek.open(env, kPath, OpenMode::ReadOnly).ok());
        const TableInfo info = peek.info();
        const std::string raw = dbf.substr(info.headerLength + 6u * info.recordLength, info.recordLength);
        torn = raw.find("Zimmermann") != std::string::npos && raw.find("Yellowknife") == std::string::npos;
        if (!torn)
            continue;
        EXPECT_TRUE(env.exists(journal));
        std::string lname, city;
        ASSERT_TRUE(peek.go(7).ok());
        ASSERT_TRUE(peek.fieldValue("CITY", city).ok());
        EXPECT_EQ(city, "Yellowknife"); // read through the journal
        ASSERT_TRUE(peek.close().ok());

        Table writer;
        ASSERT_TRUE(writer.open(env, kPath, OpenMode::Exclusive).ok());
        EXPECT_FALSE(env.exists(journal));
        ASSERT_TRUE(writer.go(7).ok());
        ASSERT_TRUE(writer.fieldValue("LNAME", lname).ok());
        ASSERT_TRUE(writer.fieldValue("CITY", city).ok());
        EXPECT_EQ(lname + "/" + city, "Zimmermann/Yellowknife");
        ASSERT_TRUE(rebuild(writer).ok()); // its keys never reached the index
        EXPECT_TRUE(checkFaults(writer).empty());
    }
    EXPECT_TRUE(torn) << "no write cut the record short";
}
