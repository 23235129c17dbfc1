#include "TSysIndexRebuild.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <utility>

namespace {

const QString kFixtureSysdata = QStringLiteral(CORVANTIS_SHARED_DIR "/fixtures/xbase/sysdata/");
const QString kBuiltSysdata = QStringLiteral(CORVANTIS_BINARY_DIR "/sysdata/");

class Percentages : public xbase::ProgressHook
{
public:
    bool report(int percent) override
    {
        seen.push_back(percent);
        return true;
    }
    std::vector<int> seen;
};

// A program folder whose sysdata/ holds the fixture tables and the shipped ones.
class SysIndexRebuild : public ::testing::Test
{
protected:
    QString program() const { return qs(m_dir.path()) + QLatin1Char('/'); }
    QString sysFile(const QString &name) const { return program() + QStringLiteral("sysdata/") + name; }
    void SetUp() override
    {
        QDir().mkpath(program() + QStringLiteral("sysdata"));
        // The four tables another engine made, and the two the build made (only those: the
        // build folder's sysdata/ may hold tables a run of the program created).
        const QStringList fixtures = QDir(kFixtureSysdata).entryList(QDir::Files);
        const QStringList shipped = {QStringLiteral("LBLTPL.DBF"), QStringLiteral("LBLTPL.CDX"),
                                     QStringLiteral("CSZ.DBF"), QStringLiteral("CSZ.CDX")};
        for (const auto &[from, names] :
             {std::pair(kFixtureSysdata, fixtures), std::pair(kBuiltSysdata, shipped)}) {
            for (const QString &name : names) {
                if (!name.endsWith(QStringLiteral(".DBF")) && !name.endsWith(QStringLiteral(".CDX")) &&
                    !name.endsWith(QStringLiteral(".FPT")))
                    continue;
                ASSERT_TRUE(QFile::copy(from + name, sysFile(name))) << name.toStdString();
                QFile::setPermissions(sysFile(name), QFile::ReadOwner | QFile::WriteOwner);
            }
        }
    }
    static std::vector<std::string> descriptions(const QString &dbf, bool hideMarked)
    {
        std::vector<std::string> out;
        xbase::Table t;
        EXPECT_TRUE(t.open(dbf.toStdString(), xbase::OpenMode::ReadOnly).ok());
        t.setDeletedHidden(hideMarked);
        EXPECT_TRUE(t.setOrder("DESCRIPT").ok());
        for (bool more = t.goTop().ok(); more && !t.eof(); more = t.skip().ok()) {
            std::string d;
            EXPECT_TRUE(t.fieldValue("DESCRIPT", d).ok());
            out.push_back(d);
        }
        return out;
    }

    TempDir m_dir;
};

TEST(SysIndexRebuildSteps, OrderTextsAndKeys)
{
    struct Expected {
        const char *name;
        const char *text;
        const char *tag;
        const char *key;
    };
    const Expected expected[] = {
        {"LETTER", "Rebuilding Letters File indexes", "DESCRIPT", "UPPER(DESCRIPT)"},
        {"LABEL", "Rebuilding Label File indexes", "DESCRIPT", "UPPER(DESCRIPT)"},
        {"CSZ", "Rebuilding State/Province File indexes", "STATE", "UPPER(STATE)"},
        {"LBLTPL", "Rebuilding Label Setup File indexes", "DESCRIPT", "UPPER(descript)"},
        {"ENVELOPE", "Rebuilding Envelope File indexes", "DESCRIPT", "UPPER(descript)"},
        {"REPORT", "Rebuilding Report File indexes", "DESCRIPT", "UPPER(descript)"},
    };
    const auto &steps = TSysIndexRebuild::steps();
    ASSERT_EQ(steps.size(), 6u);
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(TSystemTables::name(steps[i].table), QLatin1String(expected[i].name));
        EXPECT_EQ(steps[i].text, QLatin1String(expected[i].text));
        EXPECT_EQ(steps[i].tagName, QLatin1String(expected[i].tag));
        EXPECT_EQ(steps[i].keyExpr, QLatin1String(expected[i].key));
    }
}

TEST_F(SysIndexRebuild, PacksMarkedRowsAndRebuildsEveryTag)
{
    const std::vector<std::string> labels = descriptions(sysFile(QStringLiteral("LABEL.DBF")), true);
    ASSERT_EQ(labels.size(), 5u);
    ASSERT_EQ(descriptions(sysFile(QStringLiteral("LABEL.DBF")), false).size(), 6u);
    // A lost index is rebuilt too.
    ASSERT_TRUE(QFile::remove(sysFile(QStringLiteral("ENVELOPE.CDX"))));

    Percentages progress;
    QStringList announced;
    const TSysIndexRebuild::Report report =
        TSysIndexRebuild::run(program(), &progress, [&](const QString &text) { announced << text; });
    EXPECT_EQ(report.rebuilt,
              QStringList({QStringLiteral("LETTER"), QStringLiteral("LABEL"), QStringLiteral("CSZ"),
                           QStringLiteral("LBLTPL"), QStringLiteral("ENVELOPE"), QStringLiteral("REPORT")}));
    EXPECT_TRUE(report.missing.isEmpty());
    EXPECT_TRUE(report.failed.isEmpty());
    ASSERT_EQ(announced.size(), 6);
    EXPECT_EQ(announced.first(), QStringLiteral("Rebuilding Letters File indexes"));
    ASSERT_FALSE(progress.seen.empty());
    EXPECT_EQ(progress.seen.back(), 100);

    // The marked LABEL row is gone for good, the others keep their order.
    EXPECT_EQ(descriptions(sysFile(QStringLiteral("LABEL.DBF")), false), labels);
    for (const auto &step : TSysIndexRebuild::steps()) {
        xbase::Table t;
        const QString dbf = sysFile(TSystemTables::name(step.table) + QStringLiteral(".DBF"));
        ASSERT_TRUE(t.open(dbf.toStdString(), xbase::OpenMode::ReadOnly).ok());
        EXPECT_EQ(t.tagCount(), 1);
        EXPECT_EQ(t.tagSpec(1).name, step.tagName.toStdString());
        std::vector<std::string> faults;
        ASSERT_TRUE(t.check(faults).ok());
        EXPECT_TRUE(faults.empty()) << dbf.toStdString();
    }
}

TEST_F(SysIndexRebuild, MissingTablesAreSkippedAndDamagedOnesDoNotStopTheRun)
{
    for (const char *name : {"CSZ.DBF", "CSZ.CDX", "REPORT.DBF"})
        QFile::remove(sysFile(QLatin1String(name)));
    writeBytes(sysFile(QStringLiteral("LETTER.DBF")), "damaged");
    writeBytes(sysFile(QStringLiteral("LABEL.CDX")), QByteArray(700, '\x01'));

    QStringList announced;
    const TSysIndexRebuild::Report report =
        TSysIndexRebuild::run(program(), nullptr, [&](const QString &text) { announced << text; });
    EXPECT_EQ(announced.size(), 6);
    EXPECT_EQ(report.missing, QStringList({QStringLiteral("CSZ"), QStringLiteral("REPORT")}));
    EXPECT_EQ(report.failed, QStringList({QStringLiteral("LETTER")}));
    EXPECT_EQ(report.rebuilt,
              QStringList({QStringLiteral("LABEL"), QStringLiteral("LBLTPL"), QStringLiteral("ENVELOPE")}));
    EXPECT_FALSE(QFileInfo::exists(sysFile(QStringLiteral("CSZ.DBF"))));
    EXPECT_EQ(readBytes(sysFile(QStringLiteral("LETTER.DBF"))), QByteArray("damaged"));
    EXPECT_EQ(descriptions(sysFile(QStringLiteral("LABEL.DBF")), false).size(), 5u);
}

} // namespace
