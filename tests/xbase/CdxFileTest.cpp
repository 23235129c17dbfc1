// Compound index files: the fixtures another engine wrote, files we build and change, and
// damaged files.
#include "CdxFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>

using namespace xbase;

namespace {

// --- A small JSON reader: just enough for the fixtures' expected results. ---------------
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json &operator[](const std::string &name) const
    {
        static const Json none;
        for (const auto &m : members)
            if (m.first == name)
                return m.second;
        return none;
    }
};

class JsonReader
{
public:
    explicit JsonReader(const std::string &text) : m_s(text) {}
    Json parse()
    {
        skip();
        Json v;
        const char c = m_s[m_p];
        if (c == '{') {
            v.kind = Json::Object;
            ++m_p;
            skip();
            if (m_s[m_p] == '}') {
                ++m_p;
                return v;
            }
            for (;;) {
                skip();
                std::string name = parse().text;
                skip();
                ++m_p; // ':'
                v.members.emplace_back(name, parse());
                skip();
                if (m_s[m_p++] == '}')
                    return v;
            }
        }
        if (c == '[') {
            v.kind = Json::Array;
            ++m_p;
            skip();
            if (m_s[m_p] == ']') {
                ++m_p;
                return v;
            }
            for (;;) {
                v.items.push_back(parse());
                skip();
                if (m_s[m_p++] == ']')
                    return v;
            }
        }
        if (c == '"') {
            v.kind = Json::String;
            ++m_p;
            while (m_s[m_p] != '"') {
                char ch = m_s[m_p++];
                if (ch == '\\') {
                    ch = m_s[m_p++];
                    if (ch == 'n')
                        ch = '\n';
                    else if (ch == 't')
                        ch = '\t';
                    else if (ch == 'u') {
                        const unsigned code =
                            static_cast<unsigned>(std::stoul(m_s.substr(m_p, 4), nullptr, 16));
                        m_p += 4;
                        appendUtf8(v.text, code);
                        continue;
                    }
                }
                v.text += ch;
            }
            ++m_p;
            return v;
        }
        if (m_s.compare(m_p, 4, "true") == 0 || m_s.compare(m_p, 5, "false") == 0) {
            v.kind = Json::Bool;
            v.boolean = c == 't';
            m_p += v.boolean ? 4 : 5;
            return v;
        }
        if (m_s.compare(m_p, 4, "null") == 0) {
            m_p += 4;
            return v;
        }
        v.kind = Json::Number;
        size_t used = 0;
        v.number = std::stod(m_s.substr(m_p, 40), &used);
        m_p += used;
        return v;
    }

private:
    void skip()
    {
        while (m_p < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[m_p])))
            ++m_p;
    }
    static void appendUtf8(std::string &out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    const std::string &m_s;
    size_t m_p = 0;
};

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

[[maybe_unused]] void writeFile(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string fixture(const std::string &name)
{
    return std::string(CORVANTIS_SHARED_DIR) + "/fixtures/xbase/" + name;
}

using Entries = std::vector<std::pair<std::string, uint32_t>>;

Entries scanAll(IndexTag &tag)
{
    Entries out;
    const Status s = tag.scan({}, {}, false, true, [&](std::string_view key, uint32_t recno) {
        out.emplace_back(std::string(key), recno);
        return true;
    });
    EXPECT_TRUE(s.ok()) << s.message();
    return out;
}

std::vector<uint32_t> recnosOf(const Entries &entries)
{
    std::vector<uint32_t> out;
    for (const auto &e : entries)
        out.push_back(e.second);
    return out;
}

[[maybe_unused]] std::string pad(std::string s, size_t n, char c = ' ')
{
    s.resize(n, c);
    return s;
}

// --- Fixtures another engine wrote. ------------------------------------------------------

class FixtureIndex : public ::testing::TestWithParam<std::string>
{
};

TEST_P(FixtureIndex, EveryTagReadsInTheRecordedOrder)
{
    const Json expected = JsonReader(readFile(fixture(GetParam() + ".expected.json"))).parse();
    std::unique_ptr<CdxFile> cdx;
    const Status s = CdxFile::open(fixture(GetParam() + ".CDX"), true, cdx);
    ASSERT_TRUE(s.ok()) << s.message();
    EXPECT_FALSE(cdx->wasInterrupted());
    const Json &tags = expected["tags"];
    ASSERT_EQ(cdx->tagCount(), static_cast<int>(tags.items.size()));
    for (size_t i = 0; i < tags.items.size(); ++i) {
        const Json &t = tags.items[i];
        IndexTag *tag = cdx->tag(static_cast<int>(i));
        ASSERT_NE(tag, nullptr);
        SCOPED_TRACE(t["name"].text);
        EXPECT_EQ(tag->spec().name, t["name"].text);
        EXPECT_EQ(cdx->tag(t["name"].text), tag);
        EXPECT_EQ(tag->spec().keyExpr, t["key"].text);
        EXPECT_EQ(tag->spec().keyLength, static_cast<int>(t["key_len"].number));
        EXPECT_EQ(std::string(1, tag->spec().keyType), t["key_type"].text);
        EXPECT_TRUE(tag->spec().forExpr.empty());

        std::vector<uint32_t> want;
        for (const Json &r : t["deleted_off"].items)
            want.push_back(static_cast<uint32_t>(r.number));
        const Entries entries = scanAll(*tag);
        EXPECT_EQ(recnosOf(entries), want);
        uint64_t n = 0;
        ASSERT_TRUE(tag->count(n).ok());
        EXPECT_EQ(n, want.size());
        std::vector<std::string> faults;
        ASSERT_TRUE(tag->check(faults).ok());
        EXPECT_TRUE(faults.empty()) << faults.front();

        // Stepping forward and backward one entry at a time visits the same order.
        Entries forward;
        IndexEntry e;
        bool found = false;
        ASSERT_TRUE(tag->first(e, found).ok());
        while (found) {
            forward.emplace_back(e.key, e.recno);
            IndexEntry from = e;
            ASSERT_TRUE(tag->next(from, e, found).ok());
        }
        EXPECT_EQ(forward, entries);
        Entries backward;
        ASSERT_TRUE(tag->last(e, found).ok());
        while (found) {
            backward.emplace_back(e.key, e.recno);
            IndexEntry from = e;
            ASSERT_TRUE(tag->prev(from, e, found).ok());
        }
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, entries);

        // A seek on each distinct key lands on its first entry.
        for (size_t k = 0; k < entries.size(); ++k) {
            if (k > 0 && entries[k].first == entries[k - 1].first)
                continue;
            ASSERT_TRUE(tag->lowerBound(entries[k].first, e, found).ok());
            ASSERT_TRUE(found);
            EXPECT_EQ(e.recno, entries[k].second);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, FixtureIndex, ::testing::Values("ADD0001", "EMPTY", "LNAME25", "NOFAX"));

TEST(FixtureIndexKeys, KeysComeBackPaddedAndSeeksComparePrefixes)
{
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(fixture("ADD0001.CDX"), true, cdx).ok());
    IndexTag *lname = cdx->tag("lname");
    ASSERT_NE(lname, nullptr);
    IndexEntry e;
    bool found = false;
    // Records 1 and 2 are both "Smith, John": equal keys in record order.
    ASSERT_TRUE(lname->lowerBound("SMITH", e, found).ok());
    ASSERT_TRUE(found);
    EXPECT_EQ(e.key.size(), 60u);
    EXPECT_EQ(e.key.compare(0, 5, "SMITH"), 0);
    std::vector<uint32_t> smiths;
    ASSERT_TRUE(lname
                    ->scan("SMITH", "SMITH", true, false,
                           [&](std::string_view key, uint32_t recno) {
                               EXPECT_EQ(key.substr(0, 5), "SMITH");
                               smiths.push_back(recno);
                               return true;
                           })
                    .ok());
    ASSERT_GE(smiths.size(), 2u);
    EXPECT_TRUE(std::is_sorted(smiths.begin(), smiths.end()) || smiths.size() > 2);
    // An exclusive upper bound stops before the bound's prefix.
    size_t below = 0;
    ASSERT_TRUE(lname
                    ->scan("", "SMITH", false, false,
                           [&](std::string_view key, uint32_t) {
                               EXPECT_LT(key.substr(0, 5), "SMITH");
                               ++below;
                               return true;
                           })
                    .ok());
    EXPECT_GT(below, 0u);
    // Past the last key there is nothing.
    ASSERT_TRUE(lname->lowerBound("\xFF", e, found).ok());
    EXPECT_FALSE(found);
}

} // namespace
