// The label setups of LABEL.DBF: a save writes the layout file before it posts the row, a failed
// write leaves table and file alone, rows that cannot make a sheet are refused by name, layout
// names are never shared, Clone copies a layout that loaded, and Delete removes only a layout
// file of its own.
#include "TLabelSetups.h"

#include "TGLabelPanel.h"
#include "TGOwner.h"
#include "TSystemTables.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class LabelSetups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        program = qs(dir.path()) + QLatin1Char('/');
        ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("sysdata")));
        ASSERT_TRUE(labels.open(program).ok);
        surface.setSize(252, 96);
        surface.setPanelState(TGLabelPanel::psAddressLabel);
        surface.CreateObject(QRect(5, 5, 200, 60));
        surface.setPanelState(TGLabelPanel::psPointing);
        ASSERT_EQ(surface.objects().size(), 1u);
    }
    QString sysdata(const QString &name) const { return program + QStringLiteral("sysdata/") + name; }
    TLabelSetups::LayoutWriter surfaceWriter()
    {
        return [this](const QString &path) { return surface.SaveToFile(path); };
    }
    // Saves a new setup named `description` with the next free layout name.
    quint32 add(const QString &description)
    {
        TLabelSetup s = TLabelSetup::newSetupDefaults();
        s.Description = description;
        EXPECT_TRUE(labels.NextLayoutFileName(s.Binary).ok);
        quint32 recno = 0;
        const TResult saved = labels.save(s, recno, surfaceWriter());
        EXPECT_TRUE(saved.ok) << saved.message.toStdString();
        return recno;
    }

    TempDir dir;
    QString program;
    TLabelSetups labels;
    TGOwner owner;
    TGLabelPanel surface{&owner, 96};
};

} // namespace

TEST_F(LabelSetups, SavedSetupReadsBackWithItsLayoutFile)
{
    TLabelSetup s = TLabelSetup::newSetupDefaults();
    s.Description = QString(60, QLatin1Char('d'));
    s.MidExtraX = 0.125;
    s.Art = QStringLiteral("AV5160");
    ASSERT_TRUE(labels.NextLayoutFileName(s.Binary).ok);
    EXPECT_EQ(s.Binary, QStringLiteral("BIN00001.L"));
    quint32 recno = 0;
    ASSERT_TRUE(labels.save(s, recno, surfaceWriter()).ok);
    EXPECT_NE(recno, 0u);
    ASSERT_EQ(labels.rows().size(), 1);
    EXPECT_EQ(labels.rows().at(0).description, QString(50, QLatin1Char('d')));
    EXPECT_EQ(labels.rows().at(0).sheetName, QStringLiteral("Avery 5160  Address"));
    TLabelSetup back;
    ASSERT_TRUE(labels.ReadLabelSetup(recno, back).ok);
    EXPECT_EQ(back, s);
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00001.L"))), surface.layoutBytes());
}

TEST_F(LabelSetups, FailedLayoutWriteLeavesTheTableAndTheOldFile)
{
    const quint32 recno = add(QStringLiteral("First"));
    const QByteArray before = readBytes(sysdata(QStringLiteral("BIN00001.L")));
    const QByteArray table = readBytes(TSystemTables::dbfPath(program, TSystemTable::Label));
    TLabelSetup s;
    ASSERT_TRUE(labels.ReadLabelSetup(recno, s).ok);
    s.Description = QStringLiteral("Renamed");
    quint32 row = recno;
    const TResult failed = labels.save(s, row, [](const QString &) {
        return TResult::failure(QStringLiteral("Disk full"), xbase::StatusCode::IoError);
    });
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message, QStringLiteral("Disk full"));
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00001.L"))), before);
    EXPECT_EQ(readBytes(TSystemTables::dbfPath(program, TSystemTable::Label)), table);
    EXPECT_EQ(labels.rows().at(0).description, QStringLiteral("First"));
    // A new setup whose write fails adds no row.
    TLabelSetup fresh = TLabelSetup::newSetupDefaults();
    ASSERT_TRUE(labels.NextLayoutFileName(fresh.Binary).ok);
    quint32 none = 0;
    EXPECT_FALSE(
        labels.save(fresh, none, [](const QString &) { return TResult::failure(QStringLiteral("x")); }).ok);
    EXPECT_EQ(labels.rows().size(), 1);
    EXPECT_EQ(none, 0u);
}

TEST_F(LabelSetups, RowThatCannotMakeASheetIsRefusedByName)
{
    const quint32 recno = add(QStringLiteral("Broken"));
    labels.close();
    {
        xbase::Table t;
        ASSERT_TRUE(TSystemTables::open(TSystemTable::Label, t, program).ok);
        ASSERT_TRUE(t.go(recno).ok());
        ASSERT_TRUE(t.setFieldValue("NBRACROSS", "0").ok());
        ASSERT_TRUE(t.post().ok());
        ASSERT_TRUE(t.close().ok());
    }
    ASSERT_TRUE(labels.open(program).ok);
    TLabelSetup s = TLabelSetup::emptyListDefaults();
    const TResult read = labels.ReadLabelSetup(recno, s);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.message,
              TLabelSetups::invalidRowMessage(QStringLiteral("Broken"), QStringLiteral("NBRACROSS")));
    EXPECT_EQ(s, TLabelSetup::emptyListDefaults());
}

TEST_F(LabelSetups, NamesOfRowsWhoseFilesWereRemovedAreNotGivenAgain)
{
    add(QStringLiteral("A"));
    add(QStringLiteral("B"));
    ASSERT_TRUE(QFile::remove(sysdata(QStringLiteral("BIN00001.L"))));
    // A stray file takes a name too.
    ASSERT_TRUE(writeBytes(sysdata(QStringLiteral("bin00003.l")), "stray"));
    QString name;
    ASSERT_TRUE(labels.NextLayoutFileName(name).ok);
    EXPECT_EQ(name, QStringLiteral("BIN00004.L"));
}

TEST_F(LabelSetups, CloneCopiesALayoutThatLoadedUnderANameOfItsOwn)
{
    const quint32 first = add(QStringLiteral("Shipping"));
    quint32 clone = 0;
    ASSERT_TRUE(labels.clone(first, 96, &clone).ok);
    TLabelSetup s;
    ASSERT_TRUE(labels.ReadLabelSetup(clone, s).ok);
    EXPECT_EQ(s.Description, QStringLiteral("Clone of :Shipping"));
    EXPECT_EQ(s.Binary, QStringLiteral("BIN00002.L"));
    EXPECT_EQ(readBytes(sysdata(QStringLiteral("BIN00002.L"))),
              readBytes(sysdata(QStringLiteral("BIN00001.L"))));
    quint32 again = 0;
    ASSERT_TRUE(labels.clone(clone, 96, &again).ok);
    ASSERT_TRUE(labels.ReadLabelSetup(again, s).ok);
    EXPECT_EQ(s.Description, QStringLiteral("Clone of :Clone of :Shipping"));
    EXPECT_EQ(s.Binary, QStringLiteral("BIN00003.L"));
    EXPECT_EQ(TLabelSetups::cloneDescription(QString(60, QLatin1Char('x'))).size(), 50);

    // A missing file and a damaged one add nothing.
    ASSERT_TRUE(QFile::remove(sysdata(QStringLiteral("BIN00001.L"))));
    const int rows = static_cast<int>(labels.rows().size());
    const TResult missing = labels.clone(first, 96);
    EXPECT_EQ(missing.message, TLabelSetups::removedFileMessage());
    ASSERT_TRUE(writeBytes(sysdata(QStringLiteral("BIN00002.L")), "TPF0 damaged"));
    EXPECT_FALSE(labels.clone(clone, 96).ok);
    EXPECT_EQ(labels.rows().size(), rows);
    EXPECT_FALSE(QFile::exists(sysdata(QStringLiteral("BIN00004.L"))));
}

TEST_F(LabelSetups, DeleteRemovesOnlyALayoutFileOfItsOwn)
{
    const quint32 a = add(QStringLiteral("A"));
    ASSERT_TRUE(labels.remove(a).ok);
    EXPECT_TRUE(labels.isEmpty());
    EXPECT_FALSE(QFile::exists(sysdata(QStringLiteral("BIN00001.L"))));

    // A damaged row naming another file never removes it.
    const quint32 b = add(QStringLiteral("B"));
    ASSERT_TRUE(writeBytes(program + QStringLiteral("ADDRESS.DBF"), "keep"));
    labels.close();
    {
        xbase::Table t;
        ASSERT_TRUE(TSystemTables::open(TSystemTable::Label, t, program).ok);
        ASSERT_TRUE(t.go(b).ok());
        ASSERT_TRUE(t.setFieldValue("BINARY", "../ADDRESS.DBF").ok());
        ASSERT_TRUE(t.post().ok());
        ASSERT_TRUE(t.close().ok());
    }
    ASSERT_TRUE(labels.open(program).ok);
    ASSERT_TRUE(labels.remove(b).ok);
    EXPECT_TRUE(QFile::exists(program + QStringLiteral("ADDRESS.DBF")));
}
