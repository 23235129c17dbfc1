// Tables other programs write: dBase III and Clipper tables with .DBT memo files, FoxPro tables
// and plain dBase tables, made by python3-dbf (tests/xbase/foreign/make_foreign_tables.py).
// Every value must read as that library reads it, by the engine's fixed text rules.
#include "MemoryEnv.h"
#include "Table.h"

#include "TempDir.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

using namespace xbase;

namespace {

const std::string kDir = std::string(CORVANTIS_SOURCE_DIR) + "/tests/xbase/foreign/";

struct ExpectedField {
    std::string name;
    char kind = 'C';
    std::string value; // C and M: hex of the bytes; N: the number; D, L: the text
};

struct ExpectedTable {
    std::string name;
    unsigned version = 0;
    unsigned codePage = 0;
    size_t records = 0;
    std::vector<std::pair<bool, std::vector<ExpectedField>>> rows;
};

std::map<std::string, ExpectedTable> loadExpected()
{
    std::map<std::string, ExpectedTable> out;
    std::ifstream in(kDir + "TABLES.expected");
    std::string line;
    ExpectedTable *current = nullptr;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "TABLE") {
            std::string name, version, codePage, records;
            words >> name >> version >> codePage >> records;
            ExpectedTable &t = out[name];
            t.name = name;
            t.version = static_cast<unsigned>(std::strtoul(version.substr(8).c_str(), nullptr, 16));
            t.codePage = static_cast<unsigned>(std::strtoul(codePage.substr(9).c_str(), nullptr, 10));
            t.records = std::strtoul(records.substr(8).c_str(), nullptr, 10);
            current = &t;
            continue;
        }
        if (!current)
            continue;
        std::vector<ExpectedField> fields;
        std::string word;
        while (words >> word) {
            const size_t eq = word.find('=');
            ExpectedField f;
            f.name = word.substr(0, eq);
            f.kind = word[eq + 1];
            f.value = word.substr(eq + 3);
            fields.push_back(f);
        }
        current->rows.emplace_back(first == "*", fields);
    }
    return out;
}

std::string hex(const std::string &bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

struct ForeignCase {
    const char *name;
    int codePage;
    bool dbt;
};

class ForeignTables : public ::testing::TestWithParam<ForeignCase>
{
};

} // namespace

TEST_P(ForeignTables, ReadAsTheIndependentLibraryReadsThem)
{
    const ForeignCase c = GetParam();
    static const std::map<std::string, ExpectedTable> expected = loadExpected();
    ASSERT_EQ(expected.count(c.name), 1u);
    const ExpectedTable &e = expected.at(c.name);
    Table t;
    const Status opened = t.open(kDir + c.name + ".DBF", OpenMode::ReadOnly);
    ASSERT_TRUE(opened.ok()) << opened.message();
    const TableInfo info = t.info();
    EXPECT_EQ(info.version, e.version);
    EXPECT_EQ(info.codePageMark, e.codePage);
    EXPECT_EQ(info.codePage, c.codePage);
    EXPECT_EQ(info.memoIsDbt, c.dbt);
    EXPECT_EQ(info.records, e.records);
    ASSERT_EQ(t.recordCount(), e.rows.size());
    t.setDeletedHidden(false);
    for (uint32_t r = 1; r <= t.recordCount(); ++r) {
        SCOPED_TRACE("record " + std::to_string(r));
        ASSERT_TRUE(t.go(r).ok());
        const auto &row = e.rows[r - 1];
        EXPECT_EQ(t.isDeleted(), row.first);
        ASSERT_EQ(static_cast<size_t>(t.schema().fieldCount()), row.second.size());
        for (const ExpectedField &f : row.second) {
            std::string value;
            const Status s = t.fieldValue(f.name, value);
            ASSERT_TRUE(s.ok()) << f.name << ": " << s.message();
            switch (f.kind) {
            case 'C':
            case 'M':
                EXPECT_EQ(hex(value), f.value) << f.name;
                break;
            case 'N':
                // Numbers read as the stored digits without the blanks around them.
                if (f.value.empty())
                    EXPECT_EQ(value, "") << f.name;
                else
                    EXPECT_DOUBLE_EQ(std::strtod(value.c_str(), nullptr),
                                     std::strtod(f.value.c_str(), nullptr))
                        << f.name << " reads " << value;
                EXPECT_EQ(value.find(' '), std::string::npos) << f.name;
                break;
            default:
                EXPECT_EQ(value, f.value) << f.name;
            }
        }
    }
    std::vector<std::string> faults;
    ASSERT_TRUE(t.check(faults).ok());
    EXPECT_TRUE(faults.empty()) << faults.front();
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ForeignTables,
    ::testing::Values(ForeignCase{"DB3MEMO", 1252, true}, ForeignCase{"CLIPPER", 437, true},
                      ForeignCase{"FOXPRO", 1252, false}, ForeignCase{"DB3PLAIN", 850, false}),
    [](const ::testing::TestParamInfo<ForeignCase> &p) { return std::string(p.param.name); });

TEST(ForeignTable, ADbaseMemoTableOpensForReadingOnlyAndCopiesIntoOurFormat)
{
    Table t;
    const Status refused = t.open(kDir + "DB3MEMO.DBF", OpenMode::Exclusive);
    EXPECT_EQ(refused.code(), StatusCode::InvalidArgument) << refused.message();
    EXPECT_FALSE(t.isOpen());
    ASSERT_TRUE(t.open(kDir + "DB3MEMO.DBF", OpenMode::ReadOnly).ok());
    TempDir dir;
    const std::string copy = dir.file("COPY.DBF");
    ASSERT_TRUE(t.copyTo(copy).ok()); // the visible records: marked ones stay behind
    Table ours;
    ASSERT_TRUE(ours.open(copy, OpenMode::Exclusive).ok());
    EXPECT_EQ(ours.info().version, 0xF5);
    EXPECT_FALSE(ours.info().memoIsDbt);
    EXPECT_EQ(ours.recordCount(), 4u);
    std::string memo;
    ASSERT_TRUE(ours.go(2).ok());
    ASSERT_TRUE(ours.fieldValue("NOTES", memo).ok());
    EXPECT_EQ(memo, std::string(700, 'x'));
    ASSERT_TRUE(ours.go(4).ok());
    ASSERT_TRUE(ours.fieldValue("NOTES", memo).ok());
    EXPECT_EQ(memo, std::string(511, 'y'));
    std::vector<std::string> faults;
    ASSERT_TRUE(ours.check(faults).ok());
    EXPECT_TRUE(faults.empty());
}

namespace {

void put16(std::string &s, size_t at, uint16_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}
void put32(std::string &s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// A dBase IV table (version 0x8B) with one memo field and its memo file: 1024-byte blocks,
// each memo starting with FF FF 08 00 and its length including those 8 bytes.
void writeDbase4(MemoryEnv &env, const std::vector<std::string> &memos)
{
    std::string dbf(32 + 32 + 1, '\0');
    dbf[0] = '\x8B';
    put16(dbf, 8, static_cast<uint16_t>(dbf.size()));
    put16(dbf, 10, 11);
    dbf.replace(32, 5, "NOTES");
    dbf[32 + 11] = 'M';
    dbf[32 + 16] = 10;
    dbf[64] = '\x0D';
    std::string dbt(1024, '\0');
    put16(dbt, 20, 1024);
    uint32_t block = 1;
    for (const std::string &m : memos) {
        std::string rec = " " + std::string(10, ' ');
        if (!m.empty()) {
            const std::string number = std::to_string(block);
            rec.replace(11 - number.size(), number.size(), number);
            std::string b = std::string("\xFF\xFF\x08\x00", 4) + std::string(4, '\0') + m;
            put32(b, 4, static_cast<uint32_t>(m.size() + 8));
            b.resize((b.size() + 1023) / 1024 * 1024, '\0');
            dbt += b;
            block += static_cast<uint32_t>(b.size() / 1024);
        }
        dbf += rec;
    }
    put32(dbt, 0, block);
    put32(dbf, 4, static_cast<uint32_t>(memos.size()));
    dbf += '\x1A';
    env.setFile("D4.DBF", dbf);
    env.setFile("D4.DBT", dbt);
}

} // namespace

TEST(ForeignTable, DbaseFourMemosReadByTheirStoredLength)
{
    MemoryEnv env;
    const std::vector<std::string> memos = {"short", "", std::string(1500, 'q') + "\x1A\x1A inside", "last"};
    writeDbase4(env, memos);
    Table t;
    const Status s = t.open(env, "D4.DBF", OpenMode::ReadOnly);
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_TRUE(t.info().memoIsDbt);
    EXPECT_EQ(t.info().memoBlockSize, 1024u);
    for (uint32_t r = 1; r <= memos.size(); ++r) {
        ASSERT_TRUE(t.go(r).ok());
        std::string memo;
        ASSERT_TRUE(t.fieldValue("NOTES", memo).ok());
        EXPECT_EQ(memo, memos[r - 1]) << "record " << r;
    }
    // A length that runs past the end of the file is damage, reported as such.
    std::string dbt;
    ASSERT_TRUE(env.fileBytes("D4.DBT", dbt));
    put32(dbt, 1024 + 4, 100000);
    env.setFile("D4.DBT", dbt);
    ASSERT_TRUE(t.open(env, "D4.DBF", OpenMode::ReadOnly).ok());
    ASSERT_TRUE(t.go(1).ok());
    std::string memo;
    EXPECT_EQ(t.fieldValue("NOTES", memo).code(), StatusCode::Corruption);
}
