// Design surfaces: zoom with halves to even, saving at zoom 1, keeping and removing objects
// outside, naming and placing new objects, mouse routing, change notification and the
// background drawing.
#include "TGBasePanel.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TempDir.h"

#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A surface whose drawing tool makes shapes, as the concrete surfaces do.
class ToolSurface : public TGDataPanel
{
public:
    using TGDataPanel::TGDataPanel;
    std::vector<QRect> created;
    void CreateObject(const QRect &rect) override
    {
        created.push_back(rect);
        QRect r = rect;
        if (r.width() < 25)
            r.setWidth(50);
        if (r.height() < 15)
            r.setHeight(15);
        PlaceNewObject(std::make_unique<TGLabelShapes>(owner()), r);
    }
};

class PanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(300, 100);
        surface.LabelChangedEvent = [this](TGBasePanel *) { ++changes; };
        surface.ContextMenuEvent = [this](TGGraphicControl *o, const QPoint &) { menus.push_back(o); };
    }
    TGGraphicControl *add(int left, int top, int width, int height)
    {
        TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
        o->SetBounds(left, top, width, height);
        surface.WireObject(o);
        return o;
    }

    TGOwner owner;
    ToolSurface surface{&owner, 96};
    int changes = 0;
    std::vector<TGGraphicControl *> menus;
};

TEST_F(PanelTest, ZoomRescalesSurfaceAndObjectsAndComesBack)
{
    TGGraphicControl *o = add(5, 7, 21, 13);
    surface.SetScale(1.5f);
    EXPECT_EQ(surface.Width(), 450);
    EXPECT_EQ(surface.Height(), 150);
    // 7.5 → 8, 10.5 → 10, 31.5 → 32, 19.5 → 20: halves go to even.
    EXPECT_EQ(o->BoundsRect(), QRect(8, 10, 32, 20));
    EXPECT_EQ(changes, 0) << "zooming is no edit";
    surface.SetScale(1.0f);
    EXPECT_EQ(o->BoundsRect(), QRect(5, 7, 21, 13));
    EXPECT_EQ(surface.Width(), 300);
}

TEST_F(PanelTest, SavingAZoomedSurfaceStoresGeometryAtZoomOne)
{
    TempDir dir;
    const QString file = QString::fromStdString(dir.file("BIN00001.L"));
    add(10, 20, 40, 30);
    surface.SetScale(1.5f);
    ASSERT_TRUE(surface.SaveToFile(file));
    EXPECT_EQ(surface.ScaleFactor(), 1.5f);
    EXPECT_EQ(surface.objects()[0]->Left(), 15);
    TGOwner other;
    TGDataPanel loaded(&other, 96);
    ASSERT_TRUE(loaded.LoadFromFile(file));
    ASSERT_EQ(loaded.objects().size(), 1u);
    EXPECT_EQ(loaded.objects()[0]->BoundsRect(), QRect(10, 20, 40, 30));
}

TEST_F(PanelTest, KeepInsideMovesAndRemoveOutsideDeletes)
{
    TGGraphicControl *farRight = add(295, 10, 30, 20);
    TGGraphicControl *low = add(10, 95, 30, 20);
    add(10, 10, 30, 20);
    surface.addToSelection(farRight);
    surface.KeepObjectsInside();
    EXPECT_TRUE(surface.selection().isEmpty());
    EXPECT_EQ(farRight->Left(), 280);
    EXPECT_EQ(low->Top(), 90);

    add(291, 10, 30, 20); // beyond width − 10
    add(20, 91, 30, 20);  // beyond height − 10
    add(30, 30, 0, 20);   // no width
    surface.RemoveObjectsOutside();
    EXPECT_EQ(surface.objects().size(), 3u);
}

TEST_F(PanelTest, UniqueNamesCountFromOneAndRunOut)
{
    EXPECT_EQ(surface.UniqueName(QStringLiteral("Special")), QStringLiteral("Special1"));
    owner.addName(QStringLiteral("special1"));
    owner.addName(QStringLiteral("Special2"));
    EXPECT_EQ(surface.UniqueName(QStringLiteral("Special")), QStringLiteral("Special3"));
    for (int i = 3; i <= 1000; ++i)
        owner.addName(QStringLiteral("Special%1").arg(i));
    EXPECT_TRUE(surface.UniqueName(QStringLiteral("Special")).isEmpty());
}

TEST_F(PanelTest, PressOnAnObjectSelectsItAndShiftAddsMore)
{
    TGGraphicControl *a = add(10, 10, 30, 20);
    TGGraphicControl *b = add(100, 10, 30, 20);
    TGGraphicControl *top = add(20, 15, 30, 20); // over a
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(25, 20));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{top});
    surface.MouseDown(Qt::LeftButton, Qt::ShiftModifier, QPoint(105, 15));
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{top, b}));
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(12, 12));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a});
    // The right button on a single selected object opens its menu.
    surface.MouseDown(Qt::RightButton, Qt::NoModifier, QPoint(105, 15));
    EXPECT_EQ(menus, std::vector<TGGraphicControl *>{b});
    // On the empty surface the right button opens the surface's menu.
    surface.MouseDown(Qt::RightButton, Qt::NoModifier, QPoint(250, 80));
    EXPECT_EQ(menus.back(), nullptr);
}

TEST_F(PanelTest, RubberBandSelectsAndShiftTogglesButSkipsUnselectable)
{
    TGGraphicControl *a = add(10, 10, 30, 20);
    TGGraphicControl *b = add(60, 10, 30, 20);
    TGGraphicControl *hidden = add(20, 50, 30, 20);
    hidden->setUnselectable(true);
    // A press on an unselectable object starts a band as on the empty surface.
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(25, 55));
    EXPECT_TRUE(surface.isRubberBandActive());
    EXPECT_EQ(surface.cursor(), TGCursor::HandPoint);
    surface.MouseMove(Qt::NoModifier, QPoint(70, 5));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(70, 5));
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{b, a}));
    EXPECT_EQ(surface.cursor(), TGCursor::Default);
    // With Shift, objects in the band that were selected are deselected.
    surface.MouseDown(Qt::LeftButton, Qt::ShiftModifier, QPoint(55, 0));
    surface.MouseUp(Qt::LeftButton, Qt::ShiftModifier, QPoint(95, 40));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a});
}

TEST_F(PanelTest, DrawingToolCreatesObjectsNamedSpecialWithTheMinimumSize)
{
    std::vector<QRect> dropped;
    surface.DroppedObjectEvent = [&](const QRect &r) { dropped.push_back(r); };
    surface.setPointing(false);
    EXPECT_EQ(surface.cursor(), TGCursor::Drag);
    add(0, 0, 50, 50);
    // Drawn backwards over an object: the press passes through, the band is normalised.
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(10, 30));
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], QRect(10, 30, 30, 10));
    // A click without dragging: 50 wide, 15 high.
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(200, 60));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(200, 60));
    ASSERT_EQ(surface.objects().size(), 3u);
    EXPECT_EQ(surface.objects()[1]->Name(), QStringLiteral("Special1"));
    EXPECT_EQ(surface.objects()[2]->Name(), QStringLiteral("Special2"));
    EXPECT_EQ(surface.objects()[2]->BoundsRect(), QRect(200, 60, 50, 15));
    EXPECT_TRUE(surface.objects()[2]->isWired());
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(surface.selection().isEmpty());
}

TEST_F(PanelTest, BoundsChangesNotifyUnlessPrinting)
{
    TGGraphicControl *o = add(10, 10, 30, 20);
    o->Loaded();
    int refits = 0;
    surface.FrameRefitEvent = [&] { ++refits; };
    o->setLeft(12);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(refits, 1);
    o->setLeft(12);
    EXPECT_EQ(changes, 1);
    surface.setPrinting(true);
    o->setLeft(14);
    EXPECT_EQ(changes, 1);
}

TEST_F(PanelTest, DoubleClickOpensTheObjectMenuOrRaisesTheSurfaceEvent)
{
    TGGraphicControl *a = add(10, 10, 30, 20);
    int surfaceClicks = 0;
    surface.OnDblClick = [&] { ++surfaceClicks; };
    surface.MouseDoubleClick(QPoint(15, 15));
    surface.MouseDoubleClick(QPoint(200, 50));
    EXPECT_EQ(menus, std::vector<TGGraphicControl *>{a});
    EXPECT_EQ(surfaceClicks, 1);
}

TEST_F(PanelTest, BackgroundHasGridDotsInDarkGreenWithinTheShape)
{
    surface.setShape(lsRectangle);
    surface.setShowGrid(true);
    QImage image = surface.renderBackground();
    EXPECT_EQ(image.pixel(2, 2), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(6, 10), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(3, 2), qRgb(255, 255, 255));
    surface.setGridSize(gs8x8);
    image = surface.renderBackground();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(6, 6), qRgb(255, 255, 255));
    // An elliptic surface has no dots in its corners.
    surface.setShape(lsEllipse);
    image = surface.renderBackground();
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(150, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(146, 50), qRgb(0, 128, 0));
}

TEST_F(PanelTest, PaintDrawsObjectsInZOrderClippedToTheirBoxes)
{
    auto *under = static_cast<TGLabelShapes *>(add(10, 10, 40, 40));
    under->Brush.color = 0x0000FF; // red
    auto *over = static_cast<TGLabelShapes *>(add(30, 30, 40, 40));
    over->Brush.color = 0xFF0000; // blue
    QImage out(300, 100, QImage::Format_RGB32);
    QPainter p(&out);
    surface.Paint(p);
    p.end();
    EXPECT_EQ(out.pixel(20, 20), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(40, 40), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(80, 80), qRgb(255, 255, 255));
}

TEST(TGBasePanelFiles, ClipboardAndWorkingFilesGoWithTheSurface)
{
    TempDir dir;
    TGOwner owner;
    QString clip;
    {
        TGBasePanel surface(&owner, 96);
        surface.setProgramFolder(QString::fromStdString(dir.path()));
        clip = surface.clipboardFile();
        EXPECT_TRUE(clip.endsWith(QStringLiteral("/Clipbrd.tmp")));
        QFile f(clip);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_FALSE(QFile::exists(clip));
}

} // namespace

namespace {

struct ResolutionCase {
    double given;
    double kept;
};
class SurfaceResolution : public ::testing::TestWithParam<ResolutionCase>
{
};

} // namespace

TEST_P(SurfaceResolution, IsTheOneItsCreatorGaveWhateverTheScreen)
{
    TGOwner owner;
    TGDataPanel surface(&owner, GetParam().given);
    EXPECT_EQ(surface.PixelsPerInch(), GetParam().kept);
    TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
    EXPECT_EQ(o->pixelsPerInch(), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Cases, SurfaceResolution,
                         ::testing::Values(ResolutionCase{120, 120}, ResolutionCase{144, 144},
                                           ResolutionCase{96, 96}, ResolutionCase{0, 96},
                                           ResolutionCase{-120, 96}));
