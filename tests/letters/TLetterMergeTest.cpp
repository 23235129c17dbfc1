#include "RtfTestSupport.h"

#include "TLetterMerge.h"
#include "TMergeRecordMap.h"
#include "TRtfWriter.h"

#include <QTextBlockFormat>
#include <QTextCursor>

using namespace rtftest;

namespace {

TMergeDates march5()
{
    return {QDate(2026, 3, 5), QStringLiteral("M/d/yy"), QLocale(QLocale::English, QLocale::UnitedStates)};
}

TMergeRecordMap ann()
{
    return {{QStringLiteral("PREFIX"), QStringLiteral("Dr.")},
            {QStringLiteral("FNAME"), QStringLiteral("Ann")},
            {QStringLiteral("MIDDLE"), QStringLiteral("B")},
            {QStringLiteral("LNAME"), QStringLiteral("Lee")},
            {QStringLiteral("STREET"), QStringLiteral("1 Main")},
            {QStringLiteral("CITY"), QStringLiteral("Salem")},
            {QStringLiteral("STATE"), QStringLiteral("OR")},
            {QStringLiteral("ZIP"), QStringLiteral("97301")}};
}

QString merged(const std::string &rtf, const TMergeRecord &record)
{
    const auto doc = read(rtf);
    TLetterMerge::ReplaceTokens(*doc, record, march5());
    return doc->toRawText();
}

} // namespace

struct MergeCase {
    const char *rtf;
    const char16_t *expected;
};
class MergeText : public ::testing::TestWithParam<MergeCase>
{
};

TEST_P(MergeText, ReplacesTheTemplatesFieldsByTheRecordsValues)
{
    const MergeCase c = GetParam();
    EXPECT_EQ(merged(c.rtf, ann()), QString::fromUtf16(c.expected)) << c.rtf;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeText,
    ::testing::Values(
        // A template without fields prints the same for every record.
        MergeCase{"{\\rtf1 Dear friend,\\par}", u"Dear friend,"},
        MergeCase{"{\\rtf1 [First], [First] and [First]!}", u"Ann, Ann and Ann!"},
        // A bracketed name that is not a field stays, and so does its spelling in another case.
        MergeCase{"{\\rtf1 [Firstname] [first] [First ] [] [First}",
                  u"[Firstname] [first] [First ] [] [First"},
        MergeCase{"{\\rtf1 [[First]] [Last]]}", u"[Ann] Lee]"},
        MergeCase{"{\\rtf1 Dear [Full Name]:}", u"Dear Dr. Ann B. Lee :"},
        MergeCase{"{\\rtf1 [Middle][Title][Fax]|}", u"B|"},
        MergeCase{"{\\rtf1 [Long Date] [Today's Date]}", u"Mar 5, 2026 3/5/26"},
        // The block's lines break inside the paragraph.
        MergeCase{"{\\rtf1 [Name and Address]Dear}", u"Dr. Ann B. Lee \u2028"
                                                     u"1 Main\u2028Salem OR  97301\u2028Dear"},
        // A field split over formatting runs is still one field.
        MergeCase{"{\\rtf1 {\\b [Fi}rst] [{\\i Last}]}", u"Ann Lee"},
        MergeCase{"{\\rtf1 one [Last]\\par two [First]\\par}", u"one Lee\u2029two Ann"}));

TEST(TLetterMerge, TheValueTakesTheFormatOfItsFieldAndTheTextAroundItKeepsItsOwn)
{
    const auto doc = read("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}"
                          "{\\i Dear }{\\b\\f1\\fs32 [First]}{\\ul , hello}}");
    EXPECT_EQ(TLetterMerge::ReplaceTokens(*doc, ann(), march5()), 1);
    ASSERT_EQ(doc->toPlainText(), QStringLiteral("Dear Ann, hello"));
    EXPECT_TRUE(formatAt(*doc, 0).fontItalic());
    const QTextCharFormat value = formatAt(*doc, 5);
    EXPECT_EQ(value.fontWeight(), QFont::Bold);
    EXPECT_EQ(family(value), QStringLiteral("Courier"));
    EXPECT_EQ(value.fontPointSize(), 16.0);
    EXPECT_EQ(formatAt(*doc, 7).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(*doc, 8).fontUnderline());
    EXPECT_FALSE(formatAt(*doc, 8).fontWeight() == QFont::Bold);
}

TEST(TLetterMerge, AnEmptyValueRemovesItsField)
{
    TMergeRecordMap r = ann();
    r.set(QStringLiteral("MIDDLE"), QString());
    EXPECT_EQ(merged("{\\rtf1 [First] [Middle] [Last]}", r), QStringLiteral("Ann  Lee"));
    EXPECT_EQ(merged("{\\rtf1 [Name and Address]}", TMergeRecordMap()), QString());
}

TEST(TLetterMerge, TheAddressBlockKeepsItsParagraphsFormatWithoutRepeatingItsPageBreak)
{
    const auto doc = read("{\\rtf1 first page\\page\\pard\\qc\\sb240 [Name and Address]\\par after\\par}");
    TLetterMerge::ReplaceTokens(*doc, ann(), march5());
    ASSERT_EQ(doc->blockCount(), 3);
    const QTextBlock block = doc->begin().next();
    EXPECT_EQ(block.text(), QStringLiteral("Dr. Ann B. Lee \u2028"
                                           "1 Main\u2028Salem OR  97301\u2028"));
    EXPECT_EQ(block.blockFormat().alignment(), Qt::AlignHCenter);
    EXPECT_FALSE(block.next().blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

TEST(TLetterMerge, DoMergeReplacesEveryOccurrenceOfOneField)
{
    const auto doc = read("{\\rtf1 [City] and [City], [State]}");
    EXPECT_EQ(TLetterMerge::DoMerge(*doc, QStringLiteral("City"), QStringLiteral("Salem")), 2);
    EXPECT_EQ(doc->toPlainText(), QStringLiteral("Salem and Salem, [State]"));
    EXPECT_EQ(TLetterMerge::DoMerge(*doc, QStringLiteral("City"), QStringLiteral("x")), 0);
}

TEST(TLetterMerge, RecordTextIsWrittenAsTextNeverAsRtf)
{
    TMergeRecordMap r = ann();
    r.set(QStringLiteral("FNAME"), QStringLiteral("}\\par{\\b x}\\'41{\\rtf1"));
    const auto doc = read("{\\rtf1 Dear [First]\\par}");
    TLetterMerge::ReplaceTokens(*doc, r, march5());
    QTextDocument reread;
    ASSERT_TRUE(TRtfReader::read(TRtfWriter::write(*doc), reread).ok());
    EXPECT_EQ(reread.toPlainText(), QStringLiteral("Dear }\\par{\\b x}\\'41{\\rtf1"));
    EXPECT_EQ(reread.blockCount(), 1);
    for (const QTextFragment &f : fragments(reread))
        EXPECT_NE(f.charFormat().fontWeight(), QFont::Bold);
}

TEST(TLetterMerge, ARecordValueHoldingAFieldIsNotMergedAgain)
{
    TMergeRecordMap r = ann();
    r.set(QStringLiteral("FNAME"), QStringLiteral("[City]"));
    r.set(QStringLiteral("LNAME"), QStringLiteral("[Name and Address]"));
    r.set(QStringLiteral("USER1"), QStringLiteral("[Comment 1]"));
    EXPECT_EQ(merged("{\\rtf1 Dear [First] [Last] of [City] [Comment 1]}", r),
              QStringLiteral("Dear [City] [Name and Address] of Salem [Comment 1]"));
}
