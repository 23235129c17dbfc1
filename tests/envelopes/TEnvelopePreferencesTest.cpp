// The feed and printer settings: defaults, values a damaged file holds, the printer chosen by a
// stored name with a port, and the round trip through the settings file.
#include "TEnvelopePreferences.h"

#include "QtPrinters.h"
#include "TIniFile.h"
#include "TPdfPrinterService.h"
#include "TReportPrinter.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

// Two printers, "Laser" and "PDF".
class TwoPrinters : public TPdfPrinterService
{
public:
    using TPdfPrinterService::TPdfPrinterService;
    QStringList printerNames() const override { return {QStringLiteral("Laser"), QStringLiteral("PDF")}; }
    int selectedPrinter() const override { return m_selected; }
    void setSelectedPrinter(int index) override { m_selected = index; }
    int m_selected = 1;
};

class EnvelopePreferences : public ::testing::Test
{
protected:
    TempDir dir;
    QString iniPath = QString::fromStdString(dir.file("CORVAN.ini"));
    TIniFile ini{iniPath};
    TwoPrinters service{QString::fromStdString(dir.file("out.pdf"))};
    TReportPrinter job{service};
};

TEST_F(EnvelopePreferences, AMissingFileGivesTheDefaultsAndTheCurrentPrinter)
{
    const TEnvelopeFeedValues feed = TEnvelopePreferences::readFeed(ini);
    EXPECT_EQ(feed.Orientation, 1);
    EXPECT_EQ(feed.Facing, 1);
    EXPECT_EQ(feed.Position, 2);
    EXPECT_FALSE(feed.ClockWise);
    const TEnvelopePrinterValues printer = TEnvelopePreferences::readPrinter(ini, job);
    EXPECT_EQ(printer.printer, QStringLiteral("PDF"));
    EXPECT_EQ(printer.bin, QStringLiteral("Automatically Select"));
    EXPECT_EQ(printer.orientation, 0);
}

TEST_F(EnvelopePreferences, ValuesOutsideTheirRangeTakeTheirDefaults)
{
    ASSERT_TRUE(writeBytes(iniPath, "[Envelope Feed]\r\nOrientation=7\r\nFacing=-1\r\nPosition=3\r\n"
                                    "ClockWiseRotation=1\r\n"));
    const TEnvelopeFeedValues feed = TEnvelopePreferences::readFeed(ini);
    EXPECT_EQ(feed.Orientation, 1);
    EXPECT_EQ(feed.Facing, 1);
    EXPECT_EQ(feed.Position, 2);
    EXPECT_TRUE(feed.ClockWise);
}

TEST_F(EnvelopePreferences, AStoredNameWithAPortSelectsThePrinterBeforeOn)
{
    EXPECT_EQ(TEnvelopePreferences::printerName(QStringLiteral("Laser ON LPT1:")), QStringLiteral("Laser"));
    EXPECT_EQ(TEnvelopePreferences::printerName(QStringLiteral("Laser on LPT1:")), QStringLiteral("Laser"));
    EXPECT_EQ(TEnvelopePreferences::printerName(QStringLiteral("Onyx")), QStringLiteral("Onyx"));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Envelope Printer"), QStringLiteral("Printer"),
                                QStringLiteral("Laser ON LPT1:")));
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("Envelope Printer"), QStringLiteral("Orientation"), 1));
    (void)TEnvelopePreferences::load(ini, job);
    EXPECT_EQ(job.SelectedPrinter(), 0);
    EXPECT_EQ(job.Orientation(), TBaseReport::poLandScape);
}

TEST_F(EnvelopePreferences, SavedValuesReadBack)
{
    TEnvelopeFeedValues feed;
    feed.Orientation = 0;
    feed.Facing = 0;
    feed.Position = 1;
    feed.ClockWise = true;
    job.setOrientation(TBaseReport::poLandScape);
    ASSERT_TRUE(TEnvelopePreferences::save(ini, feed, job));
    EXPECT_TRUE(TEnvelopePreferences::readFeed(ini) == feed);
    EXPECT_EQ(ini.readString(QStringLiteral("Envelope Printer"), QStringLiteral("Printer")),
              QStringLiteral("PDF"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("Envelope Printer"), QStringLiteral("Orientation"), -1), 1);
}

} // namespace
