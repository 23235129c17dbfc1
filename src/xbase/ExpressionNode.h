// The syntax tree of a compiled expression. Expression::compile builds it, checks its types
// and folds constant parts; the evaluator and the query planner read it. Immutable once built;
// an Expression owns its root through a shared pointer.
#pragma once

#include "Expression.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace xbase {

/// What one node computes. Arguments are the node's children, in source order.
enum class NodeKind {
    Constant,   ///< `constant` (every operand-free part is folded into one)
    Field,      ///< a table field read from the record bytes
    RecNo,      ///< RECNO()
    Deleted,    ///< DELETED(): the record's delete mark
    EmptyMemo,  ///< EMPTY(memo field): the memo pointer is blank or zero
    Upper,      ///< UPPER(c)
    Lower,      ///< LOWER(c)
    Left,       ///< LEFT(c, n)
    Right,      ///< RIGHT(c, n)
    Substr,     ///< SUBSTR(c, start[, count])
    RTrim,      ///< TRIM(c), RTRIM(c)
    LTrim,      ///< LTRIM(c)
    AllTrim,    ///< ALLTRIM(c)
    Str,        ///< STR(n[, length[, decimals]]): children hold the number, length, decimals
    Val,        ///< VAL(c)
    Dtos,       ///< DTOS(d)
    Empty,      ///< EMPTY(x)
    Iif,        ///< IIF(condition, a, b)
    Concat,     ///< c + c
    ConcatTrim, ///< c - c: the left side's trailing blanks move to the end
    Add,        ///< n + n, d + n, n + d
    Subtract,   ///< n - n, d - n, d - d
    Multiply,
    Divide,
    Modulo,
    Negate,
    Compare,  ///< `op` between two values of one type
    Contains, ///< c $ c: the left occurs in the right
    And,
    Or,
    Not,
};

/// The comparison operators. NotEqual covers <>, # and !=.
enum class CompareOp { Equal, ExactEqual, NotEqual, Less, LessEqual, Greater, GreaterEqual };

class ExpressionNode
{
public:
    NodeKind kind = NodeKind::Constant;
    ValueType type = ValueType::Logical;
    CompareOp op = CompareOp::Equal;
    int position = 1; ///< 1-based character position of the node's token in the text

    /// Character results: the most bytes the node can yield, and whether it always yields
    /// exactly that many (fields, UPPER of fields, joins of such, LEFT with a constant count).
    uint32_t maxLength = 0;
    bool fixedLength = false;
    /// Offset of the node's own bytes in the evaluation scratch area (nodes that build text).
    uint32_t scratch = 0;

    // Field
    int fieldIndex = -1;
    uint32_t offset = 0;
    uint32_t length = 0;
    char fieldType = 0;

    Value constant; ///< Constant

    std::vector<std::unique_ptr<ExpressionNode>> children;

    const ExpressionNode &child(size_t i) const { return *children[i]; }
};

/// True when both trees compute the same thing the same way (positions are ignored).
bool sameStructure(const ExpressionNode &a, const ExpressionNode &b);

} // namespace xbase
