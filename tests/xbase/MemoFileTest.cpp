#include "MemoFile.h"

#include "TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace xbase;

namespace {

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

std::string be32(uint32_t v)
{
    std::string s(4, '\0');
    for (int i = 0; i < 4; ++i)
        s[static_cast<size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
    return s;
}

// A memo file header: next free block, block size, padded to `headerBytes`.
std::string header(uint32_t nextFree, uint16_t blockSize, size_t headerBytes)
{
    std::string h = be32(nextFree) + std::string(2, '\0');
    h += static_cast<char>(blockSize >> 8);
    h += static_cast<char>(blockSize & 0xFF);
    h.resize(headerBytes, '\0');
    return h;
}

std::string block(const std::string &text, uint16_t blockSize, char filler = '\0')
{
    std::string b = be32(1) + be32(static_cast<uint32_t>(text.size())) + text;
    b.resize((b.size() + blockSize - 1) / blockSize * blockSize, filler);
    return b;
}

} // namespace

TEST(MemoFile, NewFileHasTheStandardHeader)
{
    TempDir dir;
    std::unique_ptr<MemoFile> memo;
    ASSERT_TRUE(MemoFile::create(dir.file("a.fpt"), 64, memo).ok());
    EXPECT_EQ(memo->nextFreeBlock(), 8u);
    EXPECT_EQ(readAll(dir.file("a.fpt")), header(8, 64, 512));
}

TEST(MemoFile, TextsRoundTripAndUseWholeBlocks)
{
    TempDir dir;
    std::unique_ptr<MemoFile> memo;
    ASSERT_TRUE(MemoFile::create(dir.file("a.fpt"), 64, memo).ok());
    // 56 bytes fill one block with its 8-byte header; 57 spill into a second one.
    const std::string texts[] = {"x", std::string(56, 'a'), std::string(57, 'b'), std::string(3120, 'c'),
                                 std::string("caf\xE9\r\n\x80")};
    const uint32_t blocks[] = {1, 1, 2, 49, 1};
    std::vector<uint32_t> at;
    uint32_t expectNext = 8;
    for (size_t i = 0; i < 5; ++i) {
        uint32_t b = 0;
        ASSERT_TRUE(memo->write(0, texts[i], b).ok());
        EXPECT_EQ(b, expectNext);
        expectNext += blocks[i];
        EXPECT_EQ(memo->nextFreeBlock(), expectNext);
        at.push_back(b);
    }
    std::unique_ptr<MemoFile> again;
    ASSERT_TRUE(MemoFile::open(dir.file("a.fpt"), true, again).ok());
    EXPECT_EQ(again->nextFreeBlock(), expectNext);
    for (size_t i = 0; i < 5; ++i) {
        std::string out;
        ASSERT_TRUE(again->read(at[i], out).ok());
        EXPECT_EQ(out, texts[i]);
    }
    std::string none = "stale";
    ASSERT_TRUE(again->read(0, none).ok());
    EXPECT_EQ(none, "");
}

TEST(MemoFile, RewritesInPlaceWhenTheOldBlocksSufficeAndAppendsOtherwise)
{
    TempDir dir;
    std::unique_ptr<MemoFile> memo;
    ASSERT_TRUE(MemoFile::create(dir.file("a.fpt"), 64, memo).ok());
    uint32_t first = 0, second = 0, b = 0;
    ASSERT_TRUE(memo->write(0, std::string(100, 'a'), first).ok()); // blocks 8, 9
    ASSERT_TRUE(memo->write(0, "other", second).ok());              // block 10
    ASSERT_TRUE(memo->write(first, std::string(120, 'b'), b).ok()); // still two blocks
    EXPECT_EQ(b, first);
    EXPECT_EQ(memo->nextFreeBlock(), 11u);
    ASSERT_TRUE(memo->write(first, std::string(121, 'c'), b).ok()); // needs three
    EXPECT_EQ(b, 11u);
    EXPECT_EQ(memo->nextFreeBlock(), 14u);
    ASSERT_TRUE(memo->write(b, "", b).ok());
    EXPECT_EQ(b, 0u);
    std::string out;
    ASSERT_TRUE(memo->read(second, out).ok());
    EXPECT_EQ(out, "other");
}

struct VariantCase {
    const char *what;
    uint16_t blockSize;
    size_t headerBytes;
    char filler;
};
class MemoVariants : public ::testing::TestWithParam<VariantCase>
{
};
TEST_P(MemoVariants, ReadsFilesOtherProgramsWrite)
{
    const VariantCase c = GetParam();
    TempDir dir;
    const uint32_t firstBlock = static_cast<uint32_t>((c.headerBytes + c.blockSize - 1) / c.blockSize);
    const std::string a = block("first memo", c.blockSize, c.filler);
    const std::string b = block(std::string(700, 'z'), c.blockSize, c.filler);
    const uint32_t nextFree = firstBlock + static_cast<uint32_t>((a.size() + b.size()) / c.blockSize);
    std::string file = header(nextFree, c.blockSize, firstBlock * c.blockSize) + a + b;
    writeAll(dir.file("v.fpt"), file);
    std::unique_ptr<MemoFile> memo;
    ASSERT_TRUE(MemoFile::open(dir.file("v.fpt"), true, memo).ok()) << c.what;
    std::string out;
    ASSERT_TRUE(memo->read(firstBlock, out).ok()) << c.what;
    EXPECT_EQ(out, "first memo");
    ASSERT_TRUE(memo->read(firstBlock + static_cast<uint32_t>(a.size() / c.blockSize), out).ok()) << c.what;
    EXPECT_EQ(out, std::string(700, 'z'));
}
INSTANTIATE_TEST_SUITE_P(Cases, MemoVariants,
                         ::testing::Values(VariantCase{"64-byte blocks", 64, 512, '\0'},
                                           VariantCase{"512-byte blocks", 512, 512, '\0'},
                                           VariantCase{"blank filler", 64, 512, ' '},
                                           VariantCase{"1024-byte header", 64, 1024, '\0'},
                                           VariantCase{"one-byte blocks", 1, 512, '\0'},
                                           VariantCase{"odd block size", 100, 512, '\x1A'}));

TEST(MemoFile, DamagedFilesAnswerCorruption)
{
    TempDir dir;
    const std::string good = header(10, 64, 512) + block("abc", 64) + block("def", 64);
    struct Damage {
        const char *what;
        std::string bytes;
        uint32_t block;
    };
    const Damage cases[] = {
        {"pointer into the header", good, 3},
        {"pointer past the end", good, 11},
        {"pointer far past the end", good, 0xFFFFFFFF},
        {"length past the end", header(10, 64, 512) + be32(1) + be32(5000) + std::string(56, 'x'), 8},
        {"block header cut short", header(10, 64, 512) + be32(1) + "ab", 8},
    };
    for (const Damage &d : cases) {
        writeAll(dir.file("d.fpt"), d.bytes);
        std::unique_ptr<MemoFile> memo;
        ASSERT_TRUE(MemoFile::open(dir.file("d.fpt"), false, memo).ok()) << d.what;
        std::string out;
        const Status s = memo->read(d.block, out);
        EXPECT_EQ(s.code(), StatusCode::Corruption) << d.what;
        EXPECT_FALSE(s.message().empty());
        EXPECT_EQ(readAll(dir.file("d.fpt")), d.bytes) << d.what; // never written
    }
    const std::pair<const char *, std::string> badHeaders[] = {
        {"empty file", ""},
        {"block size 0", header(8, 0, 512)},
        {"next free inside the header", header(2, 64, 512)},
    };
    for (const auto &h : badHeaders) {
        writeAll(dir.file("h.fpt"), h.second);
        std::unique_ptr<MemoFile> memo;
        EXPECT_EQ(MemoFile::open(dir.file("h.fpt"), false, memo).code(), StatusCode::Corruption) << h.first;
        EXPECT_EQ(readAll(dir.file("h.fpt")), h.second) << h.first;
    }
}
