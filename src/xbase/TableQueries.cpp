#include "TableParts.h"

#include "QueryPlanner.h"

#include <cctype>

namespace xbase {

using namespace tableparts;

// ---- Queries ---------------------------------------------------------------------------

Status Table::setQuery(std::string_view expr)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (trimBoth(expr).empty()) {
        m_queryActive = false;
        m_queryText.clear();
        m_query = Expression();
        m_queryBits.clear();
        m_queryBitCount = 0;
        return Status::Ok();
    }
    Expression compiled;
    XBASE_TRY(Expression::compile(expr, schema(), compiled));
    m_query = compiled;
    m_queryText = std::string(expr);
    m_queryActive = true;
    return rebuildQuery();
}

std::string Table::visibleQueryFor(std::string_view filter) const
{
    const int isdel = schema().indexOf("ISDEL");
    const bool hasIsdel = isdel >= 0 && schema().field(isdel).type == 'L';
    const std::string text = trimBoth(filter).empty() ? std::string() : std::string(filter);
    if (!hasIsdel)
        return text;
    if (text.empty())
        return "!ISDEL";
    // ".and." binds tighter than ".or.": a filter whose top level is an .or. is put in
    // parentheses so the ISDEL test holds for all of it.
    Expression compiled;
    if (!enclosedInParentheses(text) && Expression::compile(text, schema(), compiled).ok() &&
        compiled.root() && compiled.root()->kind == NodeKind::Or)
        return "(" + text + ").and. !ISDEL";
    return text + ".and. !ISDEL";
}

bool Table::enclosedInParentheses(std::string_view text)
{
    const std::string t = trimBoth(text);
    if (t.size() < 2 || t.front() != '(' || t.back() != ')')
        return false;
    int depth = 0;
    char quote = 0;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[')
            quote = ']';
        else if (c == '(')
            ++depth;
        else if (c == ')' && --depth == 0)
            return i + 1 == t.size(); // the first parenthesis closes at the very end
    }
    return false;
}

Status Table::setVisibleQuery(std::string_view filter)
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (!trimBoth(filter).empty()) {
        Expression compiled;
        XBASE_TRY(Expression::compile(filter, schema(), compiled));
        if (compiled.type() != ValueType::Logical)
            return Status::InvalidArgument("The filter is not a logical expression");
    }
    const std::string query = visibleQueryFor(filter);
    Expression joined;
    if (!query.empty())
        XBASE_TRY(Expression::compile(query, schema(), joined));
    m_deletedHidden = true; // the query below is built for this setting
    return setQuery(query);
}

namespace {

// The production tags the planner may read: those whose key compiled.
class TagCatalog : public IndexCatalog
{
public:
    void add(IndexTag *tag, const Expression *key) { m_tags.push_back({tag, key}); }
    int tagCount() const override { return static_cast<int>(m_tags.size()); }
    const TagSpec &tagSpec(int i) const override { return m_tags[static_cast<size_t>(i)].first->spec(); }
    const Expression &tagKey(int i) const override { return *m_tags[static_cast<size_t>(i)].second; }
    Status scan(int i, std::string_view lo, std::string_view hi, bool hiInclusive, bool unboundedHi,
                const std::function<bool(std::string_view, uint32_t)> &visit) override
    {
        return m_tags[static_cast<size_t>(i)].first->scan(lo, hi, hiInclusive, unboundedHi, visit);
    }

private:
    std::vector<std::pair<IndexTag *, const Expression *>> m_tags;
};

} // namespace

IndexTag *Table::deletedMarkTag() const
{
    // A production tag on DELETED() without a condition holds every record's delete mark.
    IndexTag *found = nullptr;
    for (int i = 0; i < tagCount(); ++i) {
        const OpenTag &t = *m_tags[static_cast<size_t>(i)];
        if (!t.key.isValid() || t.hasCondition())
            continue;
        std::string expr = t.tag->spec().keyExpr;
        expr.erase(std::remove(expr.begin(), expr.end(), ' '), expr.end());
        for (char &c : expr)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (expr == "DELETED()" && t.tag->spec().keyLength == 1)
            found = t.tag;
    }
    return found;
}

Status Table::rebuildQuery()
{
    const uint32_t count = recordCount();
    m_queryBitCount = count;
    m_queryBits.assign((static_cast<size_t>(count) + 63) / 64 + 1, 0);

    // Tags narrow the query to candidates; only those are read and re-tested, unless the
    // plan is exact and a DELETED() tag tells the marked records.
    TagCatalog catalog;
    for (int i = 0; i < tagCount(); ++i) {
        OpenTag &t = *m_tags[static_cast<size_t>(i)];
        if (t.key.isValid() && !t.hasCondition())
            catalog.add(t.tag, &t.key);
    }
    IndexTag *deletedTag = deletedMarkTag();
    QueryPlan plan;
    if (count > 0 && catalog.tagCount() > 0 && planQuery(m_query, catalog, count, m_eval, plan).ok() &&
        plan.indexed) {
        const RecordBitmap &c = plan.candidates;
        if (plan.exact && (!m_deletedHidden || deletedTag)) {
            for (uint32_t r = c.nextSet(1); r != 0; r = r < count ? c.nextSet(r + 1) : 0)
                setQueryBit(r, true);
            if (m_deletedHidden) {
                XBASE_TRY(deletedTag->scan("T", "T", true, false, [&](std::string_view, uint32_t r) {
                    setQueryBit(r, false);
                    return true;
                }));
            }
            return Status::Ok();
        }
        if (c.count() < count / 8) {
            std::string rec(m_dbf->recordLength(), ' ');
            for (uint32_t r = c.nextSet(1); r != 0; r = r < count ? c.nextSet(r + 1) : 0) {
                XBASE_TRY(m_dbf->readRecord(r, &rec[0]));
                if (m_deletedHidden && rec[0] == '*')
                    continue;
                if (m_query.isTrue(RecordRef{rec.data(), r}, m_eval))
                    setQueryBit(r, true);
            }
            return Status::Ok();
        }
    }
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = recordsPerChunk(recLen, count);
    std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
    for (uint32_t first = 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k) {
            const char *data = buffer.data() + static_cast<size_t>(k) * recLen;
            if (m_deletedHidden && data[0] == '*')
                continue;
            if (m_query.isTrue(RecordRef{data, first + k}, m_eval))
                setQueryBit(first + k, true);
        }
    }
    return Status::Ok();
}

Status Table::queryCount(uint64_t &out)
{
    out = 0;
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    if (m_queryActive) {
        if (m_queryBitCount < recordCount())
            XBASE_TRY(rebuildQuery());
        for (uint64_t w : m_queryBits)
            out += static_cast<uint64_t>(__builtin_popcountll(w));
        return Status::Ok();
    }
    const uint32_t count = recordCount();
    if (!m_deletedHidden) {
        out = count;
        return Status::Ok();
    }
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = recordsPerChunk(recLen, count);
    std::vector<char> buffer(static_cast<size_t>(perChunk) * recLen);
    for (uint32_t first = 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k)
            if (buffer[static_cast<size_t>(k) * recLen] != '*')
                ++out;
    }
    return Status::Ok();
}

Status Table::visibleSet(RecordBitmap &shown)
{
    const uint32_t count = recordCount();
    if (!m_queryActive && !m_deletedHidden) {
        shown.setAll();
        return Status::Ok();
    }
    // Only an exclusive opener knows that no one else changed a record since the query's
    // bitmap or the DELETED() tag was last brought up to date; others read the records.
    uint32_t answered = 0; // records 1..answered are decided without reading them
    if (m_mode == OpenMode::Exclusive) {
        if (m_queryActive) {
            answered = std::min(m_queryBitCount, count);
            for (uint32_t w = 0; w * 64 < answered; ++w) {
                uint64_t bits = m_queryBits[w];
                while (bits != 0) {
                    const uint32_t r = w * 64 + static_cast<uint32_t>(__builtin_ctzll(bits)) + 1;
                    bits &= bits - 1;
                    if (r <= answered)
                        shown.set(r);
                }
            }
        } else if (IndexTag *marks = deletedMarkTag()) {
            shown.setAll();
            XBASE_TRY(marks->scan("T", "T", true, false, [&](std::string_view, uint32_t r) {
                shown.reset(r);
                return true;
            }));
            answered = count;
        }
    }
    if (answered >= count)
        return Status::Ok();
    const uint32_t recLen = m_dbf->recordLength();
    const uint32_t perChunk = recordsPerChunk(recLen, count);
    std::vector<char> buffer(static_cast<size_t>(std::min(perChunk, count - answered)) * recLen);
    for (uint32_t first = answered + 1; first <= count; first += perChunk) {
        const uint32_t n = std::min(perChunk, count - first + 1);
        XBASE_TRY(m_dbf->readRecords(first, n, buffer.data()));
        for (uint32_t k = 0; k < n; ++k)
            if (passesFilters(buffer.data() + static_cast<size_t>(k) * recLen, first + k))
                shown.set(first + k);
    }
    return Status::Ok();
}

Status Table::visibleRecnos(std::vector<uint32_t> &out)
{
    out.clear();
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    XBASE_TRY(refreshShared());
    RecordBitmap shown(recordCount());
    XBASE_TRY(visibleSet(shown));
    OpenTag *t = currentTag();
    if (!t) {
        out.reserve(shown.count());
        for (uint32_t r = shown.nextSet(1); r != 0; r = r < shown.size() ? shown.nextSet(r + 1) : 0)
            out.push_back(r);
        return Status::Ok();
    }
    // The scope's keys lie together in the order, from the first not below its low bound
    // to the last whose prefix is not above its high bound.
    const bool bounded = m_scoped && !m_scopeHi.empty();
    const std::string lo = m_scoped ? m_scopeLo : std::string();
    return t->tag->scan(lo, bounded ? m_scopeHi : std::string(), true, !bounded,
                        [&](std::string_view, uint32_t r) {
                            if (shown.test(r))
                                out.push_back(r);
                            return true;
                        });
}

Status Table::evaluate(std::string_view expr, Value &out) const
{
    if (!isOpen())
        return Status::InvalidArgument("No table is open");
    Expression e;
    XBASE_TRY(Expression::compile(expr, schema(), e));
    out = e.evaluate(record(), m_eval);
    return Status::Ok();
}

Status Table::evalLogical(std::string_view expr, bool &out) const
{
    Value v;
    XBASE_TRY(evaluate(expr, v));
    if (v.type != ValueType::Logical)
        return Status::InvalidArgument("The expression is not a logical one");
    out = v.logical;
    return Status::Ok();
}

} // namespace xbase
