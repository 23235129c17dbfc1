#include "TAddressMain.h"
#include "TIniFile.h"
#include "TWindowPlacement.h"
#include "TWindowPlacer.h"

#include "QtPrinters.h"
#include "TempDir.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(AddressMain, OpensTitledAndRemembersItsPlacement)
{
    TempDir dir;
    const QString settings = QString::fromStdString(dir.file("CORVAN.ini"));
    TIniFile ini(settings);
    {
        TAddressMain window(settings);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Corvantis"));
        // The first activation saved the centred placement at once.
        EXPECT_TRUE(ini.hasSection(TWindowPlacement::sectionName(QStringLiteral("TAddressMain"),
                                                                 TWindowPlacer::dotsPerInch(&window))));
        window.setGeometry(40, 30, 500, 400);
        window.close();
    }
    TAddressMain again(settings);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    EXPECT_EQ(again.geometry(), QRect(40, 30, 500, 400));
}

} // namespace
