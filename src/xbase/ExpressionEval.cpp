#include "ExpressionEval.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace xbase {

namespace {

// A count argument (LEFT, RIGHT, SUBSTR) as a size between 0 and `limit`.
size_t clampCount(double n, size_t limit)
{
    if (!(n > 0)) // also NaN
        return 0;
    if (n >= static_cast<double>(limit))
        return limit;
    return static_cast<size_t>(n);
}

std::string_view trimRight(std::string_view s)
{
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ')
        --n;
    return s.substr(0, n);
}

std::string_view trimLeft(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    return s.substr(i);
}

bool isBlankText(std::string_view s)
{
    for (char ch : s)
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n')
            return false;
    return true;
}

uint64_t littleEndian(const char *bytes, int count)
{
    uint64_t v = 0;
    for (int i = count - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[i]);
    return v;
}

double fieldNumber(const ExpressionNode &n, const char *bytes)
{
    switch (n.fieldType) {
    case 'I':
        if (n.length == 4)
            return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(littleEndian(bytes, 4))));
        return 0;
    case 'B':
        if (n.length == 8) {
            uint64_t bits = littleEndian(bytes, 8);
            double d = 0;
            std::memcpy(&d, &bits, sizeof d);
            return d;
        }
        return 0;
    case 'Y':
        if (n.length == 8)
            return static_cast<double>(static_cast<int64_t>(littleEndian(bytes, 8))) / 10000.0;
        return 0;
    case 'D':
        return parseDate(bytes, n.length);
    default: // N, F
        return parseNumber(bytes, n.length);
    }
}

// STR(number, length, decimals) into `out` (length bytes): right-aligned, rounded half away
// from zero; asterisks when it does not fit.
void formatStr(double value, int length, int decimals, char *out)
{
    char buffer[400];
    int written = -1;
    if (std::isfinite(value) && std::fabs(value) < 1e300) {
        double scale = std::pow(10.0, decimals);
        double rounded = std::round(value * scale) / scale;
        if (!std::isfinite(rounded))
            rounded = value;
        if (rounded == 0.0)
            rounded = 0.0;
        written = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, rounded);
    }
    if (written < 0 || written > length) {
        std::memset(out, '*', static_cast<size_t>(length));
        return;
    }
    const size_t pad = static_cast<size_t>(length - written);
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, buffer, static_cast<size_t>(written));
}

bool compareResult(CompareOp op, int c)
{
    switch (op) {
    case CompareOp::Equal:
    case CompareOp::ExactEqual:
        return c == 0;
    case CompareOp::NotEqual:
        return c != 0;
    case CompareOp::Less:
        return c < 0;
    case CompareOp::LessEqual:
        return c <= 0;
    case CompareOp::Greater:
        return c > 0;
    case CompareOp::GreaterEqual:
        return c >= 0;
    }
    return false;
}

} // namespace

namespace {

// compareCharacters with every byte of the left side read through `map` (a case table, or
// nothing), so UPPER(field) = "..." needs no copy of the field.
template <typename Map> int compareMapped(std::string_view left, std::string_view right, bool exact, Map map)
{
    const size_t common = left.size() < right.size() ? left.size() : right.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char l = map(static_cast<unsigned char>(left[i]));
        const unsigned char r = static_cast<unsigned char>(right[i]);
        if (l != r)
            return l < r ? -1 : 1;
    }
    if (left.size() == right.size())
        return 0;
    if (!exact) {
        // Compared on the right side's length: a longer left side is equal, a shorter is less.
        return left.size() > right.size() ? 0 : -1;
    }
    // The shorter side is padded with blanks.
    if (left.size() > right.size()) {
        for (size_t i = common; i < left.size(); ++i) {
            const unsigned char l = map(static_cast<unsigned char>(left[i]));
            if (l != ' ')
                return l < ' ' ? -1 : 1;
        }
    } else {
        for (size_t i = common; i < right.size(); ++i)
            if (right[i] != ' ')
                return static_cast<unsigned char>(right[i]) < ' ' ? 1 : -1;
    }
    return 0;
}

struct Identity {
    unsigned char operator()(unsigned char c) const { return c; }
};

struct ThroughTable {
    const unsigned char *table;
    unsigned char operator()(unsigned char c) const { return table[c]; }
};

// Whether `needle` occurs in `hay` read through `map`.
template <typename Map> bool containsMapped(std::string_view needle, std::string_view hay, Map map)
{
    if (needle.empty() || needle.size() > hay.size())
        return false;
    const unsigned char first = static_cast<unsigned char>(needle[0]);
    const size_t last = hay.size() - needle.size();
    for (size_t i = 0; i <= last; ++i) {
        if (map(static_cast<unsigned char>(hay[i])) != first)
            continue;
        size_t k = 1;
        while (k < needle.size() &&
               map(static_cast<unsigned char>(hay[i + k])) == static_cast<unsigned char>(needle[k]))
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

bool compareText(CompareOp op, std::string_view l, std::string_view r, bool exact, const unsigned char *table)
{
    if (op == CompareOp::ExactEqual) {
        if (l.size() != r.size())
            return false;
        if (!table)
            return l.empty() || std::memcmp(l.data(), r.data(), l.size()) == 0;
        return compareMapped(l, r, true, ThroughTable{table}) == 0;
    }
    if (!table)
        return compareResult(op, compareMapped(l, r, exact, Identity{}));
    return compareResult(op, compareMapped(l, r, exact, ThroughTable{table}));
}

// The case table when `n` is UPPER(x) or LOWER(x), else nullptr.
const unsigned char *caseTableOf(const ExpressionNode &n)
{
    if (n.kind == NodeKind::Upper)
        return upperTable();
    if (n.kind == NodeKind::Lower)
        return lowerTable();
    return nullptr;
}

} // namespace

int compareCharacters(std::string_view left, std::string_view right, bool exact)
{
    return compareMapped(left, right, exact, Identity{});
}

int64_t julianDay(int year, int month, int day)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int inMonth = days[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > inMonth)
        return 0;
    const int64_t a = (14 - month) / 12;
    const int64_t y = year + 4800 - a;
    const int64_t m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

void julianToDigits(double julian, char out[8])
{
    // Julian days of 0001-01-01 and 9999-12-31.
    if (!(julian >= 1721426.0 && julian <= 5373484.0)) {
        std::memset(out, ' ', 8);
        return;
    }
    const int64_t j = static_cast<int64_t>(julian);
    const int64_t a = j + 32044;
    const int64_t b = (4 * a + 3) / 146097;
    const int64_t c = a - 146097 * b / 4;
    const int64_t d = (4 * c + 3) / 1461;
    const int64_t e = c - 1461 * d / 4;
    const int64_t m = (5 * e + 2) / 153;
    int64_t day = e - (153 * m + 2) / 5 + 1;
    int64_t month = m + 3 - 12 * (m / 10);
    int64_t year = 100 * b + d - 4800 + m / 10;
    for (int i = 3; i >= 0; --i, year /= 10)
        out[i] = static_cast<char>('0' + year % 10);
    out[4] = static_cast<char>('0' + month / 10);
    out[5] = static_cast<char>('0' + month % 10);
    out[6] = static_cast<char>('0' + day / 10);
    out[7] = static_cast<char>('0' + day % 10);
}

double parseDate(const char *bytes, uint32_t length)
{
    if (length < 8)
        return 0;
    int v[8];
    for (int i = 0; i < 8; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return 0;
        v[i] = bytes[i] - '0';
    }
    const int year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
    return static_cast<double>(julianDay(year, v[4] * 10 + v[5], v[6] * 10 + v[7]));
}

double parseNumber(const char *bytes, size_t length)
{
    size_t i = 0;
    while (i < length && bytes[i] == ' ')
        ++i;
    bool negative = false;
    if (i < length && (bytes[i] == '-' || bytes[i] == '+')) {
        negative = bytes[i] == '-';
        ++i;
    }
    double value = 0;
    while (i < length && bytes[i] >= '0' && bytes[i] <= '9')
        value = value * 10 + (bytes[i++] - '0');
    if (i < length && bytes[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < length && bytes[i] >= '0' && bytes[i] <= '9') {
            value += (bytes[i++] - '0') * scale;
            scale /= 10;
        }
    }
    return negative ? -value : value;
}

std::string_view evalCharacter(const ExpressionNode &n, const EvalContext &c)
{
    switch (n.kind) {
    case NodeKind::Constant:
        return n.constant.text;
    case NodeKind::Field:
        return {c.record + n.offset, n.length};
    case NodeKind::Upper:
    case NodeKind::Lower: {
        const std::string_view s = evalCharacter(n.child(0), c);
        const unsigned char *table = n.kind == NodeKind::Upper ? upperTable() : lowerTable();
        char *out = c.scratch + n.scratch;
        for (size_t i = 0; i < s.size(); ++i)
            out[i] = static_cast<char>(table[static_cast<unsigned char>(s[i])]);
        return {out, s.size()};
    }
    case NodeKind::Left: {
        const std::string_view s = evalCharacter(n.child(0), c);
        return s.substr(0, clampCount(evalNumber(n.child(1), c), s.size()));
    }
    case NodeKind::Right: {
        const std::string_view s = evalCharacter(n.child(0), c);
        return s.substr(s.size() - clampCount(evalNumber(n.child(1), c), s.size()));
    }
    case NodeKind::Substr: {
        const std::string_view s = evalCharacter(n.child(0), c);
        const double start = evalNumber(n.child(1), c);
        const size_t from = start > 1 ? clampCount(start - 1, s.size()) : 0;
        const std::string_view rest = s.substr(from);
        if (n.children.size() < 3)
            return rest;
        return rest.substr(0, clampCount(evalNumber(n.child(2), c), rest.size()));
    }
    case NodeKind::RTrim:
        return trimRight(evalCharacter(n.child(0), c));
    case NodeKind::LTrim:
        return trimLeft(evalCharacter(n.child(0), c));
    case NodeKind::AllTrim:
        return trimLeft(trimRight(evalCharacter(n.child(0), c)));
    case NodeKind::Str: {
        char *out = c.scratch + n.scratch;
        formatStr(evalNumber(n.child(0), c), static_cast<int>(n.maxLength),
                  static_cast<int>(n.child(2).constant.number), out);
        return {out, n.maxLength};
    }
    case NodeKind::Dtos: {
        char *out = c.scratch + n.scratch;
        julianToDigits(evalNumber(n.child(0), c), out);
        return {out, 8};
    }
    case NodeKind::Iif:
        return evalLogical(n.child(0), c) ? evalCharacter(n.child(1), c) : evalCharacter(n.child(2), c);
    case NodeKind::Concat: {
        const std::string_view a = evalCharacter(n.child(0), c);
        const std::string_view b = evalCharacter(n.child(1), c);
        char *out = c.scratch + n.scratch;
        std::memcpy(out, a.data(), a.size());
        std::memcpy(out + a.size(), b.data(), b.size());
        return {out, a.size() + b.size()};
    }
    case NodeKind::ConcatTrim: {
        const std::string_view a = evalCharacter(n.child(0), c);
        const std::string_view b = evalCharacter(n.child(1), c);
        const std::string_view trimmed = trimRight(a);
        char *out = c.scratch + n.scratch;
        std::memcpy(out, trimmed.data(), trimmed.size());
        std::memcpy(out + trimmed.size(), b.data(), b.size());
        std::memset(out + trimmed.size() + b.size(), ' ', a.size() - trimmed.size());
        return {out, a.size() + b.size()};
    }
    default:
        return {};
    }
}

double evalNumber(const ExpressionNode &n, const EvalContext &c)
{
    switch (n.kind) {
    case NodeKind::Constant:
        return n.constant.number;
    case NodeKind::Field:
        return fieldNumber(n, c.record + n.offset);
    case NodeKind::RecNo:
        return c.recno;
    case NodeKind::Val: {
        const std::string_view s = evalCharacter(n.child(0), c);
        return parseNumber(s.data(), s.size());
    }
    case NodeKind::Iif:
        return evalLogical(n.child(0), c) ? evalNumber(n.child(1), c) : evalNumber(n.child(2), c);
    case NodeKind::Add:
        return evalNumber(n.child(0), c) + evalNumber(n.child(1), c);
    case NodeKind::Subtract:
        return evalNumber(n.child(0), c) - evalNumber(n.child(1), c);
    case NodeKind::Multiply:
        return evalNumber(n.child(0), c) * evalNumber(n.child(1), c);
    case NodeKind::Divide: {
        const double d = evalNumber(n.child(1), c);
        return d == 0 ? 0 : evalNumber(n.child(0), c) / d;
    }
    case NodeKind::Modulo: {
        const double d = evalNumber(n.child(1), c);
        return d == 0 ? 0 : std::fmod(evalNumber(n.child(0), c), d);
    }
    case NodeKind::Negate:
        return -evalNumber(n.child(0), c);
    default:
        return 0;
    }
}

bool evalLogical(const ExpressionNode &n, const EvalContext &c)
{
    switch (n.kind) {
    case NodeKind::Constant:
        return n.constant.logical;
    case NodeKind::Field: {
        const char v = c.record[n.offset];
        return v == 'T' || v == 't' || v == 'Y' || v == 'y';
    }
    case NodeKind::Deleted:
        return c.record[0] == '*';
    case NodeKind::EmptyMemo: {
        const char *p = c.record + n.offset;
        if (n.length == 4)
            return littleEndian(p, 4) == 0;
        for (uint32_t i = 0; i < n.length; ++i)
            if (p[i] != ' ' && p[i] != '0' && p[i] != '\0')
                return false;
        return true;
    }
    case NodeKind::Empty: {
        const ExpressionNode &a = n.child(0);
        switch (a.type) {
        case ValueType::Character:
            return isBlankText(evalCharacter(a, c));
        case ValueType::Numeric:
        case ValueType::Date:
            return evalNumber(a, c) == 0;
        case ValueType::Logical:
            return !evalLogical(a, c);
        }
        return false;
    }
    case NodeKind::Iif:
        return evalLogical(n.child(0), c) ? evalLogical(n.child(1), c) : evalLogical(n.child(2), c);
    case NodeKind::Compare: {
        const ExpressionNode &a = n.child(0);
        const ExpressionNode &b = n.child(1);
        switch (a.type) {
        case ValueType::Character: {
            // UPPER(x) or LOWER(x) against a constant reads x through the case table.
            const unsigned char *table = b.kind == NodeKind::Constant ? caseTableOf(a) : nullptr;
            const std::string_view l = evalCharacter(table ? a.child(0) : a, c);
            return compareText(n.op, l, evalCharacter(b, c), c.exact, table);
        }
        case ValueType::Numeric:
        case ValueType::Date: {
            const double l = evalNumber(a, c);
            const double r = evalNumber(b, c);
            return compareResult(n.op, l < r ? -1 : (l > r ? 1 : 0));
        }
        case ValueType::Logical: {
            const bool l = evalLogical(a, c);
            const bool r = evalLogical(b, c);
            return compareResult(n.op, l == r ? 0 : 1);
        }
        }
        return false;
    }
    case NodeKind::Contains: {
        const std::string_view needle = evalCharacter(n.child(0), c);
        const ExpressionNode &hay = n.child(1);
        if (const unsigned char *table = caseTableOf(hay))
            return containsMapped(needle, evalCharacter(hay.child(0), c), ThroughTable{table});
        if (needle.empty())
            return false;
        return evalCharacter(hay, c).find(needle) != std::string_view::npos;
    }
    case NodeKind::And:
        return evalLogical(n.child(0), c) && evalLogical(n.child(1), c);
    case NodeKind::Or:
        return evalLogical(n.child(0), c) || evalLogical(n.child(1), c);
    case NodeKind::Not:
        return !evalLogical(n.child(0), c);
    default:
        return false;
    }
}

} // namespace xbase
