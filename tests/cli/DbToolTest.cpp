#include "DbTool.h"
#include "Table.h"

#include "TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const std::string kDir = std::string(CORVANTIS_SHARED_DIR) + "/fixtures/xbase/";
const std::string kAdd = kDir + "ADD0001.DBF";

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result run(std::vector<std::string> args)
{
    std::ostringstream out, err;
    const int code = dbtool::run(args, out, err, false);
    return {code, out.str(), err.str()};
}

size_t lines(const std::string &s)
{
    return static_cast<size_t>(std::count(s.begin(), s.end(), '\n'));
}

// A writable copy of ADD0001 with its memo and index files.
std::string copyOfAddressFile(const TempDir &dir)
{
    for (const char *ext : {".DBF", ".FPT", ".CDX"}) {
        const std::string to = dir.file(std::string("ADD0001") + ext);
        std::filesystem::copy_file(kDir + "ADD0001" + ext, to);
        std::filesystem::permissions(to, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    return dir.file("ADD0001.DBF");
}

struct OutputCase {
    std::vector<std::string> args;
    std::string out;
};
class DbToolOutput : public ::testing::TestWithParam<OutputCase>
{
};

} // namespace

TEST_P(DbToolOutput, PrintsWhatTheTableAnswers)
{
    const OutputCase c = GetParam();
    const Result r = run(c.args);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, "");
}

// Keys and expressions are UTF-8 on the command line and Windows-1252 in the table.
INSTANTIATE_TEST_SUITE_P(
    Cases, DbToolOutput,
    ::testing::Values(OutputCase{{"count", kAdd, "UPPER(LNAME)=\"SM\".and. !ISDEL"}, "15\n"},
                      OutputCase{{"count", kAdd,
                                  "CITY=\"Montr\xC3\xA9"
                                  "al\".and. !ISDEL"},
                                 "8\n"},
                      OutputCase{{"count", kAdd, "DELETED()", "--deleted"}, "21\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "SMITH"}, "64\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "SMITH", "--exact"}, "64\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "SMZ"}, "not found\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "SMZ", "--soft"}, "70\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "\xC3\xBF", "--soft"}, "eof\n"},
                      OutputCase{{"seek", kAdd, "CITY",
                                  "MONTR\xC3\xA9"
                                  "AL"},
                                 "12\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "ZYWIEC"}, "not found\n"},
                      OutputCase{{"seek", kAdd, "LNAME", "ZYWIEC", "--deleted"}, "77\n"},
                      OutputCase{{"memo", kAdd, "8"},
                                 "Paid \xE2\x82\xAC"
                                 "50 deposit for the caf\xC3\xA9 booking.\r\nMet at the spring "
                                 "trade show.\n"},
                      OutputCase{{"memo", kAdd, "3"}, ""}));

TEST(DbTool, InfoListsFieldsCountAndTags)
{
    const Result r = run({"info", kAdd});
    ASSERT_EQ(r.code, 0);
    EXPECT_NE(r.out.find("Records: 300\n"), std::string::npos);
    EXPECT_NE(r.out.find("  LNAME      C  30 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("  MEMO       M  10 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("Tags: 26\n"), std::string::npos);
    EXPECT_NE(r.out.find("   2 LNAME      UPPER(LNAME)+UPPER(FNAME)\n"), std::string::npos);
    EXPECT_NE(run({"info", kDir + "NOCDX.DBF"}).out.find("Index: none\n"), std::string::npos);
}

TEST(DbTool, OrderAndDumpWalkEveryVisibleRecord)
{
    const Result order = run({"order", kAdd, "NAME"});
    ASSERT_EQ(order.code, 0);
    EXPECT_EQ(lines(order.out), 279u);
    EXPECT_EQ(order.out.substr(0, 11), "3\n88\n260\n78");
    EXPECT_EQ(lines(run({"order", kAdd, "NAME", "--deleted"}).out), 300u);

    const Result csv = run({"dump", kAdd, "--csv"});
    ASSERT_EQ(csv.code, 0);
    EXPECT_EQ(csv.out.substr(0, 22), "RECNO,DELETED,LNAME,FN");
    // Record 1's memo holds line breaks, so it is quoted whole.
    EXPECT_NE(csv.out.find(",\"First line\r\nSecond line\r\nThird line\"\r\n2,,Smith,John"),
              std::string::npos);
    const Result plain = run({"dump", kAdd, "--deleted"});
    EXPECT_EQ(lines(plain.out), 300u);
    EXPECT_NE(plain.out.find("\tMEMO=First line\\r\\nSecond line"), std::string::npos);
}

// The program creates names in the case given ("add0001.DBF") and finds them ignoring case;
// the tool finds them the same way, folder and file, and names the file as it is on disk.
TEST(DbTool, FindsTheFileIgnoringCase)
{
    TempDir dir;
    std::filesystem::create_directory(dir.file("DATA"));
    for (const char *ext : {".DBF", ".FPT", ".CDX"})
        std::filesystem::copy_file(kDir + "ADD0001" + ext, dir.file(std::string("DATA/add0001") + ext));
    for (const std::string given : {"DATA/ADD0001.DBF", "data/Add0001.dbf", "DATA/add0001.DBF"}) {
        const Result r = run({"info", dir.file(given)});
        ASSERT_EQ(r.code, 0) << given << ": " << r.err;
        EXPECT_NE(r.out.find("DATA/add0001.DBF"), std::string::npos) << r.out;
        EXPECT_NE(r.out.find("Tags: 26\n"), std::string::npos) << r.out;
    }
    EXPECT_EQ(run({"info", dir.file("DATA/ADD0002.DBF")}).code, 1);
}

TEST(DbTool, CheckReindexAndPackRepairACopy)
{
    TempDir dir;
    const std::string file = copyOfAddressFile(dir);
    // The other engine's keys for accented names follow a narrower upper-case rule: the file
    // is sound, and check says so in one note with what to do about it.
    Result check = run({"check", file});
    EXPECT_EQ(check.code, 0) << check.out;
    EXPECT_EQ(lines(check.out), 1u) << check.out;
    EXPECT_EQ(check.out.rfind("Note: ", 0), 0u) << check.out;
    EXPECT_NE(check.out.find("reindex"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("NAME"), std::string::npos) << check.out;
    EXPECT_EQ(run({"reindex", file}).code, 0);
    check = run({"check", file});
    EXPECT_EQ(check.code, 0) << check.out;
    EXPECT_EQ(check.out, "");
    EXPECT_EQ(run({"pack", file}).code, 0);
    EXPECT_EQ(run({"count", file, ".T.", "--deleted"}).out, "279\n");
    EXPECT_EQ(run({"check", file}).code, 0);
    EXPECT_EQ(lines(run({"order", file, "LNAME", "--deleted"}).out), 279u);
}

TEST(DbTool, BadUseAndFailuresGiveTheirExitStatus)
{
    const std::vector<std::vector<std::string>> badUse = {
        {},
        {"frobnicate", kAdd},
        {"count", kAdd},
        {"seek", kAdd, "LNAME"},
        {"info", kAdd, "--soft"},
        {"order", kAdd, "NAME", "--bogus"},
        {"memo", kAdd, "0"},
        {"memo", kAdd, "twelve"},
    };
    for (const auto &args : badUse) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("Usage: corvantis-db"), std::string::npos);
    }
    TempDir dir;
    // Writing commands only ever run on a copy; this one is held open exclusively.
    const std::string held = copyOfAddressFile(dir);
    xbase::Table holder;
    ASSERT_TRUE(holder.open(held, xbase::OpenMode::Exclusive).ok());
    const std::vector<std::vector<std::string>> failures = {
        {"info", dir.file("MISSING.DBF")},
        {"order", kAdd, "NOSUCHTAG"},
        {"count", kAdd, "UPPER(LNAME"},
        {"memo", kAdd, "301"},
        {"pack", held},
        {"count", held, ".T."},
    };
    for (const auto &args : failures) {
        const Result r = run(args);
        EXPECT_EQ(r.code, 1) << args[0] << " " << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind("corvantis-db: ", 0), 0u) << r.err;
    }
    // A damaged table: check names the fault on standard output.
    const std::string bad = dir.file("BAD.DBF");
    std::filesystem::copy_file(kDir + "NOCDX.DBF", bad);
    std::filesystem::permissions(bad, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    std::filesystem::resize_file(bad, 100);
    const Result r = run({"check", bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.out.find("header length"), std::string::npos) << r.out;
}

TEST(DbTool, CheckStillFailsOnRealIndexDamageBesideNarrowKeys)
{
    TempDir dir;
    const std::string file = copyOfAddressFile(dir);
    {
        // A key that no upper-case rule makes of its record.
        std::unique_ptr<xbase::CdxFile> cdx;
        ASSERT_TRUE(xbase::CdxFile::open(dir.file("ADD0001.CDX"), false, cdx).ok());
        xbase::IndexTag *zip = cdx->tag("ZIP");
        ASSERT_NE(zip, nullptr);
        ASSERT_TRUE(zip->insert(std::string(zip->spec().keyLength, 'Q'), 5).ok());
        ASSERT_TRUE(cdx->flush().ok());
    }
    const Result check = run({"check", file});
    EXPECT_EQ(check.code, 1) << check.out;
    EXPECT_NE(check.out.find("Tag ZIP: record 5 has more than one entry"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("Note: "), std::string::npos) << check.out;
}
