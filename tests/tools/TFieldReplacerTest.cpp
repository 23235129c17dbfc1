// Search and replace: what a find value selects, the replacing of the matching text, the
// question, and the run over the records the user can see.
#include "TFieldReplacer.h"

#include "TProgress.h"
#include "TempDir.h"
#include "ToolFileChecks.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char16_t *value;
    const char16_t *find;
    bool exact;
    bool caseSensitive;
    bool matches;
};

class Selection : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(Selection, MatchesTheWholeValueOrAPart)
{
    const MatchCase c = GetParam();
    EXPECT_EQ(TFieldReplacer::matches(QString::fromUtf16(c.value), QString::fromUtf16(c.find), c.exact,
                                      c.caseSensitive),
              c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Selection,
    ::testing::Values(MatchCase{u"Jones", u"Jones", true, true, true},
                      // The whole value is compared: a longer value beginning with it is another.
                      MatchCase{u"Jonesboro", u"Jones", true, true, false},
                      MatchCase{u"jones", u"Jones", true, true, false},
                      MatchCase{u"jones", u"Jones", true, false, true},
                      MatchCase{u"Jones", u"Jones ", true, true, true}, MatchCase{u"", u"", true, true, true},
                      MatchCase{u"x", u"", false, true, false},
                      MatchCase{u"xABCy", u"abc", false, false, true},
                      MatchCase{u"xABCy", u"abc", false, true, false},
                      MatchCase{u"Say \"hi\"", u"\"hi\"", false, true, true},
                      MatchCase{u"m\u00dcller", u"\u00fc", false, false, true}));

TEST(Replace, ReplacesEveryOccurrenceUpToFiftyOne)
{
    EXPECT_EQ(TFieldReplacer::replaceMatching(QStringLiteral("xABCyabc"), QStringLiteral("abc"),
                                              QStringLiteral("X"), false),
              QStringLiteral("xXyX"));
    EXPECT_EQ(TFieldReplacer::replaceMatching(QStringLiteral("xABCyabc"), QStringLiteral("abc"),
                                              QStringLiteral("X"), true),
              QStringLiteral("xABCyX"));
    EXPECT_EQ(TFieldReplacer::replaceMatching(QStringLiteral("abc"), QString(), QStringLiteral("X"), true),
              QStringLiteral("abc"));
    EXPECT_EQ(TFieldReplacer::replaceMatching(QString(60, QLatin1Char('a')), QStringLiteral("a"),
                                              QStringLiteral("b"), true),
              QString(51, QLatin1Char('b')) + QString(9, QLatin1Char('a')));
}

TEST(Replace, TheQuestionNamesConditionAndAction)
{
    TReplaceRequest r;
    r.find = QStringLiteral("Jones");
    r.replacement = QStringLiteral("Smith");
    EXPECT_EQ(
        TFieldReplacer::question(QStringLiteral("Last Name"), r),
        QStringLiteral("Find records where field Last Name\rexactly matches: \"Jones\"  (case sensitive)\r"
                       "and replace the entire field with \"Smith\""));
    r.find.clear();
    r.replacement.clear();
    r.replaceWhole = false;
    EXPECT_EQ(TFieldReplacer::question(QStringLiteral("City"), r),
              QStringLiteral("Find records where field City\ris empty \rand delete the matching text "));
    r.find = QStringLiteral("abc");
    r.exact = false;
    r.caseSensitive = false;
    r.replacement = QStringLiteral("X");
    EXPECT_EQ(TFieldReplacer::question(QStringLiteral("City"), r),
              QStringLiteral("Find records where field City\rcontains: \"abc\" (not case sensitive)\r"
                             "and replace only the matching text with \"X\""));
}

class ReplaceTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(
            QString::fromStdString(dir.path()),
            {{{"LNAME", QStringLiteral("Jones")},
              {"CITY", QStringLiteral("Boston")},
              {"STATE", QStringLiteral("MA")}},
             {{"LNAME", QStringLiteral("Jonesboro")}, {"CITY", QString()}, {"STATE", QStringLiteral("MA")}},
             {{"LNAME", QStringLiteral("Jones")}, {"CITY", QString()}, {"STATE", QStringLiteral("NY")}},
             {{"LNAME", QStringLiteral("Jones")}, {"ISDEL", QStringLiteral("T")}},
             {{"LNAME", QStringLiteral("Jones")}, {"*marked", QString()}},
             {{"LNAME", QStringLiteral("Say \"hi\"")}, {"STATE", QStringLiteral("NY")}}});
        ASSERT_TRUE(session);
    }
    QStringList column(const char *field)
    {
        QStringList out;
        QStringList values;
        for (quint32 r = 1; r <= 6; ++r) {
            session->table().recordValues(r, {QLatin1String(field)}, values);
            out << values.value(0);
        }
        return out;
    }
    TempDir dir;
    std::unique_ptr<TAddressSession> session;
};

TEST_F(ReplaceTable, ReplacesTheWholeFieldOfVisibleRecordsOnlyAndPutsTheViewBack)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(session->setOrderTag(QStringLiteral("CITY")));
    ASSERT_TRUE(table.goTo(3).ok);
    const QString query = table.query();
    TReplaceRequest r;
    r.field = QStringLiteral("LNAME");
    r.find = QStringLiteral("Jones");
    r.replacement = QStringLiteral("Smith");
    TReplaceOutcome outcome;
    ASSERT_TRUE(TFieldReplacer::run(table, r, TProgress::none(), outcome).ok);
    EXPECT_EQ(outcome.replaced, 2);
    // Jonesboro is another name; the record hidden by ISDEL and the marked one stay.
    EXPECT_EQ(column("LNAME"), (QStringList{"Smith", "Jonesboro", "Smith", "Jones", "Jones", "Say \"hi\""}));
    EXPECT_EQ(table.query(), query);
    EXPECT_EQ(table.orderTag().toUpper(), QStringLiteral("CITY"));
    EXPECT_EQ(table.recno(), 3u);
    toolcheck::expectSoundFile(*session);
}

TEST_F(ReplaceTable, AnEmptyFindValueFillsEmptyFieldsAndTheScopeLimitsTheRecords)
{
    TAddressTable &table = session->table();
    TReplaceRequest r;
    r.field = QStringLiteral("CITY");
    r.replacement = QStringLiteral("Unknown");
    r.scopeFilter = QStringLiteral("STATE = \"MA\"");
    TReplaceOutcome outcome;
    ASSERT_TRUE(TFieldReplacer::run(table, r, TProgress::none(), outcome).ok);
    EXPECT_EQ(outcome.replaced, 1);
    r.scopeFilter.clear();
    ASSERT_TRUE(TFieldReplacer::run(table, r, TProgress::none(), outcome).ok);
    EXPECT_EQ(outcome.replaced, 2);
    EXPECT_EQ(column("CITY"), (QStringList{"Boston", "Unknown", "Unknown", "", "", "Unknown"}));
    toolcheck::expectSoundFile(*session);
}

TEST_F(ReplaceTable, QuotesInTheValueAreTextAndAValueGrowingPastTheWidthIsSkipped)
{
    TAddressTable &table = session->table();
    TReplaceRequest r;
    r.field = QStringLiteral("LNAME");
    r.find = QStringLiteral("\"hi\"");
    r.exact = false;
    r.replaceWhole = false;
    r.replacement = QStringLiteral("'hello'");
    TReplaceOutcome outcome;
    ASSERT_TRUE(TFieldReplacer::run(table, r, TProgress::none(), outcome).ok);
    EXPECT_EQ(outcome.replaced, 1);
    EXPECT_EQ(column("LNAME").value(5), QStringLiteral("Say 'hello'"));

    const int width = table.fieldWidth(QStringLiteral("LNAME"));
    r.find = QStringLiteral("o");
    r.replacement = QString(width, QLatin1Char('o'));
    ASSERT_TRUE(TFieldReplacer::run(table, r, TProgress::none(), outcome).ok);
    EXPECT_EQ(outcome.replaced, 0);
    EXPECT_EQ(outcome.tooLong, 4); // Jones, Jonesboro, Jones, Say 'hello'
    EXPECT_EQ(column("LNAME").value(1), QStringLiteral("Jonesboro"));
    toolcheck::expectSoundFile(*session);
}

} // namespace
