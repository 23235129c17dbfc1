// Adding, saving, deleting and cloning on a copy of the other engine's address fixture: the
// carried values and defaults, the city and state by ZIP, the duplicate-name look-up, the
// memo storing rule, the filter dropped when a delete leaves nothing, failed posts, and a
// random run of edits after which the engine's check finds no fault.
#include "TRecordEditor.h"

#include "EditingFixture.h"

#include <QDate>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

namespace {

QString v(TAddressTable &t, const char *field)
{
    return t.value(QLatin1String(field));
}

class RecordEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        editor.setFilterReapplier([this] {
            ++reapplied;
            file.reapplyFilter();
        });
    }
    // Goes to the record holding this name (the LNAME order's first match).
    void goToName(const char *last, const char *first)
    {
        ASSERT_TRUE(fixture::goToName(file.table, last, first)) << last;
    }

    TEditingFile file;
    TRecordEditor editor{file.table};
    int reapplied = 0;
};

TEST_F(RecordEditor, CarriesTheCurrentAddressAndTheCountryOnlyWhenAsked)
{
    goToName("Coleman", "Ruth");
    TCarryValues c = editor.carryValues();
    EXPECT_EQ(c.city, QStringLiteral("Trois-Rivières"));
    EXPECT_EQ(c.state, QStringLiteral("QC"));
    EXPECT_EQ(c.zip, QStringLiteral("G9A 5H7"));
    EXPECT_EQ(c.street, QStringLiteral("4315 Granville St"));
    EXPECT_EQ(c.org, QStringLiteral("First Baptist Church"));
    EXPECT_TRUE(c.country.isEmpty());
}

struct ZipCase {
    const char *zip;
    bool found;
    const char *city;
    const char *state;
};
class FillCityStateCases : public RecordEditor, public ::testing::WithParamInterface<ZipCase>
{
};

TEST_P(FillCityStateCases, FindTheFirstRecordWhoseZipBeginsWithTheTextAndPutTheTableBack)
{
    const ZipCase c = GetParam();
    goToName("Kim", "Nicole");
    file.table.engine().setExact(true);
    const quint32 here = file.table.recno();
    QString city = QStringLiteral("unchanged");
    QString state = QStringLiteral("unchanged");
    EXPECT_EQ(editor.FillCityState(QLatin1String(c.zip), city, state), c.found);
    EXPECT_EQ(city, QString::fromUtf8(c.city));
    EXPECT_EQ(state, QLatin1String(c.state));
    EXPECT_EQ(file.table.recno(), here);
    EXPECT_EQ(file.table.orderTag(), QStringLiteral("LNAME"));
    EXPECT_TRUE(file.table.engine().isExact());
}

INSTANTIATE_TEST_SUITE_P(Zips, FillCityStateCases,
                         ::testing::Values(ZipCase{"g9a 5h7", true, "Trois-Rivières", "QC"},
                                           ZipCase{"G9A", true, "Trois-Rivières", "QC"},
                                           ZipCase{"v8w", true, "Victoria", "BC"},
                                           ZipCase{"97205", true, "Portland", "OR"},
                                           ZipCase{"00000x", false, "unchanged", "unchanged"}));

TEST_F(RecordEditor, FindsADuplicateNameInAnyCaseAndAsksAboutIt)
{
    goToName("Kim", "Nicole");
    const quint32 here = file.table.recno();
    const TRecordEditor::Duplicate dup =
        editor.findDuplicateName(QStringLiteral("ruth"), QStringLiteral("coleman"));
    ASSERT_EQ(dup.recno, 4u);
    EXPECT_EQ(dup.question, QStringLiteral("Possible duplicate: \r\n\r\nRuth Coleman\r\n4315 Granville St\r\n"
                                           "Trois-Rivières,QC G9A 5H7\r\n\r\nContinue adding?"));
    EXPECT_EQ(file.table.recno(), here);
    EXPECT_FALSE(file.table.engine().isExact());

    // Only the whole name counts, and both parts are needed.
    EXPECT_EQ(editor.findDuplicateName(QStringLiteral("Ru"), QStringLiteral("Coleman")).recno, 0u);
    EXPECT_EQ(editor.findDuplicateName(QString(), QStringLiteral("Coleman")).recno, 0u);
    EXPECT_EQ(editor.findDuplicateName(QStringLiteral("Ruth"), QString()).recno, 0u);
}

TEST_F(RecordEditor, ADuplicateAnsweredNoStaysOnItAndYesGoesBack)
{
    goToName("Kim", "Nicole");
    const quint32 here = file.table.recno();
    QString asked;
    EXPECT_TRUE(editor.CheckDupName(QStringLiteral("Ruth"), QStringLiteral("Coleman"), [&](const QString &q) {
        asked = q;
        return true;
    }));
    EXPECT_FALSE(asked.isEmpty());
    EXPECT_EQ(file.table.recno(), here);
    EXPECT_FALSE(editor.CheckDupName(QStringLiteral("Ruth"), QStringLiteral("Coleman"),
                                     [](const QString &) { return false; }));
    EXPECT_EQ(file.table.recno(), 4u);
    EXPECT_FALSE(file.table.isEditing());
}

TEST_F(RecordEditor, ANewRecordWithEveryPreferenceOffIsBlank)
{
    goToName("Coleman", "Ruth");
    const quint32 count = file.table.engine().recordCount();
    ASSERT_TRUE(editor.insertNewRecord({}, editor.carryValues(), QDate(2026, 12, 10)));
    EXPECT_TRUE(file.table.isEditing());
    for (const char *f : {"LNAME", "ORG", "CITY", "STATE", "ZIP", "COUNTRY", "STREET", "DATE"})
        EXPECT_TRUE(v(file.table, f).isEmpty()) << f;
    EXPECT_EQ(editor.focusFieldAfterAdd(), QStringLiteral("LNAME"));
    ASSERT_TRUE(editor.save({{QStringLiteral("LNAME"), QStringLiteral("Zephyr")}}, QString()));
    EXPECT_EQ(file.table.engine().recordCount(), count + 1);
    EXPECT_EQ(v(file.table, "LNAME"), QStringLiteral("Zephyr"));
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(RecordEditor, ANewRecordTakesAnswersLookUpsCarriedValuesAndDefaultsInTheirOrder)
{
    goToName("Kim", "Nicole"); // Las Vegas, NV 89101
    TAddingPrefs p;
    p.PlugCityState = true;
    p.PlugDate = true;
    p.CarryZip = p.CarryCity = p.CarryState = true;
    p.CarrySA1 = p.CarrySA2 = p.CarryOrg = true;
    p.DefaultCountry = QStringLiteral("Canada");
    editor.setPrefs(p);
    TNewRecordAnswers a;
    a.lname = QStringLiteral("Tremblay");
    a.fname = QStringLiteral("Luc");
    a.zip = QStringLiteral("g9a 5h7");
    ASSERT_TRUE(editor.lookUpCityState(a));
    EXPECT_EQ(a.city, QStringLiteral("Trois-Rivières"));
    ASSERT_TRUE(editor.insertNewRecord(a, editor.carryValues(), QDate(2026, 12, 10)));
    EXPECT_EQ(v(file.table, "LNAME"), QStringLiteral("Tremblay"));
    EXPECT_EQ(v(file.table, "FNAME"), QStringLiteral("Luc"));
    EXPECT_EQ(v(file.table, "ZIP"), QStringLiteral("g9a 5h7"));         // as typed
    EXPECT_EQ(v(file.table, "CITY"), QStringLiteral("Trois-Rivières")); // looked up, not carried
    EXPECT_EQ(v(file.table, "STATE"), QStringLiteral("QC"));
    EXPECT_EQ(v(file.table, "STREET"), QStringLiteral("4894 Martin Luther King Jr Blvd"));
    EXPECT_EQ(v(file.table, "COUNTRY"), QStringLiteral("Canada"));
    EXPECT_EQ(v(file.table, "DATE"), QStringLiteral("20261210"));
    EXPECT_EQ(editor.focusFieldAfterAdd(), QStringLiteral("MIDDLE"));
    editor.cancel();
    EXPECT_FALSE(file.table.isEditing());

    // Without a ZIP answer the carried ZIP, city and state apply; a carried country beats the default.
    p.CarryCountry = true;
    editor.setPrefs(p);
    goToName("Kim", "Nicole");
    TCarryValues carry = editor.carryValues();
    carry.country = QStringLiteral("USA");
    ASSERT_TRUE(editor.insertNewRecord({}, carry, QDate(2026, 12, 10)));
    EXPECT_EQ(v(file.table, "ZIP"), QStringLiteral("89101"));
    EXPECT_EQ(v(file.table, "CITY"), QStringLiteral("Las Vegas"));
    EXPECT_EQ(v(file.table, "COUNTRY"), QStringLiteral("USA"));
    editor.cancel();
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

struct FocusCase {
    const char *name;
    bool skipLast, skipFirst, skipMI, skipPrefix, skipTitle, skipOrg;
    const char *lname;
    const char *expected;
};
class FocusAfterAdd : public RecordEditor, public ::testing::WithParamInterface<FocusCase>
{
};

TEST_P(FocusAfterAdd, GoesToTheFirstBoxNotSkippedOrFilled)
{
    const FocusCase c = GetParam();
    TAddingPrefs p;
    p.SkipLastName = c.skipLast;
    p.SkipfirstName = c.skipFirst;
    p.SkipMiddleInitial = c.skipMI;
    p.SkipPrefix = c.skipPrefix;
    p.Skiptitle = c.skipTitle;
    p.SkipOrganization = c.skipOrg;
    p.AutoDupCheck = true;
    editor.setPrefs(p);
    TNewRecordAnswers a;
    a.lname = QLatin1String(c.lname);
    ASSERT_TRUE(editor.insertNewRecord(a, {}, QDate(2026, 1, 1)));
    EXPECT_EQ(editor.focusFieldAfterAdd(), QLatin1String(c.expected)) << c.name;
    editor.cancel();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusAfterAdd,
    ::testing::Values(FocusCase{"nothing skipped", false, false, false, false, false, false, "", "LNAME"},
                      FocusCase{"last name given", false, false, false, false, false, false, "Ng", "FNAME"},
                      FocusCase{"last skipped", true, false, false, false, false, false, "", "FNAME"},
                      FocusCase{"names skipped", true, true, false, false, false, false, "", "MIDDLE"},
                      FocusCase{"up to title skipped", true, true, true, true, true, false, "", "ORG"},
                      FocusCase{"all six skipped", true, true, true, true, true, true, "", "STREET"}));

TEST(RecordEditorSkip, EachFlagTakesItsOwnBox)
{
    TAddingPrefs p;
    EXPECT_TRUE(TRecordEditor::skippedFields(p).isEmpty());
    p.SkipLastName = p.SkipDate = p.Skipcomments2 = p.SkipComments1 = p.SkipPhone1 = true;
    EXPECT_EQ(TRecordEditor::skippedFields(p),
              (QStringList{QStringLiteral("LNAME"), QStringLiteral("PHONE"), QStringLiteral("USER1"),
                           QStringLiteral("DATE"), QStringLiteral("USER2")}));
}

struct MemoCase {
    const char *typed;
    const char *stored;
};
class StoredMemo : public ::testing::TestWithParam<MemoCase>
{
};

TEST_P(StoredMemo, GetsABlankWhenItsLengthIsAMultipleOfFour)
{
    EXPECT_EQ(TRecordEditor::storedMemo(QLatin1String(GetParam().typed)), QLatin1String(GetParam().stored));
}

INSTANTIATE_TEST_SUITE_P(Texts, StoredMemo,
                         ::testing::Values(MemoCase{"", ""}, MemoCase{"1234567", "1234567"},
                                           MemoCase{"12345678", "12345678 "}, MemoCase{"1234", "1234 "},
                                           MemoCase{"a\nb", "a\r\nb "},      // CR LF counts as two
                                           MemoCase{"ab\r\ncd", "ab\r\ncd"}, // 6
                                           MemoCase{"ab\n", "ab \r\n"},      // the blank ends the last line
                                           MemoCase{"abc\n", "abc\r\n"}));

TEST_F(RecordEditor, SavingStoresAMemoOfEightCharactersWithNineAndOfSevenWithSeven)
{
    for (const auto &c : {std::pair{"12345678", "12345678 "}, std::pair{"1234567", "1234567"}}) {
        goToName("Coleman", "Ruth");
        ASSERT_TRUE(file.table.engine().lockRecord().ok());
        ASSERT_TRUE(editor.save({}, QLatin1String(c.first)));
        goToName("Coleman", "Ruth");
        EXPECT_EQ(file.table.memo(), QLatin1String(c.second));
    }
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(RecordEditor, DeletingTheOnlyFilterMatchDropsTheFilterAndShowsEveryRecord)
{
    const qint64 all = file.table.visibleCount();
    ASSERT_TRUE(file.setFilter(QStringLiteral("UPPER(LNAME)=\"COLEMAN\" .and. UPPER(FNAME)=\"RUTH\"")));
    ASSERT_EQ(file.table.visibleCount(), 1);
    const quint32 ruth = file.table.recno();
    ASSERT_TRUE(editor.deleteCurrent());
    EXPECT_EQ(reapplied, 1);
    EXPECT_TRUE(file.filter.isEmpty());
    EXPECT_EQ(file.table.visibleCount(), all - 1);
    EXPECT_TRUE(file.table.hasRecord());
    EXPECT_TRUE(file.table.engine().isDeletedHidden());

    // The record carries both marks.
    file.table.engine().setDeletedHidden(false);
    ASSERT_TRUE(file.table.engine().go(ruth).ok());
    EXPECT_TRUE(file.table.engine().isDeleted());
    EXPECT_EQ(v(file.table, "ISDEL"), QStringLiteral("T"));
    file.table.engine().setDeletedHidden(true);
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(RecordEditor, DeletingGoesToThePreviousRecordOrToTheNewFirstOne)
{
    file.table.first();
    file.table.next();
    const quint32 second = file.table.recno();
    file.table.next();
    ASSERT_TRUE(editor.deleteCurrent());
    EXPECT_EQ(file.table.recno(), second);
    file.table.first();
    ASSERT_TRUE(editor.deleteCurrent());
    file.table.first();
    const quint32 newFirst = file.table.recno();
    ASSERT_TRUE(editor.deleteCurrent());
    EXPECT_TRUE(file.table.hasRecord());
    EXPECT_NE(file.table.recno(), newFirst);
    EXPECT_EQ(reapplied, 0);
}

TEST_F(RecordEditor, AClonePostsACopyWithItsMemoButNotItsTagOrDeletedFlag)
{
    goToName("Coleman", "Ruth");
    ASSERT_TRUE(file.table.setValue(QStringLiteral("TAG"), QStringLiteral("ABCDEFGH")));
    ASSERT_TRUE(file.table.post());
    const quint32 count = file.table.engine().recordCount();
    ASSERT_TRUE(editor.cloneCurrent());
    EXPECT_FALSE(file.table.isEditing());
    EXPECT_EQ(file.table.engine().recordCount(), count + 1);
    EXPECT_EQ(file.table.recno(), count + 1);
    for (const char *f :
         {"LNAME", "FNAME", "MIDDLE", "PREFIX", "ORG", "STREET", "CITY", "STATE", "ZIP", "DATE", "CODES"}) {
        QString cloneValue = v(file.table, f);
        file.table.goTo(4);
        EXPECT_EQ(cloneValue, v(file.table, f)) << f;
        file.table.goTo(count + 1);
    }
    const QString memo = file.table.memo();
    EXPECT_TRUE(v(file.table, "TAG").isEmpty());
    file.table.goTo(4);
    EXPECT_EQ(memo, file.table.memo());
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(RecordEditor, TheDateIsWrittenAsEightDigitsOrEmptied)
{
    goToName("Coleman", "Ruth");
    ASSERT_TRUE(editor.setDate(QDate(1997, 4, 28)));
    EXPECT_TRUE(file.table.isEditing());
    EXPECT_EQ(v(file.table, "DATE"), QStringLiteral("19970428"));
    ASSERT_TRUE(editor.setDate(QDate()));
    EXPECT_TRUE(v(file.table, "DATE").isEmpty());
    editor.cancel();
}

// A post that the file system refuses (the file may not grow) reports the reason and keeps
// the edit open with the user's values; the file keeps no part of it. With a memo the memo
// file is refused first; without one, the table file.
class FailedPost : public RecordEditor, public ::testing::WithParamInterface<int>
{
};

TEST_P(FailedPost, KeepsTheEditAndLeavesTheFileWhole)
{
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit old {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const quint32 count = file.table.engine().recordCount();
    ASSERT_TRUE(editor.insertNewRecord({}, {}, QDate(2026, 1, 1)));
    const QString longMemo(GetParam(), QLatin1Char('m'));
    struct rlimit tight = old;
    tight.rlim_cur = 1024; // every file is already longer: nothing may grow
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const TResult saved = editor.save({{QStringLiteral("LNAME"), QStringLiteral("Full")}}, longMemo);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_FALSE(saved.ok);
    EXPECT_FALSE(saved.message.isEmpty()) << saved.message.toStdString();
    EXPECT_TRUE(file.table.isEditing());
    EXPECT_EQ(v(file.table, "LNAME"), QStringLiteral("Full"));
    EXPECT_EQ(file.table.engine().recordCount(), count);
    // Once the file may grow, the same edit posts. (The check runs only afterwards: it drops an
    // open edit.)
    const TResult retried = editor.save({{QStringLiteral("LNAME"), QStringLiteral("Full")}}, longMemo);
    ASSERT_TRUE(retried.ok) << retried.message.toStdString();
    EXPECT_FALSE(file.table.isEditing());
    EXPECT_EQ(file.table.engine().recordCount(), count + 1);
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(MemoLengths, FailedPost, ::testing::Values(4999, 0));

// Random adds, edits, clones, deletes and cancels in changing orders leave every tag, memo
// pointer and the header in step with the records.
TEST_F(RecordEditor, ARandomRunOfEditsLeavesTheFileClean)
{
    const char *orders[] = {"LNAME", "ZIP", "CITY", "DATE", "CODES", ""};
    const char *fields[] = {"LNAME", "FNAME", "CITY", "STATE", "ZIP", "STREET", "CODES", "EMAIL"};
    TAddingPrefs p;
    p.CarryCity = p.CarryZip = p.CarryState = p.PlugDate = true;
    editor.setPrefs(p);
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int n) { return int(rng() % unsigned(n)); };
        auto word = [&](int maxLen) {
            QString w;
            const int n = pick(maxLen + 1);
            for (int i = 0; i < n; ++i)
                w += QChar(pick(3) == 0 ? 'a' + pick(26) : 'A' + pick(26));
            return w;
        };
        for (int step = 0; step < 120; ++step) {
            file.table.setOrderTag(QLatin1String(orders[pick(6)]));
            if (!file.table.hasRecord())
                file.table.first();
            for (int i = pick(20); i > 0; --i)
                file.table.next();
            const int op = pick(6);
            QMap<QString, QString> values;
            for (int i = pick(4); i > 0; --i)
                values[QLatin1String(fields[pick(8)])] = word(12);
            const QString memo = pick(3) == 0 ? QString() : word(pick(2) == 0 ? 10 : 700);
            if (op == 0) {
                ASSERT_TRUE(editor.insertNewRecord({word(8), word(8), QString(), QString(), QString()},
                                                   editor.carryValues(), QDate(2026, 1, 2)));
                ASSERT_TRUE(editor.save(values, memo));
            } else if (op == 1 && file.table.hasRecord()) {
                ASSERT_TRUE(file.table.engine().lockRecord().ok());
                ASSERT_TRUE(editor.save(values, memo));
            } else if (op == 2 && file.table.hasRecord()) {
                ASSERT_TRUE(editor.cloneCurrent());
            } else if (op == 3 && file.table.hasRecord()) {
                ASSERT_TRUE(editor.deleteCurrent());
            } else if (op == 4 && file.table.hasRecord()) {
                ASSERT_TRUE(file.table.engine().lockRecord().ok());
                ASSERT_TRUE(file.table.setValue(QStringLiteral("LNAME"), word(10)));
                editor.cancel();
            } else if (op == 5) {
                ASSERT_TRUE(editor.insertNewRecord({}, editor.carryValues(), QDate(2026, 1, 2)));
                editor.cancel();
            }
        }
        const std::vector<std::string> faults = file.faults();
        EXPECT_TRUE(faults.empty()) << "seed " << seed << ": "
                                    << (faults.empty() ? std::string() : faults.front());
    }
    // Reopened from disk, the file still checks clean.
    file.table.close();
    ASSERT_TRUE(file.table.OpenTableFile(file.path));
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

} // namespace
