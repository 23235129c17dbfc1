#include "TWindowPlacement.h"
#include "TIniFile.h"

#include "TempDir.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, SectionNameCarriesDensityAbove96)
{
    EXPECT_EQ(TWindowPlacement::sectionName(QStringLiteral("TAddressMain"), 96),
              QStringLiteral("TAddressMain_Placement"));
    EXPECT_EQ(TWindowPlacement::sectionName(QStringLiteral("TAddressMain"), 72),
              QStringLiteral("TAddressMain_Placement"));
    EXPECT_EQ(TWindowPlacement::sectionName(QStringLiteral("TAddressMain"), 120),
              QStringLiteral("TAddressMain_Placement120"));
}

TEST(WindowPlacement, ReadsOnlyTheSectionOfItsDensity)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(), "[TAddressMain_Placement]\nLeft=1\nTop=2\nRight=301\nBottom=202\nMaximized=1\n"
                           "[taddressmain_placement120]\nleft=10\ntop=20\nright=410\nbottom=320\n");
    const TWindowPlacement at120 = TWindowPlacement::load(ini, QStringLiteral("TAddressMain"), 120, false);
    EXPECT_TRUE(at120.isStored());
    EXPECT_EQ(at120.rect(), QRect(10, 20, 400, 300));
    EXPECT_FALSE(at120.isMaximized()); // missing: the designed state

    const TWindowPlacement at96 = TWindowPlacement::load(ini, QStringLiteral("TAddressMain"), 96, false);
    EXPECT_EQ(at96.rect(), QRect(1, 2, 300, 200));
    EXPECT_TRUE(at96.isMaximized());

    const TWindowPlacement none = TWindowPlacement::load(ini, QStringLiteral("TPreviewForm"), 96, true);
    EXPECT_FALSE(none.isStored());
    EXPECT_TRUE(none.isMaximized());
}

TEST(WindowPlacement, SaveWritesEdgesAndLoadsBack)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    ASSERT_TRUE(
        TWindowPlacement(QRect(-5, 10, 640, 480), true).save(ini, QStringLiteral("TAddressMain"), 144));
    EXPECT_EQ(
        readBytes(ini.path()),
        QByteArray("[TAddressMain_Placement144]\nLeft=-5\nTop=10\nRight=635\nBottom=490\nMaximized=1\n"));
    const TWindowPlacement back = TWindowPlacement::load(ini, QStringLiteral("TAddressMain"), 144, false);
    EXPECT_EQ(back.rect(), QRect(-5, 10, 640, 480));
    EXPECT_TRUE(back.isMaximized());
}

TEST(WindowPlacement, DamagedEdgesGiveASaneRectangle)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    writeBytes(ini.path(),
               "[T_Placement]\nLeft=2147483647\nTop=-2147483648\nRight=-2147483648\nBottom=99999999999\n");
    const TWindowPlacement p = TWindowPlacement::load(ini, QStringLiteral("T"), 96, false);
    EXPECT_TRUE(p.isStored());
    const QRect fitted = TWindowPlacement::fitted(p.rect(), QRect(0, 0, 1024, 768));
    EXPECT_GE(fitted.width(), 0);
    EXPECT_LE(fitted.left() + fitted.width(), 1024);
}

struct FitCase {
    QRect stored;
    QRect expected;
};

class PlacementFit : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(PlacementFit, ShiftedNotShrunk)
{
    const FitCase c = GetParam();
    EXPECT_EQ(TWindowPlacement::fitted(c.stored, QRect(0, 0, 1024, 768)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacementFit,
    ::testing::Values(FitCase{QRect(100, 50, 800, 600), QRect(100, 50, 800, 600)},     // fits
                      FitCase{QRect(600, 0, 800, 600), QRect(224, 0, 800, 600)},       // right edge beyond
                      FitCase{QRect(100, 500, 800, 600), QRect(100, 168, 800, 600)},   // bottom edge beyond
                      FitCase{QRect(0, 0, 1280, 1024), QRect(-256, -256, 1280, 1024)}, // wider: left negative
                      FitCase{QRect(-50, -20, 300, 200), QRect(-50, -20, 300, 200)},   // off the left: kept
                      FitCase{QRect(224, 168, 800, 600), QRect(224, 168, 800, 600)})); // touching the edges

TEST(WindowPlacement, CentringOverTheMainWindowOrTheScreen)
{
    const QRect screen(0, 0, 1024, 768);
    const QRect main(100, 100, 600, 400);
    const QSize own(200, 101);
    EXPECT_EQ(TWindowPlacement::centredPlacement(own, false, main, false, screen), QRect(300, 249, 200, 101));
    EXPECT_EQ(TWindowPlacement::centredPlacement(own, false, main, true, screen), QRect(412, 333, 200, 101));
    EXPECT_EQ(TWindowPlacement::centredPlacement(own, true, main, false, screen), QRect(412, 333, 200, 101));
    // Larger than what it centres over: the left edge goes negative.
    EXPECT_EQ(TWindowPlacement::centred(QSize(800, 500), QRect(0, 0, 600, 400)), QRect(-100, -50, 800, 500));
}

} // namespace
