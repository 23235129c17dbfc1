#include "DbfFile.h"

#include "TempDir.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace xbase;

namespace {

const std::string kFixtures = std::string(CORVANTIS_SHARED_DIR) + "/fixtures/xbase/";

std::string readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<FieldDescriptor> smallFields()
{
    return {{"NAME", 'C', 10, 0, 0},
            {"AMOUNT", 'N', 6, 2, 0},
            {"OK", 'L', 1, 0, 0},
            {"WHEN", 'D', 8, 0, 0},
            {"NOTES", 'M', 10, 0, 0}};
}

std::string record(const std::string &body, char mark = ' ')
{
    return std::string(1, mark) + body;
}

} // namespace

TEST(DbfFile, CreatesTheFoxProHeaderAndKeepsCountAndEndMarkTrue)
{
    TempDir dir;
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(DbfFile::create(dir.file("t.dbf"), smallFields(), dbf).ok());
    EXPECT_EQ(dbf->version(), 0xF5);
    EXPECT_EQ(dbf->headerLength(), 32 + 5 * 32 + 2);
    EXPECT_EQ(dbf->recordLength(), 36);
    const std::string rec = record("Smith      12.50T19970428         8");
    ASSERT_EQ(rec.size(), 36u);
    uint32_t recno = 0;
    ASSERT_TRUE(dbf->appendRecord(rec.data(), recno).ok());
    ASSERT_TRUE(dbf->appendRecord(rec.data(), recno).ok());
    EXPECT_EQ(recno, 2u);
    dbf.reset();

    const std::string bytes = readAll(dir.file("t.dbf"));
    ASSERT_EQ(bytes.size(), 194u + 2 * 36 + 1);
    EXPECT_EQ(bytes.back(), '\x1A');
    EXPECT_EQ(bytes[4], 2);
    EXPECT_EQ(bytes[28], 0);
    EXPECT_EQ(bytes[192], '\x0D');

    ASSERT_TRUE(DbfFile::open(dir.file("t.dbf"), false, dbf).ok());
    EXPECT_EQ(dbf->recordCount(), 2u);
    ASSERT_EQ(dbf->schema().fieldCount(), 5);
    EXPECT_EQ(dbf->schema().field(1).name, "AMOUNT");
    EXPECT_EQ(dbf->schema().field(1).decimals, 2);
    std::string back(36, '\0');
    ASSERT_TRUE(dbf->readRecord(2, &back[0]).ok());
    EXPECT_EQ(back, rec);
    EXPECT_EQ(dbf->readRecord(3, &back[0]).code(), StatusCode::NotFound);
    ASSERT_TRUE(dbf->truncateTo(1).ok());
    ASSERT_TRUE(dbf->setProductionIndex(true).ok());
    dbf.reset();
    const std::string cut = readAll(dir.file("t.dbf"));
    EXPECT_EQ(cut.size(), 194u + 36 + 1);
    EXPECT_EQ(cut.back(), '\x1A');
    EXPECT_EQ(cut[4], 1);
    EXPECT_EQ(cut[28], 1);
}

// Records kept in memory for an exclusive opener must follow every write made through the
// file: overwrites, cuts and appends of the same record numbers.
TEST(DbfFile, KeptRecordsFollowEveryWrite)
{
    TempDir dir;
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(DbfFile::create(dir.file("t.dbf"), smallFields(), dbf).ok());
    dbf->setRecordCache(true);
    auto rec = [](char c) { return record(std::string(10, c) + " 12.50T19970428         8"); };
    std::string all;
    for (char c : {'a', 'b', 'c'})
        all += rec(c);
    ASSERT_TRUE(dbf->appendRecords(all.data(), 3).ok());
    std::string back(36, '\0');
    auto readBack = [&](uint32_t recno) {
        EXPECT_TRUE(dbf->readRecord(recno, &back[0]).ok());
        return back;
    };
    EXPECT_EQ(readBack(2), rec('b'));
    EXPECT_EQ(readBack(3), rec('c'));
    ASSERT_TRUE(dbf->writeRecord(2, rec('x').data()).ok());
    EXPECT_EQ(readBack(2), rec('x'));
    const std::string two = rec('y') + rec('z');
    ASSERT_TRUE(dbf->writeRecords(2, 2, two.data()).ok());
    EXPECT_EQ(readBack(2), rec('y'));
    EXPECT_EQ(readBack(3), rec('z'));
    ASSERT_TRUE(dbf->truncateTo(2).ok());
    EXPECT_EQ(dbf->readRecord(3, &back[0]).code(), StatusCode::NotFound);
    uint32_t recno = 0;
    ASSERT_TRUE(dbf->appendRecord(rec('n').data(), recno).ok());
    EXPECT_EQ(readBack(3), rec('n'));
    // Another handle's view agrees with the file.
    std::unique_ptr<DbfFile> other;
    ASSERT_TRUE(DbfFile::open(dir.file("t.dbf"), true, other).ok());
    ASSERT_TRUE(other->readRecord(3, &back[0]).ok());
    EXPECT_EQ(back, rec('n'));
}

TEST(DbfFile, RewritingAnotherEnginesTableGivesTheSameBytes)
{
    std::unique_ptr<DbfFile> src;
    ASSERT_TRUE(DbfFile::open(kFixtures + "NOCDX.DBF", true, src).ok());
    TempDir dir;
    std::unique_ptr<DbfFile> copy;
    ASSERT_TRUE(DbfFile::create(dir.file("COPY.DBF"), src->schema().fields(), copy).ok());
    std::string all(static_cast<size_t>(src->recordCount()) * src->recordLength(), '\0');
    ASSERT_TRUE(src->readRecords(1, src->recordCount(), &all[0]).ok());
    ASSERT_TRUE(copy->appendRecords(all.data(), src->recordCount()).ok());
    copy.reset();
    std::string a = readAll(kFixtures + "NOCDX.DBF");
    std::string b = readAll(dir.file("COPY.DBF"));
    ASSERT_EQ(a.size(), b.size());
    // Bytes 1-3 are the last-update date; bytes 12-15 of each descriptor hold the field's
    // offset, which some writers leave 0.
    for (size_t i = 1; i <= 3; ++i)
        a[i] = b[i] = 0;
    for (size_t d = 32; d + 32 <= src->headerLength() && a[d] != '\x0D'; d += 32)
        for (size_t i = 12; i < 16; ++i)
            a[d + i] = b[d + i] = 0;
    EXPECT_TRUE(a == b);
}

TEST(DbfFile, ReadsTheHeaderAnotherEngineWrote)
{
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(DbfFile::open(kFixtures + "ADD0001.DBF", true, dbf).ok());
    EXPECT_EQ(dbf->version(), 0xF5);
    EXPECT_EQ(dbf->recordCount(), 300u);
    EXPECT_EQ(dbf->headerLength(), 770);
    EXPECT_EQ(dbf->recordLength(), 588);
    EXPECT_TRUE(dbf->hasProductionIndex());
    EXPECT_EQ(dbf->codePage(), 0);
    EXPECT_EQ(dbf->lastUpdate()[0], 126);
    EXPECT_EQ(dbf->schema().fieldCount(), 23);
    EXPECT_EQ(dbf->schema().field(22).type, 'M');
}

TEST(DbfFile, HeaderLengthComesFromTheFileWhateverFollowsTheFields)
{
    // A table with the 263-byte area some engines add after the field list, and a
    // plain table with version 0x03; both must give the same records.
    TempDir dir;
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(DbfFile::create(dir.file("p.dbf"), {{"A", 'C', 3, 0, 0}, {"B", 'N', 4, 0, 0}}, dbf).ok());
    EXPECT_EQ(dbf->version(), 0x03);
    uint32_t recno = 0;
    ASSERT_TRUE(dbf->appendRecord(" abc  42", recno).ok());
    dbf.reset();
    std::string bytes = readAll(dir.file("p.dbf"));
    const uint16_t oldLen = static_cast<uint16_t>(32 + 2 * 32 + 2);
    const uint16_t newLen = static_cast<uint16_t>(32 + 2 * 32 + 1 + 263);
    std::string widened = bytes.substr(0, 32 + 64 + 1) + std::string(263, '\0') + bytes.substr(oldLen);
    widened[0] = '\x30';
    widened[8] = static_cast<char>(newLen & 0xFF);
    widened[9] = static_cast<char>(newLen >> 8);
    writeAll(dir.file("w.dbf"), widened);
    ASSERT_TRUE(DbfFile::open(dir.file("w.dbf"), true, dbf).ok());
    EXPECT_EQ(dbf->headerLength(), newLen);
    std::string rec(8, '\0');
    ASSERT_TRUE(dbf->readRecord(1, &rec[0]).ok());
    EXPECT_EQ(rec, " abc  42");
}

TEST(DbfFile, AShortFileOpensWithTheRecordsItHoldsAndTheNextWriteFixesTheCount)
{
    TempDir dir;
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(DbfFile::create(dir.file("s.dbf"), {{"A", 'C', 3, 0, 0}}, dbf).ok());
    ASSERT_TRUE(dbf->appendRecords(" aaa bbb ccc", 3).ok());
    dbf.reset();
    std::string bytes = readAll(dir.file("s.dbf"));
    bytes.resize(bytes.size() - 3); // end mark and part of the third record lost
    bytes[4] = 5;                   // header claims even more
    writeAll(dir.file("s.dbf"), bytes);
    ASSERT_TRUE(DbfFile::open(dir.file("s.dbf"), false, dbf).ok());
    EXPECT_TRUE(dbf->isShort());
    EXPECT_EQ(dbf->recordCount(), 2u);
    EXPECT_EQ(dbf->claimedRecordCount(), 5u);
    uint32_t recno = 0;
    ASSERT_TRUE(dbf->appendRecord(" ddd", recno).ok());
    EXPECT_EQ(recno, 3u);
    dbf.reset();
    ASSERT_TRUE(DbfFile::open(dir.file("s.dbf"), true, dbf).ok());
    EXPECT_FALSE(dbf->isShort());
    std::string all(12, '\0');
    ASSERT_TRUE(dbf->readRecords(1, 3, &all[0]).ok());
    EXPECT_EQ(all, " aaa bbb ddd");
}

struct DamageCase {
    const char *what;
    size_t offset; // where to write `bytes`; npos = cut the file to `cut` bytes
    std::string bytes;
    size_t cut;
};

class DamagedDbf : public ::testing::TestWithParam<DamageCase>
{
};
TEST_P(DamagedDbf, AnswersCorruptionAndLeavesTheFileAlone)
{
    const DamageCase c = GetParam();
    TempDir dir;
    std::unique_ptr<DbfFile> dbf;
    ASSERT_TRUE(
        DbfFile::create(dir.file("d.dbf"), {{"NAME", 'C', 10, 0, 0}, {"OK", 'L', 1, 0, 0}}, dbf).ok());
    ASSERT_TRUE(dbf->appendRecords(" abcdefghijT", 1).ok());
    dbf.reset();
    std::string bytes = readAll(dir.file("d.dbf"));
    if (c.offset == std::string::npos)
        bytes.resize(c.cut);
    else
        bytes.replace(c.offset, c.bytes.size(), c.bytes);
    writeAll(dir.file("d.dbf"), bytes);
    const Status s = DbfFile::open(dir.file("d.dbf"), false, dbf);
    EXPECT_EQ(s.code(), StatusCode::Corruption) << c.what << ": " << s.message();
    EXPECT_EQ(dbf, nullptr);
    EXPECT_EQ(readAll(dir.file("d.dbf")), bytes);
}
const size_t kNpos = std::string::npos;
INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedDbf,
    ::testing::Values(DamageCase{"empty file", kNpos, "", 0}, DamageCase{"header cut short", kNpos, "", 20},
                      DamageCase{"not a table", 0, std::string("\x7F", 1), 0},
                      DamageCase{"header length too small", 8, std::string("\x20\x00", 2), 0},
                      DamageCase{"header length past the end", 8, std::string("\xFF\x7F", 2), 0},
                      DamageCase{"record length smaller than the fields", 10, std::string("\x05\x00", 2), 0},
                      DamageCase{"record length 0", 10, std::string("\x00\x00", 2), 0},
                      DamageCase{"field list without end mark", 96, std::string("\x41", 1), 0},
                      DamageCase{"field length 0", 32 + 16, std::string("\x00", 1), 0},
                      DamageCase{"field without a name", 32, std::string(11, '\0'), 0},
                      DamageCase{"name with control bytes", 32, std::string("\x01\x02", 2), 0},
                      DamageCase{"repeated field name", 64, std::string("NAME\0\0\0", 7), 0},
                      DamageCase{"unknown field type", 32 + 11, "Z", 0}));
