#include "ExpressionParser.h"

#include "ExpressionEval.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

namespace xbase {

namespace {

using NodePtr = std::unique_ptr<ExpressionNode>;

constexpr int kMaxDepth = 100;
constexpr uint32_t kMaxTextLength = 65535;

enum class Tok {
    End,
    Number,
    String,
    Ident,
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Percent,
    Dollar,
    Compare,
    And,
    Or,
    Not,
    True,
    False,
    Error,
};

struct Token {
    Tok kind = Tok::End;
    size_t pos = 0; // 0-based start
    size_t end = 0; // one past the token
    std::string_view text;
    double number = 0;
    CompareOp op = CompareOp::Equal;
    const char *error = nullptr;
};

bool sameWord(std::string_view a, std::string_view upperB)
{
    if (a.size() != upperB.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != upperB[i])
            return false;
    return true;
}

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

Token lex(std::string_view s, size_t pos)
{
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r' || s[pos] == '\n'))
        ++pos;
    Token t;
    t.pos = pos;
    t.end = pos + 1;
    if (pos >= s.size()) {
        t.kind = Tok::End;
        t.end = pos;
        return t;
    }
    const char c = s[pos];
    auto at = [&](size_t i) { return i < s.size() ? s[i] : '\0'; };
    if (isDigit(c) || (c == '.' && isDigit(at(pos + 1)))) {
        size_t i = pos;
        double value = 0;
        while (isDigit(at(i)))
            value = value * 10 + (s[i++] - '0');
        if (at(i) == '.' && !isLetter(at(i + 1))) {
            ++i;
            double scale = 0.1;
            while (isDigit(at(i))) {
                value += (s[i++] - '0') * scale;
                scale /= 10;
            }
        }
        t.kind = Tok::Number;
        t.number = value;
        t.end = i;
        return t;
    }
    if (c == '"' || c == '\'' || c == '[') {
        const char close = c == '[' ? ']' : c;
        const size_t stop = s.find(close, pos + 1);
        if (stop == std::string_view::npos) {
            t.kind = Tok::Error;
            t.error = "unterminated string";
            return t;
        }
        t.kind = Tok::String;
        t.text = s.substr(pos + 1, stop - pos - 1);
        t.end = stop + 1;
        return t;
    }
    if (isLetter(c)) {
        size_t i = pos;
        while (isLetter(at(i)) || isDigit(at(i)))
            ++i;
        t.kind = Tok::Ident;
        t.text = s.substr(pos, i - pos);
        t.end = i;
        return t;
    }
    if (c == '.') {
        struct Dotted {
            const char *word;
            Tok kind;
        };
        static const Dotted words[] = {{".AND.", Tok::And}, {".OR.", Tok::Or},   {".NOT.", Tok::Not},
                                       {".T.", Tok::True},  {".F.", Tok::False}, {".Y.", Tok::True},
                                       {".N.", Tok::False}};
        for (const Dotted &w : words) {
            const std::string_view word(w.word);
            if (sameWord(s.substr(pos, word.size()), word)) {
                t.kind = w.kind;
                t.end = pos + word.size();
                return t;
            }
        }
        t.kind = Tok::Error;
        t.error = "unexpected '.'";
        return t;
    }
    auto compare = [&](CompareOp op, size_t length) {
        t.kind = Tok::Compare;
        t.op = op;
        t.end = pos + length;
        return t;
    };
    switch (c) {
    case '(':
        t.kind = Tok::LParen;
        return t;
    case ')':
        t.kind = Tok::RParen;
        return t;
    case ',':
        t.kind = Tok::Comma;
        return t;
    case '+':
        t.kind = Tok::Plus;
        return t;
    case '-':
        t.kind = Tok::Minus;
        return t;
    case '*':
        t.kind = Tok::Star;
        return t;
    case '/':
        t.kind = Tok::Slash;
        return t;
    case '%':
        t.kind = Tok::Percent;
        return t;
    case '$':
        t.kind = Tok::Dollar;
        return t;
    case '=':
        return at(pos + 1) == '=' ? compare(CompareOp::ExactEqual, 2) : compare(CompareOp::Equal, 1);
    case '<':
        if (at(pos + 1) == '=')
            return compare(CompareOp::LessEqual, 2);
        if (at(pos + 1) == '>')
            return compare(CompareOp::NotEqual, 2);
        return compare(CompareOp::Less, 1);
    case '>':
        return at(pos + 1) == '=' ? compare(CompareOp::GreaterEqual, 2) : compare(CompareOp::Greater, 1);
    case '#':
        return compare(CompareOp::NotEqual, 1);
    case '!':
        if (at(pos + 1) == '=')
            return compare(CompareOp::NotEqual, 2);
        t.kind = Tok::Not;
        return t;
    default:
        t.kind = Tok::Error;
        t.error = "unexpected character";
        return t;
    }
}

bool canBeginOperand(const Token &t)
{
    switch (t.kind) {
    case Tok::Number:
    case Tok::String:
    case Tok::Ident:
    case Tok::LParen:
    case Tok::Not:
    case Tok::True:
    case Tok::False:
    case Tok::Minus:
    case Tok::Plus:
        return true;
    default:
        return false;
    }
}

const char *typeName(ValueType t)
{
    switch (t) {
    case ValueType::Character:
        return "character";
    case ValueType::Numeric:
        return "numeric";
    case ValueType::Logical:
        return "logical";
    case ValueType::Date:
        return "date";
    }
    return "";
}

struct FunctionInfo {
    const char *name;
    NodeKind kind;
    int minArgs;
    int maxArgs;
};

const FunctionInfo kFunctions[] = {
    {"UPPER", NodeKind::Upper, 1, 1},     {"LOWER", NodeKind::Lower, 1, 1},
    {"LEFT", NodeKind::Left, 2, 2},       {"RIGHT", NodeKind::Right, 2, 2},
    {"SUBSTR", NodeKind::Substr, 2, 3},   {"TRIM", NodeKind::RTrim, 1, 1},
    {"RTRIM", NodeKind::RTrim, 1, 1},     {"LTRIM", NodeKind::LTrim, 1, 1},
    {"ALLTRIM", NodeKind::AllTrim, 1, 1}, {"STR", NodeKind::Str, 1, 3},
    {"VAL", NodeKind::Val, 1, 1},         {"DTOS", NodeKind::Dtos, 1, 1},
    {"EMPTY", NodeKind::Empty, 1, 1},     {"IIF", NodeKind::Iif, 3, 3},
    {"RECNO", NodeKind::RecNo, 0, 0},     {"DELETED", NodeKind::Deleted, 0, 0},
};

class Parser
{
public:
    Parser(std::string_view text, const Schema &schema) : m_text(text), m_schema(schema) {}

    Status run(NodePtr &root)
    {
        m_tok = lex(m_text, 0);
        if (m_tok.kind == Tok::Error)
            return fail(m_tok.pos, m_tok.error), m_status;
        if (m_tok.kind == Tok::End)
            return Status::InvalidArgument("The expression is empty");
        NodePtr node = parseOr();
        if (node && m_tok.kind != Tok::End)
            fail(m_tok.pos, "unexpected text after the expression");
        if (!m_status.ok())
            return m_status;
        root = std::move(node);
        return Status::Ok();
    }

private:
    std::string_view m_text;
    const Schema &m_schema;
    Token m_tok;
    Status m_status;
    int m_depth = 0;

    std::nullptr_t fail(size_t pos, const std::string &what)
    {
        if (m_status.ok())
            m_status =
                Status::InvalidArgument("Syntax error at position " + std::to_string(pos + 1) + ": " + what);
        return nullptr;
    }

    std::nullptr_t failType(int position, const std::string &what)
    {
        if (m_status.ok())
            m_status = Status::InvalidArgument("Type mismatch at position " + std::to_string(position) +
                                               ": " + what);
        return nullptr;
    }

    std::nullptr_t failPlain(const std::string &message)
    {
        if (m_status.ok())
            m_status = Status::InvalidArgument(message);
        return nullptr;
    }

    void advance()
    {
        m_tok = lex(m_text, m_tok.end);
        if (m_tok.kind == Tok::Error)
            fail(m_tok.pos, m_tok.error);
    }

    bool isWord(const Token &t, std::string_view upperWord) const
    {
        return t.kind == Tok::Ident && sameWord(t.text, upperWord);
    }

    // Tracks nesting so a hostile text cannot exhaust the stack.
    struct DepthGuard {
        int &depth;
        explicit DepthGuard(int &d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    };

    NodePtr make(NodeKind kind, ValueType type, int position)
    {
        auto n = std::make_unique<ExpressionNode>();
        n->kind = kind;
        n->type = type;
        n->position = position;
        return n;
    }

    NodePtr binary(NodeKind kind, ValueType type, int position, NodePtr a, NodePtr b)
    {
        NodePtr n = make(kind, type, position);
        n->children.push_back(std::move(a));
        n->children.push_back(std::move(b));
        return n;
    }

    NodePtr parseOr()
    {
        NodePtr left = parseAnd();
        while (left && (m_tok.kind == Tok::Or || isWord(m_tok, "OR"))) {
            const int position = static_cast<int>(m_tok.pos) + 1;
            advance();
            NodePtr right = parseAnd();
            if (!right)
                return nullptr;
            left = logical(NodeKind::Or, position, std::move(left), std::move(right), ".OR.");
        }
        return left;
    }

    NodePtr parseAnd()
    {
        NodePtr left = parseNot();
        while (left && (m_tok.kind == Tok::And || isWord(m_tok, "AND"))) {
            const int position = static_cast<int>(m_tok.pos) + 1;
            advance();
            NodePtr right = parseNot();
            if (!right)
                return nullptr;
            left = logical(NodeKind::And, position, std::move(left), std::move(right), ".AND.");
        }
        return left;
    }

    bool atNot() const
    {
        return m_tok.kind == Tok::Not || (isWord(m_tok, "NOT") && canBeginOperand(lex(m_text, m_tok.end)));
    }

    NodePtr parseNot()
    {
        if (!atNot())
            return parseRelation();
        DepthGuard guard(m_depth);
        if (m_depth > kMaxDepth)
            return fail(m_tok.pos, "expression nested too deeply");
        const int position = static_cast<int>(m_tok.pos) + 1;
        advance();
        NodePtr operand = parseNot();
        if (!operand)
            return nullptr;
        return negate(position, std::move(operand));
    }

    NodePtr negate(int position, NodePtr operand)
    {
        if (operand->type != ValueType::Logical)
            return failType(position, ".NOT. needs a logical operand");
        NodePtr n = make(NodeKind::Not, ValueType::Logical, position);
        n->children.push_back(std::move(operand));
        return fold(std::move(n));
    }

    NodePtr logical(NodeKind kind, int position, NodePtr a, NodePtr b, const char *name)
    {
        if (!a || !b)
            return nullptr;
        if (a->type != ValueType::Logical || b->type != ValueType::Logical)
            return failType(position, std::string(name) + " needs logical operands");
        return fold(binary(kind, ValueType::Logical, position, std::move(a), std::move(b)));
    }

    NodePtr parseRelation()
    {
        NodePtr left = parseAdditive();
        while (left && (m_tok.kind == Tok::Compare || m_tok.kind == Tok::Dollar)) {
            const Token op = m_tok;
            const int position = static_cast<int>(op.pos) + 1;
            advance();
            NodePtr right = parseAdditive();
            if (!right)
                return nullptr;
            if (op.kind == Tok::Dollar) {
                if (left->type != ValueType::Character || right->type != ValueType::Character)
                    return failType(position, "$ needs character operands");
                left = fold(binary(NodeKind::Contains, ValueType::Logical, position, std::move(left),
                                   std::move(right)));
                continue;
            }
            if (left->type != right->type)
                return failType(position, std::string("cannot compare ") + typeName(left->type) + " with " +
                                              typeName(right->type));
            if (left->type == ValueType::Logical && op.op != CompareOp::Equal &&
                op.op != CompareOp::ExactEqual && op.op != CompareOp::NotEqual)
                return failType(position, "logical values can only be tested for equality");
            NodePtr n =
                binary(NodeKind::Compare, ValueType::Logical, position, std::move(left), std::move(right));
            n->op = op.op;
            left = fold(std::move(n));
        }
        return left;
    }

    NodePtr parseAdditive()
    {
        NodePtr left = parseMultiplicative();
        while (left && (m_tok.kind == Tok::Plus || m_tok.kind == Tok::Minus)) {
            const bool plus = m_tok.kind == Tok::Plus;
            const int position = static_cast<int>(m_tok.pos) + 1;
            advance();
            NodePtr right = parseMultiplicative();
            if (!right)
                return nullptr;
            const ValueType a = left->type;
            const ValueType b = right->type;
            NodeKind kind;
            ValueType type;
            if (a == ValueType::Character && b == ValueType::Character) {
                kind = plus ? NodeKind::Concat : NodeKind::ConcatTrim;
                type = ValueType::Character;
            } else if (a == ValueType::Numeric && b == ValueType::Numeric) {
                kind = plus ? NodeKind::Add : NodeKind::Subtract;
                type = ValueType::Numeric;
            } else if (a == ValueType::Date && b == ValueType::Numeric) {
                kind = plus ? NodeKind::Add : NodeKind::Subtract;
                type = ValueType::Date;
            } else if (plus && a == ValueType::Numeric && b == ValueType::Date) {
                kind = NodeKind::Add;
                type = ValueType::Date;
            } else if (!plus && a == ValueType::Date && b == ValueType::Date) {
                kind = NodeKind::Subtract;
                type = ValueType::Numeric;
            } else {
                return failType(position, std::string("cannot ") + (plus ? "add " : "subtract ") +
                                              typeName(b) + (plus ? " to " : " from ") + typeName(a));
            }
            NodePtr n = binary(kind, type, position, std::move(left), std::move(right));
            if (type == ValueType::Character) {
                n->maxLength = n->child(0).maxLength + n->child(1).maxLength;
                n->fixedLength = n->child(0).fixedLength && n->child(1).fixedLength;
                if (n->maxLength > kMaxTextLength)
                    return failPlain("The expression's result is too long");
            }
            left = fold(std::move(n));
        }
        return left;
    }

    NodePtr parseMultiplicative()
    {
        NodePtr left = parseUnary();
        while (left && (m_tok.kind == Tok::Star || m_tok.kind == Tok::Slash || m_tok.kind == Tok::Percent)) {
            const Tok which = m_tok.kind;
            const int position = static_cast<int>(m_tok.pos) + 1;
            advance();
            NodePtr right = parseUnary();
            if (!right)
                return nullptr;
            if (left->type != ValueType::Numeric || right->type != ValueType::Numeric)
                return failType(position, "arithmetic needs numeric operands");
            const NodeKind kind = which == Tok::Star    ? NodeKind::Multiply
                                  : which == Tok::Slash ? NodeKind::Divide
                                                        : NodeKind::Modulo;
            left = fold(binary(kind, ValueType::Numeric, position, std::move(left), std::move(right)));
        }
        return left;
    }

    NodePtr parseUnary()
    {
        if (m_tok.kind != Tok::Minus && m_tok.kind != Tok::Plus && m_tok.kind != Tok::Not)
            return parsePrimary();
        DepthGuard guard(m_depth);
        if (m_depth > kMaxDepth)
            return fail(m_tok.pos, "expression nested too deeply");
        const Tok which = m_tok.kind;
        const int position = static_cast<int>(m_tok.pos) + 1;
        advance();
        NodePtr operand = parseUnary();
        if (!operand)
            return nullptr;
        if (which == Tok::Not)
            return negate(position, std::move(operand));
        if (operand->type != ValueType::Numeric)
            return failType(position, "a sign needs a numeric operand");
        if (which == Tok::Plus)
            return operand;
        NodePtr n = make(NodeKind::Negate, ValueType::Numeric, position);
        n->children.push_back(std::move(operand));
        return fold(std::move(n));
    }

    NodePtr parsePrimary()
    {
        DepthGuard guard(m_depth);
        if (m_depth > kMaxDepth)
            return fail(m_tok.pos, "expression nested too deeply");
        const Token t = m_tok;
        const int position = static_cast<int>(t.pos) + 1;
        switch (t.kind) {
        case Tok::Number: {
            advance();
            NodePtr n = make(NodeKind::Constant, ValueType::Numeric, position);
            n->constant.type = ValueType::Numeric;
            n->constant.number = t.number;
            return n;
        }
        case Tok::String: {
            advance();
            return characterConstant(position, std::string(t.text));
        }
        case Tok::True:
        case Tok::False: {
            advance();
            NodePtr n = make(NodeKind::Constant, ValueType::Logical, position);
            n->constant.type = ValueType::Logical;
            n->constant.logical = t.kind == Tok::True;
            return n;
        }
        case Tok::LParen: {
            advance();
            NodePtr inner = parseOr();
            if (!inner)
                return nullptr;
            if (m_tok.kind != Tok::RParen)
                return fail(m_tok.pos, "expected ')'");
            advance();
            return inner;
        }
        case Tok::Ident: {
            const Token next = lex(m_text, t.end);
            if (next.kind == Tok::LParen)
                return parseFunction();
            if (next.kind == Tok::Minus && next.end < m_text.size() && m_text[next.end] == '>') {
                // ALIAS->FIELD: the alias names the table compiled against, so it is skipped.
                m_tok = next;
                m_tok.end = next.end + 1;
                advance();
                if (m_tok.kind != Tok::Ident)
                    return fail(m_tok.pos, "expected a field name after ->");
            }
            return parseField();
        }
        case Tok::End:
            return fail(t.pos, "unexpected end of the expression");
        case Tok::Error:
            return nullptr;
        default:
            return fail(t.pos, "expected a value");
        }
    }

    NodePtr characterConstant(int position, std::string text)
    {
        NodePtr n = make(NodeKind::Constant, ValueType::Character, position);
        n->constant.type = ValueType::Character;
        n->maxLength = static_cast<uint32_t>(text.size());
        n->fixedLength = true;
        n->constant.text = std::move(text);
        return n;
    }

    NodePtr parseField()
    {
        const Token t = m_tok;
        const int position = static_cast<int>(t.pos) + 1;
        const int index = m_schema.indexOf(t.text);
        if (index < 0)
            return failPlain("Unknown field " + std::string(t.text) + " at position " +
                             std::to_string(position));
        const FieldDescriptor &f = m_schema.field(index);
        advance();
        ValueType type;
        switch (f.type) {
        case 'C':
            type = ValueType::Character;
            break;
        case 'N':
        case 'F':
        case 'I':
        case 'B':
        case 'Y':
            type = ValueType::Numeric;
            break;
        case 'D':
            type = ValueType::Date;
            break;
        case 'L':
            type = ValueType::Logical;
            break;
        case 'M':
        case 'G':
        case 'P':
            return failPlain("The memo field " + f.name + " at position " + std::to_string(position) +
                             " can only be tested with EMPTY()");
        default:
            return failPlain("The field " + f.name + " at position " + std::to_string(position) +
                             " has type " + std::string(1, f.type) + ", which expressions cannot use");
        }
        NodePtr n = make(NodeKind::Field, type, position);
        n->fieldIndex = index;
        n->offset = f.offset;
        n->length = f.length;
        n->fieldType = f.type;
        if (type == ValueType::Character) {
            n->maxLength = f.length;
            n->fixedLength = true;
        } else if ((type == ValueType::Logical && f.length < 1) ||
                   (type == ValueType::Date && f.length < 8)) {
            return failPlain("The field " + f.name + " is too short for its type");
        }
        return n;
    }

    // EMPTY(memo field): the only use of a memo field in an expression.
    NodePtr tryEmptyMemo(int position)
    {
        if (m_tok.kind != Tok::Ident)
            return nullptr;
        const int index = m_schema.indexOf(m_tok.text);
        if (index < 0)
            return nullptr;
        const FieldDescriptor &f = m_schema.field(index);
        if (f.type != 'M' && f.type != 'G' && f.type != 'P')
            return nullptr;
        if (lex(m_text, m_tok.end).kind != Tok::RParen)
            return nullptr;
        advance(); // the field
        advance(); // ')'
        NodePtr n = make(NodeKind::EmptyMemo, ValueType::Logical, position);
        n->fieldIndex = index;
        n->offset = f.offset;
        n->length = f.length;
        n->fieldType = f.type;
        return n;
    }

    NodePtr parseFunction()
    {
        const Token nameTok = m_tok;
        const int position = static_cast<int>(nameTok.pos) + 1;
        const FunctionInfo *info = nullptr;
        for (const FunctionInfo &f : kFunctions)
            if (sameWord(nameTok.text, f.name))
                info = &f;
        if (!info && nameTok.text.size() >= 4) {
            // xBase accepts a function name cut to four or more letters when only one fits.
            int matches = 0;
            for (const FunctionInfo &f : kFunctions) {
                const std::string_view full(f.name);
                if (full.size() > nameTok.text.size() &&
                    sameWord(nameTok.text, full.substr(0, nameTok.text.size()))) {
                    info = &f;
                    ++matches;
                }
            }
            if (matches != 1)
                info = nullptr;
        }
        if (!info)
            return failPlain("Unknown function " + std::string(nameTok.text) + " at position " +
                             std::to_string(position));
        advance(); // name
        advance(); // '('
        if (!m_status.ok())
            return nullptr;
        if (info->kind == NodeKind::Empty) {
            if (NodePtr memo = tryEmptyMemo(position))
                return memo;
            if (!m_status.ok())
                return nullptr;
        }
        std::vector<NodePtr> args;
        if (m_tok.kind == Tok::RParen) {
            advance();
        } else {
            for (;;) {
                NodePtr arg = parseOr();
                if (!arg)
                    return nullptr;
                args.push_back(std::move(arg));
                if (m_tok.kind == Tok::Comma) {
                    advance();
                    continue;
                }
                if (m_tok.kind == Tok::RParen) {
                    advance();
                    break;
                }
                return fail(m_tok.pos, "expected ',' or ')'");
            }
        }
        const int count = static_cast<int>(args.size());
        if (count < info->minArgs || count > info->maxArgs)
            return failPlain(std::string("Wrong number of arguments to ") + info->name + " at position " +
                             std::to_string(position));
        return buildFunction(*info, position, std::move(args));
    }

    bool expectType(const NodePtr &arg, ValueType type, const FunctionInfo &info, int position)
    {
        if (arg->type == type)
            return true;
        failType(position, std::string(info.name) + " needs a " + typeName(type) + " argument here, not " +
                               typeName(arg->type));
        return false;
    }

    // A count argument as the evaluator takes it: whole, between 0 and `limit`.
    static uint32_t countWithin(double count, uint32_t limit)
    {
        if (!(count > 0))
            return 0;
        if (count >= limit)
            return limit;
        return static_cast<uint32_t>(count);
    }

    static bool constantNumber(const NodePtr &n, double &out)
    {
        if (n->kind != NodeKind::Constant || n->type != ValueType::Numeric)
            return false;
        out = n->constant.number;
        return true;
    }

    NodePtr buildFunction(const FunctionInfo &info, int position, std::vector<NodePtr> args)
    {
        NodePtr n = make(info.kind, ValueType::Character, position);
        switch (info.kind) {
        case NodeKind::RecNo:
            n->type = ValueType::Numeric;
            return n;
        case NodeKind::Deleted:
            n->type = ValueType::Logical;
            return n;
        case NodeKind::Upper:
        case NodeKind::Lower:
        case NodeKind::RTrim:
        case NodeKind::LTrim:
        case NodeKind::AllTrim:
            if (!expectType(args[0], ValueType::Character, info, position))
                return nullptr;
            n->maxLength = args[0]->maxLength;
            n->fixedLength =
                (info.kind == NodeKind::Upper || info.kind == NodeKind::Lower) && args[0]->fixedLength;
            break;
        case NodeKind::Left:
        case NodeKind::Right: {
            if (!expectType(args[0], ValueType::Character, info, position) ||
                !expectType(args[1], ValueType::Numeric, info, position))
                return nullptr;
            double count = 0;
            n->maxLength = args[0]->maxLength;
            if (constantNumber(args[1], count)) {
                n->maxLength = countWithin(count, n->maxLength);
                n->fixedLength = args[0]->fixedLength;
            }
            break;
        }
        case NodeKind::Substr: {
            if (!expectType(args[0], ValueType::Character, info, position) ||
                !expectType(args[1], ValueType::Numeric, info, position) ||
                (args.size() > 2 && !expectType(args[2], ValueType::Numeric, info, position)))
                return nullptr;
            n->maxLength = args[0]->maxLength;
            double start = 0;
            double count = 0;
            const bool hasCount = args.size() > 2;
            if (constantNumber(args[1], start) && (!hasCount || constantNumber(args[2], count))) {
                // The same arithmetic as the evaluator, so the bound always holds.
                const uint32_t skipped = start > 1 ? countWithin(start - 1, n->maxLength) : 0;
                uint32_t available = n->maxLength - skipped;
                if (hasCount)
                    available = countWithin(count, available);
                n->maxLength = available;
                n->fixedLength = args[0]->fixedLength;
            }
            break;
        }
        case NodeKind::Str: {
            if (!expectType(args[0], ValueType::Numeric, info, position))
                return nullptr;
            double length = 10;
            double decimals = 0;
            if (args.size() > 1 && !constantNumber(args[1], length))
                return failType(position, "the length of STR must be a number constant");
            if (args.size() > 2 && !constantNumber(args[2], decimals))
                return failType(position, "the decimals of STR must be a number constant");
            if (!(length >= 1 && length <= 255))
                return failType(position, "the length of STR must be 1 to 255");
            if (!(decimals >= 0 && decimals <= 50))
                return failType(position, "the decimals of STR must be 0 to 50");
            args.resize(1);
            args.push_back(numberConstant(position, std::floor(length)));
            args.push_back(numberConstant(position, std::floor(decimals)));
            n->maxLength = static_cast<uint32_t>(std::floor(length));
            n->fixedLength = true;
            break;
        }
        case NodeKind::Val:
            if (!expectType(args[0], ValueType::Character, info, position))
                return nullptr;
            n->type = ValueType::Numeric;
            break;
        case NodeKind::Dtos:
            if (!expectType(args[0], ValueType::Date, info, position))
                return nullptr;
            n->maxLength = 8;
            n->fixedLength = true;
            break;
        case NodeKind::Empty:
            n->type = ValueType::Logical;
            break;
        case NodeKind::Iif:
            if (!expectType(args[0], ValueType::Logical, info, position))
                return nullptr;
            if (args[1]->type != args[2]->type)
                return failType(position, "both results of IIF must have one type");
            n->type = args[1]->type;
            n->maxLength = std::max(args[1]->maxLength, args[2]->maxLength);
            n->fixedLength =
                args[1]->fixedLength && args[2]->fixedLength && args[1]->maxLength == args[2]->maxLength;
            break;
        default:
            break;
        }
        n->children = std::move(args);
        return fold(std::move(n));
    }

    NodePtr numberConstant(int position, double value)
    {
        NodePtr n = make(NodeKind::Constant, ValueType::Numeric, position);
        n->constant.type = ValueType::Numeric;
        n->constant.number = value;
        return n;
    }

    // Replaces a node whose operands are all constants by its value. Comparisons of text are
    // kept: their answer depends on the Exact setting at evaluation time.
    NodePtr fold(NodePtr n)
    {
        if (!n)
            return n;
        switch (n->kind) {
        case NodeKind::Constant:
        case NodeKind::Field:
        case NodeKind::RecNo:
        case NodeKind::Deleted:
        case NodeKind::EmptyMemo:
            return n;
        case NodeKind::Compare:
            if (n->child(0).type == ValueType::Character)
                return n;
            break;
        default:
            break;
        }
        for (const NodePtr &c : n->children)
            if (c->kind != NodeKind::Constant)
                return n;
        std::vector<char> scratch(n->maxLength + 1);
        n->scratch = 0;
        const char blank = ' ';
        const EvalContext context{&blank, 0, scratch.data(), false};
        NodePtr value = make(NodeKind::Constant, n->type, n->position);
        value->constant.type = n->type;
        switch (n->type) {
        case ValueType::Character:
            value->constant.text = std::string(evalCharacter(*n, context));
            value->maxLength = static_cast<uint32_t>(value->constant.text.size());
            value->fixedLength = true;
            break;
        case ValueType::Numeric:
        case ValueType::Date:
            value->constant.number = evalNumber(*n, context);
            break;
        case ValueType::Logical:
            value->constant.logical = evalLogical(*n, context);
            break;
        }
        return value;
    }
};

void layoutScratch(ExpressionNode &n, uint32_t &total)
{
    for (auto &c : n.children)
        layoutScratch(*c, total);
    switch (n.kind) {
    case NodeKind::Upper:
    case NodeKind::Lower:
    case NodeKind::Concat:
    case NodeKind::ConcatTrim:
    case NodeKind::Str:
    case NodeKind::Dtos:
        n.scratch = total;
        total += n.maxLength;
        break;
    default:
        break;
    }
}

} // namespace

Status ExpressionParser::parse(std::string_view text, const Schema &schema,
                               std::unique_ptr<ExpressionNode> &root, uint32_t &scratchSize)
{
    root.reset();
    scratchSize = 0;
    if (text.size() > kMaxLength)
        return Status::InvalidArgument("The expression is longer than " + std::to_string(kMaxLength) +
                                       " characters");
    NodePtr node;
    XBASE_TRY(Parser(text, schema).run(node));
    uint32_t total = 0;
    layoutScratch(*node, total);
    root = std::move(node);
    scratchSize = total;
    return Status::Ok();
}

bool sameStructure(const ExpressionNode &a, const ExpressionNode &b)
{
    if (a.kind != b.kind || a.type != b.type || a.children.size() != b.children.size())
        return false;
    switch (a.kind) {
    case NodeKind::Constant:
        if (a.constant.text != b.constant.text || a.constant.logical != b.constant.logical ||
            !(a.constant.number == b.constant.number))
            return false;
        break;
    case NodeKind::Field:
    case NodeKind::EmptyMemo:
        if (a.fieldIndex != b.fieldIndex)
            return false;
        break;
    case NodeKind::Compare:
        if (a.op != b.op)
            return false;
        break;
    default:
        break;
    }
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameStructure(a.child(i), b.child(i)))
            return false;
    return true;
}

} // namespace xbase
