// The name rules of a new address file.
#include "TNewFileName.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

struct NameCase {
    const char *name;
    bool valid;
};
class NewFileNameRules : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(NewFileNameRules, LettersDigitsAndUnderscoreNotStartingWithADigit)
{
    const NameCase c = GetParam();
    EXPECT_EQ(TNewFileName::isValid(QString::fromUtf8(c.name)), c.valid) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, NewFileNameRules,
                         ::testing::Values(NameCase{"ADD0002", true}, NameCase{"clients", true},
                                           NameCase{"_old", true}, NameCase{"A", true},
                                           NameCase{"ABCDEFGH", true}, NameCase{"ABCDEFGHI", false},
                                           NameCase{"", false}, NameCase{"2024", false},
                                           NameCase{"my file", false}, NameCase{"a.dbf", false},
                                           NameCase{"a-b", false}, NameCase{"Müller", false},
                                           NameCase{"../x", false}));

TEST(NewFileName, ProposesTheFirstFreeNumberIgnoringCase)
{
    TempDir dir;
    const QString folder = qs(dir.path());
    EXPECT_EQ(TNewFileName::proposed(folder), QStringLiteral("ADD0001"));
    writeBytes(folder + QStringLiteral("/ADD0001.DBF"), "x");
    writeBytes(folder + QStringLiteral("/add0002.dbf"), "x");
    writeBytes(folder + QStringLiteral("/ADD0004.DBF"), "x");
    // Other files of that name do not take a number.
    writeBytes(folder + QStringLiteral("/ADD0003.CDX"), "x");
    EXPECT_EQ(TNewFileName::proposed(folder), QStringLiteral("ADD0003"));
    // A missing folder has every number free.
    EXPECT_EQ(TNewFileName::proposed(folder + QStringLiteral("/DATA")), QStringLiteral("ADD0001"));
}

} // namespace
