// Tables this engine writes, read back by two independent DBF readers run as child
// processes: python3-dbf and Perl XBase (which also walks every tag of the compound index).
#include "Table.h"

#include "TempDir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

using namespace xbase;

namespace {

const std::string kScripts = std::string(CORVANTIS_SOURCE_DIR) + "/tests/xbase/interop/";

// Runs `command` through the shell; returns its exit status and standard output.
int runCommand(const std::string &command, std::string &out)
{
    out.clear();
    FILE *p = ::popen(command.c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        out.append(buf, n);
    const int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool available(const std::string &check)
{
    std::string ignored;
    return runCommand(check + " >/dev/null 2>&1", ignored) == 0;
}

std::string hex(const std::string &bytes)
{
    if (bytes.empty())
        return "-";
    static const char *digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

const std::vector<TagDefinition> kTags = {{"LNAME", "UPPER(LNAME)+UPPER(FNAME)", ""},
                                          {"CITY", "UPPER(CITY)", ""},
                                          {"ISDEL", "ISDEL", ""},
                                          {"NOTISDEL", "!ISDEL", ""},
                                          {"DELETED", "DELETED()", ""}};

class Interop : public ::testing::Test
{
protected:
    // A table with every writable field type, accented text, memos of many lengths (some
    // rewritten), marked records and equal keys, built with its tags open.
    void SetUp() override
    {
        path = dir.file("INTEROP.DBF");
        ASSERT_TRUE(Table::create(path, {{"LNAME", 'C', 20, 0, 0},
                                         {"FNAME", 'C', 15, 0, 0},
                                         {"CITY", 'C', 20, 0, 0},
                                         {"AGE", 'N', 5, 0, 0},
                                         {"BALANCE", 'N', 9, 2, 0},
                                         {"ISDEL", 'L', 1, 0, 0},
                                         {"BORN", 'D', 8, 0, 0},
                                         {"MEMO", 'M', 10, 0, 0}})
                        .ok());
        Table t;
        ASSERT_TRUE(t.open(path, OpenMode::Exclusive).ok());
        ASSERT_TRUE(t.addTags(kTags).ok());
        const char *last[] = {"Smith",
                              "M\xFC"
                              "ller",
                              "smith",
                              "\xC9mond",
                              "Brown",
                              "Zywiec",
                              "Smith"};
        const char *first[] = {"John", "Ren\xE9", "Jane", "", "Ann", "Bob", "John"};
        const char *city[] = {"Montr\xE9"
                              "al",
                              "Portland",
                              "Salem",
                              "Qu\xE9"
                              "bec",
                              "",
                              "Austin",
                              "Portland"};
        const size_t memoLengths[] = {0, 56, 57, 3, 200, 3000, 1};
        for (int i = 0; i < 40; ++i) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.setFieldValue("LNAME", last[i % 7]).ok());
            ASSERT_TRUE(t.setFieldValue("FNAME", first[i % 7]).ok());
            ASSERT_TRUE(t.setFieldValue("CITY", city[(i / 2) % 7]).ok());
            if (i % 3) {
                ASSERT_TRUE(t.setFieldValue("AGE", std::to_string(20 + i)).ok());
            }
            ASSERT_TRUE(t.setFieldValue("BALANCE", std::to_string(i * 7) + ".25").ok());
            ASSERT_TRUE(t.setLogical("ISDEL", i % 9 == 4).ok());
            if (i % 4) {
                ASSERT_TRUE(t.setFieldValue("BORN", "19" + std::to_string(50 + i) + "0428").ok());
            }
            std::string memo;
            for (size_t k = 0; k < memoLengths[i % 7]; ++k)
                memo += k % 60 == 59 ? '\n' : static_cast<char>(k % 50 == 0 ? '\x80' : 'a' + k % 26);
            ASSERT_TRUE(t.setFieldValue("MEMO", memo).ok());
            ASSERT_TRUE(t.post().ok());
        }
        for (uint32_t r : {5u, 12u, 33u}) {
            ASSERT_TRUE(t.go(r).ok());
            ASSERT_TRUE(t.deleteRecord().ok());
        }
        for (uint32_t r : {2u, 6u, 7u}) {
            ASSERT_TRUE(t.go(r).ok());
            ASSERT_TRUE(t.setFieldValue("MEMO", "rewritten memo " + std::to_string(r)).ok());
            ASSERT_TRUE(t.setFieldValue("LNAME", "Changed").ok());
            ASSERT_TRUE(t.post().ok());
        }
        ASSERT_TRUE(t.close().ok());
    }

    // The records as this engine reads them, in the readers' line format.
    std::vector<std::string> expectedLines()
    {
        std::vector<std::string> lines;
        Table t;
        EXPECT_TRUE(t.open(path, OpenMode::ReadOnly).ok());
        t.setDeletedHidden(false);
        for (uint32_t r = 1; r <= t.recordCount(); ++r) {
            EXPECT_TRUE(t.go(r).ok());
            std::string line = std::to_string(r) + (t.isDeleted() ? " D" : " -");
            for (int f = 0; f < t.schema().fieldCount(); ++f) {
                std::string v;
                EXPECT_TRUE(t.fieldValue(f, v).ok());
                line += " " + hex(v);
            }
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<uint32_t> tagOrder(const std::string &tag)
    {
        Table t;
        EXPECT_TRUE(t.open(path, OpenMode::ReadOnly).ok());
        EXPECT_TRUE(t.setOrder(tag).ok());
        std::vector<uint32_t> out;
        EXPECT_TRUE(t.goTop().ok());
        while (!t.eof()) {
            out.push_back(t.recno());
            if (!t.skip(1).ok()) {
                ADD_FAILURE() << "skip failed after record " << out.back();
                break;
            }
        }
        return out;
    }

    TempDir dir;
    std::string path;
};

std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

} // namespace

TEST_F(Interop, PythonDbfReadsEveryRecordAndMemo)
{
    if (!available("/usr/bin/python3 -c 'import dbf'"))
        GTEST_SKIP() << "python3-dbf is not installed for /usr/bin/python3";
    std::string out;
    ASSERT_EQ(runCommand("/usr/bin/python3 " + kScripts + "read_with_python_dbf.py " + path + " 2>&1", out),
              0)
        << out;
    const std::vector<std::string> got = splitLines(out);
    const std::vector<std::string> want = expectedLines();
    ASSERT_EQ(got.size(), want.size()) << out;
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "record " << i + 1;
}

TEST_F(Interop, PerlXBaseReadsEveryRecordAndWalksEveryTag)
{
    if (!available("perl -MXBase -MXBase::Index -e 1"))
        GTEST_SKIP() << "Perl XBase (libdbd-xbase-perl) is not installed";
    std::string command =
        "perl " + kScripts + "read_with_perl_xbase.pl " + path + " " + dir.file("INTEROP.CDX");
    for (const TagDefinition &t : kTags)
        command += " " + t.name;
    std::string out;
    ASSERT_EQ(runCommand(command + " 2>&1", out), 0) << out;
    std::vector<std::string> got = splitLines(out);
    const std::vector<std::string> want = expectedLines();
    ASSERT_EQ(got.size(), want.size() + kTags.size()) << out;
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i], want[i]) << "record " << i + 1;
    for (size_t k = 0; k < kTags.size(); ++k) {
        std::string line = "TAG " + kTags[k].name;
        for (uint32_t r : tagOrder(kTags[k].name))
            line += " " + std::to_string(r);
        EXPECT_EQ(got[want.size() + k], line);
    }
}
