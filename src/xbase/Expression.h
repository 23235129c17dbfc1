// Compiled xBase expressions: index keys, FOR conditions and record queries. An expression is
// compiled once against a table's Schema and evaluated per record without allocating where
// the result is logical.
#pragma once

#include "Field.h"
#include "Status.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace xbase {

/// Result types of the dialect. Dates evaluate to their Julian day number.
enum class ValueType { Character, Numeric, Logical, Date };

/// One evaluated value.
struct Value {
    ValueType type = ValueType::Logical;
    std::string text;     ///< Character: the bytes, blanks kept
    double number = 0.0;  ///< Numeric, and Date as Julian day (0 = empty date)
    bool logical = false; ///< Logical
};

/// Settings that change what an expression answers.
struct EvalOptions {
    bool exact = false; ///< SET EXACT: off makes "=" a prefix test on the right side's length
};

class ExpressionNode; // private syntax tree

/// A compiled expression. Copyable handles share the compiled tree.
///
/// The dialect: field names in any letter case (a logical field alone is a condition;
/// Character fields keep their trailing blanks; Date fields "YYYYMMDD" become dates; Logical
/// fields are true for T, t, Y, y); strings in double or single quotes or [brackets]; numbers;
/// .T. .F.; + joins strings (adds numbers), - joins moving the left string's trailing blanks to
/// the end (subtracts numbers); * / %; the functions UPPER LOWER LEFT RIGHT SUBSTR TRIM RTRIM
/// LTRIM ALLTRIM STR VAL DTOS EMPTY IIF RECNO() DELETED() in any letter case, also cut to
/// four or more letters when only one function fits (SUBS, ALLT); ALIAS->FIELD with the alias
/// ignored; a memo field only as EMPTY(memo), true when its block pointer is blank or zero;
/// numeric fields of types N F I B Y; STR(n[, length[, decimals]]) with constant length
/// (default 10) and decimals (default 0), rounding halves away from zero; the comparisons
/// = == <> # != < <= > >= and $; .AND. .OR. .NOT. ! and the bare words AND, OR, NOT.
/// A bare AND or OR where an operator is due is the operator; a bare NOT is the operator when
/// what follows can begin an operand, otherwise it names a field.
///
/// Character comparisons with Exact off compare on the right side's length: "=" holds when
/// the left begins with the right (an empty right side always matches), and a left side
/// shorter than the right is less. With Exact on the shorter side is padded with blanks.
/// "==" always compares the whole strings, trailing blanks included. `"" $ x` is false.
class Expression
{
public:
    Expression();
    ~Expression();
    Expression(const Expression &);
    Expression &operator=(const Expression &);

    /// Compiles `text` (at most 255 characters) against `schema`. A failure is InvalidArgument
    /// with a message naming the 1-based position, and leaves `out` empty.
    static Status compile(std::string_view text, const Schema &schema, Expression &out);

    bool isValid() const { return m_root != nullptr; }
    const std::string &text() const { return m_text; }
    ValueType type() const;
    /// Fixed length of a Character result (from field widths and literals); 8 for Numeric and
    /// Date keys, 1 for Logical.
    int keyLength() const;

    Value evaluate(const RecordRef &record, const EvalOptions &options = {}) const;
    /// The expression as a condition; a non-logical result is false.
    bool isTrue(const RecordRef &record, const EvalOptions &options = {}) const;
    /// The index key bytes of the record: Character padded or cut to keyLength(); Numeric and
    /// Date as 8 bytes that sort like the values under memcmp; Logical "T" or "F".
    std::string indexKey(const RecordRef &record) const;
    /// The same bytes written to `out`, which has room for keyLength() bytes; allocates
    /// nothing for the usual keys (fields, UPPER of fields and joins of them).
    void indexKeyInto(const RecordRef &record, char *out) const;

    /// The syntax tree, for the query planner.
    const ExpressionNode *root() const { return m_root.get(); }

    /// One run of a key made only of fields: `length` record bytes from `offset`, upper-cased
    /// when `upper`.
    struct KeyPart {
        uint32_t offset;
        uint32_t length;
        bool upper;
    };

private:
    std::shared_ptr<const ExpressionNode> m_root;
    std::vector<KeyPart> m_keyParts; // the key as runs of record bytes; empty when it is not one
    std::string m_text;
    uint32_t m_scratchSize = 0;  // bytes the nodes that build text need while evaluating
    uint32_t m_recordLength = 0; // of the schema compiled against
};

/// Windows-1252 upper case: a-z and the accented small letters (e-acute 0xE9 -> 0xC9,
/// s-caron 0x9A -> 0x8A, y-diaeresis 0xFF -> 0x9F, ...). Other bytes are unchanged.
unsigned char upperCp1252(unsigned char c);
std::string upperCp1252(std::string_view text);

} // namespace xbase
