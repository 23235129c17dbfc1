// Compound index files: the fixtures another engine wrote, files we build and change, and
// damaged files.
#include "CdxFile.h"
#include "CompactNode.h"

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

void writeFile(const std::string &path, const std::string &bytes)
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

std::string pad(std::string s, size_t n, char c = ' ')
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

// --- Files we build. ----------------------------------------------------------------------

struct CountingProgress : ProgressHook {
    std::vector<int> seen;
    int stopAt = 1000;
    bool report(int percent) override
    {
        seen.push_back(percent);
        return percent < stopAt;
    }
};

using Model = std::multiset<std::pair<std::string, uint32_t>>;

Entries modelEntries(const Model &m)
{
    return Entries(m.begin(), m.end());
}

void expectSound(IndexTag &tag, const Model &model)
{
    std::vector<std::string> faults;
    ASSERT_TRUE(tag.check(faults).ok());
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults, first: " << faults.front();
    EXPECT_EQ(scanAll(tag), modelEntries(model));
    uint64_t n = 0;
    ASSERT_TRUE(tag.count(n).ok());
    EXPECT_EQ(n, model.size());
}

Status buildTag(CdxFile &cdx, const TagSpec &spec, const Model &model, ProgressHook *progress = nullptr)
{
    std::unique_ptr<TagBuilder> builder;
    XBASE_TRY(cdx.addTag(spec, builder));
    // Handed over in reverse so the build has to sort.
    for (auto it = model.rbegin(); it != model.rend(); ++it)
        builder->add(it->first, it->second);
    return builder->finish(progress);
}

TagSpec makeSpec(const std::string &name, uint16_t keyLength, char type = 'C')
{
    TagSpec spec;
    spec.name = name;
    spec.keyExpr = "UPPER(" + name + ")";
    spec.keyType = type;
    spec.keyLength = keyLength;
    return spec;
}

TEST(CdxBuild, BuiltTagsReadBackSortedAndSurviveReopening)
{
    TempDir dir;
    const std::string path = dir.file("T.CDX");
    std::mt19937 rng(7);
    Model names;
    Model zips;
    for (uint32_t r = 1; r <= 20000; ++r) {
        std::string name;
        const int len = 1 + static_cast<int>(rng() % 12);
        for (int i = 0; i < len; ++i)
            name += static_cast<char>('A' + rng() % 4); // few letters: long shared prefixes
        names.emplace(pad(name, 30), r);
        zips.emplace(pad(std::to_string(rng() % 500), 10), r);
    }
    {
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::create(path, cdx).ok());
        CountingProgress progress;
        ASSERT_TRUE(buildTag(*cdx, makeSpec("NAME", 30), names, &progress).ok());
        EXPECT_EQ(progress.seen.front(), 0);
        EXPECT_EQ(progress.seen.back(), 100);
        EXPECT_TRUE(std::is_sorted(progress.seen.begin(), progress.seen.end()));
        TagSpec zip = makeSpec("ZIP", 10);
        zip.forExpr = "!DELETED()";
        ASSERT_TRUE(buildTag(*cdx, zip, zips).ok());
        expectSound(*cdx->tag("NAME"), names);
        ASSERT_TRUE(cdx->flush().ok());
    }
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(path, false, cdx).ok());
    EXPECT_FALSE(cdx->wasInterrupted());
    ASSERT_EQ(cdx->tagCount(), 2);
    EXPECT_EQ(cdx->tag(0)->spec().name, "NAME");
    EXPECT_EQ(cdx->tag(1)->spec().name, "ZIP");
    EXPECT_EQ(cdx->tag(1)->spec().keyExpr, "UPPER(ZIP)");
    EXPECT_EQ(cdx->tag(1)->spec().forExpr, "!DELETED()");
    EXPECT_EQ(cdx->tag(1)->spec().keyLength, 10);
    expectSound(*cdx->tag(0), names);
    expectSound(*cdx->tag(1), zips);
    std::vector<std::string> faults;
    ASSERT_TRUE(cdx->check(faults).ok());
    EXPECT_TRUE(faults.empty());

    // Rebuilding a tag of the same name keeps its order number; removing one keeps the rest.
    Model fewer(names.begin(), std::next(names.begin(), 100));
    ASSERT_TRUE(buildTag(*cdx, makeSpec("name", 30), fewer).ok());
    ASSERT_EQ(cdx->tagCount(), 2);
    EXPECT_EQ(cdx->tag(0)->spec().name, "NAME");
    expectSound(*cdx->tag(0), fewer);
    ASSERT_TRUE(cdx->removeTag("zip").ok());
    EXPECT_EQ(cdx->removeTag("ZIP").code(), StatusCode::NotFound);
    ASSERT_TRUE(cdx->flush().ok());
    cdx.reset();
    ASSERT_TRUE(CdxFile::open(path, true, cdx).ok());
    ASSERT_EQ(cdx->tagCount(), 1);
    EXPECT_EQ(cdx->tag("ZIP"), nullptr);
    expectSound(*cdx->tag("NAME"), fewer);
}

TEST(CdxBuild, UniqueTagsKeepTheFirstRecordOfEachKey)
{
    TempDir dir;
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::create(dir.file("U.CDX"), cdx).ok());
    TagSpec spec = makeSpec("CITY", 4);
    spec.unique = true;
    Model input{{"ROME", 9}, {"OSLO", 4}, {"ROME", 2}, {"OSLO", 7}, {"BERN", 5}};
    ASSERT_TRUE(buildTag(*cdx, spec, input).ok());
    EXPECT_EQ(scanAll(*cdx->tag("CITY")), (Entries{{"BERN", 5}, {"OSLO", 4}, {"ROME", 2}}));
    EXPECT_TRUE(cdx->tag("CITY")->spec().unique);
}

TEST(CdxBuild, CancelledBuildLeavesTheFileAsItWas)
{
    TempDir dir;
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::create(dir.file("C.CDX"), cdx).ok());
    Model m;
    for (uint32_t r = 1; r <= 5000; ++r)
        m.emplace(pad(std::to_string(r * 7919 % 10007), 12), r);
    CountingProgress cancel;
    cancel.stopAt = 40;
    EXPECT_FALSE(buildTag(*cdx, makeSpec("NUM", 12), m, &cancel).ok());
    EXPECT_EQ(cdx->tagCount(), 0);
    ASSERT_TRUE(buildTag(*cdx, makeSpec("NUM", 12), m).ok());
    expectSound(*cdx->tag("NUM"), m);
}

TEST(CdxBuild, BadTagSpecsAreRefused)
{
    TempDir dir;
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::create(dir.file("B.CDX"), cdx).ok());
    std::unique_ptr<TagBuilder> builder;
    const TagSpec bad[] = {makeSpec("", 10), makeSpec("ELEVENCHARS", 10), makeSpec("A B", 10),
                           makeSpec("K", 0), makeSpec("K", 241)};
    for (const TagSpec &spec : bad)
        EXPECT_EQ(cdx->addTag(spec, builder).code(), StatusCode::InvalidArgument) << spec.name;
}

// --- Inserts and removes against a model. ----------------------------------------------

struct ModelCase {
    const char *name;
    uint16_t keyLength;
    char keyType;
    std::string (*key)(std::mt19937 &rng, uint16_t keyLength);
};

std::string wordKey(std::mt19937 &rng, uint16_t n)
{
    std::string k;
    const int len = static_cast<int>(rng() % (n + 1u));
    for (int i = 0; i < len; ++i)
        k += static_cast<char>('A' + rng() % 3);
    return pad(k, n);
}

std::string sharedPrefixKey(std::mt19937 &rng, uint16_t n)
{
    std::string k(static_cast<size_t>(n) - 6, 'P');
    for (int i = 0; i < 4; ++i)
        k += static_cast<char>('0' + rng() % 10);
    return pad(k, n);
}

std::string logicalKey(std::mt19937 &rng, uint16_t)
{
    return rng() % 2 ? "T" : "F";
}

// Numeric keys: a few significant bytes, the rest NULs that the leaves drop.
std::string numericKey(std::mt19937 &rng, uint16_t n)
{
    std::string k(n, '\0');
    const size_t significant = 1 + rng() % 3;
    for (size_t i = 0; i < significant; ++i)
        k[i] = static_cast<char>(rng() % 4 == 0 ? 0 : 0x3F + rng() % 3);
    return k;
}

std::string randomBytesKey(std::mt19937 &rng, uint16_t n)
{
    std::string k(n, ' ');
    for (char &c : k)
        c = static_cast<char>(rng() % 256);
    return k;
}

class CdxUpdates : public ::testing::TestWithParam<ModelCase>
{
};

TEST_P(CdxUpdates, RandomInsertsAndRemovesMatchAModel)
{
    const ModelCase c = GetParam();
    TempDir dir;
    const std::string path = dir.file("M.CDX");
    std::mt19937 rng(11);
    Model model;
    uint32_t nextRecno = 1;
    for (int i = 0; i < 1500; ++i)
        model.emplace(c.key(rng, c.keyLength), nextRecno++);
    {
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::create(path, cdx).ok());
        ASSERT_TRUE(buildTag(*cdx, makeSpec("K", c.keyLength, c.keyType), model).ok());
        IndexTag &tag = *cdx->tag("K");
        for (int op = 0; op < 6000; ++op) {
            if (model.empty() || rng() % 100 < 55) {
                // Large record numbers widen the leaf entries.
                const uint32_t recno = rng() % 50 == 0 ? 0x7FFF0000u + nextRecno++ : nextRecno++;
                const std::string key = c.key(rng, c.keyLength);
                ASSERT_TRUE(tag.insert(key, recno).ok());
                model.emplace(key, recno);
            } else {
                auto it = model.begin();
                std::advance(it, static_cast<long>(rng() % model.size()));
                // Now and then the caller's key is not the stored one: found by record number.
                std::string key = it->first;
                if (rng() % 10 == 0)
                    key = c.key(rng, c.keyLength);
                const Status s = tag.remove(key, it->second);
                ASSERT_TRUE(s.ok()) << s.message();
                model.erase(it);
            }
        }
        expectSound(tag, model);
        EXPECT_EQ(tag.remove(c.key(rng, c.keyLength), 0xFFFFFFF0u).code(), StatusCode::NotFound);
        ASSERT_TRUE(cdx->flush().ok());
    }
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(path, false, cdx).ok());
    EXPECT_FALSE(cdx->wasInterrupted());
    cdx->tag("K")->setKeyType(c.keyType);
    expectSound(*cdx->tag("K"), model);

    // Emptying the tag one entry at a time leaves an empty, sound tree that takes keys again.
    IndexTag &tag = *cdx->tag("K");
    for (auto it = model.begin(); it != model.end();) {
        ASSERT_TRUE(tag.remove(it->first, it->second).ok());
        it = model.erase(it);
    }
    expectSound(tag, model);
    IndexEntry e;
    bool found = true;
    ASSERT_TRUE(tag.first(e, found).ok());
    EXPECT_FALSE(found);
    for (uint32_t r = 1; r <= 500; ++r) {
        const std::string key = c.key(rng, c.keyLength);
        ASSERT_TRUE(tag.insert(key, r).ok());
        model.emplace(key, r);
    }
    expectSound(tag, model);
}

INSTANTIATE_TEST_SUITE_P(Keys, CdxUpdates,
                         ::testing::Values(ModelCase{"Words", 10, 'C', wordKey},
                                           ModelCase{"SharedPrefix", 120, 'C', sharedPrefixKey},
                                           ModelCase{"Logical", 1, 'L', logicalKey},
                                           ModelCase{"Numeric", 8, 'N', numericKey},
                                           ModelCase{"LongestKeys", 240, 'C', randomBytesKey}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(CdxUpdates, NavigationAroundEntriesThatAreGone)
{
    TempDir dir;
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::create(dir.file("N.CDX"), cdx).ok());
    ASSERT_TRUE(buildTag(*cdx, makeSpec("K", 3), Model{{"BBB", 2}, {"BBB", 5}, {"DDD", 1}}).ok());
    IndexTag &tag = *cdx->tag("K");
    IndexEntry e;
    bool found = false;
    ASSERT_TRUE(tag.next(IndexEntry{"BBB", 3}, e, found).ok());
    EXPECT_TRUE(found && e.recno == 5);
    ASSERT_TRUE(tag.prev(IndexEntry{"CCC", 0}, e, found).ok());
    EXPECT_TRUE(found && e.recno == 5);
    ASSERT_TRUE(tag.prev(IndexEntry{"BBB", 2}, e, found).ok());
    EXPECT_FALSE(found);
    ASSERT_TRUE(tag.next(IndexEntry{"DDD", 1}, e, found).ok());
    EXPECT_FALSE(found);
    ASSERT_TRUE(tag.lowerBound("C", e, found).ok());
    EXPECT_TRUE(found && e.key == "DDD");
    EXPECT_EQ(tag.insert("TOO LONG", 9).code(), StatusCode::InvalidArgument);
    // Inserting an entry that is already there changes nothing.
    ASSERT_TRUE(tag.insert("DDD", 1).ok());
    EXPECT_EQ(scanAll(tag).size(), 3u);
}

TEST(CdxUpdates, FilesFromAnotherEngineTakeChangesAndStaySound)
{
    TempDir dir;
    const std::string path = dir.file("ADD0001.CDX");
    writeFile(path, readFile(fixture("ADD0001.CDX")));
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(path, false, cdx).ok());
    IndexTag &tag = *cdx->tag("LNAME");
    const Entries before = scanAll(tag);
    Model model(before.begin(), before.end());

    // Record 150 is "Muñoz": the other engine's upper case kept the small n-tilde (0xF1).
    // Removing it by the key a Windows-1252 upper case gives (0xD1) finds it by record number.
    auto it = std::find_if(model.begin(), model.end(), [](const auto &e) { return e.second == 150; });
    ASSERT_NE(it, model.end());
    std::string widerRule = it->first;
    const size_t tilde = widerRule.find('\xF1');
    ASSERT_NE(tilde, std::string::npos);
    widerRule[tilde] = '\xD1';
    ASSERT_TRUE(tag.remove(widerRule, 150).ok());
    model.erase(it);

    std::mt19937 rng(21);
    for (uint32_t r = 301; r <= 700; ++r) {
        const std::string key = pad("SMITH" + std::to_string(rng() % 50), 60);
        ASSERT_TRUE(tag.insert(key, r).ok());
        model.emplace(key, r);
    }
    for (int i = 0; i < 150; ++i) {
        auto victim = model.begin();
        std::advance(victim, static_cast<long>(rng() % model.size()));
        ASSERT_TRUE(tag.remove(victim->first, victim->second).ok());
        model.erase(victim);
    }
    expectSound(tag, model);
    ASSERT_TRUE(cdx->flush().ok());
    cdx.reset();
    ASSERT_TRUE(CdxFile::open(path, true, cdx).ok());
    expectSound(*cdx->tag("LNAME"), model);
    // The tags nobody changed still read as before.
    EXPECT_EQ(scanAll(*cdx->tag("NAME")).size(), 300u);
}

// --- Crash marker. -----------------------------------------------------------------------

TEST(CdxInterrupted, AnUnflushedChangeLeavesTheMarkerUntilFlush)
{
    TempDir dir;
    const std::string path = dir.file("I.CDX");
    const std::string copy = dir.file("COPY.CDX");
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::create(path, cdx).ok());
    ASSERT_TRUE(buildTag(*cdx, makeSpec("K", 4), Model{{"AAAA", 1}}).ok());
    ASSERT_TRUE(cdx->flush().ok());
    writeFile(copy, readFile(path));
    {
        std::unique_ptr<CdxFile> again;
        ASSERT_TRUE(CdxFile::open(copy, true, again).ok());
        EXPECT_FALSE(again->wasInterrupted());
    }
    ASSERT_TRUE(cdx->tag("K")->insert("BBBB", 2).ok());
    // What a killed process leaves behind: the file as it is before flush.
    writeFile(copy, readFile(path));
    {
        std::unique_ptr<CdxFile> again;
        ASSERT_TRUE(CdxFile::open(copy, true, again).ok());
        EXPECT_TRUE(again->wasInterrupted());
    }
    ASSERT_TRUE(cdx->flush().ok());
    writeFile(copy, readFile(path));
    std::unique_ptr<CdxFile> again;
    ASSERT_TRUE(CdxFile::open(copy, true, again).ok());
    EXPECT_FALSE(again->wasInterrupted());
    EXPECT_EQ(scanAll(*again->tag("K")), (Entries{{"AAAA", 1}, {"BBBB", 2}}));
}

// An 8-byte key with one significant byte, the rest NULs.
std::string numericKeyOf(uint32_t v)
{
    std::string k(8, '\0');
    k[0] = static_cast<char>(0x40 + v);
    return k;
}

TEST(CdxShared, RefreshSeesWhatAnotherHandleWrote)
{
    TempDir dir;
    const std::string path = dir.file("S.CDX");
    std::unique_ptr<CdxFile> writer;
    ASSERT_TRUE(CdxFile::create(path, writer).ok());
    Model model;
    for (uint32_t r = 1; r <= 300; ++r)
        model.emplace(numericKeyOf(r % 90), r);
    ASSERT_TRUE(buildTag(*writer, makeSpec("N", 8, 'N'), model).ok());
    ASSERT_TRUE(writer->flush().ok());
    std::unique_ptr<CdxFile> reader;
    ASSERT_TRUE(CdxFile::open(path, true, reader).ok());
    reader->tag("N")->setKeyType('N');
    expectSound(*reader->tag("N"), model);
    // Enough inserts to split nodes and grow the file.
    for (uint32_t r = 301; r <= 1500; ++r) {
        const std::string key = numericKeyOf(r % 90);
        ASSERT_TRUE(writer->tag("N")->insert(key, r).ok());
        model.emplace(key, r);
    }
    ASSERT_TRUE(writer->flush().ok());
    ASSERT_TRUE(reader->refresh().ok());
    EXPECT_EQ(reader->tag("N")->spec().keyType, 'N');
    expectSound(*reader->tag("N"), model);
}

TEST(CdxInterrupted, TheMarkerStaysUntilEveryTagIsRebuilt)
{
    TempDir dir;
    const std::string path = dir.file("R.CDX");
    {
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::create(path, cdx).ok());
        ASSERT_TRUE(buildTag(*cdx, makeSpec("A", 4), Model{{"AAAA", 1}}).ok());
        ASSERT_TRUE(buildTag(*cdx, makeSpec("B", 4), Model{{"BBBB", 1}}).ok());
        ASSERT_TRUE(cdx->flush().ok());
        ASSERT_TRUE(cdx->tag("A")->insert("CCCC", 2).ok());
        // What a killed process leaves: the bytes before flush.
        writeFile(dir.file("KILLED.CDX"), readFile(path));
    }
    const std::string killed = dir.file("KILLED.CDX");
    auto interrupted = [&]() {
        std::unique_ptr<CdxFile> cdx;
        EXPECT_TRUE(CdxFile::open(killed, true, cdx).ok());
        return cdx && cdx->wasInterrupted();
    };
    ASSERT_TRUE(interrupted());
    {
        // Changes and flushes without a rebuild do not hide the interruption.
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::open(killed, false, cdx).ok());
        ASSERT_TRUE(cdx->tag("B")->insert("DDDD", 3).ok());
        ASSERT_TRUE(cdx->flush().ok());
        EXPECT_TRUE(cdx->wasInterrupted());
    }
    ASSERT_TRUE(interrupted());
    {
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::open(killed, false, cdx).ok());
        ASSERT_TRUE(buildTag(*cdx, makeSpec("A", 4), Model{{"AAAA", 1}}).ok());
        ASSERT_TRUE(cdx->flush().ok());
        EXPECT_TRUE(cdx->wasInterrupted());
    }
    ASSERT_TRUE(interrupted());
    {
        std::unique_ptr<CdxFile> cdx;
        ASSERT_TRUE(CdxFile::open(killed, false, cdx).ok());
        ASSERT_TRUE(buildTag(*cdx, makeSpec("A", 4), Model{{"AAAA", 1}}).ok());
        ASSERT_TRUE(cdx->removeTag("B").ok());
        EXPECT_FALSE(cdx->wasInterrupted());
        ASSERT_TRUE(cdx->flush().ok());
    }
    EXPECT_FALSE(interrupted());
}

TEST(CdxReadOnly, ChangesAreRefused)
{
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(fixture("ADD0001.CDX"), true, cdx).ok());
    IndexTag *tag = cdx->tag("ZIP");
    EXPECT_FALSE(tag->insert(std::string(10, 'X'), 1).ok());
    std::unique_ptr<TagBuilder> builder;
    EXPECT_FALSE(cdx->addTag(makeSpec("NEW", 5), builder).ok());
    EXPECT_TRUE(cdx->flush().ok());
}

// --- Damaged files. ----------------------------------------------------------------------

// Opens the bytes and walks every tag every way; the first failure, or Ok.
Status openAndWalk(const std::string &bytes, bool writable = false)
{
    std::unique_ptr<CdxFile> cdx;
    XBASE_TRY(CdxFile::openFromMemory(bytes, !writable, cdx));
    for (int i = 0; i < cdx->tagCount(); ++i) {
        IndexTag &tag = *cdx->tag(i);
        XBASE_TRY(tag.scan({}, {}, false, true, [](std::string_view, uint32_t) { return true; }));
        uint64_t n = 0;
        XBASE_TRY(tag.count(n));
        IndexEntry e;
        bool found = false;
        XBASE_TRY(tag.last(e, found));
        while (found) {
            IndexEntry from = e;
            XBASE_TRY(tag.prev(from, e, found));
        }
        XBASE_TRY(tag.lowerBound("M", e, found));
        if (writable) {
            XBASE_TRY(tag.insert(std::string(tag.spec().keyLength, 'M'), 999999));
            XBASE_TRY(tag.remove(std::string(tag.spec().keyLength, 'M'), 999999));
        }
        std::vector<std::string> faults;
        XBASE_TRY(tag.check(faults));
        if (!faults.empty())
            return Status::Corruption(faults.front());
    }
    return Status::Ok();
}

struct Damage {
    const char *name;
    void (*apply)(std::string &bytes);
};

// The fixture's first tag (NAME, 60-byte keys) has its header at 0x600.
constexpr uint32_t kNameHeader = 0x600;
constexpr uint32_t kNameKey = 60;

uint32_t le32(const std::string &b, size_t at)
{
    return readLe32(reinterpret_cast<const uint8_t *>(&b[at]));
}
void setLe32(std::string &b, size_t at, uint32_t v)
{
    writeLe32(reinterpret_cast<uint8_t *>(&b[at]), v);
}
void setLe16(std::string &b, size_t at, uint16_t v)
{
    writeLe16(reinterpret_cast<uint8_t *>(&b[at]), v);
}
uint32_t nameRoot(const std::string &b)
{
    return le32(b, kNameHeader);
}
uint32_t firstChildOfRoot(const std::string &b)
{
    return readBe32(reinterpret_cast<const uint8_t *>(&b[nameRoot(b) + 12 + kNameKey + 4]));
}

const Damage kDamages[] = {
    {"TruncatedHeader", [](std::string &b) { b.resize(1000); }},
    {"TruncatedHalf", [](std::string &b) { b.resize(b.size() / 2); }},
    {"TruncatedMidPage", [](std::string &b) { b.resize(b.size() - 300); }},
    {"DirectoryRootPastEnd", [](std::string &b) { setLe32(b, 0, static_cast<uint32_t>(b.size()) + 512); }},
    {"TagRootPastEnd", [](std::string &b) { setLe32(b, kNameHeader, static_cast<uint32_t>(b.size())); }},
    {"TagRootUnaligned", [](std::string &b) { setLe32(b, kNameHeader, nameRoot(b) + 3); }},
    {"KeyLengthZero", [](std::string &b) { setLe16(b, kNameHeader + 12, 0); }},
    {"KeyLengthTooLong", [](std::string &b) { setLe16(b, kNameHeader + 12, 241); }},
    {"RootChildIsItself",
     [](std::string &b) {
         writeBe32(reinterpret_cast<uint8_t *>(&b[nameRoot(b) + 12 + kNameKey + 4]), nameRoot(b));
     }},
    {"InteriorCountTooLarge", [](std::string &b) { setLe16(b, nameRoot(b) + 2, 9); }},
    {"InteriorEmpty", [](std::string &b) { setLe16(b, nameRoot(b) + 2, 0); }},
    {"LeafCountTooLarge", [](std::string &b) { setLe16(b, firstChildOfRoot(b) + 2, 0xFFFF); }},
    {"LeafWidthsInvalid", [](std::string &b) { b[firstChildOfRoot(b) + 23] = 0; }},
    {"LeafRightIsItself", [](std::string &b) { setLe32(b, firstChildOfRoot(b) + 8, firstChildOfRoot(b)); }},
    {"LeafRightIsHeader", [](std::string &b) { setLe32(b, firstChildOfRoot(b) + 8, 0); }},
    {"LeafAttributesUnknown", [](std::string &b) { setLe16(b, firstChildOfRoot(b), 0x40); }},
    {"LeafKeysOverlap",
     [](std::string &b) {
         // The first entry claims no shared bytes and no trailing blanks: 60 key bytes more.
         const uint32_t leaf = firstChildOfRoot(b);
         const int recBits = static_cast<uint8_t>(b[leaf + 20]);
         const int bytes = static_cast<uint8_t>(b[leaf + 23]);
         for (int e = 0; e < 20; ++e)
             for (int i = recBits / 8; i < bytes; ++i)
                 b[leaf + 24 + static_cast<size_t>(e * bytes + i)] = '\0';
     }},
    {"TagHeaderPastEnd",
     [](std::string &b) {
         // The directory leaf's first entry holds a tag header offset in its low bits.
         const uint32_t dir = le32(b, 0);
         const int bytes = static_cast<uint8_t>(b[dir + 23]);
         for (int i = 0; i < bytes && i < 3; ++i)
             b[dir + 24 + static_cast<size_t>(i)] = '\xFF';
     }},
};

class CdxDamaged : public ::testing::TestWithParam<Damage>
{
};

TEST_P(CdxDamaged, GivesCorruptionAndIsNeverWritten)
{
    std::string bytes = readFile(fixture("ADD0001.CDX"));
    ASSERT_TRUE(openAndWalk(bytes).ok());
    GetParam().apply(bytes);
    const Status read = openAndWalk(bytes);
    EXPECT_EQ(read.code(), StatusCode::Corruption) << read.message();
    const Status write = openAndWalk(bytes, true);
    EXPECT_EQ(write.code(), StatusCode::Corruption) << write.message();
}

INSTANTIATE_TEST_SUITE_P(Cases, CdxDamaged, ::testing::ValuesIn(kDamages),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(CdxDamaged, FilesOnDiskThatAreDamagedAreNotWritten)
{
    TempDir dir;
    const std::string path = dir.file("D.CDX");
    std::string bytes = readFile(fixture("ADD0001.CDX"));
    setLe32(bytes, firstChildOfRoot(bytes) + 8, firstChildOfRoot(bytes));
    writeFile(path, bytes);
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::open(path, false, cdx).ok());
    IndexTag &tag = *cdx->tag("NAME");
    EXPECT_EQ(tag.scan({}, {}, false, true, [](std::string_view, uint32_t) { return true; }).code(),
              StatusCode::Corruption);
    EXPECT_EQ(cdx->tag("ZIP")->insert(std::string(10, 'Z'), 1).code(), StatusCode::Corruption);
    ASSERT_TRUE(cdx->flush().ok());
    cdx.reset();
    EXPECT_EQ(readFile(path), bytes);
}

// --- Structure check. ------------------------------------------------------------------

struct CheckCase {
    const char *name;
    void (*apply)(std::string &bytes);
    const char *fault;
};

// Byte offset of interior entry `i` of the NAME tag's root.
size_t rootEntry(const std::string &b, int i)
{
    return nameRoot(b) + 12 + static_cast<size_t>(i) * (kNameKey + 8);
}

const CheckCase kCheckCases[] = {
    // A walk still works, but the root's first entry no longer names its child's last key.
    {"InteriorKeyStale", [](std::string &b) { b[rootEntry(b, 0) + 59] = 'A'; },
     "not the last key of its child"},
    {"InteriorRecnoStale",
     [](std::string &b) {
         uint8_t *recno = reinterpret_cast<uint8_t *>(&b[rootEntry(b, 0) + kNameKey]);
         writeBe32(recno, readBe32(recno) + 1);
     },
     "not the last key of its child"},
    {"LeftPointerWrong", [](std::string &b) { setLe32(b, firstChildOfRoot(b) + 4, firstChildOfRoot(b)); },
     "sibling pointers"},
    {"RootMarkLost", [](std::string &b) { setLe16(b, nameRoot(b), 0); }, "not marked so"},
    {"EntriesOutOfOrder",
     [](std::string &b) {
         // The first leaf's keys written in reverse order, each with its record.
         uint8_t *page = reinterpret_cast<uint8_t *>(&b[firstChildOfRoot(b)]);
         LeafNode leaf;
         ASSERT_TRUE(decodeLeaf(page, kNameKey, ' ', leaf).ok());
         LeafNode reversed = leaf;
         for (int i = 0; i < leaf.count(); ++i) {
             const int from = leaf.count() - 1 - i;
             reversed.keys.replace(static_cast<size_t>(i) * kNameKey, kNameKey, leaf.key(from, kNameKey),
                                   kNameKey);
             reversed.recnos[static_cast<size_t>(i)] = leaf.recnos[static_cast<size_t>(from)];
         }
         ASSERT_TRUE(encodeLeaf(reversed, kNameKey, ' ', page));
     },
     "out of order"},
};

class CdxCheck : public ::testing::TestWithParam<CheckCase>
{
};

TEST_P(CdxCheck, ReportsTheFault)
{
    std::string bytes = readFile(fixture("ADD0001.CDX"));
    GetParam().apply(bytes);
    std::unique_ptr<CdxFile> cdx;
    ASSERT_TRUE(CdxFile::openFromMemory(bytes, true, cdx).ok());
    std::vector<std::string> faults;
    ASSERT_TRUE(cdx->check(faults).ok());
    ASSERT_FALSE(faults.empty());
    EXPECT_NE(faults.front().find("tag NAME: "), std::string::npos) << faults.front();
    EXPECT_NE(faults.front().find(GetParam().fault), std::string::npos) << faults.front();
}

INSTANTIATE_TEST_SUITE_P(Cases, CdxCheck, ::testing::ValuesIn(kCheckCases),
                         [](const auto &param) { return std::string(param.param.name); });

} // namespace
