#include "TFileCase.h"
#include "TProgramFolder.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct CaseCase {
    const char *asked;
    const char *expected; // below the folder
};

class FileCase : public ::testing::TestWithParam<CaseCase>
{
};

TEST_P(FileCase, FindsExistingPartsIgnoringCaseAndKeepsTheRestAsGiven)
{
    const CaseCase c = GetParam();
    TempDir dir;
    const QString root = qs(dir.path());
    QDir().mkpath(root + QStringLiteral("/DATA/Sub"));
    QDir().mkpath(root + QStringLiteral("/sysdata"));
    writeBytes(root + QStringLiteral("/DATA/add0001.DBF"), "x");
    writeBytes(root + QStringLiteral("/CORVAN.ini"), "x");
    EXPECT_EQ(TFileCase::resolve(root, QLatin1String(c.asked)),
              root + QLatin1Char('/') + QLatin1String(c.expected));
    // A trailing "/" on the folder changes nothing.
    EXPECT_EQ(TFileCase::resolve(root + QLatin1Char('/'), QLatin1String(c.asked)),
              root + QLatin1Char('/') + QLatin1String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileCase,
                         ::testing::Values(CaseCase{"data", "DATA"}, CaseCase{"DATA", "DATA"},
                                           CaseCase{"Data/ADD0001.dbf", "DATA/add0001.DBF"},
                                           CaseCase{"DATA\\ADD0001.DBF", "DATA/add0001.DBF"},
                                           CaseCase{"data/sub/", "DATA/Sub"},
                                           CaseCase{"corvan.INI", "CORVAN.ini"},
                                           CaseCase{"SYSDATA\\LABEL.DBF", "sysdata/LABEL.DBF"},
                                           CaseCase{"DATA/add0002.DBF", "DATA/add0002.DBF"},
                                           CaseCase{"New/Data/add0001.DBF",
                                                    "New/Data/add0001.DBF"}, // the rest after a missing part
                                           CaseCase{"./data/../Data", "DATA/../DATA"}));

TEST(FileCase, PrefersTheExactSpellingWhenTwoDifferOnlyInCase)
{
    TempDir dir;
    const QString root = qs(dir.path());
    writeBytes(root + QStringLiteral("/abc.dbf"), "1");
    writeBytes(root + QStringLiteral("/ABC.DBF"), "2");
    EXPECT_EQ(TFileCase::findEntry(root, QStringLiteral("abc.dbf")), QStringLiteral("abc.dbf"));
    EXPECT_EQ(TFileCase::findEntry(root, QStringLiteral("ABC.DBF")), QStringLiteral("ABC.DBF"));
    EXPECT_EQ(TFileCase::findEntry(root, QStringLiteral("Abc.Dbf")),
              QStringLiteral("ABC.DBF")); // sorted first
    EXPECT_EQ(TFileCase::findEntry(root, QStringLiteral("none")), QString());
}

TEST(ProgramFolder, WritableProgramFolderIsUsedWithATrailingSlash)
{
    TempDir dir;
    const QString program = qs(dir.path()) + QStringLiteral("/build");
    QDir().mkpath(program);
    EXPECT_EQ(TProgramFolder::choose(program, qs(dir.path()) + QStringLiteral("/user"), QString()),
              program + QLatin1Char('/'));
    EXPECT_FALSE(QFileInfo::exists(qs(dir.path()) + QStringLiteral("/user")));
}

TEST(ProgramFolder, InstalledProgramUsesTheUserFolderSeededWithoutOverwriting)
{
    TempDir dir;
    const QString root = qs(dir.path());
    const QString installed = root + QStringLiteral("/usr/share/corvantis");
    QDir().mkpath(root + QStringLiteral("/usr/bin"));
    QDir().mkpath(installed + QStringLiteral("/sysdata"));
    writeBytes(installed + QStringLiteral("/sysdata/LBLTPL.DBF"), "installed");
    writeBytes(installed + QStringLiteral("/sysdata/CSZ.DBF"), "installed");
    QFile::setPermissions(installed + QStringLiteral("/sysdata/CSZ.DBF"), QFileDevice::ReadOwner);
    const QString user = root + QStringLiteral("/home/.local/share/corvantis");
    QDir().mkpath(user + QStringLiteral("/sysdata"));
    writeBytes(user + QStringLiteral("/sysdata/LBLTPL.DBF"), "edited");

    EXPECT_EQ(TProgramFolder::choose(root + QStringLiteral("/usr/bin"), user, installed),
              user + QLatin1Char('/'));
    EXPECT_EQ(readBytes(user + QStringLiteral("/sysdata/LBLTPL.DBF")), QByteArray("edited"));
    EXPECT_EQ(readBytes(user + QStringLiteral("/sysdata/CSZ.DBF")), QByteArray("installed"));
    EXPECT_TRUE(QFileInfo(user + QStringLiteral("/sysdata/CSZ.DBF")).permissions() & QFileDevice::WriteOwner);
}

TEST(ProgramFolder, MissingProgramFolderFallsBackToTheUserFolderEvenWithoutInstalledData)
{
    TempDir dir;
    const QString user = qs(dir.path()) + QStringLiteral("/home/.local/share/corvantis");
    EXPECT_EQ(TProgramFolder::choose(qs(dir.path()) + QStringLiteral("/gone"), user, QString()),
              user + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(user).isDir());
}

TEST(ProgramFolder, ReadOnlyProgramFolderFallsBackToTheUserFolder)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "every folder is writable for root";
    TempDir dir;
    const QString program = qs(dir.path()) + QStringLiteral("/ro");
    QDir().mkpath(program);
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString user = qs(dir.path()) + QStringLiteral("/user/corvantis");
    EXPECT_EQ(TProgramFolder::choose(program, user, QString()), user + QLatin1Char('/'));
    EXPECT_TRUE(QFileInfo(user).isDir());
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ProgramFolder, FilesResolveBelowTheChosenFolder)
{
    TempDir dir;
    QDir().mkpath(qs(dir.path()) + QStringLiteral("/data"));
    TProgramFolder::setPath(qs(dir.path()));
    EXPECT_EQ(TProgramFolder::path(), qs(dir.path()) + QLatin1Char('/'));
    EXPECT_EQ(TProgramFolder::file(QStringLiteral("DATA\\add0001.DBF")),
              qs(dir.path()) + QStringLiteral("/data/add0001.DBF"));
    EXPECT_EQ(TProgramFolder::settingsPath(), qs(dir.path()) + QStringLiteral("/CORVAN.ini"));
    TProgramFolder::setPath(QString());
}

} // namespace
