// Compact single-tag index files, as used for temporary orders.
#include "CdxFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

using namespace xbase;

namespace {

using Entries = std::vector<std::pair<std::string, uint32_t>>;

Entries scanAll(IndexTag &tag)
{
    Entries out;
    EXPECT_TRUE(tag.scan({}, {}, false, true,
                         [&](std::string_view key, uint32_t recno) {
                             out.emplace_back(std::string(key), recno);
                             return true;
                         })
                    .ok());
    return out;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TagSpec lnameSpec()
{
    TagSpec spec;
    spec.keyExpr = "UPPER(LNAME)";
    spec.forExpr = "!DELETED()";
    spec.keyLength = 25;
    return spec;
}

TEST(IdxFile, KeysAddedOneByOneReadBackInOrderAfterReopening)
{
    TempDir dir;
    const std::string path = dir.file("_chkdup.idx");
    std::multiset<std::pair<std::string, uint32_t>> model;
    std::mt19937 rng(5);
    {
        std::unique_ptr<IdxFile> idx;
        ASSERT_TRUE(IdxFile::create(path, lnameSpec(), idx).ok());
        EXPECT_TRUE(scanAll(*idx->tag()).empty());
        // Added in record order, as a scan of the table adds them.
        for (uint32_t r = 1; r <= 3000; ++r) {
            std::string key = std::to_string(rng() % 700);
            key.resize(25, ' ');
            ASSERT_TRUE(idx->tag()->insert(key, r).ok());
            model.emplace(key, r);
        }
        ASSERT_TRUE(idx->flush().ok());
    }
    std::unique_ptr<IdxFile> idx;
    ASSERT_TRUE(IdxFile::open(path, true, idx).ok());
    const TagSpec &spec = idx->tag()->spec();
    EXPECT_EQ(spec.keyExpr, "UPPER(LNAME)");
    EXPECT_EQ(spec.forExpr, "!DELETED()");
    EXPECT_EQ(spec.keyLength, 25);
    EXPECT_TRUE(spec.name.empty());
    EXPECT_EQ(scanAll(*idx->tag()), Entries(model.begin(), model.end()));
    std::vector<std::string> faults;
    ASSERT_TRUE(idx->tag()->check(faults).ok());
    EXPECT_TRUE(faults.empty());
    // Duplicates of one key are found first to last by a seek and a walk.
    IndexEntry e;
    bool found = false;
    ASSERT_TRUE(idx->tag()->lowerBound("42 ", e, found).ok());
    ASSERT_TRUE(found);
    EXPECT_EQ(e.recno, model.lower_bound({std::string("42").append(23, ' '), 0})->second);
}

struct IdxDamage {
    const char *name;
    size_t at;
    std::string bytes;
    size_t truncateTo;
};

class IdxDamaged : public ::testing::TestWithParam<IdxDamage>
{
};

TEST_P(IdxDamaged, GivesCorruption)
{
    TempDir dir;
    const std::string path = dir.file("T.IDX");
    {
        std::unique_ptr<IdxFile> idx;
        ASSERT_TRUE(IdxFile::create(path, lnameSpec(), idx).ok());
        for (uint32_t r = 1; r <= 500; ++r)
            ASSERT_TRUE(idx->tag()->insert(std::string(25, static_cast<char>('A' + r % 26)), r).ok());
    }
    std::string bytes = readFile(path);
    const IdxDamage d = GetParam();
    bytes.replace(d.at, d.bytes.size(), d.bytes);
    if (d.truncateTo)
        bytes.resize(d.truncateTo);
    std::unique_ptr<IdxFile> idx;
    Status s = IdxFile::openFromMemory(bytes, true, idx);
    if (s.ok())
        s = idx->tag()->scan({}, {}, false, true, [](std::string_view, uint32_t) { return true; });
    EXPECT_EQ(s.code(), StatusCode::Corruption) << s.message();
}

INSTANTIATE_TEST_SUITE_P(Cases, IdxDamaged,
                         ::testing::Values(IdxDamage{"NotCompact", 14, std::string(1, '\0'), 0},
                                           IdxDamage{"Truncated", 0, "", 1100},
                                           IdxDamage{"RootPastEnd", 0, std::string("\x00\x00\x10\x00", 4), 0},
                                           IdxDamage{"RootIsHeader", 0, std::string(4, '\0'), 0},
                                           IdxDamage{"KeyLengthHuge", 12, std::string("\xFF\x00", 2), 0}),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
