// Designed report definitions over REPORT.DBF and their layout files: file names, a new
// report's stored settings, the page description, loading a missing or damaged file, a failed
// write, delete and clone, and a full layout reopened byte for byte.
#include "TReportDefinitions.h"

#include "ReportBandsFill.h"
#include "TReportBands.h"
#include "TReportSettingsList.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ReportDefinitions : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/sysdata")));
        ASSERT_TRUE(defs.open(folder + QLatin1Char('/'))) << "REPORT.DBF";
    }
    // Saves the bands as a new report; answers its row.
    TReportRow saveNew(TReportBands &bands, const QString &description = QStringLiteral("List"),
                       const QString &layout = TReportDefinitions::newLayout())
    {
        quint32 recno = 0;
        const TResult saved = defs.SaveReport(true, 0, description, layout, bands.header, bands.detail,
                                              bands.footer, bands.settings, &recno);
        EXPECT_TRUE(saved) << saved.message.toStdString();
        for (const TReportRow &r : defs.rows())
            if (r.recno == recno)
                return r;
        ADD_FAILURE() << "no row " << recno;
        return {};
    }
    QString file(const QString &name) const { return folder + QStringLiteral("/sysdata/") + name; }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    TReportDefinitions defs;
};

TEST_F(ReportDefinitions, TheFirstFileIsBin00001AndItsNameIsReusedAfterDelete)
{
    TReportBands bands(96);
    const TReportRow first = saveNew(bands);
    EXPECT_EQ(first.binary, QStringLiteral("BIN00001.R"));
    EXPECT_TRUE(QFile::exists(file(first.binary)));
    EXPECT_EQ(saveNew(bands).binary, QStringLiteral("BIN00002.R"));
    ASSERT_TRUE(defs.remove(first.recno));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("BIN00001.R"))));
    EXPECT_EQ(saveNew(bands).binary, QStringLiteral("BIN00001.R"));
}

TEST_F(ReportDefinitions, ANameARowUsesIsSkippedEvenWhenItsFileIsMissing)
{
    TReportBands bands(96);
    const TReportRow first = saveNew(bands);
    ASSERT_TRUE(QFile::remove(file(first.binary)));
    EXPECT_EQ(defs.NextReportBinaryName(), QStringLiteral("BIN00002.R"));
    EXPECT_EQ(saveNew(bands).binary, QStringLiteral("BIN00002.R"));
}

TEST_F(ReportDefinitions, ANewReportSavedUnchangedIsLetterPortraitWithHalfInchMargins)
{
    TReportBands bands(96);
    const TReportRow row = saveNew(bands, TReportDefinitions::newDescription());
    EXPECT_EQ(row.description, QStringLiteral("<new report>"));
    EXPECT_EQ(row.layout, QStringLiteral("Letter Size, Portrait"));
    TReportBands back(96);
    ASSERT_TRUE(back.load(defs, row));
    const TReportSettingsList list = back.settings.toList();
    EXPECT_EQ(list.lengths[0].value, 8500);
    EXPECT_EQ(list.lengths[1].value, 11000);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(list.lengths[size_t(i)].value, 500);
    EXPECT_TRUE(back.settings.headerUsed);
    EXPECT_TRUE(back.settings.detailUsed);
    EXPECT_FALSE(back.settings.memoUsed);
    EXPECT_FALSE(back.settings.footerUsed);
}

TEST_F(ReportDefinitions, A4LandscapeIsStoredWithItsPageDescription)
{
    TReportBands bands(96);
    bands.settings.setPage(TReportPage::A4Landscape);
    const TReportRow row = saveNew(bands, QStringLiteral("Wide"), bands.settings.pageDescription());
    EXPECT_EQ(row.layout, QStringLiteral("A4 Size, Landscape"));
    TReportBands back(96);
    ASSERT_TRUE(back.load(defs, row));
    EXPECT_EQ(back.settings.page(), TReportPage::A4Landscape);
}

TEST_F(ReportDefinitions, AMissingFileLoadsTheDefaultsNotTheReportShownBefore)
{
    TReportBands bands(96);
    bands.settings.setPage(TReportPage::A4Landscape);
    bands.settings.footerUsed = true;
    reportbands::draw(bands.header, TReportPanel::psLabel, QRect(2, 2, 60, 20));
    const TReportRow wide = saveNew(bands, QStringLiteral("Wide"));
    const TReportRow gone = saveNew(bands, QStringLiteral("Gone"));
    ASSERT_TRUE(QFile::remove(file(gone.binary)));

    TReportBands shown(96);
    ASSERT_TRUE(shown.load(defs, wide));
    ASSERT_EQ(shown.settings.page(), TReportPage::A4Landscape);
    ASSERT_EQ(shown.header.objects().size(), 1u);
    EXPECT_TRUE(shown.load(defs, gone));
    EXPECT_EQ(shown.settings, TReportSettings::defaults(96));
    EXPECT_TRUE(shown.header.objects().empty());
}

TEST_F(ReportDefinitions, ASettingsListCutShortFailsAndKeepsNoneOfItsValues)
{
    TReportBands bands(96);
    bands.settings.setPage(TReportPage::A4Landscape);
    bands.settings.memoUsed = true;
    const TReportRow row = saveNew(bands);
    QByteArray bytes = readAll(file(row.binary));
    // Cut inside the settings list, after its page size and margins.
    const QByteArray cut = bytes.left(bytes.size() - 60);
    {
        QFile f(file(row.binary));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(cut);
    }
    TReportBands back(96);
    back.settings.footerUsed = true; // what another report left behind
    const TResult loaded = back.load(defs, row);
    EXPECT_FALSE(loaded);
    EXPECT_FALSE(loaded.message.isEmpty());
    EXPECT_EQ(back.settings, TReportSettings::defaults(96));
}

TEST_F(ReportDefinitions, AFailedWriteLeavesTheRowAndTheOldFile)
{
    TReportBands bands(96);
    const TReportRow row = saveNew(bands, QStringLiteral("Kept"));
    const QByteArray before = readAll(file(row.binary));
    defs.setFileWriter([](const QString &, const QByteArray &) {
        return TResult::failure(QStringLiteral("disk full"), xbase::StatusCode::IoError);
    });
    reportbands::draw(bands.header, TReportPanel::psLabel, QRect(2, 2, 60, 20));
    const TResult changed = defs.SaveReport(false, row.recno, QStringLiteral("Changed"), row.layout,
                                            bands.header, bands.detail, bands.footer, bands.settings);
    EXPECT_FALSE(changed);
    EXPECT_EQ(changed.message, QStringLiteral("disk full"));
    EXPECT_EQ(defs.rows().at(0).description, QStringLiteral("Kept"));
    EXPECT_EQ(readAll(file(row.binary)), before);
    // A new report whose file cannot be written gets no row.
    EXPECT_FALSE(defs.SaveReport(true, 0, QStringLiteral("New"), row.layout, bands.header, bands.detail,
                                 bands.footer, bands.settings));
    EXPECT_EQ(defs.rows().size(), 1);
}

TEST_F(ReportDefinitions, ACloneIsTheOriginalsFileByteForByte)
{
    TReportBands bands(96);
    reportbands::fillWithEveryTool(bands);
    const TReportRow row =
        saveNew(bands, QStringLiteral("Monthly list"), QStringLiteral("A4 Size, Portrait"));
    quint32 recno = 0;
    ASSERT_TRUE(defs.clone(row.recno, &recno));
    ASSERT_EQ(defs.rows().size(), 2);
    const TReportRow clone = defs.rows().at(1);
    EXPECT_EQ(clone.recno, recno);
    EXPECT_EQ(clone.description, QStringLiteral("Clone of Monthly list"));
    EXPECT_EQ(clone.layout, QStringLiteral("A4 Size, Portrait"));
    EXPECT_EQ(clone.binary, QStringLiteral("BIN00002.R"));
    EXPECT_EQ(readAll(file(clone.binary)), readAll(file(row.binary)));
    EXPECT_EQ(TReportDefinitions::cloneDescription(QString(60, QLatin1Char('x'))).size(), 60);
}

TEST_F(ReportDefinitions, ACloneWhoseFileCannotBeCopiedAppendsNothing)
{
    TReportBands bands(96);
    const TReportRow row = saveNew(bands);
    ASSERT_TRUE(QFile::remove(file(row.binary)));
    EXPECT_FALSE(defs.clone(row.recno));
    EXPECT_EQ(defs.rows().size(), 1);
    saveNew(bands);
    defs.setFileWriter(
        [](const QString &, const QByteArray &) { return TResult::failure(QStringLiteral("full")); });
    EXPECT_FALSE(defs.clone(defs.rows().at(1).recno));
    EXPECT_EQ(defs.rows().size(), 2);
}

TEST_F(ReportDefinitions, ADeleteRemovesOnlyLayoutFileNames)
{
    TReportBands bands(96);
    const TReportRow row = saveNew(bands);
    QFile other(file(QStringLiteral("KEEP.DBF")));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    TReportRow damaged = row;
    damaged.binary = QStringLiteral("KEEP.DBF");
    EXPECT_TRUE(defs.layoutPath(damaged).isEmpty());
    ASSERT_TRUE(defs.remove(row.recno));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("KEEP.DBF"))));
}

TEST_F(ReportDefinitions, OneObjectOfEachToolPerBandReopensByteIdentical)
{
    TReportBands bands(96);
    bands.settings.footerUsed = true;
    bands.applySettings();
    reportbands::fillWithEveryTool(bands);
    EXPECT_EQ(bands.header.objects().size(), 9u) << "all but the data field and the memo";
    EXPECT_EQ(bands.detail.objects().size(), 7u) << "all but memo, picture, date and page number";
    EXPECT_EQ(bands.footer.objects().size(), 8u) << "all but data field, memo and picture";
    const TReportRow row = saveNew(bands);
    const QByteArray saved = readAll(file(row.binary));
    TReportBands back(96);
    ASSERT_TRUE(back.load(defs, row));
    EXPECT_EQ(TReportDefinitions::reportBytes(back.header, back.detail, back.footer, back.settings), saved);
}

} // namespace
