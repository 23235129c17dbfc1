#include "TFilterFile.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

using C = TFilterCriteria;

TEST(FilterFile, WritesTwentyCrLfLinesAndReadsThemBack)
{
    TempDir dir;
    const QString path = qs(dir.file("names.FLT"));
    TFilterCriteria c;
    c.setText(C::qLName, QStringLiteral("smith;jones"));
    c.setText(C::qCity, QStringLiteral(" Montréal "));
    c.setText(C::quser2, QStringLiteral("$x"));
    c.setReverse(true);
    ASSERT_TRUE(TFilterFile::SaveFilterTo(path, c));

    QByteArray expected = "smith;jones\r\n";
    for (int i = 1; i < C::kCount; ++i) {
        if (i == C::qCity)
            expected += " Montr\xE9"
                        "al \r\n";
        else if (i == C::quser2)
            expected += "$x\r\n";
        else
            expected += "\r\n";
    }
    expected += "F\r\nT\r\n";
    EXPECT_EQ(readBytes(path), expected);

    TFilterCriteria read;
    ASSERT_TRUE(TFilterFile::RestoreFilterFrom(path, read));
    EXPECT_EQ(read, c);
    // Written again, the bytes are the same.
    EXPECT_EQ(TFilterFile::encode(read), expected);
}

struct DecodeCase {
    const char *name;
    QByteArray bytes;
    const char *lastName;
    const char *user2;
    bool tagged;
    bool reverse;
};

class FilterFileDecode : public ::testing::TestWithParam<DecodeCase>
{
};

TEST_P(FilterFileDecode, ReadsWhatIsThere)
{
    const DecodeCase c = GetParam();
    const TFilterCriteria read = TFilterFile::decode(c.bytes);
    EXPECT_EQ(read.text(C::qLName), QString::fromUtf8(c.lastName));
    EXPECT_EQ(read.text(C::quser2), QString::fromUtf8(c.user2));
    EXPECT_EQ(read.isTagged(), c.tagged);
    EXPECT_EQ(read.isReverse(), c.reverse);
}

QByteArray lines(int count, const char *ending, const char *last = nullptr)
{
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += (i == count && last ? QByteArray(last) : QByteArray("v") + QByteArray::number(i)) + ending;
    return out;
}

const DecodeCase kDecodeCases[] = {
    {"Empty", QByteArray(), "", "", false, false},
    {"FiveLinesLeaveTheRestEmpty", lines(5, "\r\n"), "v1", "", false, false},
    {"FlagsOnlyFromExactT", lines(18, "\r\n") + "T\r\nT", "v1", "v18", true, true},
    {"LowerCaseTIsNoFlag", lines(18, "\r\n") + "t\r\nY\r\n", "v1", "v18", false, false},
    {"LfLines", lines(18, "\n") + "T\nF\n", "v1", "v18", true, false},
    {"LoneCrLines", lines(20, "\r"), "v1", "v18", false, false},
    {"EmptyLinesCount", QByteArray("\r\n\r\nx\r\n"), "", "", false, false},
    {"ExtraLinesIgnored", lines(18, "\r\n") + "F\r\nT\r\nmore\r\n", "v1", "v18", false, true},
    {"ControlBytesStayText", QByteArray("a\tb\x01\r\n"), "a\tb\x01", "", false, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, FilterFileDecode, ::testing::ValuesIn(kDecodeCases),
                         [](const ::testing::TestParamInfo<DecodeCase> &p) {
                             return std::string(p.param.name);
                         });

TEST(FilterFile, UnreadableOrOversizedFilesLeaveTheCriteria)
{
    TempDir dir;
    TFilterCriteria c;
    c.setText(C::qZip, QStringLiteral("9"));
    const TFilterCriteria before = c;
    QString error;
    EXPECT_FALSE(TFilterFile::RestoreFilterFrom(qs(dir.file("missing.FLT")), c, &error));
    EXPECT_FALSE(error.isEmpty());

    const QString big = qs(dir.file("big.FLT"));
    writeBytes(big, QByteArray(TFilterFile::kMaxFileSize + 1, 'x'));
    error.clear();
    EXPECT_FALSE(TFilterFile::RestoreFilterFrom(big, c, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(c, before);

    EXPECT_FALSE(TFilterFile::SaveFilterTo(qs(dir.file("no/such/folder/x.FLT")), c, &error));
}

struct NameCase {
    const char *chosen;
    const char *saveAs; // "" when refused
    bool restorable;
};

class FilterFileNames : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(FilterFileNames, FollowTheExtensionRules)
{
    const NameCase c = GetParam();
    QString message;
    const QString saved = TFilterFile::saveName(QLatin1String(c.chosen), &message);
    EXPECT_EQ(saved, QLatin1String(c.saveAs));
    EXPECT_EQ(message, saved.isEmpty() ? QStringLiteral("Must have a .FLT extension") : QString());
    message.clear();
    EXPECT_EQ(TFilterFile::isRestorable(QLatin1String(c.chosen), &message), c.restorable);
    EXPECT_EQ(message, c.restorable ? QString() : QStringLiteral("Must be a Filter (.FLT) file"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterFileNames,
    ::testing::Values(NameCase{"/home/u/names.FLT", "/home/u/names.FLT", true},
                      NameCase{"/home/u/names.flt", "/home/u/names.flt", true},
                      NameCase{"/home/u/names", "/home/u/names.FLT", false},
                      NameCase{"/home/u/names.txt", "", false}, NameCase{"/home/u/names.flt.bak", "", false},
                      NameCase{"/home/u.d/.cfg/names", "/home/u.d/.cfg/names.FLT", false}));

TEST(FilterFile, OverwriteQuestion)
{
    EXPECT_EQ(TFilterFile::overwriteQuestion(QStringLiteral("/x/a.FLT")),
              QStringLiteral("/x/a.FLT already exists.\r\nDo you want to overwrite it?"));
}

} // namespace
