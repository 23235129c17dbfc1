// The surface's editing commands: alignment and centring, lock and selectable, select all,
// z-order, clone, and cut, copy, paste and delete through the clipboard file.
#include "LayoutTestSupport.h"
#include "TGBasePanel.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace {

class EditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(300, 200);
        surface.setProgramFolder(folder);
        surface.TickCountSource = [this] { return now; };
        surface.LabelChangedEvent = [this](TGBasePanel *) { ++changes; };
    }
    TGGraphicControl *add(int left, int top, int width, int height)
    {
        TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
        o->setName(surface.UniqueName(QStringLiteral("Special")));
        o->SetBounds(left, top, width, height);
        o->Loaded();
        surface.WireObject(o);
        return o;
    }
    QByteArray clipboardBytes()
    {
        QFile f(surface.clipboardFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TempDir dir;
    QString folder = QString::fromStdString(dir.path());
    qint64 now = 10000;
    int changes = 0;
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
};

TEST_F(EditTest, AlignmentMovesEverySelectedObjectLockedOnesToo)
{
    TGGraphicControl *a = add(40, 30, 20, 10);
    surface.addToSelection(a);
    surface.AlignLeft();
    EXPECT_EQ(a->BoundsRect(), QRect(40, 30, 20, 10)) << "one object stays where it is";

    TGGraphicControl *b = add(70, 50, 30, 25);
    TGGraphicControl *c = add(15, 80, 10, 5);
    c->setLocked(true);
    surface.addToSelection(b);
    surface.addToSelection(c);
    changes = 0;
    surface.AlignLeft();
    EXPECT_EQ(a->Left(), 15);
    EXPECT_EQ(b->Left(), 15);
    EXPECT_EQ(c->Left(), 15);
    EXPECT_GE(changes, 1);
    surface.AlignRight();
    EXPECT_EQ(b->Left() + b->Width(), 45);
    EXPECT_EQ(c->Left() + c->Width(), 45) << "a locked object moves too";
    surface.AlignTops();
    EXPECT_EQ(c->Top(), 30);
    surface.AlignBottoms();
    EXPECT_EQ(a->Top() + a->Height(), 55);
    EXPECT_EQ(c->Top() + c->Height(), 55);
}

TEST_F(EditTest, CentringIsOnTheSurfaceNotTheGroup)
{
    TGGraphicControl *a = add(10, 10, 21, 11);
    TGGraphicControl *b = add(200, 150, 40, 20);
    surface.addToSelection(a);
    surface.addToSelection(b);
    surface.CenterSelectionVertically();
    surface.CenterSelectionHorizontally();
    EXPECT_EQ(a->BoundsRect().topLeft(), QPoint(150 - 10, 100 - 5));
    EXPECT_EQ(b->BoundsRect().topLeft(), QPoint(150 - 20, 100 - 10));
}

TEST_F(EditTest, UnselectableEmptiesTheSelectionAndAClickThenStartsABand)
{
    TGGraphicControl *a = add(20, 20, 40, 30);
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    ASSERT_EQ(surface.selection().size(), 1);
    surface.MakeUnselectable(a);
    EXPECT_TRUE(surface.selection().isEmpty());
    EXPECT_TRUE(a->Unselectable());
    surface.MouseDown(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_TRUE(surface.isRubberBandActive());
    surface.MouseUp(Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_TRUE(surface.selection().isEmpty());
}

TEST_F(EditTest, LockSelectableAndSelectAll)
{
    TGGraphicControl *a = add(20, 20, 40, 30);
    TGGraphicControl *b = add(100, 20, 40, 30);
    surface.ToggleLocked(a);
    EXPECT_TRUE(a->Locked());
    surface.LockAll();
    EXPECT_TRUE(b->Locked());
    surface.UnlockAll();
    EXPECT_FALSE(a->Locked());
    EXPECT_FALSE(b->Locked());

    b->setUnselectable(true);
    surface.SelectAll();
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a}) << "unselectable objects are refused";
    surface.MarkAllSelectable();
    surface.SelectAll();
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{a, b}));
    surface.MarkAllUnselectable();
    EXPECT_TRUE(surface.selection().isEmpty());
}

TEST_F(EditTest, ZOrderCommands)
{
    TGGraphicControl *a = add(20, 20, 40, 30);
    TGGraphicControl *b = add(100, 20, 40, 30);
    TGGraphicControl *c = add(150, 20, 40, 30);
    surface.BringToFront(a);
    EXPECT_EQ(surface.objects().back(), a);
    surface.addToSelection(c);
    surface.SendToBack(b);
    EXPECT_EQ(surface.objects().front(), b);
    EXPECT_TRUE(surface.selection().isEmpty()) << "sending to the back clears the selection";
    surface.addToSelection(a);
    surface.addToSelection(b);
    surface.BringSelectionToFront();
    EXPECT_EQ(surface.objects(), (std::vector<TGGraphicControl *>{c, a, b}));
    surface.SendSelectionToBack();
    EXPECT_EQ(surface.objects(), (std::vector<TGGraphicControl *>{b, a, c}));
}

TEST_F(EditTest, CopyWithAnEmptySelectionLeavesTheOldClipboardFile)
{
    TGGraphicControl *a = add(20, 20, 40, 30);
    surface.addToSelection(a);
    ASSERT_TRUE(surface.EditSelection(TEditKind::Copy));
    const QByteArray first = clipboardBytes();
    ASSERT_FALSE(first.isEmpty());
    surface.clearSelection();
    a->setLeft(60);
    EXPECT_TRUE(surface.EditSelection(TEditKind::Copy));
    EXPECT_EQ(clipboardBytes(), first);
}

TEST_F(EditTest, PastesASecondApartGiveTwoCopiesAtTheSameOffsetOnTop)
{
    add(20, 30, 40, 30);
    surface.SelectAll();
    ASSERT_TRUE(surface.EditSelection(TEditKind::Copy));
    EXPECT_TRUE(surface.canPaste());
    add(200, 100, 10, 10); // something on top before the pastes
    ASSERT_TRUE(surface.EditSelection(TEditKind::Paste));
    now += 999;
    ASSERT_TRUE(surface.EditSelection(TEditKind::Paste));
    ASSERT_EQ(surface.objects().size(), 3u) << "a paste within a second is dropped";
    now += 1;
    ASSERT_TRUE(surface.EditSelection(TEditKind::Paste));
    ASSERT_EQ(surface.objects().size(), 4u);
    for (std::size_t i : {2u, 3u}) {
        EXPECT_EQ(surface.objects()[i]->BoundsRect(), QRect(35, 45, 40, 30));
        EXPECT_TRUE(surface.objects()[i]->isWired());
    }
    EXPECT_NE(surface.objects()[2]->Name(), surface.objects()[3]->Name());
}

TEST_F(EditTest, ADamagedClipboardFileAddsNothingAndSaysSo)
{
    add(20, 30, 40, 30);
    surface.SelectAll();
    ASSERT_TRUE(surface.EditSelection(TEditKind::Copy));
    QByteArray bytes = clipboardBytes();
    bytes.chop(6);
    {
        QFile f(surface.clipboardFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    const TResult pasted = surface.EditSelection(TEditKind::Paste);
    EXPECT_FALSE(pasted);
    EXPECT_FALSE(pasted.message.isEmpty());
    EXPECT_EQ(surface.objects().size(), 1u);
    EXPECT_EQ(surface.undoStack().count(), 0);
}

TEST_F(EditTest, ACutThatCannotWriteTheClipboardDeletesNothing)
{
    add(20, 30, 40, 30);
    surface.SelectAll();
    surface.setProgramFolder(folder + QStringLiteral("/missing/"));
    const TResult cut = surface.EditSelection(TEditKind::Cut);
    EXPECT_FALSE(cut);
    EXPECT_EQ(surface.objects().size(), 1u);
    EXPECT_EQ(surface.selection().size(), 1);
}

TEST_F(EditTest, CutDeleteAndTheObjectsOwnCommands)
{
    TGGraphicControl *a = add(20, 30, 40, 30);
    TGGraphicControl *b = add(100, 30, 40, 30);
    TGGraphicControl *c = add(200, 30, 40, 30);
    surface.addToSelection(a);
    surface.addToSelection(b);
    // On an object outside the selection, only that object.
    ASSERT_TRUE(surface.EditObject(c, TEditKind::Cut));
    EXPECT_EQ(surface.objects().size(), 2u);
    EXPECT_EQ(surface.selection().size(), 2);
    // On a selected one, the whole selection.
    changes = 0;
    ASSERT_TRUE(surface.EditObject(a, TEditKind::Delete));
    EXPECT_TRUE(surface.objects().empty());
    EXPECT_FALSE(surface.handle().isVisible());
    EXPECT_EQ(changes, 2) << "one notification per deleted object";
    ASSERT_TRUE(surface.EditSelection(TEditKind::Paste));
    ASSERT_EQ(surface.objects().size(), 1u);
    EXPECT_EQ(surface.objects()[0]->BoundsRect(), QRect(215, 45, 40, 30));
}

TEST_F(EditTest, CloneIsLowerOnTopAndTakesTheSelection)
{
    TGGraphicControl *a = add(20, 30, 40, 30);
    add(100, 30, 40, 30);
    surface.addToSelection(a);
    ASSERT_TRUE(surface.Clone(a));
    ASSERT_EQ(surface.objects().size(), 3u);
    TGGraphicControl *copy = surface.objects().back();
    EXPECT_EQ(copy->BoundsRect(), QRect(20, 55, 40, 30));
    EXPECT_TRUE(copy->Name().startsWith(QStringLiteral("Component")));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{copy});
    EXPECT_TRUE(copy->isWired());
}

TEST_F(EditTest, FontGoesToEverySelectedTextObject)
{
    auto *text = static_cast<TGPLabel *>(surface.insertObject(std::make_unique<TGPLabel>(&owner)));
    text->SetBounds(10, 10, 80, 20);
    surface.WireObject(text);
    surface.addToSelection(text);
    TGFont font = text->Font();
    font.setName(QStringLiteral("Times New Roman"));
    font.setSize(20);
    surface.ApplyFontToSelection(font);
    EXPECT_EQ(text->Font().name(), QStringLiteral("Times New Roman"));
    EXPECT_EQ(surface.Font().name(), QStringLiteral("Times New Roman"));
}

} // namespace
