// Evaluation of a compiled expression tree straight from a record's bytes. Text results are
// views into the record, the tree's constants or the caller's scratch area, so evaluating
// allocates nothing. Used by Expression and by constant folding in the parser.
#pragma once

#include "ExpressionNode.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace xbase {

/// What one evaluation reads and where nodes that build text put it.
struct EvalContext {
    const char *record; ///< the record's bytes, delete mark first
    uint32_t recno;
    char *scratch; ///< at least the scratch size the parser computed
    bool exact;
};

std::string_view evalCharacter(const ExpressionNode &node, const EvalContext &c);
/// Numeric and Date nodes (a date is its Julian day number, 0 when empty).
double evalNumber(const ExpressionNode &node, const EvalContext &c);
bool evalLogical(const ExpressionNode &node, const EvalContext &c);

/// Three-way comparison of two strings under the Exact setting (see Expression).
int compareCharacters(std::string_view left, std::string_view right, bool exact);

/// 8 bytes that sort under memcmp like the numbers: big-endian IEEE-754 double with the sign
/// bit flipped for positives and every bit inverted for negatives.
std::string numericKey(double value);

/// Julian day number of a Gregorian date; 0 when the date is not valid.
int64_t julianDay(int year, int month, int day);
/// "YYYYMMDD" of a Julian day number; 8 blanks for 0 or a day outside years 1 to 9999.
void julianToDigits(double julian, char out[8]);
/// Julian day of 8 stored bytes "YYYYMMDD"; 0 when blank or not a valid date.
double parseDate(const char *bytes, uint32_t length);
/// A number written as text: leading blanks, sign, digits, decimal point; stops at anything
/// else (VAL and stored N fields).
double parseNumber(const char *bytes, size_t length);

/// The 256-entry Windows-1252 case maps.
const unsigned char *upperTable();
const unsigned char *lowerTable();

} // namespace xbase
