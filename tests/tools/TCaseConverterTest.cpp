// Case conversion: the three conversions with the Windows-1252 case table, and the pass over
// the current record, all records and the records matching a filter.
#include "TCaseConverter.h"

#include "TProgress.h"
#include "TempDir.h"
#include "ToolFileChecks.h"

#include <gtest/gtest.h>

namespace {

using C = TCaseConverter::Conversion;

struct CaseCase {
    const char16_t *in;
    C conversion;
    const char16_t *out;
};

class CaseConversions : public ::testing::TestWithParam<CaseCase>
{
};

TEST_P(CaseConversions, ConvertEveryLetterInPlace)
{
    const CaseCase c = GetParam();
    const QString in = QString::fromUtf16(c.in);
    const QString out = TCaseConverter::convert(in, c.conversion);
    EXPECT_EQ(out, QString::fromUtf16(c.out));
    EXPECT_EQ(out.size(), in.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CaseConversions,
    ::testing::Values(CaseCase{u"MARY-ANN o'NEIL", C::FirstLetters, u"Mary-ann O'neil"},
                      CaseCase{u"jones 12b", C::Upper, u"JONES 12B"},
                      CaseCase{u"JONES 12B", C::Lower, u"jones 12b"},
                      CaseCase{u"m\u00fcller stra\u00dfe", C::Upper, u"M\u00dcLLER STRA\u00dfE"},
                      CaseCase{u"\u00c9MILE \u0160OLC", C::Lower, u"\u00e9mile \u0161olc"},
                      CaseCase{u"\u00e9mile  z", C::FirstLetters, u"\u00c9mile  Z"},
                      CaseCase{u"", C::Upper, u""}));

class CaseTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = smallfile::session(QString::fromStdString(dir.path()),
                                     {{{"LNAME", QStringLiteral("smith")}, {"STATE", QStringLiteral("ny")}},
                                      {{"LNAME", QStringLiteral("jones")}, {"STATE", QStringLiteral("ny")}},
                                      {{"LNAME", QStringLiteral("brown")}, {"STATE", QStringLiteral("nj")}},
                                      {{"LNAME", QStringLiteral("hidden")}, {"ISDEL", QStringLiteral("T")}}});
        ASSERT_TRUE(session);
    }
    QStringList names()
    {
        QStringList out;
        QStringList values;
        for (quint32 r = 1; r <= 4; ++r) {
            session->table().recordValues(r, {QStringLiteral("LNAME")}, values);
            out << values.value(0);
        }
        return out;
    }
    TempDir dir;
    std::unique_ptr<TAddressSession> session;
};

TEST_F(CaseTable, CurrentRecordOnlyTouchesOneRecordEvenUnderAFilterShowingMany)
{
    TAddressTable &table = session->table();
    ASSERT_TRUE(table.setQuery(QStringLiteral("STATE = \"ny\" .and. !ISDEL")).ok);
    ASSERT_TRUE(table.goTo(2).ok);
    int converted = 0;
    ASSERT_TRUE(TCaseConverter::run(table, {QStringLiteral("LNAME")}, C::Upper,
                                    TCaseConverter::Records::Current, QString(), TProgress::none(), converted)
                    .ok);
    EXPECT_EQ(converted, 1);
    EXPECT_EQ(names(), (QStringList{"smith", "JONES", "brown", "hidden"}));
    EXPECT_EQ(table.recno(), 2u);
    toolcheck::expectSoundFile(*session);
}

TEST_F(CaseTable, AllRecordsSkipsHiddenOnesAndTheFilterChoiceKeepsToTheFilter)
{
    TAddressTable &table = session->table();
    const QString query = table.query();
    int converted = 0;
    ASSERT_TRUE(TCaseConverter::run(table, {QStringLiteral("LNAME")}, C::FirstLetters,
                                    TCaseConverter::Records::MatchingFilter, QStringLiteral("STATE = \"nj\""),
                                    TProgress::none(), converted)
                    .ok);
    EXPECT_EQ(converted, 1);
    EXPECT_EQ(names(), (QStringList{"smith", "jones", "Brown", "hidden"}));
    toolcheck::CancelAfter cancel(1);
    ASSERT_TRUE(TCaseConverter::run(table, {QStringLiteral("LNAME")}, C::Upper, TCaseConverter::Records::All,
                                    QString(), cancel, converted)
                    .ok);
    EXPECT_EQ(converted, 1); // cancelled after the first record
    ASSERT_TRUE(TCaseConverter::run(table, {QStringLiteral("LNAME")}, C::Upper, TCaseConverter::Records::All,
                                    QString(), TProgress::none(), converted)
                    .ok);
    EXPECT_EQ(converted, 3);
    EXPECT_EQ(names(), (QStringList{"SMITH", "JONES", "BROWN", "hidden"}));
    EXPECT_EQ(table.query(), query);
    toolcheck::expectSoundFile(*session);
}

} // namespace
