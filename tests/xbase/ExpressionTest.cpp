#include "Expression.h"
#include "ExpressionEval.h"

#include "FixtureRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace xbase;

namespace {

Schema testSchema()
{
    return Schema({{"LNAME", 'C', 10, 0, 0},
                   {"FNAME", 'C', 8, 0, 0},
                   {"CITY", 'C', 10, 0, 0},
                   {"ISDEL", 'L', 1, 0, 0},
                   {"AMOUNT", 'N', 8, 2, 0},
                   {"BORN", 'D', 8, 0, 0},
                   {"MEMO", 'M', 10, 0, 0},
                   {"CODES", 'C', 6, 0, 0}});
}

std::string testRecord()
{
    return test::buildRecord(testSchema(), {{"LNAME", "Smith"},
                                            {"FNAME", "Jos\xE9"},
                                            {"CITY", "Montr\xE9"
                                                     "al"},
                                            {"ISDEL", "T"},
                                            {"AMOUNT", "-12.50"},
                                            {"BORN", "19970428"},
                                            {"CODES", "ABC"}});
}

// The value as text: Character as is, numbers with %g, dates as YYYYMMDD, logicals T/F.
std::string show(const Value &v)
{
    char buffer[64];
    switch (v.type) {
    case ValueType::Character:
        return v.text;
    case ValueType::Numeric:
        std::snprintf(buffer, sizeof buffer, "%g", v.number);
        return buffer;
    case ValueType::Date: {
        char digits[8];
        julianToDigits(v.number, digits);
        return std::string(digits, 8);
    }
    case ValueType::Logical:
        return v.logical ? "T" : "F";
    }
    return {};
}

struct EvalCase {
    const char *text;
    const char *expected;
};

class Evaluates : public ::testing::TestWithParam<EvalCase>
{
};

} // namespace

TEST_P(Evaluates, FromTheRecordBytes)
{
    const EvalCase c = GetParam();
    const Schema schema = testSchema();
    const std::string rec = testRecord();
    Expression e;
    const Status s = Expression::compile(c.text, schema, e);
    ASSERT_TRUE(s.ok()) << c.text << ": " << s.message();
    const Value v = e.evaluate({rec.data(), 7});
    EXPECT_EQ(show(v), c.expected) << c.text;
    if (v.type == ValueType::Logical) {
        EXPECT_EQ(e.isTrue({rec.data(), 7}), v.logical) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialect, Evaluates,
    ::testing::Values(
        // fields keep their trailing blanks; names in any case
        EvalCase{"LNAME", "Smith     "}, EvalCase{"lname = \"Sm\"", "T"},
        EvalCase{"UPPER(LNAME)", "SMITH     "},
        EvalCase{"UPPER(CITY)", "MONTR\xC9"
                                "AL  "},
        EvalCase{"LOWER(LNAME)", "smith     "},
        // + joins, - moves the left side's trailing blanks to the end
        EvalCase{"LNAME+FNAME", "Smith     Jos\xE9    "}, EvalCase{"LNAME-FNAME", "SmithJos\xE9         "},
        EvalCase{"TRIM(LNAME)+\"!\"", "Smith!"}, EvalCase{"LTRIM(\"  a \")", "a "},
        EvalCase{"ALLTRIM(\"  a \")", "a"}, EvalCase{"RTRIM(\"  a \")", "  a"},
        EvalCase{"LEFT(LNAME,3)", "Smi"}, EvalCase{"LEFT(LNAME,-1)", ""},
        EvalCase{"RIGHT(TRIM(LNAME),2)", "th"}, EvalCase{"SUBSTR(LNAME,2,3)", "mit"},
        EvalCase{"SUBSTR(LNAME,9)", "  "}, EvalCase{"SUBSTR(LNAME,0,2)", "Sm"},
        EvalCase{"SUBSTR(LNAME,20)", ""}, EvalCase{"SUBSTR(LNAME,RECNO()-5,2)", "mi"},
        // STR: default length 10, rounding half away from zero, asterisks on overflow
        EvalCase{"STR(12.5)", "        13"}, EvalCase{"STR(-12.5,6,1)", " -12.5"},
        EvalCase{"STR(123456,3)", "***"}, EvalCase{"STR(RECNO())", "         7"},
        EvalCase{"STR(AMOUNT,8,2)", "  -12.50"}, EvalCase{"LTRIM(STR(RECNO()))=\"7\"", "T"},
        EvalCase{"VAL(\"  42.5abc\")", "42.5"}, EvalCase{"VAL(\"-3\")", "-3"}, EvalCase{"AMOUNT*2", "-25"},
        EvalCase{"AMOUNT/0", "0"}, EvalCase{"RECNO()*2+1", "15"}, EvalCase{"7 % 4", "3"},
        EvalCase{"-AMOUNT", "12.5"}, EvalCase{".5 + 1.", "1.5"},
        // dates
        EvalCase{"DTOS(BORN)", "19970428"}, EvalCase{"BORN+250", "19980103"}, EvalCase{"BORN-BORN", "0"},
        EvalCase{"BORN > BORN-1", "T"},
        // logical fields, DELETED(), EMPTY, IIF
        EvalCase{"ISDEL", "T"}, EvalCase{"!ISDEL", "F"}, EvalCase{"DELETED()", "F"},
        EvalCase{"EMPTY(MEMO)", "T"}, EvalCase{"EMPTY(FNAME)", "F"}, EvalCase{"EMPTY(\"  \")", "T"},
        EvalCase{"EMPTY(0)", "T"}, EvalCase{"IIF(ISDEL,\"yes\",\"no\")", "yes"},
        EvalCase{"IIF(!ISDEL,1,2)", "2"},
        // $ and the three ways to quote
        EvalCase{"\"mit\" $ LNAME", "T"}, EvalCase{"\"\" $ LNAME", "F"},
        EvalCase{"\"SMITH\"$UPPER(LNAME)", "T"}, EvalCase{"[a\"b]", "a\"b"}, EvalCase{"'it\"s'", "it\"s"},
        EvalCase{"'say \"hi\"' $ [x'say \"hi\"']", "T"},
        // .AND. .OR. .NOT. and the bare words, with precedence NOT > AND > OR
        EvalCase{"ISDEL and not EMPTY(LNAME)", "T"}, EvalCase{".not. ISDEL or .F.", "F"},
        EvalCase{"NOT ISDEL", "F"}, EvalCase{".T. .or. .T. .and. .F.", "T"},
        EvalCase{"(.T. .or. .T.) .and. .F.", "F"}, EvalCase{"!ISDEL = .F.", "T"},
        EvalCase{"ADD0001->LNAME", "Smith     "}, EvalCase{"SUBS(LNAME,2,2)", "mi"},
        EvalCase{"uppe(alltr(LNAME))", "SMITH"}, EvalCase{"DELE()", "F"},
        EvalCase{"ISDEL.and.\"C\"$CODES", "T"}, EvalCase{"ISDEL==.T.", "T"}));

struct CompareCase {
    const char *text;
    bool exactOff;
    bool exactOn;
};

class ComparesText : public ::testing::TestWithParam<CompareCase>
{
};

// Character comparisons are kept unfolded, so the Exact setting at evaluation time decides.
TEST_P(ComparesText, UnderExactOffAndOn)
{
    const CompareCase c = GetParam();
    Expression e;
    ASSERT_TRUE(Expression::compile(c.text, testSchema(), e).ok()) << c.text;
    const std::string rec = testRecord();
    EXPECT_EQ(e.isTrue({rec.data(), 1}, EvalOptions{false}), c.exactOff) << c.text << " with Exact off";
    EXPECT_EQ(e.isTrue({rec.data(), 1}, EvalOptions{true}), c.exactOn) << c.text << " with Exact on";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComparesText,
    ::testing::Values(
        CompareCase{"\"ABC\" = \"AB\"", true, false}, CompareCase{"\"AB\" = \"ABC\"", false, false},
        CompareCase{"\"AB\" = \"AB \"", false, true}, CompareCase{"\"AB \" = \"AB\"", true, true},
        CompareCase{"\"ABC\" = \"\"", true, false}, CompareCase{"\"   \" = \"\"", true, true},
        CompareCase{"\"SMITHERS\" > \"SMITH\"", false, true},
        CompareCase{"\"SMITHERS\" >= \"SMITH\"", true, true},
        CompareCase{"\"SMITH\" < \"SMITHERS\"", true, true}, CompareCase{"\"AB\" == \"AB \"", false, false},
        CompareCase{"\"AB\" == \"AB\"", true, true}, CompareCase{"\"ab\" <> \"a\"", false, true},
        CompareCase{"\"ab\" # \"a\"", false, true}, CompareCase{"\"ab\" != \"ab\"", false, false},
        CompareCase{"\"B\" >= \"ABC\"", true, true}, CompareCase{"\"\xE9\" > \"Z\"", true, true},
        CompareCase{"\"A\t\" < \"A\"", false, true}, CompareCase{"LNAME = \"Smith\"", true, true},
        CompareCase{"LNAME == \"Smith\"", false, false}, CompareCase{"LNAME <= \"Smith\"", true, true},
        CompareCase{"UPPER(LNAME) > \"SMITH\"", false, false},
        // UPPER and LOWER against a constant read the field through the case table
        CompareCase{"UPPER(LNAME) == \"SMITH     \"", true, true},
        CompareCase{"UPPER(LNAME) = \"SMITH      X\"", false, false},
        CompareCase{"UPPER(LNAME) < \"SMITH      X\"", true, true},
        CompareCase{"UPPER(CITY) = \"MONTR\xC9\" + \"AL\"", true, true},
        CompareCase{"\"R\xC9\" $ UPPER(CITY)", true, true},
        CompareCase{"\"r\xE9\" $ LOWER(CITY)", true, true}, CompareCase{"\"\" $ UPPER(CITY)", false, false},
        CompareCase{"LOWER(LNAME) = \"smith \"", true, true}));

struct ErrorCase {
    const char *text;
    const char *message; // a part the message must hold
};

class RejectsText : public ::testing::TestWithParam<ErrorCase>
{
};

TEST_P(RejectsText, WithAMessageNamingThePlace)
{
    const ErrorCase c = GetParam();
    Expression e;
    ASSERT_TRUE(Expression::compile("ISDEL", testSchema(), e).ok());
    const Status s = Expression::compile(c.text, testSchema(), e);
    EXPECT_EQ(s.code(), StatusCode::InvalidArgument) << c.text;
    EXPECT_NE(s.message().find(c.message), std::string::npos) << c.text << " gave: " << s.message();
    EXPECT_FALSE(e.isValid()) << "a failed compile leaves the expression empty";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectsText,
    ::testing::Values(
        ErrorCase{"UPPER(LNAME", "Syntax error at position 12"},
        ErrorCase{"LNAME = ", "Syntax error at position 9"},
        ErrorCase{"\"abc", "position 1: unterminated string"}, ErrorCase{"[abc", "unterminated string"},
        ErrorCase{"LNAME \"x\"", "Syntax error at position 7"}, ErrorCase{"LNAME @ \"x\"", "position 7"},
        ErrorCase{".x.", "position 1"}, ErrorCase{"(ISDEL", "expected ')'"},
        ErrorCase{"ISDEL)", "position 6"}, ErrorCase{"ISDEL .and.", "position 12"}, ErrorCase{"", "empty"},
        ErrorCase{"NOSUCH = \"A\"", "NOSUCH"}, ErrorCase{"FOO(1)", "Unknown function FOO"},
        ErrorCase{"TRIM_(LNAME)", "Unknown function"}, ErrorCase{"X->1", "expected a field name after ->"},
        ErrorCase{"\"A\" + 1", "Type mismatch at position 5"}, ErrorCase{"LNAME $ 1", "Type mismatch"},
        ErrorCase{"UPPER(1)", "Type mismatch"}, ErrorCase{"1 .AND. .T.", "Type mismatch"},
        ErrorCase{"ISDEL < .T.", "Type mismatch"}, ErrorCase{"LNAME = 1", "Type mismatch"},
        ErrorCase{"!LNAME", "Type mismatch"}, ErrorCase{"IIF(ISDEL, 1, \"a\")", "Type mismatch"},
        ErrorCase{"LEFT(LNAME)", "Wrong number of arguments to LEFT"},
        ErrorCase{"RECNO(1)", "Wrong number of arguments"}, ErrorCase{"STR(1, AMOUNT)", "constant"},
        ErrorCase{"STR(1, 0)", "1 to 255"}, ErrorCase{"MEMO = \"x\"", "MEMO"},
        ErrorCase{"UPPER(MEMO)", "MEMO"}));

TEST(Expression, RejectsTextsOverTheLengthLimitAndDeepNesting)
{
    const Schema schema = testSchema();
    Expression e;
    const std::string longest = "\"" + std::string(253, 'x') + "\"";
    EXPECT_TRUE(Expression::compile(longest, schema, e).ok());
    EXPECT_EQ(Expression::compile(longest + " ", schema, e).code(), StatusCode::InvalidArgument);

    const std::string deep = std::string(120, '(') + "ISDEL" + std::string(120, ')');
    const Status s = Expression::compile(deep, schema, e);
    EXPECT_EQ(s.code(), StatusCode::InvalidArgument);
    EXPECT_NE(s.message().find("nested too deeply"), std::string::npos) << s.message();
    EXPECT_TRUE(Expression::compile(std::string(60, '!') + "ISDEL", schema, e).ok());
}

// A bare word is an operator only where an operator can stand, so fields named like the
// operators still work.
TEST(Expression, BareWordsGiveWayToFieldsOfThatName)
{
    const Schema schema({{"NOT", 'L', 1, 0, 0}, {"OR", 'C', 3, 0, 0}, {"AND", 'L', 1, 0, 0}});
    const std::string rec = test::buildRecord(schema, {{"NOT", "T"}, {"OR", "abc"}, {"AND", "F"}});
    struct Case {
        const char *text;
        bool expected;
    };
    for (const Case c : {Case{"NOT", true}, Case{"NOT = .T.", true}, Case{"NOT NOT", false},
                         Case{"OR = \"ab\" or AND", true}, Case{"AND and NOT", false}, Case{"not AND", true},
                         Case{"OR$\"xabcx\" and not AND", true}}) {
        Expression e;
        const Status s = Expression::compile(c.text, schema, e);
        ASSERT_TRUE(s.ok()) << c.text << ": " << s.message();
        EXPECT_EQ(e.isTrue({rec.data(), 1}), c.expected) << c.text;
    }
}

struct KeyLengthCase {
    const char *text;
    int length;
};

class KeyLength : public ::testing::TestWithParam<KeyLengthCase>
{
};

TEST_P(KeyLength, FollowsFieldWidthsThroughFunctions)
{
    Expression e;
    ASSERT_TRUE(Expression::compile(GetParam().text, testSchema(), e).ok()) << GetParam().text;
    EXPECT_EQ(e.keyLength(), GetParam().length) << GetParam().text;
    const std::string rec = testRecord();
    EXPECT_EQ(e.indexKey({rec.data(), 1}).size(), static_cast<size_t>(GetParam().length)) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyLength,
    ::testing::Values(KeyLengthCase{"UPPER(LNAME)+UPPER(FNAME)", 18}, KeyLengthCase{"UPPER(LNAME-FNAME)", 18},
                      KeyLengthCase{"TRIM(LNAME)", 10}, KeyLengthCase{"ALLTRIM(LNAME)+FNAME", 18},
                      KeyLengthCase{"LEFT(LNAME,3)", 3}, KeyLengthCase{"LEFT(LNAME,30)", 10},
                      KeyLengthCase{"SUBSTR(LNAME,3)", 8}, KeyLengthCase{"SUBSTR(LNAME,3,4)", 4},
                      KeyLengthCase{"SUBSTR(LNAME,2.5,20)", 9}, KeyLengthCase{"STR(AMOUNT,8,2)", 8},
                      KeyLengthCase{"STR(AMOUNT)", 10}, KeyLengthCase{"DTOS(BORN)+LNAME", 18},
                      KeyLengthCase{"IIF(ISDEL,LNAME,FNAME)", 10}, KeyLengthCase{"\"ABC\"", 3},
                      KeyLengthCase{"ISDEL", 1}, KeyLengthCase{"AMOUNT", 8}, KeyLengthCase{"BORN", 8}));

TEST(Expression, CharacterKeysArePaddedAndLogicalKeysAreTOrF)
{
    const Schema schema = testSchema();
    const std::string rec = testRecord();
    Expression e;
    ASSERT_TRUE(Expression::compile("UPPER(TRIM(LNAME))", schema, e).ok());
    EXPECT_EQ(e.indexKey({rec.data(), 1}), "SMITH     ");
    ASSERT_TRUE(Expression::compile("ISDEL", schema, e).ok());
    EXPECT_EQ(e.indexKey({rec.data(), 1}), "T");
    ASSERT_TRUE(Expression::compile("DELETED()", schema, e).ok());
    EXPECT_EQ(e.indexKey({rec.data(), 1}), "F");
    ASSERT_TRUE(Expression::compile("BORN", schema, e).ok());
    EXPECT_EQ(e.indexKey({rec.data(), 1}), numericKey(julianDay(1997, 4, 28)));
    // A record without bytes reads as blanks.
    ASSERT_TRUE(Expression::compile("LNAME+\"|\"", schema, e).ok());
    EXPECT_EQ(e.evaluate(RecordRef{}).text, "          |");
}

// Keys made only of fields, UPPER and "+" take a shorter way; they must equal the evaluated
// text, accented letters and field order included.
TEST(Expression, FieldOnlyKeysEqualTheEvaluatedText)
{
    const Schema schema = testSchema();
    const std::string rec = testRecord();
    for (const char *text :
         {"LNAME", "UPPER(FNAME)", "UPPER(LNAME)+UPPER(FNAME)", "UPPER(LNAME+FNAME)", "LNAME+UPPER(CITY)",
          "UPPER(CITY+CODES)+FNAME", "CODES+CITY", "FNAME+FNAME", "UPPER(UPPER(FNAME))+LNAME"}) {
        Expression e;
        ASSERT_TRUE(Expression::compile(text, schema, e).ok()) << text;
        const std::string evaluated = e.evaluate({rec.data(), 1}).text;
        EXPECT_EQ(e.indexKey({rec.data(), 1}), evaluated) << text;
        EXPECT_EQ(static_cast<int>(evaluated.size()), e.keyLength()) << text;
    }
}

// The shorter way takes ASCII eight bytes at a time: every byte value, around the letters and
// beside accented ones, must come out as the evaluated text has it.
TEST(Expression, FieldOnlyUpperKeysEqualTheEvaluatedTextForEveryByte)
{
    const Schema schema = testSchema();
    Expression e;
    ASSERT_TRUE(Expression::compile("UPPER(LNAME+FNAME)", schema, e).ok());
    for (int from = 1; from < 256; from += 7) {
        std::string lname;
        for (int c = from; c < from + 10; ++c)
            lname.push_back(static_cast<char>(c < 256 ? c : 'q'));
        const std::string rec = test::buildRecord(schema, {{"LNAME", lname}, {"FNAME", "`az{@AZ["}});
        EXPECT_EQ(e.indexKey({rec.data(), 1}), e.evaluate({rec.data(), 1}).text) << from;
    }
}

// Numeric and date keys must sort under memcmp like the numbers, negatives included.
TEST(Expression, NumericKeysSortLikeTheNumbers)
{
    const std::vector<double> ascending = {-1e300, -1e10, -2.5, -1, -0.001, 0, 1e-9, 0.5, 1, 2, 1e10, 1e300};
    for (size_t i = 0; i + 1 < ascending.size(); ++i)
        EXPECT_LT(numericKey(ascending[i]), numericKey(ascending[i + 1])) << ascending[i];
    EXPECT_EQ(numericKey(-0.0), numericKey(0.0));
    EXPECT_EQ(numericKey(1.0), std::string("\xBF\xF0\0\0\0\0\0\0", 8));
    EXPECT_EQ(numericKey(-1.0), std::string("\x40\x0F\xFF\xFF\xFF\xFF\xFF\xFF", 8));
    EXPECT_EQ(julianDay(2000, 1, 1), 2451545);
    EXPECT_EQ(julianDay(2001, 2, 29), 0);
    EXPECT_EQ(julianDay(2000, 2, 29), 2451604);

    const Schema schema({{"AMOUNT", 'N', 6, 1, 0}});
    Expression e;
    ASSERT_TRUE(Expression::compile("AMOUNT", schema, e).ok());
    const std::string low = test::buildRecord(schema, {{"AMOUNT", "-3.5"}});
    const std::string high = test::buildRecord(schema, {{"AMOUNT", "12.0"}});
    EXPECT_LT(e.indexKey({low.data(), 1}), e.indexKey({high.data(), 2}));
}

TEST(Expression, UpperCapitalisesWindows1252Letters)
{
    const unsigned char pairs[][2] = {{'a', 'A'},   {'z', 'Z'},   {'A', 'A'},   {'1', '1'},   {0xE9, 0xC9},
                                      {0xE0, 0xC0}, {0xFE, 0xDE}, {0xFF, 0x9F}, {0x9A, 0x8A}, {0x9C, 0x8C},
                                      {0x9E, 0x8E}, {0xF7, 0xF7}, {0xDF, 0xDF}, {0x8A, 0x8A}, {0xB5, 0xB5}};
    for (const auto &p : pairs)
        EXPECT_EQ(upperCp1252(p[0]), p[1]) << int(p[0]);
    EXPECT_EQ(upperCp1252("Montr\xE9"
                          "al"),
              "MONTR\xC9"
              "AL");
}
