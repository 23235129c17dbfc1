// The widget side of window placement, on the offscreen screen.
#include "TWindowPlacer.h"
#include "TIniFile.h"
#include "TWindowPlacement.h"

#include "QtPrinters.h"
#include "TempDir.h"
#include "TestFiles.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(WindowPlacer, StoredPlacementWiderThanTheScreenIsShiftedAndSavedAtOnce)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    QWidget window;
    const int dpi = TWindowPlacer::dotsPerInch(&window);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect stored(100, 50, screen.width() + 200, 300);
    ASSERT_TRUE(TWindowPlacement(stored, false).save(ini, QStringLiteral("TTest"), dpi));

    TWindowPlacer::restore(&window, QStringLiteral("TTest"), ini, false);
    const QRect expected = TWindowPlacement::fitted(stored, screen);
    EXPECT_EQ(window.geometry(), expected);
    EXPECT_LT(expected.left(), 0);
    EXPECT_EQ(TWindowPlacement::load(ini, QStringLiteral("TTest"), dpi, true).rect(), expected);
}

TEST(WindowPlacer, NoPlacementCentresOverTheMainWindowAndSaveRecordsIt)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    QWidget main;
    main.setGeometry(100, 100, 600, 400);
    QWidget dialog;
    dialog.resize(200, 100);
    TWindowPlacer::restore(&dialog, QStringLiteral("TDialog"), ini, false, &main);
    EXPECT_EQ(dialog.pos(), QPoint(300, 250));

    dialog.move(10, 20);
    ASSERT_TRUE(TWindowPlacer::save(&dialog, QStringLiteral("TDialog"), ini));
    const TWindowPlacement back =
        TWindowPlacement::load(ini, QStringLiteral("TDialog"), TWindowPlacer::dotsPerInch(&dialog), true);
    EXPECT_EQ(back.rect(), QRect(10, 20, 200, 100));
    EXPECT_FALSE(back.isMaximized());
}

TEST(WindowPlacer, MaximisedWindowKeepsItsNormalRectangle)
{
    TempDir dir;
    TIniFile ini(qs(dir.file("CORVAN.ini")));
    QWidget window;
    const int dpi = TWindowPlacer::dotsPerInch(&window);
    const QRect normal(30, 40, 320, 240);
    ASSERT_TRUE(TWindowPlacement(normal, true).save(ini, QStringLiteral("TBig"), dpi));

    TWindowPlacer::restore(&window, QStringLiteral("TBig"), ini, false);
    EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The window now covers the screen; what is saved is still the normal rectangle.
    EXPECT_NE(window.geometry(), normal);
    ASSERT_TRUE(TWindowPlacer::save(&window, QStringLiteral("TBig"), ini));
    const TWindowPlacement back = TWindowPlacement::load(ini, QStringLiteral("TBig"), dpi, false);
    EXPECT_TRUE(back.isMaximized());
    EXPECT_EQ(back.rect(), normal);
}

} // namespace
