// The tag commands on a fixture copy with recording hooks: toggling outside and inside an
// edit, a toggle that empties a Tagged filter, a refused post, Clear Tags (no record written,
// the identifier stored, a Tagged filter dropped) and Tag All Filter Matches around the pass.
#include "TTagCommands.h"

#include "EditingFixture.h"
#include "TAddingPrefs.h"
#include "TIniFile.h"
#include "TRecordQuery.h"
#include "TTagPass.h"
#include "TTagTarget.h"
#include "TagTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString kId = QStringLiteral("T5703FX"); // on 14 visible fixture records

class TagCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        file.table.setGlobalTagId(kId);
        TTagHooks &h = commands.hooks();
        h.setLive = [this](bool live) {
            calls << (live ? QStringLiteral("live") : QStringLiteral("not live"));
        };
        h.reapplyFilter = [this] {
            calls << QStringLiteral("filter");
            file.reapplyFilter();
        };
        h.refreshForm = [this] { calls << QStringLiteral("refresh"); };
        h.information = [this](const QString &text) { calls << QStringLiteral("Information: ") + text; };
        h.ask = [this](const QString &caption, const QString &text) {
            calls << caption + QStringLiteral(": ") + text;
            return answer;
        };
    }
    QString tag() const { return file.table.value(QStringLiteral("TAG")); }
    void goToName(const char *last, const char *first)
    {
        ASSERT_TRUE(file.table.seek(file.table.nameKey(QLatin1String(last), QLatin1String(first)))) << last;
    }
    void setStoredTag(const QString &value)
    {
        ASSERT_TRUE(file.table.setValue(QStringLiteral("TAG"), value).ok);
        ASSERT_TRUE(file.table.post().ok);
    }
    QByteArray bytes(const char *ext) const
    {
        QFile f(file.path.chopped(4) + QLatin1String(ext));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString settingsPath() const { return QString::fromStdString(file.dir.file("CORVAN.ini")); }

    TEditingFile file;
    TTagCommands commands{file.table, settingsPath()};
    QStringList calls;
    bool answer = true;
};

TEST_F(TagCommands, TogglingTwiceLeavesTagEmptyWhateverStaleValueItHeld)
{
    for (const QString &before : {QString(), QStringLiteral("SI874HG"), QStringLiteral("T5703F")}) {
        goToName("Coleman", "Ruth");
        setStoredTag(before);
        calls.clear();
        ASSERT_TRUE(commands.ToggleTag().ok);
        EXPECT_EQ(tag(), kId);
        EXPECT_TRUE(file.table.isTagged());
        EXPECT_FALSE(file.table.isEditing());
        EXPECT_EQ(calls, (QStringList{QStringLiteral("not live"), QStringLiteral("live"),
                                      QStringLiteral("refresh")}));
        ASSERT_TRUE(commands.ToggleTag().ok);
        EXPECT_TRUE(tag().isEmpty()) << before.toStdString();
    }
    // A tagged record toggles to empty and back.
    goToName("Wood", "Stephanie");
    ASSERT_EQ(tag(), kId);
    commands.ToggleTag();
    EXPECT_TRUE(tag().isEmpty());
    commands.ToggleTag();
    EXPECT_EQ(tag(), kId);
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(TagCommands, DuringAnEditTheToggleJoinsTheEditAndWritesNothing)
{
    goToName("Coleman", "Ruth");
    ASSERT_TRUE(file.table.setValue(QStringLiteral("LNAME"), QStringLiteral("Colman")).ok);
    const QByteArray before = bytes(".DBF");
    ASSERT_TRUE(commands.ToggleTag().ok);
    EXPECT_TRUE(file.table.isEditing());
    EXPECT_TRUE(file.table.isTagged());
    EXPECT_TRUE(calls.isEmpty()) << calls.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(bytes(".DBF"), before);
    // Cancelled, neither change stays; saved, both do.
    file.table.cancelEdit();
    EXPECT_EQ(file.table.value(QStringLiteral("LNAME")), QStringLiteral("Coleman"));
    EXPECT_TRUE(tag().isEmpty());
    ASSERT_TRUE(file.table.setValue(QStringLiteral("LNAME"), QStringLiteral("Colman")).ok);
    commands.ToggleTag();
    ASSERT_TRUE(file.table.post().ok);
    EXPECT_EQ(file.table.value(QStringLiteral("LNAME")), QStringLiteral("Colman"));
    EXPECT_EQ(tag(), kId);
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(TagCommands, UntaggingTheLastRecordOfATaggedFilterDropsTheFilter)
{
    goToName("Wood", "Stephanie");
    ASSERT_TRUE(file.setFilter(QStringLiteral("UPPER(TAG)=\"") + kId +
                               QStringLiteral("\" .and. UPPER(LNAME)=\"WOOD\"")));
    ASSERT_EQ(file.table.visibleCount(), 1);
    ASSERT_TRUE(commands.ToggleTag().ok);
    EXPECT_EQ(calls, (QStringList{QStringLiteral("not live"), QStringLiteral("live"),
                                  QStringLiteral("filter"), QStringLiteral("refresh")}));
    EXPECT_TRUE(file.filter.isEmpty());
    EXPECT_GT(file.table.visibleCount(), 200);
}

TEST_F(TagCommands, ARefusedPostDropsTheEditAndShowsWhy)
{
    std::signal(SIGXFSZ, SIG_IGN);
    goToName("Coleman", "Ruth");
    const quint32 recno = file.table.recno();
    struct rlimit old {
    };
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit tight = old;
    tight.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const TResult result = commands.ToggleTag();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(file.table.isEditing());
    ASSERT_EQ(calls.size(), 4) << calls.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(calls[1], QStringLiteral("live"));
    EXPECT_EQ(calls[2], QStringLiteral("Information: ") + result.message);
    EXPECT_TRUE(tagtest::storedTag(file.table, recno).isEmpty());
    // The TAG index still gives the record as it is stored.
    EXPECT_EQ(file.faults(), std::vector<std::string>());
}

TEST_F(TagCommands, ClearTagsWritesNoRecordStoresTheIdentifierAndVoidsATaggedFilter)
{
    TFilterCriteria criteria;
    criteria.setTagged(true);
    TFilterTargetOf<TAddressTable> target(file.table);
    ASSERT_EQ(TRecordQuery::apply(criteria, file.table.globalTagId(), target).count, 14);

    commands.setClock([] { return QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)); });
    const QByteArray dbf = bytes(".DBF"), cdx = bytes(".CDX"), fpt = bytes(".FPT");
    ASSERT_TRUE(commands.ClearTags().ok);
    EXPECT_EQ(file.table.globalTagId(), QStringLiteral("V5703FX"));
    TIniFile ini(settingsPath());
    EXPECT_EQ(TAddingPrefs::loadGlobalTagId(ini), QStringLiteral("V5703FX"));
    EXPECT_EQ(calls, (QStringList{QStringLiteral("filter"), QStringLiteral("refresh")}));
    EXPECT_EQ(bytes(".DBF"), dbf);
    EXPECT_EQ(bytes(".CDX"), cdx);
    EXPECT_EQ(bytes(".FPT"), fpt);

    const TFilterOutcome outcome = TRecordQuery::apply(criteria, file.table.globalTagId(), target);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_FALSE(criteria.isTagged());
    EXPECT_EQ(file.table.query(), TRecordQuery::baseQuery());

    // A second clear within the same second still makes a new identifier.
    goToName("Coleman", "Ruth");
    commands.ToggleTag();
    ASSERT_TRUE(file.table.isTagged());
    commands.ClearTags();
    EXPECT_EQ(file.table.globalTagId(), QStringLiteral("V5703FY"));
    EXPECT_FALSE(file.table.isTagged());
    // A third never goes back to the first one's identifier (which would revive its tags).
    commands.ClearTags();
    EXPECT_EQ(file.table.globalTagId(), QStringLiteral("V5703FZ"));
}

TEST_F(TagCommands, ClearTagsWithAnUnwritableSettingsFileStillVoidsTheTagsAndSaysSo)
{
    TTagCommands unwritable(file.table, QString::fromStdString(file.dir.file("missing/CORVAN.ini")),
                            commands.hooks());
    const TResult result = unwritable.ClearTags();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(file.table.globalTagId(), kId);
    EXPECT_EQ(calls.last(), QStringLiteral("Information: ") + TTagCommands::settingsFailedMessage());
}

TEST_F(TagCommands, TagAllAsksThenRunsTheWindowNotLiveAndFrozenAndEndsOnTheFirstRecord)
{
    ASSERT_TRUE(file.setFilter(QStringLiteral("UPPER(STATE)=\"CA\"")));
    const QList<quint32> matches = fixture::visibleInOrder(file.table);
    file.table.last();
    const QString question = QStringLiteral("TAG ALL: Tag all records matching filter?");

    answer = false;
    int runs = 0;
    commands.hooks().runTagging = [&](TTagTarget &) { ++runs; };
    EXPECT_FALSE(commands.TagAllFilterMatches());
    EXPECT_EQ(calls, QStringList{question});
    EXPECT_EQ(runs, 0);

    answer = true;
    calls.clear();
    commands.hooks().runTagging = [&](TTagTarget &target) {
        ++runs;
        calls << QStringLiteral("tagging");
        EXPECT_TRUE(file.table.isFrozen());
        TTagPass pass(target);
        pass.start();
        while (pass.step(50)) {
        }
    };
    EXPECT_TRUE(commands.TagAllFilterMatches());
    EXPECT_EQ(calls, (QStringList{question, QStringLiteral("not live"), QStringLiteral("tagging"),
                                  QStringLiteral("live"), QStringLiteral("refresh")}));
    EXPECT_FALSE(file.table.isFrozen());
    EXPECT_EQ(file.table.recno(), matches.first());
    for (quint32 r : matches)
        EXPECT_EQ(tagtest::storedTag(file.table, r), kId);
    EXPECT_EQ(file.faults(), std::vector<std::string>());

    // Nothing happens during an edit.
    calls.clear();
    file.table.first();
    ASSERT_TRUE(file.table.setValue(QStringLiteral("CODES"), QStringLiteral("Q")).ok);
    EXPECT_FALSE(commands.TagAllFilterMatches());
    EXPECT_TRUE(calls.isEmpty());
}

} // namespace
