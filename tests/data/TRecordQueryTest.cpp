#include "TRecordQuery.h"

#include "TAddressTable.h"

#include "TCp1252.h"

#include "Table.h"
#include "TempDir.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using C = TFilterCriteria;

const QString kFixtures = QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/");
const QString kTagId = QStringLiteral("T5703FX"); // the identifier the fixture's tagged records hold

// A writable copy of the address fixture `name` in `dir`, opened exclusively.
void openCopy(const TempDir &dir, const QString &name, xbase::Table &table)
{
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const QString to = QString::fromStdString(dir.path()) + QLatin1Char('/') + name + QLatin1String(ext);
        if (QFile::copy(kFixtures + name + QLatin1String(ext), to))
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    ASSERT_TRUE(table.open(dir.file(name.toStdString() + ".DBF"), xbase::OpenMode::Exclusive).ok());
}

// Query text -> count, as the independent engine answered for ADD0001.
std::vector<std::pair<QString, qint64>> fixtureQueries()
{
    QFile f(kFixtures + QStringLiteral("ADD0001.expected.json"));
    std::vector<std::pair<QString, qint64>> out;
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QJsonArray queries =
        QJsonDocument::fromJson(f.readAll()).object().value(QStringLiteral("queries")).toArray();
    for (const QJsonValue &q : queries) {
        const QJsonObject o = q.toObject();
        out.emplace_back(o.value(QStringLiteral("expr")).toString(),
                         o.value(QStringLiteral("count")).toInteger());
    }
    return out;
}

class FixtureTable : public ::testing::Test
{
protected:
    void SetUp() override { openCopy(m_dir, QStringLiteral("ADD0001"), m_table); }

    TempDir m_dir;
    xbase::Table m_table;
};

struct FixtureCase {
    const char *name;
    std::vector<std::pair<int, const char *>> texts;
    bool tagged;
    bool reverse;
};

class FilterOnFixture : public FixtureTable, public ::testing::WithParamInterface<FixtureCase>
{
};

// The query each criteria set builds is, character for character, one the independent engine
// was asked, and selects as many records as that engine counted.
TEST_P(FilterOnFixture, BuildsTheFixtureQueryAndCountsItsRecords)
{
    const FixtureCase c = GetParam();
    TFilterCriteria criteria;
    for (const auto &[index, text] : c.texts)
        criteria.setText(index, QString::fromUtf8(text));
    criteria.setTagged(c.tagged);
    criteria.setReverse(c.reverse);
    const QString query = TRecordQuery::queryFor(criteria.BuildQueryString(kTagId));

    qint64 expected = -1;
    for (const auto &[expr, count] : fixtureQueries()) {
        if (expr == query)
            expected = count;
    }
    ASSERT_GE(expected, 1) << "no fixture query " << query.toStdString();

    TEngineFilterTarget target(m_table);
    const TFilterCriteria before = criteria;
    const TFilterOutcome outcome = TRecordQuery::apply(criteria, kTagId, target);
    EXPECT_EQ(outcome.count, expected);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_FALSE(outcome.dropped);
    EXPECT_EQ(criteria, before);
    EXPECT_EQ(QString::fromStdString(m_table.queryText()), query);
}

const FixtureCase kFixtureCases[] = {
    {"PrefixOfLast", {{C::qLName, "sm"}}, false, false},
    {"PrefixAlsoFindsLongerNames", {{C::qLName, "Smith"}}, false, false},
    {"TrailingBlankKept", {{C::qLName, "smith "}}, false, false},
    {"Contains", {{C::qCodes, "$c"}}, false, false},
    {"NineNotNinetyFour", {{C::qZip, "9^94"}}, false, false},
    {"EitherState", {{C::qState, "ca;on"}}, false, false},
    {"City", {{C::qCity, "san"}}, false, false},
    {"CityReversed", {{C::qCity, "San"}}, false, true},
    {"TwoCriteriaReversed", {{C::qLName, "s"}, {C::qState, "ca"}}, false, true},
    {"DateFrom", {{C::qDate, ">=1997"}}, false, false},
    {"DateBefore", {{C::qDate, "<1995"}}, false, false},
    {"ZipUpTo", {{C::qZip, "<=5"}}, false, false},
    {"AfterSmith", {{C::qLName, ">smith"}}, false, false},
    {"Country", {{C::qCountry, "canada"}}, false, false},
    {"EmailContains", {{C::qEmail, "$@example.com"}}, false, false},
    {"Tagged", {}, true, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, FilterOnFixture, ::testing::ValuesIn(kFixtureCases),
                         [](const ::testing::TestParamInfo<FixtureCase> &p) {
                             return std::string(p.param.name);
                         });

// Records of the fixture whose field `field` satisfies `test`, the marked and soft-deleted
// ones left out.
template <class Test> qint64 countRecords(const QString &field, Test test)
{
    QFile f(kFixtures + QStringLiteral("ADD0001.records.jsonl"));
    qint64 n = 0;
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    while (!f.atEnd()) {
        const QJsonObject r = QJsonDocument::fromJson(f.readLine()).object();
        if (r.isEmpty() || r.value(QStringLiteral("deleted")).toBool() ||
            r.value(QStringLiteral("ISDEL")).toBool())
            continue;
        if (test(r.value(field).toString(), r))
            ++n;
    }
    return n;
}

TEST_F(FixtureTable, EmptyPartMatchesEveryRecordAndCaretExcludes)
{
    TEngineFilterTarget target(m_table);
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("A;"));
    EXPECT_EQ(TRecordQuery::apply(c, kTagId, target).count,
              countRecords(QStringLiteral("LNAME"), [](auto, auto) { return true; }));

    c.ClearQueryVars();
    c.setText(C::qZip, QStringLiteral("9^94"));
    EXPECT_EQ(TRecordQuery::apply(c, kTagId, target).count,
              countRecords(QStringLiteral("ZIP"), [](const QString &zip, auto) {
                  return zip.startsWith(QLatin1Char('9')) && !zip.startsWith(QStringLiteral("94"));
              }));
}

TEST_F(FixtureTable, ValuesWithQuotesSelectWhatTheySay)
{
    // Two organisations holding double quotes, one with every string delimiter.
    for (const char *org : {"The \"Best\" Co", "Bob's \"Place\" ]x"}) {
        ASSERT_TRUE(m_table.appendBlank().ok());
        ASSERT_TRUE(m_table.setFieldValue("ORG", org).ok());
        ASSERT_TRUE(m_table.post().ok());
    }
    struct QuoteCase {
        const char *value;
        qint64 count;
    };
    const QuoteCase cases[] = {
        {"$\"best\"", 1},          // in single quotes
        {"the \"", 1},             // a prefix
        {"$'s \"pl", 1},           // in brackets
        {"$bob's \"place\" ]", 1}, // every delimiter: joined constants
        {"$s \"place\" ]x", 1},
    };
    TEngineFilterTarget target(m_table);
    for (const QuoteCase &q : cases) {
        TFilterCriteria c;
        c.setText(C::qOrg, QString::fromUtf8(q.value));
        const TFilterOutcome outcome = TRecordQuery::apply(c, kTagId, target);
        EXPECT_TRUE(outcome.message.isEmpty()) << q.value << ": " << target.lastError();
        EXPECT_EQ(outcome.count, q.count) << q.value;
    }
    // An apostrophe among the fixture's own names.
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("$'"));
    EXPECT_EQ(TRecordQuery::apply(c, kTagId, target).count,
              countRecords(QStringLiteral("LNAME"),
                           [](const QString &name, auto) { return name.contains(QLatin1Char('\'')); }));
}

TEST_F(FixtureTable, AccentedValueFindsAccentedRecords)
{
    TEngineFilterTarget target(m_table);
    TFilterCriteria c;
    c.setText(C::qCity, QStringLiteral("$é"));
    const qint64 expected = countRecords(QStringLiteral("CITY"), [](const QString &city,
                                                                    const QJsonObject &r) {
        return (city + r.value(QStringLiteral("STATE")).toString()).toUpper().contains(QStringLiteral("É"));
    });
    ASSERT_GT(expected, 0);
    EXPECT_EQ(TRecordQuery::apply(c, kTagId, target).count, expected);
}

TEST_F(FixtureTable, FilterThatMatchesNothingIsDroppedSilently)
{
    TEngineFilterTarget target(m_table);
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("nobody by this name"));
    c.setTagged(true);
    const TFilterOutcome outcome = TRecordQuery::apply(c, kTagId, target);
    EXPECT_EQ(outcome.count, 0);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_TRUE(outcome.dropped);
    EXPECT_FALSE(c.isSet());
    EXPECT_EQ(m_table.queryText(), "!ISDEL");
}

TEST_F(FixtureTable, NoFilterSetsTheBaseQueryAndCountsNothing)
{
    TEngineFilterTarget target(m_table);
    TFilterCriteria c;
    c.setReverse(true); // Reverse alone sets no filter
    const TFilterOutcome outcome = TRecordQuery::apply(c, kTagId, target);
    EXPECT_EQ(outcome.count, 0);
    EXPECT_FALSE(outcome.dropped);
    EXPECT_TRUE(c.isReverse());
    EXPECT_EQ(m_table.queryText(), "!ISDEL");
    EXPECT_EQ(target.visibleCount(), 275);
}

TEST_F(FixtureTable, FiltersUpTo243CharactersAreApplied)
{
    // "(!(UPPER(LNAME)=" dq ... dq "))": 20 characters around the value.
    TEngineFilterTarget target(m_table);
    for (const int length : {243, 244}) {
        TFilterCriteria c;
        c.setText(C::qLName, QString(length - 20, QLatin1Char('Q')));
        c.setReverse(true);
        ASSERT_EQ(c.BuildQueryString(kTagId).size(), length);
        const TFilterOutcome outcome = TRecordQuery::apply(c, kTagId, target);
        if (length == 243) {
            EXPECT_EQ(outcome.count, 275);
            EXPECT_TRUE(outcome.message.isEmpty());
            EXPECT_TRUE(c.isSet());
        } else {
            EXPECT_EQ(outcome.count, 0);
            EXPECT_EQ(outcome.message, QStringLiteral("Sorry - filter is too complex.Please simplify it."));
            EXPECT_FALSE(c.isSet());
            EXPECT_EQ(m_table.queryText(), "!ISDEL");
        }
    }
}

// The criteria belong to the main window, not to the file: opened on another file they
// select there.
TEST_F(FixtureTable, CriteriaApplyToAnotherFile)
{
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("s"));
    TEngineFilterTarget first(m_table);
    const qint64 here = TRecordQuery::apply(c, kTagId, first).count;
    ASSERT_GT(here, 0);

    TempDir other;
    xbase::Table table;
    openCopy(other, QStringLiteral("LNAME25"), table);
    TEngineFilterTarget second(table);
    const TFilterOutcome there = TRecordQuery::apply(c, kTagId, second);
    EXPECT_GT(there.count, 0);
    EXPECT_TRUE(c.isSet());
    EXPECT_EQ(table.queryText(), "UPPER(LNAME)=\"S\".and. !ISDEL");
}

// The main window's open address table as the filter's target.
TEST(RecordQuery, AppliesToTheOpenAddressTable)
{
    TempDir dir;
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const QString to = QString::fromStdString(dir.file(std::string("ADD0001") + ext));
        ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("ADD0001") + QLatin1String(ext), to));
        QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
    }
    TAddressTable table;
    ASSERT_TRUE(table.OpenTableFile(QString::fromStdString(dir.file("ADD0001.DBF"))).ok);
    TFilterTargetOf<TAddressTable> target(table);
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("smith"));
    EXPECT_EQ(TRecordQuery::apply(c, kTagId, target).count, 12);
    EXPECT_EQ(table.query(), QStringLiteral("UPPER(LNAME)=\"SMITH\".and. !ISDEL"));
    EXPECT_EQ(table.visibleCount(), 12);
}

// A stand-in table whose engine refuses every query but the base one.
class RefusingTarget : public TFilterTarget
{
public:
    bool setQuery(const QString &expr) override
    {
        if (expr != TRecordQuery::baseQuery())
            return false;
        query = expr;
        return true;
    }
    qint64 visibleCount() override { return 10; }
    QString query;
};

TEST(RecordQuery, RefusedQueryIsDroppedWithAMessage)
{
    RefusingTarget target;
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("x"));
    const TFilterOutcome outcome = TRecordQuery::apply(c, kTagId, target);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_FALSE(outcome.message.isEmpty());
    EXPECT_EQ(target.query, QStringLiteral("!ISDEL"));
    EXPECT_FALSE(c.isSet());
}

TEST(RecordQuery, StatusText)
{
    EXPECT_EQ(TRecordQuery::statusText(true, 12), QStringLiteral("12 filter matches"));
    EXPECT_EQ(TRecordQuery::statusText(false, 300), QStringLiteral("300 records (no filter)"));
    EXPECT_EQ(TRecordQuery::statusText(false, 0), QStringLiteral("No records"));
    EXPECT_EQ(TRecordQuery::queryFor(QString()), QStringLiteral("!ISDEL"));
    EXPECT_EQ(TRecordQuery::queryFor(QStringLiteral("X")), QStringLiteral("X.and. !ISDEL"));
}

} // namespace
