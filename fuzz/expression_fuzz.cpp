// Compiles arbitrary text as an expression against an address-like schema; whatever compiles
// is evaluated, keyed and planned against a few records, so every path must stay in bounds.
#include "Expression.h"
#include "QueryPlanner.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace xbase;

const Schema &schema()
{
    static const Schema s({{"LNAME", 'C', 30, 0, 0},
                           {"FNAME", 'C', 20, 0, 0},
                           {"CODES", 'C', 10, 0, 0},
                           {"ISDEL", 'L', 1, 0, 0},
                           {"AMOUNT", 'N', 10, 2, 0},
                           {"BORN", 'D', 8, 0, 0},
                           {"COUNT", 'I', 4, 0, 0},
                           {"PRICE", 'Y', 8, 4, 0},
                           {"RATE", 'B', 8, 0, 0},
                           {"MEMO", 'M', 10, 0, 0},
                           {"STAMP", 'T', 8, 0, 0}});
    return s;
}

// Every byte value appears in some field, including broken numbers and dates.
std::string record(uint8_t seed)
{
    std::string r(schema().recordLength(), ' ');
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = static_cast<char>((seed * 31 + i * 7) & 0xFF);
    r[0] = seed & 1 ? '*' : ' ';
    return r;
}

// Tags on the query itself and on a few keys its comparisons may match, so the planner's
// range code runs on whatever compiled. Every scan hands out a few record numbers.
class FuzzCatalog : public IndexCatalog
{
public:
    explicit FuzzCatalog(const Expression &query)
    {
        add(query);
        for (const char *text :
             {"UPPER(LNAME)+UPPER(FNAME)", "UPPER(LNAME-FNAME)", "AMOUNT", "BORN", "ISDEL"}) {
            Expression key;
            if (Expression::compile(text, schema(), key).ok())
                add(key);
        }
    }
    int tagCount() const override { return static_cast<int>(m_keys.size()); }
    const TagSpec &tagSpec(int i) const override { return m_specs[static_cast<size_t>(i)]; }
    const Expression &tagKey(int i) const override { return m_keys[static_cast<size_t>(i)]; }
    Status scan(int, std::string_view, std::string_view, bool, bool,
                const std::function<bool(std::string_view, uint32_t)> &visit) override
    {
        for (uint32_t r = 0; r <= 25; r += 3)
            if (!visit(std::string_view(), r))
                break;
        return Status::Ok();
    }

private:
    void add(const Expression &key)
    {
        TagSpec spec;
        spec.name = "T" + std::to_string(m_keys.size());
        spec.keyExpr = key.text();
        spec.keyType =
            key.type() == ValueType::Logical ? 'L' : (key.type() == ValueType::Character ? 'C' : 'N');
        spec.keyLength = static_cast<uint16_t>(key.keyLength());
        m_keys.push_back(key);
        m_specs.push_back(spec);
    }
    std::vector<Expression> m_keys;
    std::vector<TagSpec> m_specs;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    Expression e;
    if (!Expression::compile(text, schema(), e).ok()) {
        if (e.isValid())
            __builtin_trap(); // a failed compile must leave nothing behind
        return 0;
    }
    for (uint8_t seed = 0; seed < 4; ++seed) {
        const std::string r = record(seed);
        const RecordRef ref{r.data(), seed + 1u};
        const Value v = e.evaluate(ref, EvalOptions{seed % 2 == 0});
        const std::string key = e.indexKey(ref);
        if (key.size() != static_cast<size_t>(e.keyLength()))
            __builtin_trap();
        if (v.type == ValueType::Character && v.text.size() > static_cast<size_t>(e.keyLength()))
            __builtin_trap(); // a text result never outgrows its computed length
        (void)e.isTrue(ref);
    }
    (void)e.evaluate(RecordRef{});
    if (e.type() == ValueType::Logical) {
        FuzzCatalog catalog(e);
        for (bool exact : {false, true}) {
            QueryPlan plan;
            (void)planQuery(e, catalog, 20, EvalOptions{exact}, plan);
        }
    }
    return 0;
}
