#include "Expression.h"

#include "ExpressionEval.h"
#include "ExpressionNode.h"
#include "ExpressionParser.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace xbase {

Expression::Expression() = default;
Expression::~Expression() = default;
Expression::Expression(const Expression &) = default;
Expression &Expression::operator=(const Expression &) = default;

namespace {

// Appends the runs of record bytes that make up `n` when it is built only from Character
// fields, UPPER and "+" (the shape of nearly every index key); false for any other shape.
bool flattenKey(const ExpressionNode &n, bool upper, std::vector<Expression::KeyPart> &parts)
{
    switch (n.kind) {
    case NodeKind::Field:
        if (n.type != ValueType::Character || n.fieldType != 'C')
            return false;
        if (!parts.empty() && parts.back().upper == upper &&
            parts.back().offset + parts.back().length == n.offset)
            parts.back().length += n.length;
        else
            parts.push_back({n.offset, n.length, upper});
        return true;
    case NodeKind::Upper:
        return flattenKey(n.child(0), true, parts);
    case NodeKind::Concat:
        return flattenKey(n.child(0), upper, parts) && flattenKey(n.child(1), upper, parts);
    default:
        return false;
    }
}

} // namespace

Status Expression::compile(std::string_view text, const Schema &schema, Expression &out)
{
    out = Expression();
    std::unique_ptr<ExpressionNode> root;
    uint32_t scratchSize = 0;
    XBASE_TRY(ExpressionParser::parse(text, schema, root, scratchSize));
    out.m_root = std::shared_ptr<const ExpressionNode>(root.release());
    out.m_text = std::string(text);
    out.m_scratchSize = scratchSize;
    out.m_recordLength = schema.recordLength();
    if (out.m_root->type == ValueType::Character && !flattenKey(*out.m_root, false, out.m_keyParts))
        out.m_keyParts.clear();
    return Status::Ok();
}

ValueType Expression::type() const
{
    return m_root ? m_root->type : ValueType::Logical;
}

int Expression::keyLength() const
{
    if (!m_root)
        return 0;
    switch (m_root->type) {
    case ValueType::Character:
        return static_cast<int>(m_root->maxLength);
    case ValueType::Numeric:
    case ValueType::Date:
        return 8;
    case ValueType::Logical:
        return 1;
    }
    return 0;
}

namespace {

constexpr uint32_t kStackScratch = 2048;

// Runs `body(context)` with a scratch area of `size` bytes: on the stack for the common
// small expressions, on the heap otherwise. A record without bytes reads as all blanks.
template <typename Body>
auto withContext(const RecordRef &record, uint32_t scratchSize, uint32_t recordLength,
                 const EvalOptions &options, Body body)
{
    char stackScratch[kStackScratch];
    std::vector<char> heapScratch;
    char *scratch = stackScratch;
    if (scratchSize > kStackScratch) {
        heapScratch.resize(scratchSize);
        scratch = heapScratch.data();
    }
    std::vector<char> blankRecord;
    const char *data = record.data;
    if (!data) {
        blankRecord.assign(recordLength + 1, ' ');
        data = blankRecord.data();
    }
    EvalContext context{data, record.recno, scratch, options.exact};
    return body(context);
}

} // namespace

Value Expression::evaluate(const RecordRef &record, const EvalOptions &options) const
{
    Value v;
    if (!m_root)
        return v;
    v.type = m_root->type;
    withContext(record, m_scratchSize, m_recordLength, options, [&](const EvalContext &c) {
        switch (m_root->type) {
        case ValueType::Character:
            v.text = std::string(evalCharacter(*m_root, c));
            break;
        case ValueType::Numeric:
        case ValueType::Date:
            v.number = evalNumber(*m_root, c);
            break;
        case ValueType::Logical:
            v.logical = evalLogical(*m_root, c);
            break;
        }
        return 0;
    });
    return v;
}

bool Expression::isTrue(const RecordRef &record, const EvalOptions &options) const
{
    if (!m_root || m_root->type != ValueType::Logical)
        return false;
    if (record.data && m_scratchSize <= kStackScratch) { // the common case, kept lean
        char scratch[kStackScratch];
        const EvalContext context{record.data, record.recno, scratch, options.exact};
        return evalLogical(*m_root, context);
    }
    return withContext(record, m_scratchSize, m_recordLength, options,
                       [&](const EvalContext &c) { return evalLogical(*m_root, c); });
}

std::string Expression::indexKey(const RecordRef &record) const
{
    std::string key(static_cast<size_t>(keyLength()), '\0');
    if (!key.empty())
        indexKeyInto(record, key.data());
    return key;
}

void Expression::indexKeyInto(const RecordRef &record, char *out) const
{
    if (!m_root)
        return;
    if (!m_keyParts.empty() && record.data) {
        const unsigned char *table = upperTable();
        for (const KeyPart &p : m_keyParts) {
            const char *from = record.data + p.offset;
            if (p.upper) {
                uint32_t i = 0;
                // Eight bytes at once while they are ASCII, where only a..z change.
                for (; i + 8 <= p.length; i += 8) {
                    uint64_t w = 0;
                    std::memcpy(&w, from + i, 8);
                    if (w & 0x8080808080808080ull)
                        break;
                    w ^= ((w + 0x1F1F1F1F1F1F1F1Full) & ~(w + 0x0505050505050505ull) & 0x8080808080808080ull) >> 2;
                    std::memcpy(out + i, &w, 8);
                }
                for (; i < p.length; ++i)
                    out[i] = static_cast<char>(table[static_cast<unsigned char>(from[i])]);
            } else
                std::memcpy(out, from, p.length);
            out += p.length;
        }
        return;
    }
    withContext(record, m_scratchSize, m_recordLength, EvalOptions{}, [&](const EvalContext &c) {
        switch (m_root->type) {
        case ValueType::Character: {
            const std::string_view text = evalCharacter(*m_root, c);
            const size_t n = std::min<size_t>(text.size(), m_root->maxLength);
            std::memcpy(out, text.data(), n);
            std::memset(out + n, ' ', m_root->maxLength - n);
            break;
        }
        case ValueType::Numeric:
        case ValueType::Date: {
            const std::string key = numericKey(evalNumber(*m_root, c));
            std::memcpy(out, key.data(), key.size());
            break;
        }
        case ValueType::Logical:
            out[0] = evalLogical(*m_root, c) ? 'T' : 'F';
            break;
        }
        return 0;
    });
}

std::string numericKey(double value)
{
    if (value == 0.0)
        value = 0.0; // -0 sorts and matches as 0
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    if (bits & (uint64_t(1) << 63))
        bits = ~bits;
    else
        bits |= uint64_t(1) << 63;
    std::string key(8, '\0');
    for (int i = 0; i < 8; ++i)
        key[static_cast<size_t>(i)] = static_cast<char>((bits >> (56 - 8 * i)) & 0xFF);
    return key;
}

namespace {

struct CaseTables {
    unsigned char upper[256];
    unsigned char lower[256];
    CaseTables()
    {
        for (int c = 0; c < 256; ++c) {
            upper[c] = static_cast<unsigned char>(c);
            lower[c] = static_cast<unsigned char>(c);
        }
        for (int c = 'a'; c <= 'z'; ++c) {
            upper[c] = static_cast<unsigned char>(c - 32);
            lower[c - 32] = static_cast<unsigned char>(c);
        }
        // Windows-1252 small letters and their capitals.
        const unsigned char pairs[][2] = {{0x9A, 0x8A}, {0x9C, 0x8C}, {0x9E, 0x8E}, {0xFF, 0x9F}};
        for (const auto &p : pairs) {
            upper[p[0]] = p[1];
            lower[p[1]] = p[0];
        }
        for (int c = 0xE0; c <= 0xFE; ++c) {
            if (c == 0xF7) // division sign
                continue;
            upper[c] = static_cast<unsigned char>(c - 0x20);
            lower[c - 0x20] = static_cast<unsigned char>(c);
        }
    }
};

const CaseTables &caseTables()
{
    static const CaseTables tables;
    return tables;
}

} // namespace

const unsigned char *upperTable()
{
    return caseTables().upper;
}

const unsigned char *lowerTable()
{
    return caseTables().lower;
}

unsigned char upperCp1252(unsigned char c)
{
    return caseTables().upper[c];
}

std::string upperCp1252(std::string_view text)
{
    const unsigned char *table = upperTable();
    std::string out(text);
    for (char &c : out)
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

} // namespace xbase
