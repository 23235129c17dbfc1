#include "TFilterCriteria.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using C = TFilterCriteria;

struct QueryCase {
    const char *name;
    std::vector<std::pair<int, const char *>> texts;
    bool tagged;
    bool reverse;
    const char *expected; // the whole filter expression
};

class BuildQuery : public ::testing::TestWithParam<QueryCase>
{
};

TEST_P(BuildQuery, GivesTheWholeExpression)
{
    const QueryCase c = GetParam();
    TFilterCriteria criteria;
    for (const auto &[index, text] : c.texts)
        criteria.setText(index, QString::fromUtf8(text));
    criteria.setTagged(c.tagged);
    criteria.setReverse(c.reverse);
    EXPECT_EQ(criteria.BuildQueryString(QStringLiteral("T5703FX")), QString::fromUtf8(c.expected));
    EXPECT_EQ(criteria.isSet(), *c.expected != '\0');
}

const QueryCase kQueryCases[] = {
    {"PlainValueIsAPrefixInCapitals", {{C::qLName, "jo"}}, false, false, R"(UPPER(LNAME)="JO")"},
    {"ValueIsUsedUntrimmed", {{C::qLName, " smith "}}, false, false, R"(UPPER(LNAME)=" SMITH ")"},
    {"BlankCriterionIsSkipped", {{C::qLName, "   "}, {C::qFName, "j"}}, false, false, R"(UPPER(FNAME)="J")"},
    {"ContainsTestsOrJoined",
     {{C::qCodes, "$A;$B"}},
     false,
     false,
     R"((("A"$UPPER(CODES)).or.("B"$UPPER(CODES))))"},
    {"CaretIsAndNot", {{C::qZip, "9^94"}}, false, false, R"(((UPPER(ZIP)="9").and..not.(UPPER(ZIP)="94")))"},
    {"EmptyPartIsKept", {{C::qLName, "A;"}}, false, false, R"(((UPPER(LNAME)="A").or.(UPPER(LNAME)="")))"},
    {"PlusIsAnd", {{C::qLName, "s+j"}}, false, false, R"(((UPPER(LNAME)="S").and.(UPPER(LNAME)="J")))"},
    {"PlusAndCaretBindTighterThanSemicolon",
     {{C::qState, "ca;o+n^ny"}},
     false,
     false,
     R"(((UPPER(STATE)="CA").or.(((UPPER(STATE)="O").and.(((UPPER(STATE)="N").and..not.(UPPER(STATE)="NY")))))))"},
    {"CityTestsCityAndState", {{C::qCity, "san"}}, false, false, R"(UPPER(CITY+STATE)="SAN")"},
    {"GreaterOrEqual", {{C::qDate, ">=19970101"}}, false, false, R"(UPPER(DATE)>="19970101")"},
    {"Greater", {{C::qLName, ">smith"}}, false, false, R"(UPPER(LNAME)>"SMITH")"},
    {"LessOrEqual", {{C::qZip, "<=5"}}, false, false, R"(UPPER(ZIP)<="5")"},
    {"Less", {{C::qDate, "<1995"}}, false, false, R"(UPPER(DATE)<"1995")"},
    {"OperatorWithoutValue", {{C::qCodes, "$"}}, false, false, R"(""$UPPER(CODES))"},
    {"EveryFieldInOrderJoinedByAnd",
     {{C::quser2, "u2"}, {C::qLName, "l"}, {C::qstreet2, "s2"}, {C::qphone2, "p2"}, {C::qEmail, "$@"}},
     false,
     false,
     R"(UPPER(LNAME)="L" and UPPER(STREET2)="S2" and UPPER(PHONE2)="P2" and "@"$UPPER(EMAIL) and UPPER(USER2)="U2")"},
    {"TaggedAlone", {}, true, false, R"((UPPER(TAG)="T5703FX"))"},
    {"TaggedAfterCriteria",
     {{C::qLName, "s"}},
     true,
     false,
     R"(UPPER(LNAME)="S" and (UPPER(TAG)="T5703FX"))"},
    {"ReverseWrapsTheWhole",
     {{C::qLName, "s"}, {C::qState, "ca"}},
     false,
     true,
     R"((!(UPPER(LNAME)="S" and UPPER(STATE)="CA")))"},
    {"ReverseAloneSetsNoFilter", {}, false, true, ""},
    {"NothingSetsNoFilter", {}, false, false, ""},
    // Double quotes select what they say: another delimiter quotes the value.
    {"DoubleQuoteInSingleQuotes", {{C::qOrg, R"(the "best")"}}, false, false, R"(UPPER(ORG)='THE "BEST"')"},
    {"BothQuotesInBrackets", {{C::qOrg, R"($a"b'c)"}}, false, false, R"([A"B'C]$UPPER(ORG))"},
    {"EveryDelimiterJoinsConstants", {{C::qOrg, R"(x"y'z]w)"}}, false, false, R"(UPPER(ORG)=([X"Y'Z]+"]W"))"},
    {"AccentedLettersInTheEnginesCapitals",
     {{C::qCity, "$montréal"}},
     false,
     false,
     R"("MONTRÉAL"$UPPER(CITY+STATE))"},
};

INSTANTIATE_TEST_SUITE_P(Cases, BuildQuery, ::testing::ValuesIn(kQueryCases),
                         [](const ::testing::TestParamInfo<QueryCase> &p) {
                             return std::string(p.param.name);
                         });

TEST(FilterCriteria, ValueAfterAnOperatorIsCutTo99Characters)
{
    const QString value = QString(120, QLatin1Char('a'));
    EXPECT_EQ(C::criterionExpression(QStringLiteral("LNAME"), QStringLiteral(">=") + value),
              QStringLiteral("UPPER(LNAME)>=\"") + QString(99, QLatin1Char('A')) + QLatin1Char('"'));
    EXPECT_EQ(C::criterionExpression(QStringLiteral("CODES"), QLatin1Char('$') + value),
              QLatin1Char('"') + QString(99, QLatin1Char('A')) + QStringLiteral("\"$UPPER(CODES)"));
    // A plain value is used whole.
    EXPECT_EQ(C::criterionExpression(QStringLiteral("LNAME"), value),
              QStringLiteral("UPPER(LNAME)=\"") + QString(120, QLatin1Char('A')) + QLatin1Char('"'));
}

TEST(FilterCriteria, ClearQueryVarsEmptiesEverything)
{
    TFilterCriteria c;
    for (int i = 0; i < C::kCount; ++i)
        c.setText(i, QStringLiteral("x"));
    c.setTagged(true);
    c.setReverse(true);
    c.ClearQueryVars();
    EXPECT_EQ(c, TFilterCriteria());
    EXPECT_FALSE(c.isSet());
}

TEST(FilterCriteria, TheEighteenCriteriaInOrder)
{
    const char *fields[] = {"LNAME", "FNAME",      "TITLE", "ORG",     "STREET", "STREET2",
                            "ZIP",   "CITY+STATE", "STATE", "COUNTRY", "PHONE",  "PHONE2",
                            "FAX",   "EMAIL",      "DATE",  "CODES",   "USER1",  "USER2"};
    for (int i = 0; i < C::kCount; ++i)
        EXPECT_EQ(C::fieldExpression(i), QLatin1String(fields[i])) << i;
    EXPECT_EQ(C::boxName(C::qstreet2), QStringLiteral("qstreet2"));
    EXPECT_EQ(C::defaultLabel(C::qZip), QStringLiteral("Zip or Postal"));
}

TEST(FilterCriteria, LinesRoundTripAndFlagsNeedExactlyT)
{
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("smith;jones"));
    c.setText(C::quser2, QStringLiteral(" x "));
    c.setTagged(true);
    const QStringList lines = c.toLines();
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines.at(18), QStringLiteral("T"));
    EXPECT_EQ(lines.at(19), QStringLiteral("F"));
    EXPECT_EQ(TFilterCriteria::fromLines(lines), c);

    QStringList loose = lines;
    loose[18] = QStringLiteral("t");
    loose[19] = QStringLiteral("T ");
    const TFilterCriteria read = TFilterCriteria::fromLines(loose);
    EXPECT_FALSE(read.isTagged());
    EXPECT_FALSE(read.isReverse());
}

} // namespace
