// The selection frame: its geometry, the hover hit test, drags with snapping, the clamp to
// the surface, the quick-click and delayed-start rules, locked objects, arrow-key nudging and
// the marks drawn around the selection.
#include "TGHandle.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

class HandleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(300, 200);
        surface.TickCountSource = [this] { return now; };
    }
    TGGraphicControl *add(int left, int top, int width, int height)
    {
        TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
        o->SetBounds(left, top, width, height);
        o->Loaded();
        surface.WireObject(o);
        return o;
    }
    // A press at a surface point, a hold, a move and a release `held` ms after the press,
    // each move followed by what the event loop delivers.
    void drag(QPoint from, QPoint to, qint64 held = 300)
    {
        surface.MouseDown(Qt::LeftButton, Qt::NoModifier, from);
        now += held / 2;
        surface.MouseMove(Qt::NoModifier, to, Qt::LeftButton);
        now += held - held / 2;
        surface.MouseUp(Qt::LeftButton, Qt::NoModifier, to);
        surface.DeliverPosted();
    }
    // Hover (button up) at a surface point, so the frame picks its drag mode.
    void hover(QPoint at) { surface.MouseMove(Qt::NoModifier, at, Qt::NoButton); }
    void key(int k, Qt::KeyboardModifiers shift = Qt::NoModifier)
    {
        surface.KeyDown(k, shift);
        surface.KeyUp(k);
        surface.DeliverPosted();
    }

    qint64 now = 5000;
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
    TGHandle &frame = surface.handle();
};

TEST_F(HandleTest, FrameSitsTwoOutsideAndGrowsThreeOnAdditionFourOnRefit)
{
    TGGraphicControl *a = add(20, 30, 40, 10);
    TGGraphicControl *b = add(100, 50, 10, 20);
    EXPECT_FALSE(frame.isVisible());
    surface.addToSelection(a);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.bounds(), QRect(18, 28, 45, 15));
    surface.addToSelection(b);
    EXPECT_EQ(frame.bounds(), QRect(18, 28, 90 + 5, 40 + 5));
    frame.RefitFrame();
    EXPECT_EQ(frame.bounds(), QRect(18, 28, 96, 46));
    surface.removeFromSelection(a);
    EXPECT_EQ(frame.bounds(), QRect(98, 48, 15, 25));
    surface.removeFromSelection(b);
    EXPECT_FALSE(frame.isVisible());
    EXPECT_EQ(frame.bounds().size(), QSize(24, 24));
    a->setUnselectable(true);
    surface.addToSelection(a);
    EXPECT_TRUE(surface.selection().isEmpty()) << "an unselectable object is refused";
}

struct HoverCase {
    QPoint framePoint;
    int mode;
};
class HoverHitTest : public HandleTest, public ::testing::WithParamInterface<HoverCase>
{
};

TEST_P(HoverHitTest, PicksTheHandleUnderThePointer)
{
    // Frame (18, 18, 45, 35): w = 45, h = 35.
    surface.addToSelection(add(20, 20, 40, 30));
    hover(GetParam().framePoint + QPoint(18, 18));
    EXPECT_EQ(frame.dragMode(), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HoverHitTest,
    ::testing::Values(HoverCase{{20, 15}, TGHandle::dmMove}, HoverCase{{1, 2}, TGHandle::dmTopLeft},
                      HoverCase{{44, 34}, TGHandle::dmBottomRight}, HoverCase{{40, 1}, TGHandle::dmTopRight},
                      HoverCase{{3, 30}, TGHandle::dmBottomLeft}, HoverCase{{22, 0}, TGHandle::dmTop},
                      HoverCase{{27, 34}, TGHandle::dmBottom}, HoverCase{{0, 17}, TGHandle::dmLeft},
                      HoverCase{{44, 12}, TGHandle::dmRight},
                      // 6 from the middle (22.5) is no longer near it.
                      HoverCase{{16, 17}, TGHandle::dmMove}));

TEST_F(HandleTest, MultipleSelectionOnlyMoves)
{
    surface.addToSelection(add(20, 20, 40, 30));
    surface.addToSelection(add(100, 100, 10, 10));
    hover(QPoint(19, 19));
    EXPECT_EQ(frame.dragMode(), TGHandle::dmMove);
}

TEST_F(HandleTest, SnappingTruncatesToTheGridAndPutsObjectsTwoPastAMultiple)
{
    TGGraphicControl *o = add(12, 40, 30, 20);
    surface.addToSelection(o);
    ASSERT_EQ(frame.bounds().left(), 10);
    frame.SetSnapToGrid(true);
    ASSERT_EQ(frame.GridX(), 8);
    EXPECT_EQ(frame.snapX(15), 8);
    EXPECT_EQ(frame.snapX(-3), 0) << "the division truncates toward zero";
    drag(QPoint(20, 50), QPoint(25, 50)); // +5
    EXPECT_EQ(o->Left(), 10);
    EXPECT_EQ(frame.bounds().left(), 8);
}

TEST_F(HandleTest, RightEdgeDragChangesTheWidthByOneLess)
{
    TGGraphicControl *o = add(20, 20, 40, 30);
    surface.addToSelection(o);
    const QPoint handle(18 + 44, 18 + 17);
    hover(handle);
    ASSERT_EQ(frame.dragMode(), TGHandle::dmRight);
    drag(handle, handle + QPoint(10, 0));
    EXPECT_EQ(o->BoundsRect(), QRect(20, 20, 49, 30));
}

TEST_F(HandleTest, ShrinkingToTheMinimumLeavesEveryObjectAPixelAndHoldsTheOppositeEdge)
{
    TGGraphicControl *o = add(50, 50, 40, 30);
    surface.addToSelection(o);
    const QPoint right(48 + 44, 48 + 17);
    hover(right);
    ASSERT_EQ(frame.dragMode(), TGHandle::dmRight);
    drag(right, QPoint(0, right.y()));
    EXPECT_EQ(o->Width(), 1);
    EXPECT_EQ(o->Left(), 50);
    EXPECT_GE(frame.bounds().width(), TGHandle::kMinimumFrame);

    // The top handle dragged far down: the bottom edge stays where it was.
    TGGraphicControl *p = add(150, 50, 40, 30);
    surface.clearSelection();
    surface.addToSelection(p);
    surface.DeliverPosted();
    const QPoint top = frame.bounds().topLeft() + QPoint(frame.bounds().width() / 2, 0);
    hover(top);
    ASSERT_EQ(frame.dragMode(), TGHandle::dmTop);
    drag(top, QPoint(top.x(), 199));
    EXPECT_EQ(p->Height(), 1);
    EXPECT_EQ(p->Top() + p->Height(), 80);
}

TEST_F(HandleTest, DragsAreClampedToTheSurface)
{
    TGGraphicControl *o = add(100, 100, 20, 20);
    surface.addToSelection(o);
    drag(QPoint(110, 110), QPoint(-50, -70));
    // The pointer stops at (0, 0): the press point moved by (-110, -110).
    EXPECT_EQ(o->BoundsRect().topLeft(), QPoint(-10, -10));
}

TEST_F(HandleTest, AQuickClickNeverMovesEvenWhenTheMouseMoved)
{
    TGGraphicControl *o = add(20, 20, 40, 30);
    surface.addToSelection(o);
    now += 1000;
    drag(QPoint(30, 30), QPoint(34, 33), 100);
    EXPECT_EQ(o->BoundsRect(), QRect(20, 20, 40, 30));
    drag(QPoint(30, 30), QPoint(34, 33), 150);
    EXPECT_EQ(o->BoundsRect(), QRect(24, 23, 40, 30));
}

TEST_F(HandleTest, APressThatSelectsStartsTheDragOnceTheButtonIsHeld)
{
    TGGraphicControl *o = add(20, 20, 40, 30);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30)); // selects: the object's press
    ASSERT_EQ(surface.selection().size(), 1);
    EXPECT_TRUE(frame.hasCapture());
    now += 5;
    surface.MouseMove(Qt::NoModifier, QPoint(31, 30), Qt::LeftButton);
    EXPECT_FALSE(frame.isDragging()) << "not within 10 ms";
    now += 10;
    surface.MouseMove(Qt::NoModifier, QPoint(32, 30), Qt::LeftButton);
    EXPECT_TRUE(frame.isDragging());
    EXPECT_FALSE(frame.feedback().isNull());
    now += 300;
    surface.MouseMove(Qt::NoModifier, QPoint(52, 40), Qt::LeftButton);
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(52, 40));
    // From where the drag started, not from the press.
    EXPECT_EQ(o->BoundsRect().topLeft(), QPoint(40, 30));
    EXPECT_TRUE(frame.feedback().isNull());
    EXPECT_FALSE(frame.hasCapture());
}

TEST_F(HandleTest, LockedObjectsStayWhileTheFrameMovesAndTheRefitComesLater)
{
    TGGraphicControl *a = add(20, 20, 20, 20);
    TGGraphicControl *b = add(60, 20, 20, 20);
    b->setLocked(true);
    surface.addToSelection(a);
    surface.addToSelection(b);
    const QRect before = frame.bounds();
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    now += 300;
    surface.MouseMove(Qt::NoModifier, QPoint(30, 80), Qt::LeftButton);
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(30, 80));
    EXPECT_EQ(a->BoundsRect().topLeft(), QPoint(20, 70));
    EXPECT_EQ(b->BoundsRect().topLeft(), QPoint(60, 20));
    EXPECT_EQ(frame.bounds(), before.translated(0, 50)) << "the frame follows the pointer";
    ASSERT_TRUE(surface.hasPosted()) << "the refit waits for the event loop";
    surface.DeliverPosted();
    EXPECT_EQ(frame.bounds(), QRect(18, 18, 66, 76));
}

TEST_F(HandleTest, GridSizeAndSnapToGridInterplay)
{
    ASSERT_FALSE(surface.SnapToGrid());
    EXPECT_EQ(frame.GridX(), 1);
    surface.setGridSize(gs4x4);
    EXPECT_EQ(frame.GridX(), 4) << "a new grid size activates snapping";
    EXPECT_EQ(frame.GridY(), 4);
    surface.setSnapToGrid(false);
    EXPECT_EQ(frame.GridX(), 4) << "no change of the value, no effect";
    surface.setSnapToGrid(true);
    surface.setSnapToGrid(false);
    EXPECT_EQ(frame.GridX(), 1);
    EXPECT_FALSE(frame.SnapToGrid());
    surface.setGridSize(gs8x8);
    surface.setSnapToGrid(true);
    EXPECT_EQ(frame.GridX(), 8);
}

TEST_F(HandleTest, ShiftArrowsResizeDownToACountedTenAndArrowsStayOnTheSurface)
{
    TGGraphicControl *o = add(0, 0, 20, 15);
    surface.addToSelection(o);
    for (int i = 0; i < 30; ++i) {
        key(Qt::Key_Left, Qt::ShiftModifier);
        key(Qt::Key_Up, Qt::ShiftModifier);
    }
    // Counted as right - left + 1 with right = Left + Width.
    EXPECT_EQ(o->BoundsRect(), QRect(0, 0, 9, 9));
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    EXPECT_EQ(o->BoundsRect().topLeft(), QPoint(0, 0)) << "no move past the left and top";
    for (int i = 0; i < 400; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(o->Left() + o->Width(), 300) << "stops at the surface width";
}

TEST_F(HandleTest, TenNudgesRightAndTenLeftGiveBackTheExactBounds)
{
    TGGraphicControl *a = add(40, 40, 30, 20);
    TGGraphicControl *b = add(90, 60, 25, 35);
    surface.addToSelection(a);
    surface.addToSelection(b);
    for (int i = 0; i < 10; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(a->BoundsRect(), QRect(50, 40, 30, 20));
    for (int i = 0; i < 10; ++i)
        key(Qt::Key_Left);
    EXPECT_EQ(a->BoundsRect(), QRect(40, 40, 30, 20));
    EXPECT_EQ(b->BoundsRect(), QRect(90, 60, 25, 35));
    // Several key-downs before one key-up apply once.
    surface.KeyDown(Qt::Key_Down, Qt::NoModifier);
    surface.KeyDown(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(a->Top(), 40);
    EXPECT_FALSE(frame.feedback().isNull());
    EXPECT_TRUE(surface.KeyUp(Qt::Key_Down));
    EXPECT_EQ(a->Top(), 42);
    EXPECT_TRUE(frame.feedback().isNull());
}

TEST_F(HandleTest, MarksLieOutsideTheObjectsAndNoClipCutsThem)
{
    TGGraphicControl *o = add(20, 20, 40, 30);
    surface.addToSelection(o);
    QList<QRect> marks = frame.marksOf(o);
    ASSERT_EQ(marks.size(), 8);
    EXPECT_EQ(marks[0], QRect(18, 18, 5, 5));
    EXPECT_EQ(marks[2], QRect(57, 47, 5, 5));
    EXPECT_EQ(marks[4], QRect(38, 18, 5, 5)); // mx = 18 + 22

    QImage image(300, 200, QImage::Format_RGB32);
    {
        QPainter p(&image);
        surface.Paint(p);
    }
    EXPECT_EQ(image.pixelColor(18, 18), QColor(Qt::black)) << "outside the object's box";
    EXPECT_EQ(image.pixelColor(61, 51), QColor(Qt::black));

    surface.addToSelection(add(100, 100, 10, 10));
    EXPECT_EQ(frame.marksOf(o).size(), 4);
    {
        QPainter p(&image);
        surface.Paint(p);
    }
    EXPECT_EQ(image.pixelColor(18, 18), QColor(128, 128, 128));
}

TEST_F(HandleTest, PressesOnTheFrameByButtonAndShift)
{
    std::vector<TGGraphicControl *> menus;
    surface.ContextMenuEvent = [&](TGGraphicControl *o, const QPoint &) { menus.push_back(o); };
    TGGraphicControl *a = add(20, 20, 40, 30);
    TGGraphicControl *b = add(70, 20, 20, 20);
    surface.addToSelection(a);
    // Right button within the object's outer rectangle: its own menu.
    surface.MouseDown(Qt::RightButton, Qt::NoModifier, QPoint(19, 19));
    surface.MouseUp(Qt::RightButton, Qt::NoModifier, QPoint(19, 19));
    surface.addToSelection(b);
    // With two selected: the surface's menu.
    surface.MouseDown(Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    surface.MouseUp(Qt::RightButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(menus, (std::vector<TGGraphicControl *>{a, nullptr}));
    // Shift+press deselects what lies under the pointer and keeps the rest.
    surface.MouseDown(Qt::LeftButton, Qt::ShiftModifier, QPoint(75, 25));
    surface.MouseUp(Qt::LeftButton, Qt::ShiftModifier, QPoint(75, 25));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a});
    // A drawing tool starts its band on the surface under the frame.
    surface.setPointing(false);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_TRUE(surface.isRubberBandActive());
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(40, 40));
}

TEST_F(HandleTest, ADoubleClickCancelsTheDragAtTheNextMove)
{
    std::vector<TGGraphicControl *> menus;
    surface.ContextMenuEvent = [&](TGGraphicControl *o, const QPoint &) { menus.push_back(o); };
    TGGraphicControl *a = add(20, 20, 40, 30);
    surface.addToSelection(a);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    surface.MouseDoubleClick(QPoint(30, 30));
    EXPECT_EQ(menus, std::vector<TGGraphicControl *>{a}) << "the object's menu";
    now += 300;
    surface.MouseMove(Qt::NoModifier, QPoint(60, 60), Qt::LeftButton);
    EXPECT_FALSE(frame.isDragging());
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
    EXPECT_EQ(a->BoundsRect(), QRect(20, 20, 40, 30));
}

} // namespace
