#include "TSystemTables.h"

#include "DbTool.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

const QString kFixtureSysdata = QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/sysdata/");
const QString kBuiltSysdata = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");

// A program folder with an empty sysdata/ of its own.
class SystemTables : public ::testing::Test
{
protected:
    QString program() const { return qs(m_dir.path()) + QLatin1Char('/'); }
    QString sysFile(const QString &name) const { return program() + QStringLiteral("sysdata/") + name; }
    void SetUp() override { QDir().mkpath(program() + QStringLiteral("sysdata")); }
    // Copies `name` from `from` into this sysdata/, writable.
    void copyIn(const QString &from, const QString &name) const
    {
        ASSERT_TRUE(QFile::copy(from + name, sysFile(name))) << name.toStdString();
        QFile::setPermissions(sysFile(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    static std::vector<std::string> descriptions(xbase::Table &t)
    {
        std::vector<std::string> out;
        for (bool more = t.goTop().ok(); more && !t.eof(); more = t.skip().ok()) {
            std::string d;
            EXPECT_TRUE(t.fieldValue("DESCRIPT", d).ok());
            out.push_back(d);
        }
        return out;
    }
    static std::vector<std::string> faults(xbase::Table &t)
    {
        std::vector<std::string> f;
        EXPECT_TRUE(t.check(f).ok());
        for (const std::string &line : f)
            ADD_FAILURE() << t.path() << ": " << line;
        return f;
    }

    TempDir m_dir;
};

struct CreatedCase {
    TSystemTable table;
    const char *file;
    int fieldCount;
    bool memo;
};

class SystemTablesCreated : public SystemTables, public ::testing::WithParamInterface<CreatedCase>
{
};

TEST_P(SystemTablesCreated, WhenMissingWithTheirFieldsAndTag)
{
    const CreatedCase c = GetParam();
    xbase::Table t;
    const TSystemTableResult r = TSystemTables::open(c.table, t, program());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(sysFile(QLatin1String(c.file) + QStringLiteral(".DBF"))));
    EXPECT_TRUE(QFileInfo::exists(sysFile(QLatin1String(c.file) + QStringLiteral(".CDX"))));
    EXPECT_EQ(QFileInfo::exists(sysFile(QLatin1String(c.file) + QStringLiteral(".FPT"))), c.memo);
    EXPECT_EQ(t.schema().fieldCount(), c.fieldCount);
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.tagOrder("DESCRIPT"), 1);
    EXPECT_EQ(t.tagSpec(1).keyExpr, "UPPER(DESCRIPT)");
    EXPECT_EQ(t.mode(), xbase::OpenMode::Exclusive);
}

INSTANTIATE_TEST_SUITE_P(Cases, SystemTablesCreated,
                         ::testing::Values(CreatedCase{TSystemTable::Letter, "LETTER", 2, true},
                                           CreatedCase{TSystemTable::Report, "REPORT", 3, false},
                                           CreatedCase{TSystemTable::Envelope, "ENVELOPE", 3, false},
                                           CreatedCase{TSystemTable::Label, "LABEL", 22, false}));

TEST_F(SystemTables, LabelFieldsInOrder)
{
    const char *names[] = {"DESCRIPT",  "PRINTER",  "LBLHEIGHT",  "LBLWIDTH",  "NBRACROSS",  "NBRDOWN",
                           "TOPMARG",   "LEFTMARG", "HORIZPITCH", "VERTPITCH", "SHEETWIDTH", "SHEETDEPTH",
                           "PAPERSIZE", "LBLSHAPE", "TPLDESCRIP", "MANUFAC",   "PRODTYPE",   "MIDEXTRAX",
                           "MIDEXTRAY", "ART",      "DELETED",    "BINARY"};
    const auto fields = TSystemTables::fields(TSystemTable::Label);
    ASSERT_EQ(fields.size(), 22u);
    for (size_t i = 0; i < fields.size(); ++i)
        EXPECT_EQ(fields[i].name, names[i]);
    EXPECT_EQ(fields[2].type, 'N');
    EXPECT_EQ(fields[2].length, 6);
    EXPECT_EQ(fields[2].decimals, 3);
    EXPECT_EQ(fields[20].type, 'L');
}

// Tables another engine wrote open as they are, with their tag and rows.
TEST_F(SystemTables, FixtureTablesOpenWithTheirTags)
{
    for (const char *name : {"LETTER", "REPORT", "ENVELOPE", "LABEL"}) {
        for (const char *ext : {".DBF", ".CDX", ".FPT"}) {
            if (QFileInfo::exists(kFixtureSysdata + QLatin1String(name) + QLatin1String(ext)))
                copyIn(kFixtureSysdata, QLatin1String(name) + QLatin1String(ext));
        }
    }
    for (TSystemTable table :
         {TSystemTable::Letter, TSystemTable::Report, TSystemTable::Envelope, TSystemTable::Label}) {
        xbase::Table t;
        ASSERT_TRUE(TSystemTables::open(table, t, program()).ok);
        EXPECT_EQ(t.recordCount(), table == TSystemTable::Label ? 6u : 5u);
        EXPECT_EQ(t.tagOrder("DESCRIPT"), 1);
        // (Their keys are not checked: that engine's UPPER leaves accented letters alone.)
    }
}

TEST_F(SystemTables, DeletedReportIsRecreatedEmptyWithItsTag)
{
    {
        xbase::Table t;
        ASSERT_TRUE(TSystemTables::open(TSystemTable::Report, t, program()).ok);
        for (const char *d : {"Phone list", "Birthday list"}) {
            ASSERT_TRUE(t.appendBlank().ok());
            ASSERT_TRUE(t.setFieldValue("DESCRIPT", d).ok());
            ASSERT_TRUE(t.post().ok());
        }
    }
    // Only the table goes; its index file stays behind with keys of the lost rows.
    ASSERT_TRUE(QFile::remove(sysFile(QStringLiteral("REPORT.DBF"))));
    xbase::Table t;
    const TSystemTableResult r = TSystemTables::open(TSystemTable::Report, t, program());
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(t.recordCount(), 0u);
    EXPECT_EQ(t.tagOrder("DESCRIPT"), 1);
    ASSERT_TRUE(t.setOrder("DESCRIPT").ok());
    EXPECT_TRUE(descriptions(t).empty());
    EXPECT_TRUE(faults(t).empty());
}

TEST_F(SystemTables, DeletedLabelIndexIsRebuiltSilently)
{
    copyIn(kFixtureSysdata, QStringLiteral("LABEL.DBF"));
    ASSERT_TRUE(QFile::remove(sysFile(QStringLiteral("LABEL.CDX"))) ||
                !QFileInfo::exists(sysFile(QStringLiteral("LABEL.CDX"))));
    xbase::Table t;
    const TSystemTableResult r = TSystemTables::open(TSystemTable::Label, t, program());
    ASSERT_TRUE(r.ok);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(sysFile(QStringLiteral("LABEL.CDX"))));
    ASSERT_EQ(t.tagOrder("DESCRIPT"), 1);
    ASSERT_TRUE(t.setOrder(1).ok());
    EXPECT_EQ(descriptions(t).size(), 5u); // the marked row stays hidden
    EXPECT_TRUE(faults(t).empty());
}

TEST_F(SystemTables, DamagedIndexIsReplaced)
{
    copyIn(kFixtureSysdata, QStringLiteral("LABEL.DBF"));
    writeBytes(sysFile(QStringLiteral("LABEL.CDX")), QByteArray(1024, '\x7f'));
    xbase::Table t;
    ASSERT_TRUE(TSystemTables::open(TSystemTable::Label, t, program()).ok);
    EXPECT_EQ(t.tagOrder("DESCRIPT"), 1);
    EXPECT_TRUE(faults(t).empty());
}

struct RefusedCase {
    TSystemTable table;
    const char *file;
    const char *message;
};

class SystemTablesRefused : public SystemTables, public ::testing::WithParamInterface<RefusedCase>
{
};

// The shipped tables are never created, and a table that is there but cannot be used is never
// replaced by an empty one.
TEST_P(SystemTablesRefused, MissingShippedOrDamagedTablesAreReportedAndKept)
{
    const RefusedCase c = GetParam();
    const QString dbf = sysFile(QLatin1String(c.file));
    const bool missing = c.table == TSystemTable::LblTpl || c.table == TSystemTable::Csz;
    const QByteArray damaged = "not a table at all";
    if (!missing)
        writeBytes(dbf, damaged);
    xbase::Table t;
    const TSystemTableResult r = TSystemTables::open(c.table, t, program());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QLatin1String(c.message));
    EXPECT_FALSE(t.isOpen());
    if (missing)
        EXPECT_FALSE(QFileInfo::exists(dbf));
    else
        EXPECT_EQ(readBytes(dbf), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SystemTablesRefused,
    ::testing::Values(RefusedCase{TSystemTable::Csz, "CSZ.DBF", "Unable to Open or Create CSZ.DBF"},
                      RefusedCase{TSystemTable::LblTpl, "LBLTPL.DBF", "Unable to Open LBLTPL.DBF"},
                      RefusedCase{TSystemTable::Label, "LABEL.DBF", "Unable to Open or Create LABEL.DBF"},
                      RefusedCase{TSystemTable::Letter, "LETTER.DBF",
                                  "Unable to Open or Create LETTER.DBF"}));

TEST_F(SystemTables, TableLackingAFieldIsRefused)
{
    // A report table where the label table belongs: it opens, but is not a label table.
    copyIn(kFixtureSysdata, QStringLiteral("REPORT.DBF"));
    ASSERT_TRUE(QFile::rename(sysFile(QStringLiteral("REPORT.DBF")), sysFile(QStringLiteral("LABEL.DBF"))));
    const QByteArray before = readBytes(sysFile(QStringLiteral("LABEL.DBF")));
    xbase::Table t;
    const TSystemTableResult r = TSystemTables::open(TSystemTable::Label, t, program());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, QStringLiteral("Unable to Open or Create LABEL.DBF"));
    EXPECT_EQ(readBytes(sysFile(QStringLiteral("LABEL.DBF"))), before);
}

TEST_F(SystemTables, NamesAreFoundWithoutRegardToCase)
{
    QDir().rename(program() + QStringLiteral("sysdata"), program() + QStringLiteral("SYSDATA"));
    QFile::copy(kFixtureSysdata + QStringLiteral("ENVELOPE.DBF"),
                program() + QStringLiteral("SYSDATA/envelope.dbf"));
    QFile::setPermissions(program() + QStringLiteral("SYSDATA/envelope.dbf"),
                          QFile::ReadOwner | QFile::WriteOwner);
    xbase::Table t;
    ASSERT_TRUE(TSystemTables::open(TSystemTable::Envelope, t, program()).ok);
    EXPECT_EQ(t.recordCount(), 5u);
    EXPECT_FALSE(QFileInfo::exists(program() + QStringLiteral("sysdata")));
}

// The tables the build makes from reference/ open with their tags and hold every listed row.
TEST(ShippedTables, OpenWithTheirTagsAndEveryRow)
{
    struct Shipped {
        TSystemTable table;
        const char *list;
        const char *tag;
        const char *firstField;
    };
    for (const Shipped &s : {Shipped{TSystemTable::LblTpl, "lbltpl.csv", "DESCRIPT", "DESCRIPT"},
                             Shipped{TSystemTable::Csz, "csz.csv", "STATE", "NAME"}}) {
        TempDir dir;
        const QString program = qs(dir.path()) + QLatin1Char('/');
        QDir().mkpath(program + QStringLiteral("sysdata"));
        const QString name = TSystemTables::name(s.table);
        for (const char *ext : {".DBF", ".CDX"}) {
            ASSERT_TRUE(QFile::copy(kBuiltSysdata + name + QLatin1String(ext),
                                    program + QStringLiteral("sysdata/") + name + QLatin1String(ext)));
        }
        const QByteArray cdx =
            readBytes(program + QStringLiteral("sysdata/") + name + QStringLiteral(".CDX"));
        xbase::Table t;
        const TSystemTableResult r = TSystemTables::open(s.table, t, program);
        ASSERT_TRUE(r.ok) << r.message.toStdString();
        EXPECT_EQ(t.tagOrder(s.tag), 1);
        std::vector<std::string> f;
        ASSERT_TRUE(t.check(f).ok());
        EXPECT_TRUE(f.empty());

        const QList<QByteArray> rows =
            readBytes(QStringLiteral(CORVANTIS_SOURCE_DIR "/reference/") + QLatin1String(s.list))
                .trimmed()
                .split('\n');
        ASSERT_EQ(t.recordCount(), static_cast<uint32_t>(rows.size() - 1));
        // Every row's first value, in file order.
        ASSERT_TRUE(t.setOrder(0).ok());
        int row = 1;
        for (bool more = t.goTop().ok(); more && !t.eof(); more = t.skip().ok(), ++row) {
            std::string value;
            EXPECT_TRUE(t.fieldValue(s.firstField, value).ok());
            EXPECT_EQ(QByteArray::fromStdString(value), rows.at(row).split(',').first());
        }
        EXPECT_TRUE(t.close().ok());
        // Opening did not touch the shipped index.
        EXPECT_EQ(readBytes(program + QStringLiteral("sysdata/") + name + QStringLiteral(".CDX")), cdx);
    }
}

// corvantis-db reads the shipped tables with their tags and finds no fault in them.
TEST(ShippedTables, CorvantisDbShowsTheirTags)
{
    for (const char *table : {"LBLTPL", "CSZ"}) {
        const std::string path =
            QString(kBuiltSysdata + QLatin1String(table) + QStringLiteral(".DBF")).toStdString();
        std::ostringstream out, err;
        ASSERT_EQ(dbtool::run({"info", path}, out, err, false), dbtool::kOk) << err.str();
        const std::string expected =
            std::string(table) == "CSZ" ? "STATE      UPPER(STATE)" : "DESCRIPT   UPPER(DESCRIPT)";
        EXPECT_NE(out.str().find("Tags: 1"), std::string::npos) << out.str();
        EXPECT_NE(out.str().find(expected), std::string::npos) << out.str();
        std::ostringstream checked;
        EXPECT_EQ(dbtool::run({"check", path}, checked, err, false), dbtool::kOk)
            << checked.str() << err.str();
    }
}

} // namespace
