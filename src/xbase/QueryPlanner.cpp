#include "QueryPlanner.h"

#include "ExpressionEval.h"
#include "ExpressionNode.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace xbase {

namespace {

constexpr uint64_t kUnbounded = std::numeric_limits<uint64_t>::max();
// Entries an .AND. reads from each of its ranges before it grows the budget: a range that
// stays within it decides the candidates, larger ones are left to the re-test.
constexpr uint64_t kFirstBudget = 2048;
// Index entries read in the time one record is read and re-tested (entries come packed in
// pages read in order; records one by one).
constexpr uint64_t kEntriesPerRecordRead = 16;

// One piece of a character key joined by "+": `node`, capitalised when `upper`.
struct Component {
    const ExpressionNode *node;
    bool upper;
};

void flatten(const ExpressionNode &n, bool upper, std::vector<Component> &out)
{
    if (n.kind == NodeKind::Concat) {
        flatten(n.child(0), upper, out);
        flatten(n.child(1), upper, out);
    } else if (n.kind == NodeKind::Upper) {
        flatten(n.child(0), true, out); // UPPER(a+b) = UPPER(a)+UPPER(b); UPPER(UPPER(a)) = UPPER(a)
    } else {
        out.push_back({&n, upper});
    }
}

bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The smallest string of at most p.size() bytes that is greater than every string beginning
// with p; false when there is none (p empty or all 0xFF).
bool successor(std::string p, std::string &out)
{
    while (!p.empty()) {
        unsigned char last = static_cast<unsigned char>(p.back());
        if (last != 0xFF) {
            p.back() = static_cast<char>(last + 1);
            out = p;
            return true;
        }
        p.pop_back();
    }
    return false;
}

// A set of tag entries to read, or an answer that needs no reading.
struct Range {
    enum Kind { Scan, Nothing, Everything } kind = Scan;
    int tag = -1;
    std::string lo;
    std::string hi;
    bool hiInclusive = true;
    bool unboundedHi = false;
    bool complement = false; // the records NOT in the range (<> and #)
    uint32_t recnoLo = 0;    // Everything/Nothing via RECNO(): records recnoLo..recnoHi
    uint32_t recnoHi = 0;
    bool byRecno = false;
    bool logical = false; // the "T" or "F" entries of a logical tag
    std::string contains; // when not empty: the whole tag, entries whose key holds this text
};

struct Result {
    bool tooBig = false; // the range holds more entries than the budget allowed
    bool all = false;    // every record (bits unused)
    bool exact = false;  // the set is exactly the records the condition holds for
    RecordBitmap bits;
    uint64_t visited = 0;
};

std::string printable(std::string_view s)
{
    std::string out = "\"";
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u >= 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

class Planner
{
public:
    Planner(IndexCatalog &catalog, uint32_t recordCount, const EvalOptions &options)
        : m_catalog(catalog), m_count(recordCount), m_options(options)
    {
        for (int i = 0; i < catalog.tagCount(); ++i) {
            const TagSpec &spec = catalog.tagSpec(i);
            const Expression &key = catalog.tagKey(i);
            TagInfo info;
            info.usable = key.isValid() && spec.forExpr.empty() && !spec.descending && !spec.unique;
            if (info.usable && key.type() == ValueType::Character && spec.keyType == 'C')
                flatten(*key.root(), false, info.components);
            m_tags.push_back(std::move(info));
        }
    }

    Result top(const ExpressionNode &root) { return analyze(root, kUnbounded, false); }
    const std::string &explain() const { return m_explain; }
    const Status &status() const { return m_status; }

private:
    struct TagInfo {
        bool usable = false;
        std::vector<Component> components;
    };

    IndexCatalog &m_catalog;
    uint32_t m_count;
    EvalOptions m_options;
    std::vector<TagInfo> m_tags;
    std::string m_explain;
    Status m_status;

    void note(const std::string &line) { m_explain += line + "\n"; }

    Result everything(bool exact) const
    {
        Result r;
        r.all = true;
        r.exact = exact;
        return r;
    }

    Result nothing() const
    {
        Result r;
        r.exact = true;
        r.bits = RecordBitmap(m_count);
        return r;
    }

    Result tooBig(uint64_t visited) const
    {
        Result r;
        r.tooBig = true;
        r.visited = visited;
        return r;
    }

    static void collect(const ExpressionNode &n, NodeKind kind, std::vector<const ExpressionNode *> &out)
    {
        if (n.kind == kind) {
            collect(n.child(0), kind, out);
            collect(n.child(1), kind, out);
        } else {
            out.push_back(&n);
        }
    }

    Result analyze(const ExpressionNode &n, uint64_t budget, bool needExact)
    {
        if (!m_status.ok())
            return everything(false);
        switch (n.kind) {
        case NodeKind::Constant:
            return n.constant.logical ? everything(true) : nothing();
        case NodeKind::And: {
            std::vector<const ExpressionNode *> parts;
            collect(n, NodeKind::And, parts);
            return analyzeAnd(parts, budget, needExact);
        }
        case NodeKind::Or: {
            std::vector<const ExpressionNode *> parts;
            collect(n, NodeKind::Or, parts);
            return analyzeOr(parts, budget, needExact);
        }
        default:
            break;
        }
        Range range;
        if (leafRange(n, range)) {
            Result r = read(range, budget);
            if (r.tooBig && range.logical) {
                // Every entry of a logical tag is "T" or "F": the other value's entries,
                // complemented, are the same records, and often far fewer.
                range.lo = range.hi = range.lo == "T" ? "F" : "T";
                range.complement = !range.complement;
                Result other = read(range, budget);
                other.visited += r.visited;
                return other;
            }
            return r;
        }
        if (n.kind == NodeKind::Not) {
            Result inner = analyze(n.child(0), budget, true);
            if (inner.tooBig)
                return inner;
            return complement(std::move(inner));
        }
        note("no tag answers the condition at position " + std::to_string(n.position));
        return everything(false);
    }

    Result complement(Result inner) const
    {
        if (!inner.exact)
            return everything(false); // the complement of a superset says nothing
        if (inner.all) {
            Result r = nothing();
            r.visited = inner.visited;
            return r;
        }
        inner.bits.invert();
        return inner;
    }

    Result analyzeAnd(const std::vector<const ExpressionNode *> &parts, uint64_t budget, bool needExact)
    {
        std::vector<const ExpressionNode *> pending = parts;
        RecordBitmap acc;
        bool haveSet = false;
        bool exact = true;
        uint64_t visited = 0;
        uint64_t step = std::min(kFirstBudget, budget);
        // Without the need for an exact answer, a range bigger than the file is not worth
        // reading. Up to that size an entry costs less than a record read (keys are short
        // beside records, and a pass over every record copies all of them).
        const uint64_t ceiling =
            needExact ? budget : std::min<uint64_t>(budget, std::max<uint64_t>(m_count, kFirstBudget));
        for (;;) {
            std::vector<const ExpressionNode *> still;
            for (const ExpressionNode *part : pending) {
                Result r = analyze(*part, step, needExact);
                visited += r.visited;
                if (r.tooBig) {
                    still.push_back(part);
                    continue;
                }
                exact = exact && r.exact;
                if (r.all)
                    continue;
                if (haveSet)
                    acc.andWith(r.bits);
                else
                    acc = std::move(r.bits);
                haveSet = true;
                if (acc.count() == 0) {
                    Result empty = nothing();
                    empty.visited = visited;
                    return empty;
                }
            }
            pending.swap(still);
            if (pending.empty())
                break;
            // The ranges still pending hold more than `step` entries each; when re-testing
            // the records found so far costs less than reading that many entries, stop.
            if (haveSet && !needExact && acc.count() * kEntriesPerRecordRead <= step) {
                note("left " + std::to_string(pending.size()) + " larger condition(s) to the re-test");
                exact = false;
                break;
            }
            if (step >= ceiling) {
                if (budget != ceiling && !needExact) {
                    note("every range is larger than the file");
                    return everything(false);
                }
                return tooBig(visited);
            }
            step = step > ceiling / 4 ? ceiling : step * 4;
        }
        if (!haveSet) {
            Result r = everything(exact);
            r.visited = visited;
            return r;
        }
        if (!exact && !needExact && acc.count() > std::max<uint64_t>(m_count / 2, kFirstBudget)) {
            // Candidates to re-test in most of the file: a pass over every record costs less.
            note("the candidates are more than half the file");
            Result r = everything(false);
            r.visited = visited;
            return r;
        }
        Result r;
        r.exact = exact;
        r.bits = std::move(acc);
        r.visited = visited;
        return r;
    }

    Result analyzeOr(const std::vector<const ExpressionNode *> &parts, uint64_t budget, bool needExact)
    {
        RecordBitmap acc(m_count);
        bool exact = true;
        uint64_t visited = 0;
        for (const ExpressionNode *part : parts) {
            const uint64_t left = budget == kUnbounded ? kUnbounded : budget - std::min(budget, visited);
            Result r = analyze(*part, left, needExact);
            visited += r.visited;
            if (r.tooBig)
                return tooBig(visited);
            if (r.all) {
                Result whole = everything(r.exact);
                whole.visited = visited;
                return whole;
            }
            acc.orWith(r.bits);
            exact = exact && r.exact;
        }
        Result r;
        r.exact = exact;
        r.bits = std::move(acc);
        r.visited = visited;
        return r;
    }

    Result read(const Range &range, uint64_t budget)
    {
        Result r;
        if (range.kind == Range::Everything) {
            r = everything(true);
        } else if (range.kind == Range::Nothing) {
            r = nothing();
        } else if (range.byRecno) {
            r.exact = true;
            r.bits = RecordBitmap(m_count);
            for (uint32_t i = range.recnoLo; i >= 1 && i <= range.recnoHi && i <= m_count; ++i)
                r.bits.set(i);
        } else {
            r.exact = true;
            r.bits = RecordBitmap(m_count);
            uint64_t visited = 0;
            bool over = false;
            RecordBitmap &bits = r.bits;
            Status s = m_catalog.scan(range.tag, range.lo, range.hi, range.hiInclusive, range.unboundedHi,
                                      [&](std::string_view key, uint32_t recno) {
                                          if (++visited > budget) {
                                              over = true;
                                              return false;
                                          }
                                          if (range.contains.empty() ||
                                              key.find(range.contains) != std::string_view::npos)
                                              bits.set(recno);
                                          return true;
                                      });
            if (!s.ok()) {
                m_status = s;
                return everything(false);
            }
            const std::string name = m_catalog.tagSpec(range.tag).name;
            if (over) {
                note("tag " + name + ": more than " + std::to_string(budget) + " entries");
                return tooBig(visited);
            }
            r.visited = visited;
            if (!range.contains.empty())
                note("tag " + name + ": keys holding " + printable(range.contains));
            note("tag " + name + ": from " + printable(range.lo) + " to " +
                 (range.unboundedHi ? std::string("the end") : printable(range.hi)) +
                 (range.hiInclusive || range.unboundedHi ? "" : " (excluded)") + ", " +
                 std::to_string(visited) + " entries" + (range.complement ? ", complemented" : ""));
        }
        if (range.complement)
            return complement(std::move(r));
        return r;
    }

    // A logical condition that is (or negates) the key of a logical tag.
    bool logicalTagRange(const ExpressionNode &n, Range &range) const
    {
        for (size_t i = 0; i < m_tags.size(); ++i) {
            if (!m_tags[i].usable || m_catalog.tagSpec(static_cast<int>(i)).keyType != 'L')
                continue;
            const ExpressionNode &key = *m_catalog.tagKey(static_cast<int>(i)).root();
            if (key.type != ValueType::Logical)
                continue;
            const char *value = nullptr;
            if (sameStructure(key, n))
                value = "T";
            else if ((n.kind == NodeKind::Not && sameStructure(key, n.child(0))) ||
                     (key.kind == NodeKind::Not && sameStructure(key.child(0), n)))
                value = "F";
            if (value) {
                range.tag = static_cast<int>(i);
                range.lo = range.hi = value;
                range.logical = true;
                return true;
            }
        }
        return false;
    }

    static CompareOp mirrored(CompareOp op)
    {
        switch (op) {
        case CompareOp::Less:
            return CompareOp::Greater;
        case CompareOp::LessEqual:
            return CompareOp::GreaterEqual;
        case CompareOp::Greater:
            return CompareOp::Less;
        case CompareOp::GreaterEqual:
            return CompareOp::LessEqual;
        default:
            return op;
        }
    }

    // "text" $ key, the key being a tag's whole key: every entry of the tag is tested, which
    // reads far less than the records. Only for plain ASCII text: keys another program built
    // differ from ours only in accented letters, which such text cannot match either way.
    bool containsRange(const ExpressionNode &n, Range &range) const
    {
        const ExpressionNode &text = n.child(0);
        const ExpressionNode &within = n.child(1);
        if (text.kind != NodeKind::Constant || text.type != ValueType::Character)
            return false;
        const std::string &needle = text.constant.text;
        for (char c : needle)
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        if (needle.empty()) { // "" $ x is false
            range.kind = Range::Nothing;
            return true;
        }
        if (!within.fixedLength || within.type != ValueType::Character)
            return false;
        for (size_t i = 0; i < m_tags.size(); ++i) {
            const TagSpec &spec = m_catalog.tagSpec(static_cast<int>(i));
            if (m_tags[i].usable && spec.keyType == 'C' && spec.keyLength == within.maxLength &&
                sameStructure(*m_catalog.tagKey(static_cast<int>(i)).root(), within)) {
                range.tag = static_cast<int>(i);
                range.unboundedHi = true;
                range.contains = needle;
                return true;
            }
        }
        return false;
    }

    bool leafRange(const ExpressionNode &n, Range &range) const
    {
        if (n.type == ValueType::Logical && logicalTagRange(n, range))
            return true;
        if (n.kind == NodeKind::Contains && n.children.size() == 2)
            return containsRange(n, range);
        if (n.kind != NodeKind::Compare)
            return false;
        const ExpressionNode &left = n.child(0);
        const ExpressionNode &right = n.child(1);
        if (right.kind != NodeKind::Constant)
            return false;
        if (left.kind == NodeKind::RecNo)
            return recnoRange(n.op, right.constant.number, range);
        if (left.type == ValueType::Character)
            return characterRange(n.op, left, right.constant.text, range);
        if (left.type == ValueType::Numeric || left.type == ValueType::Date)
            return numericRange(n.op, left, right.constant.number, range);
        return false;
    }

    bool recnoRange(CompareOp op, double value, Range &range) const
    {
        if (std::isnan(value))
            return false;
        // Records lo..hi as doubles, then clipped to 1..m_count.
        double lo = 1;
        double hi = m_count;
        switch (op) {
        case CompareOp::Equal:
        case CompareOp::ExactEqual:
        case CompareOp::NotEqual:
            lo = hi = value;
            range.complement = op == CompareOp::NotEqual;
            break;
        case CompareOp::Less:
            hi = std::ceil(value) - 1;
            break;
        case CompareOp::LessEqual:
            hi = std::floor(value);
            break;
        case CompareOp::Greater:
            lo = std::floor(value) + 1;
            break;
        case CompareOp::GreaterEqual:
            lo = std::ceil(value);
            break;
        }
        range.byRecno = true;
        lo = std::max(lo, 1.0);
        hi = std::min(hi, static_cast<double>(m_count));
        if (lo > hi || lo != std::floor(lo)) {
            range.byRecno = false;
            range.kind = Range::Nothing;
            return true;
        }
        range.recnoLo = static_cast<uint32_t>(lo);
        range.recnoHi = static_cast<uint32_t>(hi);
        return true;
    }

    // The tag whose key is `left` or begins with it (joined by "+"); `width` gets the bytes
    // of the key that `left` makes.
    int tagLeadingWith(const ExpressionNode &left, uint32_t &width) const
    {
        std::vector<Component> wanted;
        flatten(left, false, wanted);
        uint32_t total = 0;
        for (const Component &c : wanted) {
            if (!c.node->fixedLength || c.node->type != ValueType::Character)
                return -1;
            total += c.node->maxLength;
        }
        for (size_t i = 0; i < m_tags.size(); ++i) {
            const std::vector<Component> &have = m_tags[i].components;
            if (!m_tags[i].usable || have.size() < wanted.size())
                continue;
            bool same = true;
            for (size_t k = 0; k < wanted.size() && same; ++k)
                same = have[k].upper == wanted[k].upper && sameStructure(*have[k].node, *wanted[k].node);
            if (!same || total > m_catalog.tagSpec(static_cast<int>(i)).keyLength)
                continue;
            width = total;
            return static_cast<int>(i);
        }
        return -1;
    }

    bool characterRange(CompareOp op, const ExpressionNode &left, const std::string &constant,
                        Range &range) const
    {
        if (!isAscii(constant))
            return false;
        uint32_t width = 0;
        const int tag = tagLeadingWith(left, width);
        if (tag < 0)
            return false;
        range.tag = tag;
        const size_t n = constant.size();
        if (op == CompareOp::ExactEqual) {
            if (n != width) {
                range.kind = Range::Nothing;
                return true;
            }
            range.lo = range.hi = constant;
            return true;
        }
        // The left value v always has `width` bytes. Comparing v with the constant reduces to
        // comparing v's first p.size() bytes with p, with `tie` deciding when they are equal.
        std::string p;
        int tie = 0;
        if (n <= width) {
            p = constant;
            if (m_options.exact)
                p.resize(width, ' ');
        } else {
            p = constant.substr(0, width);
            if (!m_options.exact) {
                tie = -1; // v is the shorter side: less
            } else {
                for (size_t i = width; i < n && tie == 0; ++i)
                    if (constant[i] != ' ')
                        tie = static_cast<unsigned char>(constant[i]) > ' ' ? -1 : 1;
            }
        }
        auto from = [&](bool inclusive) {
            // Keys whose prefix is >= p (inclusive) or > p.
            range.unboundedHi = true;
            if (inclusive) {
                range.lo = p;
                if (p.empty())
                    range.kind = Range::Everything;
            } else if (!successor(p, range.lo)) {
                range.kind = Range::Nothing;
            }
        };
        auto upTo = [&](bool inclusive) {
            range.lo.clear();
            range.hi = p;
            range.hiInclusive = inclusive;
            if (p.empty())
                range.kind = inclusive ? Range::Everything : Range::Nothing;
        };
        switch (op) {
        case CompareOp::Equal:
        case CompareOp::NotEqual:
            range.complement = op == CompareOp::NotEqual;
            if (tie != 0) {
                range.kind = Range::Nothing;
            } else if (p.empty()) {
                range.kind = Range::Everything;
            } else {
                range.lo = range.hi = p;
            }
            return true;
        case CompareOp::Less:
            upTo(tie < 0);
            return true;
        case CompareOp::LessEqual:
            upTo(tie <= 0);
            return true;
        case CompareOp::Greater:
            from(tie > 0);
            return true;
        case CompareOp::GreaterEqual:
            from(tie >= 0);
            return true;
        case CompareOp::ExactEqual:
            break;
        }
        return false;
    }

    bool numericRange(CompareOp op, const ExpressionNode &left, double value, Range &range) const
    {
        if (std::isnan(value))
            return false;
        int tag = -1;
        for (size_t i = 0; i < m_tags.size() && tag < 0; ++i) {
            const TagSpec &spec = m_catalog.tagSpec(static_cast<int>(i));
            if (m_tags[i].usable && spec.keyType == 'N' && spec.keyLength == 8 &&
                sameStructure(*m_catalog.tagKey(static_cast<int>(i)).root(), left))
                tag = static_cast<int>(i);
        }
        if (tag < 0)
            return false;
        range.tag = tag;
        const std::string key = numericKey(value);
        switch (op) {
        case CompareOp::Equal:
        case CompareOp::ExactEqual:
        case CompareOp::NotEqual:
            range.lo = range.hi = key;
            range.complement = op == CompareOp::NotEqual;
            return true;
        case CompareOp::Less:
        case CompareOp::LessEqual:
            range.hi = key;
            range.hiInclusive = op == CompareOp::LessEqual;
            return true;
        case CompareOp::Greater:
            range.unboundedHi = true;
            if (!successor(key, range.lo))
                range.kind = Range::Nothing;
            return true;
        case CompareOp::GreaterEqual:
            range.unboundedHi = true;
            range.lo = key;
            return true;
        }
        return false;
    }
};

} // namespace

Status planQuery(const Expression &query, IndexCatalog &catalog, uint32_t recordCount,
                 const EvalOptions &options, QueryPlan &out)
{
    out = QueryPlan();
    if (!query.isValid() || query.type() != ValueType::Logical)
        return Status::InvalidArgument("A query must be a logical expression");
    Planner planner(catalog, recordCount, options);
    Result r = planner.top(*query.root());
    out.explain = planner.explain();
    if (!planner.status().ok())
        return planner.status();
    if (r.all) {
        out.exact = r.exact;
        out.explain += "every record is tested\n";
        return Status::Ok();
    }
    out.indexed = true;
    out.exact = r.exact;
    out.candidates = std::move(r.bits);
    return Status::Ok();
}

} // namespace xbase
