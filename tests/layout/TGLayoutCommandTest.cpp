// Undo and redo of the designers' edits: one step per edit, nudges merged, and a run of
// mixed edits undone gives back the layout's bytes exactly.
#include "TGLayoutCommand.h"
#include "LayoutTestSupport.h"
#include "TGBasePanel.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TempDir.h"

#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

// A surface whose drawing tool makes text objects, as the concrete surfaces do.
class ToolSurface : public TGDataPanel
{
public:
    using TGDataPanel::TGDataPanel;
    void CreateObject(const QRect &rect) override
    {
        QRect r = rect;
        if (r.width() < 25)
            r.setWidth(50);
        if (r.height() < 15)
            r.setHeight(15);
        PlaceNewObject(std::make_unique<TGPLabel>(owner()), r);
    }
};

class UndoTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(300, 200);
        surface.setProgramFolder(QString::fromStdString(dir.path()));
        surface.TickCountSource = [this] { return now; };
        surface.LabelChangedEvent = [this](TGBasePanel *) { ++changes; };
        // A layout as if loaded: two shapes and a text.
        for (QRect r : {QRect(20, 20, 40, 30), QRect(100, 40, 30, 30)}) {
            TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
            o->setName(surface.UniqueName(QStringLiteral("Component")));
            o->SetBounds(r.left(), r.top(), r.width(), r.height());
            o->Loaded();
        }
        surface.WireAllObjects();
    }
    TGGraphicControl *at(std::size_t i) { return surface.objects().at(i); }
    void key(int k, Qt::KeyboardModifiers shift = Qt::NoModifier)
    {
        surface.KeyDown(k, shift);
        surface.KeyUp(k);
        surface.DeliverPosted();
    }
    // A press that selects, a hold that starts the drag, a move and the release.
    void drag(QPoint from, QPoint to)
    {
        surface.MouseDown(Qt::LeftButton, Qt::NoModifier, from);
        now += 20;
        surface.MouseMove(Qt::NoModifier, from, Qt::LeftButton);
        now += 200;
        surface.MouseMove(Qt::NoModifier, to, Qt::LeftButton);
        now += 200;
        surface.MouseUp(Qt::LeftButton, Qt::NoModifier, to);
        surface.DeliverPosted();
    }

    TempDir dir;
    qint64 now = 10000;
    int changes = 0;
    TGOwner owner;
    ToolSurface surface{&owner, 96};
    QUndoStack &stack = surface.undoStack();
};

TEST_F(UndoTest, AMixedRunUndoneGivesBackTheBytesAndRedoneTheEdits)
{
    const QByteArray original = surface.layoutBytes();
    std::vector<QByteArray> states{original};
    auto step = [&] {
        states.push_back(surface.layoutBytes());
        EXPECT_EQ(stack.count(), static_cast<int>(states.size()) - 1) << "one step per edit";
    };

    drag(QPoint(30, 30), QPoint(50, 45)); // select by press and move
    step();
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Down, Qt::ShiftModifier);
    // The nudges merged: one step for the run.
    step();
    surface.addToSelection(at(1));
    surface.AlignTops();
    step();
    surface.ToggleLocked(at(0));
    step();
    surface.setPointing(false); // draw a text object
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(200, 150));
    surface.setPointing(true);
    ASSERT_EQ(surface.objects().size(), 3u);
    step();
    surface.clearSelection();
    surface.addToSelection(at(2));
    TGFont font(QStringLiteral("Arial"), 18);
    surface.ApplyFontToSelection(font);
    step();
    ASSERT_TRUE(surface.EditSelection(TEditKind::Cut));
    step();
    ASSERT_TRUE(surface.EditSelection(TEditKind::Paste));
    step();
    ASSERT_TRUE(surface.Clone(at(0)));
    step();
    surface.SelectAll();
    surface.MakeUnselectable(at(1));
    step();
    ASSERT_TRUE(surface.EditSelection(TEditKind::Delete));
    step();

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(stack.canUndo());
        stack.undo();
        ASSERT_EQ(surface.layoutBytes(), states[i - 1])
            << "after undoing step " << i << " " << stack.text(int(i) - 1).toStdString();
    }
    EXPECT_EQ(surface.layoutBytes(), original);
    EXPECT_FALSE(stack.canUndo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        stack.redo();
        ASSERT_EQ(surface.layoutBytes(), states[i]) << "after redoing step " << i;
    }
}

TEST_F(UndoTest, UndoPutsTheSelectionBackAndMarksTheLayoutChanged)
{
    surface.addToSelection(at(0));
    surface.addToSelection(at(1));
    surface.AlignLeft();
    surface.clearSelection();
    changes = 0;
    stack.undo();
    EXPECT_EQ(at(1)->Left(), 100);
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{at(0), at(1)}));
    EXPECT_GE(changes, 1);
    EXPECT_EQ(stack.undoText(), QString());
    EXPECT_EQ(stack.redoText(), QStringLiteral("Align Left"));
}

TEST_F(UndoTest, EditsThatChangeNothingLeaveNoStep)
{
    surface.addToSelection(at(0));
    surface.AlignLeft(); // a single object stays
    key(Qt::Key_Up, Qt::ShiftModifier);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30)); // a click
    surface.SelectAll();
    EXPECT_EQ(stack.count(), 1) << "only the Shift+Up that shrank the object";
}

TEST_F(UndoTest, LoadingOrSavingClearsTheStack)
{
    surface.addToSelection(at(0));
    key(Qt::Key_Down);
    ASSERT_EQ(stack.count(), 1);
    const QString file = QString::fromStdString(dir.file("BIN00001.L"));
    ASSERT_TRUE(surface.SaveToFile(file));
    EXPECT_EQ(stack.count(), 0);
    key(Qt::Key_Down);
    ASSERT_EQ(stack.count(), 1);
    surface.ClearObjects();
    ASSERT_TRUE(surface.LoadFromFile(file));
    EXPECT_EQ(stack.count(), 0);
}

TEST_F(UndoTest, UndoAtAnotherZoomRestoresTheGeometryForIt)
{
    surface.addToSelection(at(0));
    key(Qt::Key_Right);
    surface.SetScale(1.5f);
    stack.undo();
    EXPECT_EQ(at(0)->BoundsRect(), QRect(30, 30, 60, 45));
    surface.SetScale(1.0f);
    EXPECT_EQ(at(0)->BoundsRect(), QRect(20, 20, 40, 30));
}

} // namespace
