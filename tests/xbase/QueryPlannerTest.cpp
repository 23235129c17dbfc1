#include "QueryPlanner.h"

#include "FixtureRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace xbase;

namespace {

// Tags as sorted (key, recno) vectors; counts every entry it hands out.
class FakeCatalog : public IndexCatalog
{
public:
    struct Tag {
        TagSpec spec;
        Expression key;
        std::vector<std::pair<std::string, uint32_t>> entries;
    };

    // `narrowUpper`: keys as an engine that capitalises only a-z builds them.
    void add(const std::string &name, const std::string &keyText, const Schema &schema,
             const std::vector<std::string> &records, bool narrowUpper = false)
    {
        Tag t;
        ASSERT_TRUE(Expression::compile(keyText, schema, t.key).ok()) << keyText;
        t.spec.name = name;
        t.spec.keyExpr = keyText;
        t.spec.keyType =
            t.key.type() == ValueType::Logical ? 'L' : (t.key.type() == ValueType::Character ? 'C' : 'N');
        t.spec.keyLength = static_cast<uint16_t>(t.key.keyLength());
        Expression raw = t.key;
        if (narrowUpper && t.key.type() == ValueType::Character) {
            // UPPER works byte by byte, so the narrow key is the raw key capitalised a-z only.
            std::string text = keyText;
            for (size_t at; (at = text.find("UPPER")) != std::string::npos;)
                text.erase(at, 5);
            ASSERT_TRUE(Expression::compile(text, schema, raw).ok()) << text;
        }
        for (uint32_t r = 1; r <= records.size(); ++r) {
            std::string k = raw.indexKey({records[r - 1].data(), r});
            if (narrowUpper && t.key.type() == ValueType::Character)
                for (char &c : k)
                    if (c >= 'a' && c <= 'z')
                        c = static_cast<char>(c - 32);
            t.entries.emplace_back(k, r);
        }
        std::sort(t.entries.begin(), t.entries.end());
        m_tags.push_back(std::move(t));
    }

    Tag &tag(int i) { return m_tags[static_cast<size_t>(i)]; }
    int tagCount() const override { return static_cast<int>(m_tags.size()); }
    const TagSpec &tagSpec(int i) const override { return m_tags[static_cast<size_t>(i)].spec; }
    const Expression &tagKey(int i) const override { return m_tags[static_cast<size_t>(i)].key; }
    Status scan(int i, std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                const std::function<bool(std::string_view, uint32_t)> &visit) override
    {
        if (failScan)
            return Status::Corruption("tag damaged");
        const auto &entries = m_tags[static_cast<size_t>(i)].entries;
        auto it = std::partition_point(entries.begin(), entries.end(), [&](const auto &e) {
            return std::string_view(e.first).substr(0, lo.size()) < lo;
        });
        for (; it != entries.end(); ++it) {
            if (!unboundedHi) {
                const int c = std::string_view(it->first).substr(0, hi.size()).compare(hi);
                if (hiInclusive ? c > 0 : c >= 0)
                    break;
            }
            ++visits;
            if (!visit(it->first, it->second))
                break;
        }
        return Status::Ok();
    }
    uint64_t visits = 0;
    bool failScan = false;

private:
    std::vector<Tag> m_tags;
};

void addFixtureTags(FakeCatalog &catalog, const test::FixtureTable &t, bool narrowUpper)
{
    for (const test::JsonValue &tag : t.expected.get("tags")->array)
        catalog.add(tag.text("name"), tag.text("key"), t.schema, t.records, narrowUpper);
}

// Plans each query and checks the candidates against every record: each match must be a
// candidate, and an exact plan must hold nothing else. Returns how many plans used a tag.
int expectPlansCoverMatches(FakeCatalog &catalog, const Schema &schema,
                            const std::vector<std::string> &records, const std::vector<std::string> &queries,
                            const EvalOptions &options)
{
    const uint32_t n = static_cast<uint32_t>(records.size());
    int indexed = 0;
    for (const std::string &text : queries) {
        Expression e;
        const Status compiled = Expression::compile(text, schema, e);
        EXPECT_TRUE(compiled.ok()) << text << ": " << compiled.message();
        QueryPlan plan;
        EXPECT_TRUE(planQuery(e, catalog, n, options, plan).ok()) << text;
        if (!plan.indexed)
            continue;
        ++indexed;
        EXPECT_EQ(plan.candidates.size(), n);
        for (uint32_t r = 1; r <= n; ++r) {
            const bool match = e.isTrue({records[r - 1].data(), r}, options);
            if (match) {
                EXPECT_TRUE(plan.candidates.test(r)) << text << ": record " << r << " missing\n"
                                                     << plan.explain;
            } else if (plan.exact) {
                EXPECT_FALSE(plan.candidates.test(r)) << text << ": record " << r << " extra\n"
                                                      << plan.explain;
            }
        }
    }
    return indexed;
}

const char *const kExtraQueries[] = {
    "UPPER(LNAME)=\"SMITH\"",
    "UPPER(LNAME)=\"\"",
    "UPPER(LNAME)<\"\"",
    "UPPER(LNAME)>\"\"",
    "UPPER(LNAME)>=\"\"",
    "UPPER(LNAME)<=\"\"",
    "UPPER(ZIP)=\"94110     X\"",
    "UPPER(ZIP)<\"94110      \"",
    "UPPER(ZIP)<=\"94110     !\"",
    "UPPER(ZIP)>\"94110     \x01\"",
    "UPPER(ZIP)>=\"94110\"",
    "UPPER(ZIP)>\"\x7F\"",
    "UPPER(LNAME)<>\"SMITH\"",
    "UPPER(LNAME)#\"S\" .and. !ISDEL",
    "UPPER(LNAME+FNAME)=\"SMITH                         JOHN\"",
    "UPPER(LNAME)==\"SMITH                         \"",
    "UPPER(LNAME)==\"SMITH\"",
    "UPPER(FNAME)=\"JOHN\" .or. UPPER(STATE)=\"CA\"",
    "UPPER(CITY)=\"SAN\"",
    "UPPER(STATE-ZIP)=\"CA9\"",
    ".not. ISDEL",
    "!DELETED()",
    "ISDEL .and. DELETED()",
    "RECNO()>290",
    "RECNO()<=3 .or. RECNO()=150",
    "RECNO()<>1 .and. RECNO()<2.5",
    "RECNO()=2.5",
    "UPPER(LNAME)=\"SM\" .and. \"C\"$UPPER(CODES)",
    ".not. (UPPER(STATE)=\"CA\" .or. \"X\"$CODES)",
    "UPPER(CITY)=\"MONTR\xC9\" .or. UPPER(CITY)=\"QU\xC9\"",
    "UPPER(LNAME)>\"\xC9\"",
    "LNAME=\"Sm\"",
    ".T.",
    ".F. .and. ISDEL",
    "(UPPER(LNAME)=\"S\" .or. UPPER(LNAME)=\"Z\") .and. .not. (UPPER(FNAME)=\"J\" .and. ISDEL)",
};

struct PlannerSetup {
    bool narrowUpper;
    bool exact;
};

class PlansOverFixture : public ::testing::TestWithParam<PlannerSetup>
{
};

} // namespace

// Whatever the query, the candidates hold every matching record, and exactly those when the
// plan says so; indexes built with the narrower upper-case rule must not change that.
TEST_P(PlansOverFixture, CandidatesCoverEveryMatch)
{
    const PlannerSetup setup = GetParam();
    test::FixtureTable t;
    std::string error;
    ASSERT_TRUE(test::FixtureTable::load("ADD0001", t, error)) << error;
    FakeCatalog catalog;
    addFixtureTags(catalog, t, setup.narrowUpper);
    std::vector<std::string> queries(std::begin(kExtraQueries), std::end(kExtraQueries));
    for (const test::JsonValue &q : t.expected.get("queries")->array)
        queries.push_back(test::utf8ToCp1252(q.text("expr")));
    const int indexed =
        expectPlansCoverMatches(catalog, t.schema, t.records, queries, EvalOptions{setup.exact});
    EXPECT_GT(indexed, 30);
}

INSTANTIATE_TEST_SUITE_P(Catalogs, PlansOverFixture,
                         ::testing::Values(PlannerSetup{false, false}, PlannerSetup{false, true},
                                           PlannerSetup{true, false}, PlannerSetup{true, true}));

struct ShapeCase {
    const char *query;
    bool indexed;
    bool exact;
    int candidates; // -1: not checked
};

class PlanShapes : public ::testing::TestWithParam<ShapeCase>
{
};

// Which queries the tags answer, and how precisely (ADD0001, Exact off, marked records counted).
TEST_P(PlanShapes, UseTheTagsWhereTheyApply)
{
    const ShapeCase c = GetParam();
    test::FixtureTable t;
    std::string error;
    ASSERT_TRUE(test::FixtureTable::load("ADD0001", t, error)) << error;
    FakeCatalog catalog;
    addFixtureTags(catalog, t, true);
    Expression e;
    ASSERT_TRUE(Expression::compile(c.query, t.schema, e).ok()) << c.query;
    QueryPlan plan;
    ASSERT_TRUE(planQuery(e, catalog, static_cast<uint32_t>(t.records.size()), {}, plan).ok());
    EXPECT_EQ(plan.indexed, c.indexed) << c.query << "\n" << plan.explain;
    if (!c.indexed)
        return;
    EXPECT_EQ(plan.exact, c.exact) << c.query << "\n" << plan.explain;
    if (c.candidates >= 0) {
        EXPECT_EQ(plan.candidates.count(), static_cast<uint32_t>(c.candidates)) << c.query << "\n"
                                                                                << plan.explain;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlanShapes,
    ::testing::Values(
        ShapeCase{"UPPER(LNAME)=\"SMITH\"", true, true, 13}, ShapeCase{"!ISDEL", true, true, 286},
        ShapeCase{"DELETED()", true, true, 21}, ShapeCase{"UPPER(LNAME)==\"SMITH\"", true, true, 0},
        ShapeCase{"UPPER(LNAME-FNAME)=\"SMITHJOHN\"", true, true, 3}, ShapeCase{"Recno()=17", true, true, 1},
        ShapeCase{"(!(UPPER(LNAME)=\"S\" and UPPER(STATE)=\"CA\")).and. !ISDEL", true, true, -1},
        // A contains-test on a tag's whole key reads the tag's keys instead of the records.
        ShapeCase{"\"C\"$UPPER(CODES).and. !ISDEL", true, true, -1},
        ShapeCase{"\"C\"$UPPER(CODES)", true, true, -1}, ShapeCase{"\"\"$UPPER(CODES)", true, true, 0},
        ShapeCase{"\"\xC9\"$UPPER(CODES)", false, false, -1}, ShapeCase{"\"C\"$CODES", false, false, -1},
        ShapeCase{"UPPER(CITY)=\"MONTR\xC9"
                  "AL\"",
                  false, false, -1},
        ShapeCase{"LEFT(ZIP,3)=\"941\"", false, false, -1},
        ShapeCase{"!(\"C\"$UPPER(CODES))", true, true, -1}, ShapeCase{".F.", true, true, 0}));

// With a big file, an .AND. must not read a huge range to intersect it with a small one.
TEST(QueryPlanner, AndReadsTheSmallRangeAndLeavesTheHugeOneToTheRetest)
{
    const Schema schema({{"LNAME", 'C', 20, 0, 0},
                         {"FNAME", 'C', 10, 0, 0},
                         {"CODES", 'C', 5, 0, 0},
                         {"ISDEL", 'L', 1, 0, 0}});
    std::vector<std::string> records;
    const uint32_t n = 40000;
    for (uint32_t r = 1; r <= n; ++r) {
        const std::string last =
            r % 100 == 0 ? "Smith" + std::to_string(r) : "Name" + std::to_string(r % 977);
        records.push_back(test::buildRecord(schema, {{"LNAME", last},
                                                     {"FNAME", "x"},
                                                     {"CODES", r % 3 ? "A" : "C"},
                                                     {"ISDEL", r % 50 == 0 ? "T" : "F"}}));
    }
    FakeCatalog catalog;
    catalog.add("LNAME", "UPPER(LNAME)+UPPER(FNAME)", schema, records);
    catalog.add("ISDEL", "ISDEL", schema, records);
    catalog.add("NOTISDEL", "!ISDEL", schema, records);

    Expression e;
    ASSERT_TRUE(Expression::compile("UPPER(LNAME)=\"SM\" .and. !ISDEL", schema, e).ok());
    QueryPlan plan;
    ASSERT_TRUE(planQuery(e, catalog, n, {}, plan).ok());
    EXPECT_TRUE(plan.indexed);
    // The "F" entries of ISDEL are too many; its few "T" entries, complemented, make the
    // answer exact: every Smith here is marked.
    EXPECT_TRUE(plan.exact) << plan.explain;
    EXPECT_EQ(plan.candidates.count(), 0u) << plan.explain;
    EXPECT_LT(catalog.visits, 4000u) << plan.explain;
    EXPECT_NE(plan.explain.find("tag LNAME"), std::string::npos) << plan.explain;
    EXPECT_NE(plan.explain.find("\"T\" to \"T\", 800 entries, complemented"), std::string::npos)
        << plan.explain;

    // Nothing small to intersect with: reading most of the file's keys is not worth it.
    catalog.visits = 0;
    ASSERT_TRUE(Expression::compile("\"C\"$UPPER(CODES) .and. !ISDEL", schema, e).ok());
    ASSERT_TRUE(planQuery(e, catalog, n, {}, plan).ok());
    EXPECT_FALSE(plan.indexed) << plan.explain;
    EXPECT_LT(catalog.visits, uint64_t(n)) << plan.explain;

    // Under .NOT. the inner set must be exact, so both ranges are read in full.
    ASSERT_TRUE(Expression::compile("!(UPPER(LNAME)=\"SM\" .and. ISDEL)", schema, e).ok());
    ASSERT_TRUE(planQuery(e, catalog, n, {}, plan).ok());
    EXPECT_TRUE(plan.indexed && plan.exact) << plan.explain;
    EXPECT_EQ(plan.candidates.count(), n - 400) << plan.explain; // every 100th is also ISDEL
}

TEST(QueryPlanner, SkipsTagsWithConditionsOrDescendingOrder)
{
    const Schema schema({{"LNAME", 'C', 10, 0, 0}});
    std::vector<std::string> records = {test::buildRecord(schema, {{"LNAME", "Smith"}}),
                                        test::buildRecord(schema, {{"LNAME", "Jones"}})};
    for (int variant = 0; variant < 3; ++variant) {
        FakeCatalog catalog;
        catalog.add("LNAME", "UPPER(LNAME)", schema, records);
        catalog.tag(0).spec.forExpr = variant == 0 ? "LNAME = \"S\"" : "";
        catalog.tag(0).spec.descending = variant == 1;
        catalog.tag(0).spec.unique = variant == 2;
        Expression e;
        ASSERT_TRUE(Expression::compile("UPPER(LNAME)=\"S\"", schema, e).ok());
        QueryPlan plan;
        ASSERT_TRUE(planQuery(e, catalog, 2, {}, plan).ok());
        EXPECT_FALSE(plan.indexed) << variant;
    }
}

// Numeric keys: ranges over the 8-byte keys, negatives and fractions included.
TEST(QueryPlanner, NumericTagsAnswerComparisonsWithNumbers)
{
    const Schema schema({{"AMOUNT", 'N', 8, 2, 0}, {"COUNT", 'I', 4, 0, 0}});
    std::vector<std::string> records;
    for (const char *amount : {"-12.50", "-1", "0", "0.25", "2.5", "2.5", "7", "1000", ""})
        records.push_back(test::buildRecord(schema, {{"AMOUNT", amount}}));
    FakeCatalog catalog;
    catalog.add("AMOUNT", "AMOUNT", schema, records);
    const std::vector<std::string> queries = {"AMOUNT > 2.5",
                                              "AMOUNT >= 2.5",
                                              "AMOUNT < 0",
                                              "AMOUNT <= -1",
                                              "AMOUNT = 0",
                                              "AMOUNT <> 2.5",
                                              "AMOUNT == 7",
                                              "AMOUNT > 99999999",
                                              "AMOUNT >= -999",
                                              "AMOUNT < 0.25 .or. AMOUNT > 7",
                                              ".not. (AMOUNT > -1 .and. AMOUNT < 3)"};
    EXPECT_EQ(expectPlansCoverMatches(catalog, schema, records, queries, {}),
              static_cast<int>(queries.size()));
}

TEST(QueryPlanner, AFailedScanIsReported)
{
    const Schema schema({{"LNAME", 'C', 10, 0, 0}});
    const std::vector<std::string> records = {test::buildRecord(schema, {{"LNAME", "Smith"}})};
    FakeCatalog catalog;
    catalog.add("LNAME", "UPPER(LNAME)", schema, records);
    catalog.failScan = true;
    Expression e;
    ASSERT_TRUE(Expression::compile("UPPER(LNAME)=\"S\"", schema, e).ok());
    QueryPlan plan;
    const Status s = planQuery(e, catalog, 1, {}, plan);
    EXPECT_EQ(s.code(), StatusCode::Corruption);
    EXPECT_FALSE(plan.indexed);
}
