// The session without any window: the start-up file, opening files with their outcomes, the
// recent-file list, missing indexes, the filter kept across files and with no file, the
// snapshot and its restore, the tool guard and the hand-over with its preconditions.
#include "TAddressSession.h"

#include "AddressFixture.h"
#include "DbTool.h"
#include "QtPrinters.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TRebuildGauge.h"
#include "TRecentFiles.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <sstream>

namespace {

class Session : public ::testing::Test
{
protected:
    QString folder() const { return QString::fromStdString(dir.path()) + QLatin1Char('/'); }
    QString settings() const { return folder() + QStringLiteral("CORVAN.ini"); }
    QString data() const { return folder() + QStringLiteral("DATA"); }
    QString copyFixture(const char *name) { return fixture::copy(QLatin1String(name), data()); }
    // A copy of the empty fixture under another name.
    QString emptyFile(const QString &base)
    {
        const QString empty = copyFixture("EMPTY");
        for (const char *ext : {".DBF", ".FPT", ".CDX"})
            QFile::copy(data() + QStringLiteral("/EMPTY") + QLatin1String(ext),
                        data() + QLatin1Char('/') + base + QLatin1String(ext));
        return data() + QLatin1Char('/') + base + QStringLiteral(".DBF");
    }
    TAddressSession &started()
    {
        session.loadSettings();
        return session;
    }

    TempDir dir;
    TAddressSession session{settings()};
};

TFilterCriteria stateIs(const char *state)
{
    TFilterCriteria c;
    c.setText(TFilterCriteria::qState, QLatin1String(state));
    return c;
}

TEST_F(Session, FirstStartCreatesTheFirstAddressFileWithTheSettingsWidths)
{
    {
        TIniFile ini(settings());
        ini.writeInteger(QStringLiteral("NewFileFieldLengths"), QStringLiteral("FieldZIP"), 5);
    }
    // An existing folder spelt in other letters is used, not doubled.
    QDir().mkpath(folder() + QStringLiteral("data"));
    const TStartupFile first = started().chooseStartupFile();
    EXPECT_TRUE(first.created);
    EXPECT_EQ(first.path, folder() + QStringLiteral("data/add0001.DBF"));
    ASSERT_EQ(session.open(first.path).outcome, TOpenOutcome::Opened);
    EXPECT_TRUE(session.isIndexValid());
    EXPECT_EQ(session.table().fieldWidth(QStringLiteral("ZIP")), 5);
    EXPECT_EQ(session.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(session.table().query(), QStringLiteral("!ISDEL"));
    EXPECT_EQ(session.recentFiles(), QStringList{first.path});
    // The tag identifier was made and stored.
    EXPECT_FALSE(session.tagId().isEmpty());
    EXPECT_EQ(TIniFile(settings()).readString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId")),
              session.tagId());

    // The next start takes the first recent entry and creates nothing.
    TAddressSession next(settings());
    next.loadSettings();
    const TStartupFile again = next.chooseStartupFile();
    EXPECT_EQ(again.path, first.path);
    EXPECT_TRUE(again.created);
}

TEST_F(Session, ARecentEntryNamingADeletedFileFailsWithBothMessagesAndStaysFirst)
{
    const QString gone = data() + QStringLiteral("/GONE.DBF");
    const QString other = copyFixture("ADD0001");
    {
        TIniFile ini(settings());
        ASSERT_TRUE(TRecentFiles::save(ini, {gone, other}));
    }
    const TStartupFile first = started().chooseStartupFile();
    EXPECT_EQ(first.path, gone);
    const TOpenResult opened = session.open(first.path);
    EXPECT_EQ(opened.outcome, TOpenOutcome::Failed);
    EXPECT_EQ(opened.reason.code, xbase::StatusCode::NotFound);
    ASSERT_EQ(opened.messages.size(), 2);
    EXPECT_EQ(opened.messages.at(0), QStringLiteral("File ") + gone + QStringLiteral(" not found"));
    EXPECT_EQ(opened.messages.at(1),
              QStringLiteral("Unable to open ") + gone +
                  QStringLiteral("\r\n\r\n * May not be a Corvantis file.\r\n * May be "
                                 "in use by another program or user"));
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.path().isEmpty());
    EXPECT_TRUE(session.orderTag().isEmpty());
    EXPECT_EQ(session.recentFiles(), (QStringList{gone, other}));
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("/add0001.DBF")));
}

TEST_F(Session, FilesLockedOrLackingAFieldGiveOnlyTheOpenMessageAndTheirCode)
{
    started();
    const QString nofax = copyFixture("NOFAX");
    TOpenResult opened = session.open(nofax);
    EXPECT_EQ(opened.outcome, TOpenOutcome::Failed);
    EXPECT_EQ(opened.messages.size(), 1);
    EXPECT_EQ(opened.reason.code, xbase::StatusCode::Corruption);
    EXPECT_FALSE(session.recentFiles().contains(nofax));

    const QString busy = copyFixture("ADD0001");
    xbase::Table other;
    ASSERT_TRUE(other.open(busy.toStdString(), xbase::OpenMode::Exclusive).ok());
    opened = session.open(busy);
    EXPECT_EQ(opened.outcome, TOpenOutcome::Failed);
    EXPECT_EQ(opened.messages.size(), 1);
    EXPECT_EQ(opened.reason.code, xbase::StatusCode::Locked);
    ASSERT_TRUE(other.close().ok());
    EXPECT_EQ(session.open(busy).outcome, TOpenOutcome::Opened);
}

TEST_F(Session, RecentListKeepsFourNewestFirstWithoutDuplicates)
{
    started();
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths.append(emptyFile(QStringLiteral("FILE%1").arg(i)));
    QSignalSpy changed(&session, &TAddressSession::recentFilesChanged);
    for (const QString &path : paths)
        ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened) << path.toStdString();
    EXPECT_EQ(changed.count(), 5);
    const QStringList newest = {paths[4], paths[3], paths[2], paths[1]};
    EXPECT_EQ(session.recentFiles(), newest);
    EXPECT_EQ(TRecentFiles::load(TIniFile(settings())), newest);

    // Opening the second entry again moves it to the top, with no duplicate.
    ASSERT_EQ(session.open(paths[3]).outcome, TOpenOutcome::Opened);
    const QStringList moved = {paths[3], paths[4], paths[2], paths[1]};
    EXPECT_EQ(session.recentFiles(), moved);
    EXPECT_EQ(TRecentFiles::load(TIniFile(settings())), moved);
    EXPECT_EQ(session.path(), paths[3]);
}

TEST_F(Session, AMissingIndexNeedsARebuildAndHeadsTheRecentListEitherWay)
{
    started();
    const QString path = copyFixture("NOCDX");
    TOpenResult opened = session.open(path);
    EXPECT_EQ(opened.outcome, TOpenOutcome::NeedsRebuild);
    EXPECT_TRUE(opened.messages.isEmpty());
    EXPECT_TRUE(session.isOpen()); // open for the rebuild
    EXPECT_FALSE(session.isIndexValid());
    EXPECT_EQ(session.recentFiles().first(), path);
    session.abandonOpen();
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.path().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(data() + QStringLiteral("/NOCDX.CDX")));

    // Without a rebuild finishOpen() closes the file again; after one it shows it.
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::NeedsRebuild);
    EXPECT_FALSE(session.finishOpen());
    EXPECT_FALSE(session.isOpen());
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::NeedsRebuild);
    TRebuildGauge gauge([](int) {});
    ASSERT_TRUE(session.table().rebuild(gauge));
    EXPECT_TRUE(session.finishOpen());
    EXPECT_TRUE(session.isIndexValid());
    EXPECT_EQ(session.table().engine().tagCount(), 26);
    EXPECT_EQ(session.orderTag(), QStringLiteral("LNAME"));
    EXPECT_EQ(session.table().query(), QStringLiteral("!ISDEL"));
    EXPECT_TRUE(session.table().hasRecord());
}

TEST_F(Session, ARebuildOfTheOpenFileKeepsTheOrderAndTheFilter)
{
    started();
    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    ASSERT_TRUE(session.setOrderTag(QStringLiteral("ZIP")));
    const qint64 matches = session.setCriteria(stateIs("CA")).count;
    ASSERT_GT(matches, 0);
    TRebuildGauge gauge([](int) {});
    ASSERT_TRUE(session.table().rebuild(gauge));
    session.afterRebuild();
    EXPECT_TRUE(session.isIndexValid());
    EXPECT_EQ(session.orderTag(), QStringLiteral("ZIP"));
    EXPECT_EQ(session.table().orderTag(), QStringLiteral("ZIP"));
    EXPECT_EQ(session.table().query(), session.recordQuery());
    EXPECT_EQ(session.table().visibleCount(), matches);
    EXPECT_TRUE(session.table().hasRecord());

    // A rebuild that stopped half-way leaves the file open and says its indexes are invalid.
    TRebuildGauge cancelled([](int) {}, [] { return true; });
    EXPECT_FALSE(session.table().rebuild(cancelled));
    session.afterRebuild();
    EXPECT_TRUE(session.isOpen());
    EXPECT_FALSE(session.isIndexValid());
}

TEST_F(Session, CriteriaAreKeptAcrossFilesAndWithNoFileAndClearingClearsThem)
{
    started();
    const QString path = copyFixture("ADD0001");
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    QSignalSpy filter(&session, &TAddressSession::filterChanged);
    const TFilterOutcome ca = session.setCriteria(stateIs("CA"));
    EXPECT_GT(ca.count, 0);
    EXPECT_GE(filter.count(), 1);
    EXPECT_TRUE(session.isFilterSet());
    EXPECT_EQ(session.recordQuery(), QStringLiteral("UPPER(STATE)=\"CA\".and. !ISDEL"));
    EXPECT_EQ(session.table().query(), session.recordQuery());

    // No file: the criteria stay, and the next file opens with them applied.
    session.close();
    EXPECT_TRUE(session.isFilterSet());
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    EXPECT_EQ(session.table().visibleCount(), ca.count);

    // Clearing with no file open clears the kept criteria: the next file shows everything.
    session.close();
    const TFilterOutcome cleared = session.clearFilter();
    EXPECT_EQ(cleared.count, 0);
    EXPECT_FALSE(session.isFilterSet());
    EXPECT_EQ(session.criteria(), TFilterCriteria());
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    EXPECT_EQ(session.table().query(), QStringLiteral("!ISDEL"));
    EXPECT_EQ(session.table().visibleCount(), 275);

    // Criteria set with no file are kept, not applied and not dropped.
    session.close();
    const TFilterOutcome kept = session.setCriteria(stateIs("ZZ"));
    EXPECT_FALSE(kept.dropped);
    EXPECT_TRUE(session.isFilterSet());
    // Applied to a file where nothing matches, they are dropped.
    ASSERT_EQ(session.open(path).outcome, TOpenOutcome::Opened);
    EXPECT_FALSE(session.isFilterSet());
    EXPECT_EQ(session.table().visibleCount(), 275);
}

TEST_F(Session, ReapplyingTheFilterKeepsTheRecordWhileItStillShows)
{
    started();
    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    ASSERT_TRUE(session.setCriteria(stateIs("CA")).count > 1);
    ASSERT_TRUE(session.table().next());
    const quint32 second = session.table().recno();
    session.reapplyFilter();
    EXPECT_EQ(session.table().recno(), second);
    // With no file open nothing happens.
    session.close();
    EXPECT_EQ(session.reapplyFilter().count, 0);
}

TEST_F(Session, SnapshotRestoresRecordQueryFolderAndTheSessionsOrder)
{
    started();
    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    session.setCriteria(stateIs("CA"));
    ASSERT_TRUE(session.setOrderTag(QStringLiteral("CITY")));
    ASSERT_TRUE(session.table().next());
    const quint32 before = session.table().recno();
    const QString query = session.table().query();
    const QString cwd = QDir::currentPath();
    const TSessionSnapshot snap = session.snapshot();

    // Something sorts and filters the table its own way, moves and changes the folder.
    ASSERT_TRUE(session.table().setOrderTag(QStringLiteral("ZIP")));
    ASSERT_TRUE(session.table().setQuery(QStringLiteral("!ISDEL")));
    ASSERT_TRUE(session.table().last());
    ASSERT_TRUE(QDir::setCurrent(folder()));
    session.restore(snap);
    EXPECT_EQ(session.table().orderTag(), QStringLiteral("CITY"));
    EXPECT_EQ(session.table().query(), query);
    EXPECT_EQ(session.table().recno(), before);
    EXPECT_EQ(QDir::currentPath(), cwd);

    // A remembered record that no longer shows leaves the first visible one current.
    ASSERT_TRUE(session.table().setQuery(QStringLiteral("!ISDEL")));
    TSessionSnapshot gone = session.snapshot();
    ASSERT_TRUE(session.table().last());
    gone.recno = session.table().recno();
    gone.query = query;
    session.restore(gone);
    ASSERT_TRUE(session.table().hasRecord());
    EXPECT_EQ(session.table().value(QStringLiteral("STATE")), QStringLiteral("CA"));
    TAddressTable &t = session.table();
    const quint32 shown = t.recno();
    ASSERT_TRUE(t.first());
    EXPECT_EQ(t.recno(), shown);
}

TEST_F(Session, ToolGuardThawsAndMarksLiveOnEveryPath)
{
    started();
    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    QSignalSpy shown(&session.table(), &TAddressTable::recordChanged);
    QSignalSpy live(&session, &TAddressSession::liveChanged);
    const auto work = [this](bool leaveEarly) {
        TAddressSession::ToolGuard guard(session);
        EXPECT_FALSE(session.isLive());
        EXPECT_TRUE(session.table().isFrozen());
        {
            TAddressSession::ToolGuard nested(session);
            (void)session.table().last();
        }
        EXPECT_TRUE(session.table().isFrozen());
        if (leaveEarly)
            return 1;
        (void)session.table().first();
        return 2;
    };
    EXPECT_EQ(work(true), 1);
    EXPECT_TRUE(session.isLive());
    EXPECT_FALSE(session.table().isFrozen());
    EXPECT_EQ(shown.count(), 1); // the moves were announced once, at the thaw
    EXPECT_EQ(work(false), 2);
    EXPECT_FALSE(session.table().isFrozen());
    EXPECT_EQ(shown.count(), 2);
    EXPECT_EQ(live.count(), 4);
}

TEST_F(Session, HandedOverWindowGetsTheSessionAndLeavesRecordOrderAndQueryAsTheyWere)
{
    started();
    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    session.setCriteria(stateIs("CA"));
    ASSERT_TRUE(session.setOrderTag(QStringLiteral("CITY")));
    ASSERT_TRUE(session.table().next());
    ASSERT_TRUE(session.table().next());
    const quint32 before = session.table().recno();
    const QString query = session.table().query();
    QSignalSpy shown(&session.table(), &TAddressTable::recordChanged);
    QSignalSpy order(&session, &TAddressSession::orderChanged);

    THandOver needs;
    needs.needsRecords = true;
    needs.freeze = true;
    needs.keepRecord = true;
    needs.keepQuery = true;
    needs.compositeFields = true;
    needs.queryDuring = QStringLiteral("!ISDEL");
    bool ran = false;
    EXPECT_EQ(session.handOver(needs,
                               [&](TAddressSession &s) {
                                   ran = true;
                                   EXPECT_EQ(&s, &session);
                                   EXPECT_FALSE(s.isLive());
                                   EXPECT_TRUE(s.table().compositeFieldsOn());
                                   EXPECT_EQ(s.table().query(), QStringLiteral("!ISDEL"));
                                   // The window sorts its own way and moves about.
                                   (void)s.table().setOrderTag(QStringLiteral("ZIP"));
                                   (void)s.table().last();
                               }),
              THandOverRefusal::None);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(session.isLive());
    EXPECT_FALSE(session.table().isFrozen());
    EXPECT_FALSE(session.table().compositeFieldsOn());
    EXPECT_EQ(session.table().recno(), before);
    EXPECT_EQ(session.table().query(), query);
    EXPECT_EQ(session.table().orderTag(), QStringLiteral("CITY"));
    EXPECT_EQ(session.orderTag(), QStringLiteral("CITY"));
    EXPECT_EQ(order.count(), 1);
    // The display stayed still while the window worked: one announcement, at the end.
    EXPECT_EQ(shown.count(), 1);

    // A window that chooses the user's order through the session keeps it.
    EXPECT_EQ(session.handOver({}, [](TAddressSession &s) { s.setOrderTag(QStringLiteral("ZIP")); }),
              THandOverRefusal::None);
    EXPECT_EQ(session.orderTag(), QStringLiteral("ZIP"));
    EXPECT_EQ(session.table().orderTag(), QStringLiteral("ZIP"));

    // The filter applied again, then the first record.
    THandOver reapply;
    reapply.reapplyFilter = true;
    reapply.firstRecord = true;
    EXPECT_EQ(session.handOver(reapply, [](TAddressSession &s) { (void)s.table().setQuery(QString()); }),
              THandOverRefusal::None);
    EXPECT_EQ(session.table().query(), query);
    const quint32 shownFirst = session.table().recno();
    ASSERT_TRUE(session.table().first());
    EXPECT_EQ(session.table().recno(), shownFirst);
}

TEST_F(Session, FailingPreconditionsOpenNothing)
{
    started();
    bool ran = false;
    const auto window = [&](TAddressSession &) { ran = true; };
    THandOver needs;
    needs.needsFile = true;
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::NoFile);

    ASSERT_EQ(session.open(emptyFile(QStringLiteral("NONE"))).outcome, TOpenOutcome::Opened);
    needs.needsRecords = true;
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::NoRecords);

    ASSERT_EQ(session.open(copyFixture("ADD0001")).outcome, TOpenOutcome::Opened);
    ASSERT_TRUE(session.table().setValue(QStringLiteral("CODES"), QStringLiteral("X")));
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::Editing);
    session.table().cancelEdit();

    // The printer check asks the printing service.
    class NoPrinters : public TPdfPrinterService
    {
    public:
        using TPdfPrinterService::TPdfPrinterService;
        QStringList printerNames() const override { return {}; }
    };
    class NoneSelected : public TPdfPrinterService
    {
    public:
        using TPdfPrinterService::TPdfPrinterService;
        int selectedPrinter() const override { return -1; }
    };
    needs.printerCheck = true;
    session.setPrinterService(std::make_unique<NoPrinters>(folder() + QStringLiteral("a.pdf")));
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::NoPrinters);
    session.setPrinterService(std::make_unique<NoneSelected>(folder() + QStringLiteral("a.pdf")));
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::NoDefaultPrinter);
    EXPECT_FALSE(ran);
    session.setPrinterService(std::make_unique<TPdfPrinterService>(folder() + QStringLiteral("a.pdf")));
    EXPECT_EQ(session.handOver(needs, window), THandOverRefusal::None);
    EXPECT_TRUE(ran);
}

} // namespace
