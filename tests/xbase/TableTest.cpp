#include "Table.h"

#include "TempDir.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xbase;

namespace {

std::vector<FieldDescriptor> addressFields()
{
    return {{"LNAME", 'C', 12, 0, 0}, {"FNAME", 'C', 10, 0, 0}, {"CITY", 'C', 12, 0, 0},
            {"ISDEL", 'L', 1, 0, 0},  {"AGE", 'N', 3, 0, 0},    {"BORN", 'D', 8, 0, 0},
            {"MEMO", 'M', 10, 0, 0}};
}

struct Person {
    const char *lname;
    const char *fname;
    const char *city;
    const char *memo;
};

const Person kPeople[] = {
    {"Smith", "John", "Portland", "first memo"},
    {"Brown", "Ann", "Salem", ""},
    {"smith", "Jane",
     "Montr\xE9"
     "al",
     "x"},
    {"Adams", "Zoe", "Boston", ""},
    {"Smith", "Al", "Portland", ""},
    {"Young", "Bob", "Austin", "a longer memo text"},
};

bool exists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// Collects the percentages a run reports; cancels once `cancelAt` is reached when set.
class Recorder : public ProgressHook
{
public:
    explicit Recorder(int cancelAt = -1) : m_cancelAt(cancelAt) {}
    bool report(int percent) override
    {
        seen.push_back(percent);
        return m_cancelAt < 0 || percent < m_cancelAt;
    }
    std::vector<int> seen;

private:
    int m_cancelAt;
};

class TableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.file("PEOPLE.DBF");
        ASSERT_TRUE(Table::create(path, addressFields()).ok());
        ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
        for (const Person &p : kPeople)
            append(p);
    }

    void append(const Person &p)
    {
        ASSERT_TRUE(table.appendBlank().ok());
        ASSERT_TRUE(table.setFieldValue("LNAME", p.lname).ok());
        ASSERT_TRUE(table.setFieldValue("FNAME", p.fname).ok());
        ASSERT_TRUE(table.setFieldValue("CITY", p.city).ok());
        ASSERT_TRUE(table.setLogical("ISDEL", false).ok());
        if (*p.memo) {
            ASSERT_TRUE(table.setFieldValue("MEMO", p.memo).ok());
        }
        ASSERT_TRUE(table.post().ok());
    }

    void addTags()
    {
        const Status s = table.addTags({{"LNAME", "UPPER(LNAME)+UPPER(FNAME)", ""},
                                        {"CITY", "UPPER(CITY)", ""},
                                        {"DELETED", "DELETED()", ""},
                                        {"NOTISDEL", "!ISDEL", ""}});
        ASSERT_TRUE(s.ok()) << s.message();
    }

    // Record numbers in the current order from the top.
    std::vector<uint32_t> walk()
    {
        std::vector<uint32_t> out;
        EXPECT_TRUE(table.goTop().ok());
        while (!table.eof()) {
            out.push_back(table.recno());
            EXPECT_TRUE(table.skip(1).ok());
        }
        return out;
    }

    std::vector<uint32_t> walkBack()
    {
        std::vector<uint32_t> out;
        EXPECT_TRUE(table.goBottom().ok());
        if (table.eof())
            return out;
        do {
            out.insert(out.begin(), table.recno());
            EXPECT_TRUE(table.skip(-1).ok());
        } while (!table.bof());
        return out;
    }

    std::string field(const char *name)
    {
        std::string v;
        EXPECT_TRUE(table.fieldValue(name, v).ok());
        return v;
    }

    std::vector<std::string> faults()
    {
        std::vector<std::string> f;
        EXPECT_TRUE(table.check(f).ok());
        return f;
    }

    TempDir dir;
    std::string path;
    Table table;
};

} // namespace

TEST_F(TableTest, FieldsRoundTripThroughTheFile)
{
    ASSERT_TRUE(table.go(6).ok());
    ASSERT_TRUE(table.setFieldValue("AGE", "42").ok());
    ASSERT_TRUE(table.setFieldValue("BORN", "19970428").ok());
    EXPECT_EQ(table.setFieldValue("AGE", "12345").code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.setFieldValue("BORN", "1997").code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.setFieldValue("NOPE", "x").code(), StatusCode::NotFound);
    ASSERT_TRUE(table.setFieldValue("LNAME", "A name longer than twelve").ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.close().ok());

    ASSERT_TRUE(table.open(path, OpenMode::ReadOnly).ok());
    EXPECT_EQ(table.alias(), "PEOPLE");
    EXPECT_EQ(table.recordCount(), 6u);
    ASSERT_TRUE(table.go(6).ok());
    EXPECT_EQ(field("LNAME"), "A name longe");
    EXPECT_EQ(field("AGE"), "42");
    EXPECT_EQ(field("BORN"), "19970428");
    EXPECT_EQ(field("ISDEL"), "F");
    EXPECT_EQ(std::string(table.record().data + 36, 3), " 42"); // N is right-aligned
    EXPECT_EQ(field("MEMO"), "a longer memo text");
    ASSERT_TRUE(table.go(3).ok());
    EXPECT_EQ(field("CITY"), "Montr\xE9"
                             "al");
    ASSERT_TRUE(table.go(2).ok());
    EXPECT_EQ(field("MEMO"), "");
    EXPECT_EQ(table.setFieldValue("LNAME", "x").code(), StatusCode::IoError); // read-only
}

TEST_F(TableTest, ChangedMemosGoToNewBlocksAndUnchangedOnesAreNotWritten)
{
    const uint32_t before = table.info().memoNextFree;
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.setFieldValue("MEMO", "first memo").ok()); // the same text
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.info().memoNextFree, before);
    ASSERT_TRUE(table.setFieldValue("MEMO", "short").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.info().memoNextFree, before + 1);
    ASSERT_TRUE(table.setFieldValue("MEMO", std::string(300, 'm')).ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(table.info().memoNextFree, before + 6);
    ASSERT_TRUE(table.setFieldValue("MEMO", "").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(std::string(table.record().data + 47, 10), std::string(10, ' '));
    ASSERT_TRUE(table.go(6).ok());
    EXPECT_EQ(field("MEMO"), "a longer memo text");
    EXPECT_TRUE(faults().empty());
}

TEST_F(TableTest, ExclusiveOpenLocksOutEveryOtherOpener)
{
    Table second;
    EXPECT_EQ(second.open(path, OpenMode::Exclusive).code(), StatusCode::Locked);
    EXPECT_EQ(second.open(path, OpenMode::Shared).code(), StatusCode::Locked);
    EXPECT_FALSE(second.isOpen());

    const pid_t child = fork();
    if (child == 0) {
        Table other;
        _exit(other.open(path, OpenMode::ReadOnly).code() == StatusCode::Locked ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    ASSERT_TRUE(table.close().ok());
    ASSERT_TRUE(table.open(path, OpenMode::Shared).ok());
    ASSERT_TRUE(second.open(path, OpenMode::Shared).ok());
    Table third;
    EXPECT_EQ(third.open(path, OpenMode::Exclusive).code(), StatusCode::Locked);
    // Shared openers see each other's appends.
    ASSERT_TRUE(table.appendBlank().ok());
    ASSERT_TRUE(table.setFieldValue("LNAME", "Shared").ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(second.goBottom().ok());
    EXPECT_EQ(second.recno(), 7u);
}

TEST_F(TableTest, MarkedRecordsAreInvisibleWhileDeletedHidingIsOn)
{
    addTags();
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    ASSERT_TRUE(table.go(4).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    EXPECT_TRUE(table.isDeleted());

    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 3, 5, 6}));
    EXPECT_EQ(walkBack(), (std::vector<uint32_t>{2, 3, 5, 6}));
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 5, 3, 6}));
    bool found = false;
    ASSERT_TRUE(table.seek("ADAMS", found).ok());
    EXPECT_FALSE(found);
    EXPECT_TRUE(table.eof());
    uint64_t n = 0;
    ASSERT_TRUE(table.queryCount(n).ok());
    EXPECT_EQ(n, 4u);

    table.setDeletedHidden(false);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{4, 2, 5, 3, 1, 6}));
    ASSERT_TRUE(table.queryCount(n).ok());
    EXPECT_EQ(n, 6u);
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.recall().ok());
    table.setDeletedHidden(true);
    ASSERT_TRUE(table.setOrder("DELETED").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1, 2, 3, 5, 6})); // "F" keys, by record number
    EXPECT_TRUE(faults().empty());
}

TEST_F(TableTest, TagsOrderEqualKeysByRecordNumberAndFollowEveryEdit)
{
    addTags();
    EXPECT_EQ(table.tagCount(), 4);
    EXPECT_EQ(table.tagOrder("city"), 2);
    EXPECT_EQ(table.tagOrder("FAX"), 0);
    EXPECT_EQ(table.setOrder(9).code(), StatusCode::NotFound);
    ASSERT_TRUE(table.setOrder(2).ok());
    EXPECT_EQ(table.indexFileName(), dir.file("PEOPLE.CDX"));
    EXPECT_EQ(walk(), (std::vector<uint32_t>{6, 4, 3, 1, 5, 2}));
    EXPECT_EQ(walkBack(), (std::vector<uint32_t>{6, 4, 3, 1, 5, 2}));

    // A changed key moves the record; an appended one lands by its key.
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.setFieldValue("CITY", "Albany").ok());
    ASSERT_TRUE(table.post().ok());
    append({"New", "Person", "Portland", "memo"});
    EXPECT_EQ(table.recno(), 7u);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 6, 4, 3, 1, 5, 7}));
    // The current record keeps its place in the order after a post.
    ASSERT_TRUE(table.go(3).ok());
    ASSERT_TRUE(table.skip(1).ok());
    EXPECT_EQ(table.recno(), 1u);
    ASSERT_TRUE(table.skip(-2).ok());
    EXPECT_EQ(table.recno(), 4u);

    ASSERT_TRUE(table.close().ok());
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    EXPECT_EQ(table.info().flags & 1, 1);
    ASSERT_TRUE(table.setOrder("CITY").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 6, 4, 3, 1, 5, 7}));
    EXPECT_TRUE(faults().empty());
    ASSERT_TRUE(table.removeTag("CITY").ok());
    EXPECT_EQ(table.tagCount(), 3);
    EXPECT_EQ(table.order(), 0);
    ASSERT_TRUE(table.closeIndexes(true).ok());
    EXPECT_FALSE(exists(dir.file("PEOPLE.CDX")));
    EXPECT_EQ(table.info().flags & 1, 0);
}

TEST_F(TableTest, SeekFindsKeyPrefixesAndSoftSeekStaysOnTheNextKey)
{
    addTags();
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    struct SeekCase {
        const char *key;
        bool soft;
        bool found;
        uint32_t recno; // 0 = eof
    };
    const SeekCase cases[] = {
        {"SMITH", false, true, 5}, // SMITH AL before SMITH JANE and SMITH JOHN
        {"SMITH       JOHN", false, true, 1},
        {"SMITHS", false, false, 0},
        {"SMITHS", true, false, 6},
        {"ZZZ", true, false, 0},
        {"", false, true, 4},
        {"B", false, true, 2},
    };
    for (const SeekCase &c : cases) {
        table.setSoftSeek(c.soft);
        bool found = !c.found;
        ASSERT_TRUE(table.seek(c.key, found).ok());
        EXPECT_EQ(found, c.found) << c.key;
        EXPECT_EQ(table.found(), c.found) << c.key;
        if (c.recno == 0) {
            EXPECT_TRUE(table.eof()) << c.key;
        } else {
            EXPECT_FALSE(table.eof()) << c.key;
            EXPECT_EQ(table.recno(), c.recno) << c.key;
        }
    }
    table.setSoftSeek(false);
    ASSERT_TRUE(table.setOrder(0).ok());
    bool found = false;
    EXPECT_EQ(table.seek("SMITH", found).code(), StatusCode::InvalidArgument);
}

TEST_F(TableTest, ScopesLimitMovesToAKeyRange)
{
    addTags();
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    ASSERT_TRUE(table.setScope("B", "SMITH").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{2, 5, 3, 1}));
    EXPECT_EQ(walkBack(), (std::vector<uint32_t>{2, 5, 3, 1}));
    ASSERT_TRUE(table.setScope("SMITH", "SMITH").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{5, 3, 1}));
    ASSERT_TRUE(table.setScope("", "").ok());
    EXPECT_EQ(walk().size(), 6u);
}

TEST_F(TableTest, QueriesHideNonMatchingRecordsInEveryOrder)
{
    addTags();
    EXPECT_EQ(table.setQuery("UPPER(LNAME) = ").code(), StatusCode::InvalidArgument);
    ASSERT_TRUE(table.setQuery("UPPER(LNAME)=\"SM\" .and. !ISDEL").ok());
    EXPECT_EQ(table.queryText(), "UPPER(LNAME)=\"SM\" .and. !ISDEL");
    EXPECT_EQ(table.setQuery("nonsense((").code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.queryText(), "UPPER(LNAME)=\"SM\" .and. !ISDEL"); // the old query stays
    uint64_t n = 0;
    ASSERT_TRUE(table.queryCount(n).ok());
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{1, 3, 5}));
    EXPECT_EQ(walkBack(), (std::vector<uint32_t>{1, 3, 5}));
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{5, 3, 1}));

    // Edits change membership at once: set ISDEL on record 3, and add a new Smith.
    ASSERT_TRUE(table.go(3).ok());
    ASSERT_TRUE(table.setLogical("ISDEL", true).ok());
    ASSERT_TRUE(table.post().ok());
    append({"Smithers", "Wayland", "Springfield", ""});
    ASSERT_TRUE(table.queryCount(n).ok());
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{5, 1, 7}));

    bool truth = false;
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.evalLogical("\"SAL\" $ UPPER(CITY)", truth).ok());
    EXPECT_TRUE(truth);
    Value v;
    ASSERT_TRUE(table.evaluate("LEFT(FNAME, 2)", v).ok());
    EXPECT_EQ(v.text, "An");

    ASSERT_TRUE(table.setQuery("").ok());
    EXPECT_EQ(table.queryText(), "");
    ASSERT_TRUE(table.queryCount(n).ok());
    EXPECT_EQ(n, 7u);
}

TEST_F(TableTest, PackDropsMarkedRecordsKeepsMemosAndRebuildsTags)
{
    addTags();
    for (uint32_t r : {1u, 4u}) {
        ASSERT_TRUE(table.go(r).ok());
        ASSERT_TRUE(table.deleteRecord().ok());
    }
    Recorder progress;
    ASSERT_TRUE(table.pack(&progress).ok());
    ASSERT_FALSE(progress.seen.empty());
    EXPECT_EQ(progress.seen.front(), 0);
    EXPECT_EQ(progress.seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.seen.begin(), progress.seen.end()));
    EXPECT_EQ(table.recordCount(), 4u);
    table.setDeletedHidden(false);
    std::vector<std::string> names;
    for (uint32_t r = 1; r <= 4; ++r) {
        ASSERT_TRUE(table.go(r).ok());
        names.push_back(field("LNAME") + "/" + field("MEMO"));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Brown/", "smith/x", "Smith/", "Young/a longer memo text"}));
    ASSERT_TRUE(table.setOrder("CITY").ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{4, 2, 3, 1}));
    EXPECT_TRUE(faults().empty());

    ASSERT_TRUE(table.copyStructure(dir.file("COPY.DBF")).ok());
    ASSERT_TRUE(table.zap().ok());
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_TRUE(walk().empty());
    EXPECT_TRUE(table.eof());
    EXPECT_TRUE(table.bof());
    EXPECT_TRUE(faults().empty());

    Table copy;
    ASSERT_TRUE(copy.open(dir.file("COPY.DBF"), OpenMode::ReadOnly).ok());
    EXPECT_EQ(copy.recordCount(), 0u);
    EXPECT_EQ(copy.schema().fields().size(), addressFields().size());
    EXPECT_EQ(copy.tagCount(), 0);
}

TEST_F(TableTest, TagBuildsReportEachTagAndStopWhenCancelled)
{
    Recorder progress;
    ASSERT_TRUE(table.addTags({{"A", "UPPER(LNAME)", ""}, {"B", "UPPER(CITY)", ""}}, &progress).ok());
    EXPECT_EQ(std::count(progress.seen.begin(), progress.seen.end(), 0), 2);
    EXPECT_EQ(std::count(progress.seen.begin(), progress.seen.end(), 100), 2);
    EXPECT_EQ(table.addTag({"C", "NOSUCHFIELD", ""}).code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.tagCount(), 2);
    Recorder cancel(0);
    EXPECT_FALSE(table.addTag({"D", "UPPER(FNAME)", ""}, &cancel).ok());
    EXPECT_EQ(table.tagOrder("D"), 0);
}

TEST_F(TableTest, TemporaryIndexHoldsOnlyTheAddedKeys)
{
    const std::string idx = dir.file("_chkdup.idx");
    ASSERT_TRUE(table.createTempIndex(idx, "UPPER(LNAME)").ok());
    EXPECT_TRUE(exists(idx));
    for (uint32_t r : {6u, 1u, 4u}) {
        ASSERT_TRUE(table.go(r).ok());
        ASSERT_TRUE(table.keyAdd().ok());
    }
    EXPECT_EQ(table.order(), table.tagCount() + 1);
    EXPECT_EQ(table.indexFileName(), idx);
    EXPECT_EQ(walk(), (std::vector<uint32_t>{4, 1, 6}));
    // Editing a record that is not in the index leaves it out.
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.setFieldValue("LNAME", "Aaron").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{4, 1, 6}));
    ASSERT_TRUE(table.closeTempIndex(true).ok());
    EXPECT_FALSE(exists(idx));
    EXPECT_EQ(table.order(), 0);
}

TEST_F(TableTest, DamagedMemoPointerIsReportedNotFollowed)
{
    ASSERT_TRUE(table.close().ok());
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        // MEMO of record 1 sits at offset 1 + 12 + 10 + 12 + 1 + 3 + 8 = 47 of the record.
        const std::streamoff at = 32 + 7 * 32 + 2 + 47;
        f.seekp(at);
        f << "  99999999";
        f.seekp(at + 57); // the record length
        f << "   12x4567";
    }
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    ASSERT_TRUE(table.go(1).ok());
    std::string text;
    EXPECT_EQ(table.fieldValue("MEMO", text).code(), StatusCode::Corruption);
    ASSERT_TRUE(table.go(2).ok());
    EXPECT_EQ(table.fieldValue("MEMO", text).code(), StatusCode::Corruption);
    const std::vector<std::string> f = faults();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_NE(f[0].find("Record 1 field MEMO"), std::string::npos);
    EXPECT_NE(f[1].find("Record 2 field MEMO"), std::string::npos);
}

TEST_F(TableTest, AStoppedWriterIsRecoveredFromTheFilesItLeft)
{
    // Copies taken while the table is open exclusively are what a killed writer leaves: the
    // headers still hold the counts of the last flush.
    ASSERT_TRUE(table.flush().ok());
    append({"Late", "Comer", "Reno", "memo written after the flush"});
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.setFieldValue("MEMO", "a new memo for Brown").ok());
    ASSERT_TRUE(table.post().ok());
    for (const char *ext : {".DBF", ".FPT"})
        std::filesystem::copy_file(dir.file(std::string("PEOPLE") + ext),
                                   dir.file(std::string("LEFT") + ext));
    {
        std::ifstream in(dir.file("LEFT.DBF"), std::ios::binary);
        std::string header(32, '\0');
        in.read(&header[0], 32);
        EXPECT_EQ(header[4], 6);  // the count of the last flush
        EXPECT_EQ(header[14], 1); // the pending mark
    }
    {
        // Read-only: everything posted reads back, and check says the headers lag.
        Table look;
        ASSERT_TRUE(look.open(dir.file("LEFT.DBF"), OpenMode::ReadOnly).ok());
        EXPECT_EQ(look.recordCount(), 7u);
        std::string memo;
        ASSERT_TRUE(look.go(7).ok());
        ASSERT_TRUE(look.fieldValue("MEMO", memo).ok());
        EXPECT_EQ(memo, "memo written after the flush");
        std::vector<std::string> f;
        ASSERT_TRUE(look.check(f).ok());
        ASSERT_EQ(f.size(), 1u);
        EXPECT_NE(f[0].find("stopped writer"), std::string::npos);
    }
    Table left;
    ASSERT_TRUE(left.open(dir.file("LEFT.DBF"), OpenMode::Exclusive).ok());
    EXPECT_EQ(left.recordCount(), 7u);
    std::string text;
    ASSERT_TRUE(left.go(7).ok());
    ASSERT_TRUE(left.fieldValue("MEMO", text).ok());
    EXPECT_EQ(text, "memo written after the flush");
    ASSERT_TRUE(left.go(2).ok());
    ASSERT_TRUE(left.fieldValue("MEMO", text).ok());
    EXPECT_EQ(text, "a new memo for Brown");
    // New memo blocks land after every block the stopped writer used.
    ASSERT_TRUE(left.setFieldValue("MEMO", "after recovery").ok());
    ASSERT_TRUE(left.post().ok());
    ASSERT_TRUE(left.go(7).ok());
    ASSERT_TRUE(left.fieldValue("MEMO", text).ok());
    EXPECT_EQ(text, "memo written after the flush");
    std::vector<std::string> f;
    ASSERT_TRUE(left.check(f).ok());
    EXPECT_TRUE(f.empty());
    ASSERT_TRUE(left.close().ok());
    std::ifstream in(dir.file("LEFT.DBF"), std::ios::binary);
    std::string header(32, '\0');
    in.read(&header[0], 32);
    EXPECT_EQ(header[4], 7);
    EXPECT_EQ(header[14], 0);
}

TEST_F(TableTest, DamagedCompanionFilesAreReportedAndNeverWritten)
{
    addTags();
    ASSERT_TRUE(table.close().ok());
    const std::string cdx = dir.file("PEOPLE.CDX");
    std::filesystem::resize_file(cdx, 700); // a cut index
    const auto cutSize = std::filesystem::file_size(cdx);
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    EXPECT_FALSE(table.indexError().empty());
    EXPECT_TRUE(table.indexNeedsRebuild());
    EXPECT_EQ(table.tagCount(), 0);
    EXPECT_EQ(table.setOrder("LNAME").code(), StatusCode::NotFound);
    EXPECT_EQ(table.reindex().code(), StatusCode::Corruption);
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.setFieldValue("CITY", "Elsewhere").ok());
    ASSERT_TRUE(table.post().ok());
    EXPECT_EQ(std::filesystem::file_size(cdx), cutSize);
    EXPECT_FALSE(faults().empty());
    // Creating the tags again replaces the damaged file.
    addTags();
    EXPECT_TRUE(table.indexError().empty());
    EXPECT_TRUE(faults().empty());
    ASSERT_TRUE(table.close().ok());

    std::filesystem::remove(dir.file("PEOPLE.FPT"));
    EXPECT_EQ(table.open(path, OpenMode::Exclusive).code(), StatusCode::NotFound);
    EXPECT_FALSE(table.isOpen());
}

TEST_F(TableTest, SharedOpenersTakeTurnsAndLockRecords)
{
    addTags();
    ASSERT_TRUE(table.close().ok());
    Table a, b;
    ASSERT_TRUE(a.open(path, OpenMode::Shared).ok());
    ASSERT_TRUE(b.open(path, OpenMode::Shared).ok());
    for (int i = 0; i < 6; ++i) {
        Table &t = i % 2 ? b : a;
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("LNAME", "Shared" + std::to_string(i)).ok());
        ASSERT_TRUE(t.setFieldValue("MEMO", std::string(70 + i, static_cast<char>('a' + i))).ok());
        ASSERT_TRUE(t.post().ok());
        EXPECT_EQ(t.recno(), 7u + static_cast<uint32_t>(i));
    }
    for (uint32_t r = 7; r <= 12; ++r) {
        ASSERT_TRUE(a.go(r).ok());
        std::string name, memo;
        ASSERT_TRUE(a.fieldValue("LNAME", name).ok());
        ASSERT_TRUE(a.fieldValue("MEMO", memo).ok());
        const int i = static_cast<int>(r - 7);
        EXPECT_EQ(name, "Shared" + std::to_string(i));
        EXPECT_EQ(memo, std::string(70 + static_cast<size_t>(i), static_cast<char>('a' + i)));
    }
    // b seeks before a's change, so it holds the nodes it read; it must not answer from them.
    bool found = false;
    ASSERT_TRUE(b.setOrder("CITY").ok());
    ASSERT_TRUE(b.seek("LOCKVILLE", found).ok());
    EXPECT_FALSE(found);
    ASSERT_TRUE(b.setOrder(0).ok());
    ASSERT_TRUE(a.go(1).ok());
    ASSERT_TRUE(b.go(1).ok());
    ASSERT_TRUE(a.lockRecord().ok());
    EXPECT_EQ(b.lockRecord().code(), StatusCode::Locked);
    ASSERT_TRUE(a.setFieldValue("CITY", "Lockville").ok());
    ASSERT_TRUE(a.post().ok());
    ASSERT_TRUE(b.lockRecord().ok()); // free again, and b sees a's change
    std::string city;
    ASSERT_TRUE(b.fieldValue("CITY", city).ok());
    EXPECT_EQ(city, "Lockville");
    b.cancelEdit();
    // Both kept the shared index in step.
    ASSERT_TRUE(b.setOrder("CITY").ok());
    ASSERT_TRUE(b.seek("LOCKVILLE", found).ok());
    EXPECT_TRUE(found);
    EXPECT_EQ(b.recno(), 1u);
    ASSERT_TRUE(b.setOrder("LNAME").ok());
    ASSERT_TRUE(b.seek("SHARED5", found).ok());
    EXPECT_TRUE(found);
    EXPECT_EQ(b.recno(), 12u);
    std::vector<std::string> f;
    ASSERT_TRUE(a.check(f).ok());
    for (const std::string &x : f)
        ADD_FAILURE() << x;
}

TEST(TableFourByteMemo, BinaryMemoPointersAreRead)
{
    // A table whose memo field is 4 bytes wide holds the block number in binary.
    TempDir dir;
    std::string dbf(32, '\0');
    dbf[0] = '\x30';
    dbf[4] = 2;                                    // two records
    dbf[8] = static_cast<char>(32 + 64 + 1 + 263); // header length 360
    dbf[9] = static_cast<char>((32 + 64 + 1 + 263) >> 8);
    dbf[10] = 1 + 5 + 4; // record length
    std::string field(32, '\0');
    field.replace(0, 4, "NAME");
    field[11] = 'C';
    field[16] = 5;
    dbf += field;
    field.assign(32, '\0');
    field.replace(0, 4, "NOTE");
    field[11] = 'M';
    field[16] = 4;
    dbf += field;
    dbf += '\x0D';
    dbf += std::string(263, '\0');
    dbf += std::string(" first") + std::string("\x08\x00\x00\x00", 4);
    dbf += std::string(" blank") + std::string(4, '\0');
    dbf += '\x1A';
    std::string fpt(512, '\0');
    fpt[3] = 9; // next free block
    fpt[7] = 64;
    std::string block("\x00\x00\x00\x01\x00\x00\x00\x05hello", 13);
    block.resize(64, '\0');
    fpt += block;
    std::ofstream(dir.file("FOUR.DBF"), std::ios::binary) << dbf;
    std::ofstream(dir.file("FOUR.FPT"), std::ios::binary) << fpt;
    Table t;
    ASSERT_TRUE(t.open(dir.file("FOUR.DBF"), OpenMode::ReadOnly).ok());
    std::string text;
    ASSERT_TRUE(t.go(1).ok());
    ASSERT_TRUE(t.memo("NOTE", text).ok());
    EXPECT_EQ(text, "hello");
    ASSERT_TRUE(t.go(2).ok());
    ASSERT_TRUE(t.memo("NOTE", text).ok());
    EXPECT_EQ(text, "");
    std::vector<std::string> faults;
    ASSERT_TRUE(t.check(faults).ok());
    EXPECT_TRUE(faults.empty());
}

TEST_F(TableTest, CopyToTakesTheVisibleRecordsInOrderWithTheirMemos)
{
    addTags();
    ASSERT_TRUE(table.go(6).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    ASSERT_TRUE(table.setQuery("UPPER(CITY) <> \"SALEM\"").ok());
    ASSERT_TRUE(table.go(3).ok());
    Recorder progress;
    ASSERT_TRUE(table.copyTo(dir.file("COPY.DBF"), &progress).ok());
    EXPECT_EQ(table.recno(), 3u);
    EXPECT_EQ(progress.seen.front(), 0);
    EXPECT_EQ(progress.seen.back(), 100);
    Table copy;
    ASSERT_TRUE(copy.open(dir.file("COPY.DBF"), OpenMode::ReadOnly).ok());
    std::vector<std::string> rows;
    for (uint32_t r = 1; r <= copy.recordCount(); ++r) {
        ASSERT_TRUE(copy.go(r).ok());
        std::string name, memo;
        ASSERT_TRUE(copy.fieldValue("LNAME", name).ok());
        ASSERT_TRUE(copy.fieldValue("MEMO", memo).ok());
        rows.push_back(name + "/" + memo);
    }
    // Adams, Smith Al, smith Jane, Smith John; Brown (Salem) and Young (marked) stay out.
    EXPECT_EQ(rows, (std::vector<std::string>{"Adams/", "Smith/", "smith/x", "Smith/first memo"}));
    std::vector<std::string> f;
    ASSERT_TRUE(copy.check(f).ok());
    EXPECT_TRUE(f.empty());

    Recorder cancel(50);
    EXPECT_FALSE(table.copyTo(dir.file("GONE.DBF"), &cancel).ok());
    EXPECT_FALSE(exists(dir.file("GONE.DBF")));
    EXPECT_FALSE(exists(dir.file("GONE.FPT")));
}

TEST_F(TableTest, CheckFindsEveryKindOfIndexFault)
{
    addTags();
    ASSERT_TRUE(table.close().ok());
    {
        // Another program damages the index.
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::open(dir.file("PEOPLE.CDX"), false, cdx).ok());
        IndexTag *city = cdx->tag("CITY");
        ASSERT_NE(city, nullptr);
        const std::string blank(12, ' ');
        ASSERT_TRUE(city->remove("SALEM" + blank.substr(5), 2).ok()); // record 2 loses its entry
        ASSERT_TRUE(city->insert("ZZZ" + blank.substr(3), 99).ok());  // a record that does not exist
        ASSERT_TRUE(city->insert("AAA" + blank.substr(3), 4).ok());   // record 4 twice, one key wrong
        ASSERT_TRUE(cdx->flush().ok());
    }
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    const std::vector<std::string> f = faults();
    auto has = [&](const std::string &text) {
        return std::any_of(f.begin(), f.end(),
                           [&](const std::string &x) { return x.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(has("Tag CITY: record 2 is missing"));
    EXPECT_TRUE(has("Tag CITY: entry for record 99, which does not exist"));
    EXPECT_TRUE(has("Tag CITY: record 4 has key \"AAA\", the record gives \"BOSTON\""));
    EXPECT_TRUE(has("Tag CITY: record 4 has more than one entry"));
    EXPECT_FALSE(has("Tag LNAME"));
    // The rebuild makes it sound again.
    ASSERT_TRUE(table.reindex().ok());
    EXPECT_TRUE(faults().empty());
}

TEST_F(TableTest, CheckRefusesWhileARecordIsEditedAndKeepsTheTyping)
{
    addTags();
    ASSERT_TRUE(table.goTop().ok());
    ASSERT_TRUE(table.setFieldValue("CITY", "Typed").ok());
    std::vector<std::string> f;
    EXPECT_FALSE(table.check(f).ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.goTop().ok());
    EXPECT_EQ(field("CITY"), "Typed");
    EXPECT_TRUE(faults().empty());
}

// Runs `write` with files limited to `limit` bytes: writes reaching past it fail.
template <typename F> Status withFileLimit(rlim_t limit, F write)
{
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit old {
    };
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit tight = old;
    tight.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &tight);
    const Status s = write();
    setrlimit(RLIMIT_FSIZE, &old);
    return s;
}

TEST_F(TableTest, ARecordThatCannotBeWrittenLeavesTheTagsAsTheRecordsAre)
{
    addTags();
    ASSERT_TRUE(table.flush().ok());
    // The last record lies past the limit; the index file's first page does not.
    const uint32_t last = table.recordCount();
    const rlim_t limit = table.info().headerLength + rlim_t(last - 1) * table.info().recordLength;
    ASSERT_GT(limit, 512u);
    ASSERT_TRUE(table.go(last).ok());
    const std::string city = field("CITY");
    ASSERT_TRUE(table.setFieldValue("CITY", "Zanzibar").ok());
    EXPECT_FALSE(withFileLimit(limit, [&] { return table.post(); }).ok());
    table.cancelEdit();

    // A new record that cannot be appended leaves no key behind either.
    ASSERT_TRUE(table.appendBlank().ok());
    ASSERT_TRUE(table.setFieldValue("LNAME", "Nobody").ok());
    ASSERT_TRUE(table.setFieldValue("CITY", "Nowhere").ok());
    const rlim_t end = table.info().headerLength + rlim_t(last) * table.info().recordLength;
    EXPECT_FALSE(withFileLimit(end, [&] { return table.post(); }).ok());
    table.cancelEdit();

    EXPECT_TRUE(faults().empty());
    EXPECT_FALSE(table.indexNeedsRebuild());
    ASSERT_TRUE(table.go(last).ok());
    EXPECT_EQ(field("CITY"), city);
    ASSERT_TRUE(table.close().ok());
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    EXPECT_FALSE(table.indexNeedsRebuild());
    EXPECT_TRUE(faults().empty());
}

TEST_F(TableTest, TurboReadGivesTheSameRecordsAndSeesEdits)
{
    addTags();
    for (int i = 0; i < 300; ++i)
        append({"Bulk", "Person", i % 2 ? "Aurora" : "Zion", ""});
    for (int order : {0, 2}) {
        ASSERT_TRUE(table.setOrder(order).ok());
        table.setTurboRead(false);
        const std::vector<uint32_t> plain = walk(), plainBack = walkBack();
        table.setTurboRead(true);
        EXPECT_EQ(walk(), plain);
        EXPECT_EQ(walkBack(), plainBack);
    }
    ASSERT_TRUE(table.setOrder(0).ok());
    ASSERT_TRUE(table.goTop().ok());
    ASSERT_TRUE(table.skip(2).ok());
    ASSERT_TRUE(table.setFieldValue("CITY", "Changed").ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.goTop().ok());
    ASSERT_TRUE(table.skip(2).ok());
    EXPECT_EQ(field("CITY"), "Changed");
    table.setTurboRead(false);
}

TEST_F(TableTest, CreatingATableOverAnotherTakesItsIndexAway)
{
    addTags();
    ASSERT_TRUE(table.close().ok());
    ASSERT_TRUE(exists(dir.file("PEOPLE.CDX")));
    ASSERT_TRUE(Table::create(path, addressFields()).ok());
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    // The old table's tags would order records the new table does not have.
    EXPECT_EQ(table.tagCount(), 0);
    EXPECT_FALSE(exists(dir.file("PEOPLE.CDX")));
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_FALSE(exists(dir.file("PEOPLE$.DBF")));
    EXPECT_FALSE(exists(dir.file("PEOPLE$.FPT")));
}

TEST_F(TableTest, TemporaryIndexFillsWhileAProductionOrderIsWalked)
{
    addTags();
    // A tool walks an existing tag and adds the records it wants to a temporary index, then
    // shows only those by ordering the table by it.
    const std::string idx = dir.file("_chksz.idx");
    ASSERT_TRUE(table.createTempIndex(idx, "UPPER(CITY)").ok());
    const int tempOrder = table.order();
    EXPECT_EQ(tempOrder, table.tagCount() + 1);
    ASSERT_TRUE(table.setOrder("LNAME").ok());
    for (Status s = table.goTop(); s.ok() && !table.eof(); s = table.skip(1))
        if (field("LNAME") == "Smith" || field("LNAME") == "smith") {
            ASSERT_TRUE(table.keyAdd().ok());
        }
    ASSERT_TRUE(table.setOrder(tempOrder).ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{3, 1, 5})); // Montréal, Portland, Portland
    EXPECT_EQ(table.indexFileName(), idx);
    // A marked record leaves the view like any other.
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    EXPECT_EQ(walk(), (std::vector<uint32_t>{3, 5}));
    ASSERT_TRUE(table.closeTempIndex(true).ok());
    EXPECT_FALSE(exists(idx));
    EXPECT_EQ(table.order(), 0);
    EXPECT_TRUE(faults().empty());
}

struct RecnoQueryCase {
    const char *query;
    std::vector<uint32_t> recnos;
};

class TableRecnoQueries : public ::testing::TestWithParam<RecnoQueryCase>
{
};

TEST_P(TableRecnoQueries, SelectRecordsByTheirNumber)
{
    const RecnoQueryCase c = GetParam();
    TempDir dir;
    const std::string path = dir.file("R.DBF");
    ASSERT_TRUE(Table::create(path, {{"NAME", 'C', 8, 0, 0}}).ok());
    Table t;
    ASSERT_TRUE(t.open(path, OpenMode::Exclusive).ok());
    for (int i = 1; i <= 6; ++i) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("NAME", "N" + std::to_string(i)).ok());
        ASSERT_TRUE(t.post().ok());
    }
    ASSERT_TRUE(t.go(4).ok());
    ASSERT_TRUE(t.deleteRecord().ok());
    ASSERT_TRUE(t.setQuery(c.query).ok());
    std::vector<uint32_t> seen;
    ASSERT_TRUE(t.visibleRecnos(seen).ok());
    EXPECT_EQ(seen, c.recnos);
    uint64_t n = 0;
    ASSERT_TRUE(t.queryCount(n).ok());
    EXPECT_EQ(n, c.recnos.size());
    ASSERT_TRUE(t.goTop().ok());
    EXPECT_EQ(t.eof() ? 0u : t.recno(), c.recnos.empty() ? 0u : c.recnos.front());
}

// The current-record choice of the printing windows is "Recno()=" + the record number.
INSTANTIATE_TEST_SUITE_P(Cases, TableRecnoQueries,
                         ::testing::Values(RecnoQueryCase{"Recno()=3", {3}}, RecnoQueryCase{"RECNO()=4", {}},
                                           RecnoQueryCase{"recno()=7", {}},
                                           RecnoQueryCase{"RECNO()>=5 .and. NAME<>\"N6\"", {5}},
                                           RecnoQueryCase{"RECNO()<3 .or. RECNO()=6", {1, 2, 6}}));

struct VisibleQueryCase {
    const char *filter;
    const char *query;
    std::vector<uint32_t> recnos;
};

class TableVisibleQueries : public ::testing::TestWithParam<VisibleQueryCase>
{
};

TEST_P(TableVisibleQueries, HideMarkedAndIsdelRecordsInOneCall)
{
    const VisibleQueryCase c = GetParam();
    TempDir dir;
    const std::string path = dir.file("V.DBF");
    ASSERT_TRUE(Table::create(path, addressFields()).ok());
    Table t;
    ASSERT_TRUE(t.open(path, OpenMode::Exclusive).ok());
    for (const Person &p : kPeople) {
        ASSERT_TRUE(t.appendBlank().ok());
        ASSERT_TRUE(t.setFieldValue("LNAME", p.lname).ok());
        ASSERT_TRUE(t.setFieldValue("CITY", p.city).ok());
        ASSERT_TRUE(t.post().ok());
    }
    // Record 2 has ISDEL set, record 5 the delete mark: neither is for the user to see.
    ASSERT_TRUE(t.go(2).ok());
    ASSERT_TRUE(t.setLogical("ISDEL", true).ok());
    ASSERT_TRUE(t.post().ok());
    ASSERT_TRUE(t.go(5).ok());
    ASSERT_TRUE(t.deleteRecord().ok());
    t.setDeletedHidden(false);
    ASSERT_TRUE(t.setVisibleQuery(c.filter).ok());
    EXPECT_TRUE(t.isDeletedHidden());
    EXPECT_EQ(t.queryText(), c.query);
    std::vector<uint32_t> seen;
    ASSERT_TRUE(t.visibleRecnos(seen).ok());
    EXPECT_EQ(seen, c.recnos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TableVisibleQueries,
    ::testing::Values(VisibleQueryCase{"", "!ISDEL", {1, 3, 4, 6}},
                      VisibleQueryCase{"UPPER(LNAME)=\"SM\"", "UPPER(LNAME)=\"SM\".and. !ISDEL", {1, 3}},
                      VisibleQueryCase{"CITY=\"Salem\"", "CITY=\"Salem\".and. !ISDEL", {}},
                      // The ISDEL test applies to both sides of an .or.
                      VisibleQueryCase{"CITY=\"Salem\" .or. CITY=\"Austin\"",
                                       "(CITY=\"Salem\" .or. CITY=\"Austin\").and. !ISDEL",
                                       {6}},
                      // A filter already in parentheses is joined as it is.
                      VisibleQueryCase{"((CITY=\"Salem\").or.(CITY=\"Austin\"))",
                                       "((CITY=\"Salem\").or.(CITY=\"Austin\")).and. !ISDEL",
                                       {6}},
                      VisibleQueryCase{"(CITY=\"Salem\") .or. (CITY=\"Aus)tin\")",
                                       "((CITY=\"Salem\") .or. (CITY=\"Aus)tin\")).and. !ISDEL",
                                       {}}));

TEST_F(TableTest, VisibleQueryRefusesABadFilterAndWorksWithoutAnIsdelField)
{
    ASSERT_TRUE(table.setVisibleQuery("CITY=\"Salem\"").ok());
    EXPECT_EQ(table.setVisibleQuery("CITY=").code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.setVisibleQuery("CITY").code(), StatusCode::InvalidArgument);
    EXPECT_EQ(table.queryText(), "CITY=\"Salem\".and. !ISDEL");

    const std::string other = dir.file("PLAIN.DBF");
    ASSERT_TRUE(Table::create(other, {{"NAME", 'C', 8, 0, 0}}).ok());
    Table plain;
    ASSERT_TRUE(plain.open(other, OpenMode::Exclusive).ok());
    ASSERT_TRUE(plain.setVisibleQuery("").ok());
    EXPECT_EQ(plain.queryText(), "");
    ASSERT_TRUE(plain.setVisibleQuery("NAME=\"A\"").ok());
    EXPECT_EQ(plain.queryText(), "NAME=\"A\"");
}

TEST_F(TableTest, PackKeepsOnlyTheKeptRecordsMemosInTheMemoFile)
{
    // Grown, shrunk and removed memos all leave blocks behind until the pack.
    const std::string secret = "deleted person's notes " + std::string(400, 's');
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.setFieldValue("MEMO", secret).ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    ASSERT_TRUE(table.go(1).ok());
    ASSERT_TRUE(table.setFieldValue("MEMO", std::string(300, 'g')).ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.setFieldValue("MEMO", "shrunk").ok());
    ASSERT_TRUE(table.post().ok());
    ASSERT_TRUE(table.flush().ok());
    const auto memoBytes = [&] {
        std::ifstream in(dir.file("PEOPLE.FPT"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = memoBytes();
    ASSERT_NE(before.find("deleted person"), std::string::npos);

    ASSERT_TRUE(table.pack().ok());
    const std::string after = memoBytes();
    EXPECT_EQ(after.find("deleted person"), std::string::npos);
    EXPECT_EQ(after.find("ggg"), std::string::npos);
    // What is left: the header and one run of blocks per kept memo.
    const TableInfo info = table.info();
    EXPECT_EQ(after.size(), uint64_t(info.memoNextFree) * info.memoBlockSize);
    EXPECT_EQ(info.memoNextFree, 8u + 1 + 1 + 1); // "shrunk", "x", "a longer memo text"
    std::vector<std::string> memos;
    table.setDeletedHidden(false);
    for (uint32_t r = 1; r <= table.recordCount(); ++r) {
        ASSERT_TRUE(table.go(r).ok());
        memos.push_back(field("MEMO"));
    }
    EXPECT_EQ(memos, (std::vector<std::string>{"shrunk", "x", "", "", "a longer memo text"}));
    EXPECT_TRUE(faults().empty());
    EXPECT_FALSE(exists(dir.file("PEOPLE.DBF.new")));
    EXPECT_FALSE(exists(dir.file("PEOPLE.DBF.done")));
    EXPECT_FALSE(exists(dir.file("PEOPLE.FPT.new")));
}

TEST_F(TableTest, PackNamesTheRecordWhoseMemoCannotBeReadAndRemovesNothing)
{
    ASSERT_TRUE(table.go(2).ok());
    ASSERT_TRUE(table.deleteRecord().ok());
    ASSERT_TRUE(table.flush().ok());
    // Record 3's memo pointer names a block far past the end of the memo file.
    const TableInfo info = table.info();
    const FieldDescriptor &memo = table.schema().field(table.schema().indexOf("MEMO"));
    {
        std::fstream out(dir.file("PEOPLE.DBF"), std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(static_cast<std::streamoff>(info.headerLength + 2u * info.recordLength + memo.offset));
        const std::string pointer = std::string(memo.length - 7, ' ') + "9999999";
        out.write(pointer.data(), static_cast<std::streamsize>(pointer.size()));
    }
    const uint32_t before = table.recordCount();
    const Status packed = table.pack();
    EXPECT_EQ(packed.code(), StatusCode::Corruption);
    EXPECT_NE(packed.message().find("Record 3 field MEMO"), std::string::npos) << packed.message();
    EXPECT_EQ(table.recordCount(), before);
    EXPECT_FALSE(exists(dir.file("PEOPLE.DBF.new")));
    EXPECT_FALSE(exists(dir.file("PEOPLE.FPT.new")));
}

TEST_F(TableTest, BulkAppendsFillRecordsInMemoryAndTruncationTakesThemOffAgain)
{
    addTags();
    std::string records(2 * table.recordLength(), ' ');
    const int lname = table.schema().indexOf("LNAME");
    const int memo = table.schema().indexOf("MEMO");
    // Appends in bulk go around the tags, so they are refused while an index is open.
    EXPECT_EQ(table.appendRecords(records.data(), 2).code(), StatusCode::InvalidArgument);
    ASSERT_TRUE(table.closeIndexes(true).ok());

    char *second = &records[table.recordLength()];
    ASSERT_TRUE(table.putField(&records[0], lname, "Zeta").ok());
    ASSERT_TRUE(table.putField(second, lname, "Omega").ok());
    ASSERT_TRUE(table.putField(second, table.schema().indexOf("AGE"), "7").ok());
    EXPECT_EQ(table.putField(second, table.schema().indexOf("BORN"), "May").code(),
              StatusCode::InvalidArgument);
    EXPECT_EQ(table.putField(second, memo, "x").code(), StatusCode::InvalidArgument);
    ASSERT_TRUE(table.putMemo(&records[0], memo, std::string(300, 'm')).ok());
    ASSERT_TRUE(table.putMemo(second, memo, "").ok());
    ASSERT_TRUE(table.appendRecords(records.data(), 2).ok());
    EXPECT_EQ(table.recordCount(), 8u);

    // Read back in any order, neighbours gathered; memos of many records at once.
    const std::vector<uint32_t> order = {8, 1, 7, 6, 2};
    std::string bytes(order.size() * table.recordLength(), '\0');
    ASSERT_TRUE(table.storedRecords(order.data(), order.size(), &bytes[0]).ok());
    std::string one;
    for (size_t i = 0; i < order.size(); ++i) {
        ASSERT_TRUE(table.storedRecord(order[i], one).ok());
        EXPECT_EQ(bytes.substr(i * table.recordLength(), table.recordLength()), one) << order[i];
    }
    // Records wanted one after another in file order are read straight into place.
    for (const std::vector<uint32_t> &run : {std::vector<uint32_t>{5, 6, 7}, std::vector<uint32_t>{7, 6, 5},
                                             std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}}) {
        std::string got(run.size() * table.recordLength(), '\0');
        ASSERT_TRUE(table.storedRecords(run.data(), run.size(), &got[0]).ok());
        for (size_t i = 0; i < run.size(); ++i) {
            ASSERT_TRUE(table.storedRecord(run[i], one).ok());
            EXPECT_EQ(got.substr(i * table.recordLength(), table.recordLength()), one) << run[i];
        }
    }
    std::vector<std::string> memos;
    ASSERT_TRUE(table.memoTexts(bytes.data(), order.size(), memo, memos).ok());
    EXPECT_EQ(memos,
              (std::vector<std::string>{"", "first memo", std::string(300, 'm'), "a longer memo text", ""}));
    const uint32_t outside[] = {9};
    EXPECT_EQ(table.storedRecords(outside, 1, &bytes[0]).code(), StatusCode::NotFound);

    addTags();
    EXPECT_TRUE(faults().empty());
    EXPECT_EQ(table.truncateRecords(6).code(), StatusCode::InvalidArgument); // tags open
    ASSERT_TRUE(table.closeIndexes(true).ok());
    ASSERT_TRUE(table.truncateRecords(6).ok());
    addTags();
    ASSERT_TRUE(table.close().ok());
    ASSERT_TRUE(table.open(path, OpenMode::Exclusive).ok());
    EXPECT_EQ(table.recordCount(), 6u);
    ASSERT_TRUE(table.go(6).ok());
    EXPECT_EQ(field("MEMO"), "a longer memo text");
    EXPECT_TRUE(faults().empty());
}
