// The surface widget: paints the surface and routes real mouse input and keys to it, opens
// the context menus and runs their commands.
#include "TGSurfaceWidget.h"
#include "LayoutTestSupport.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"
#include "TGPLabel.h"
#include "TempDir.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace {

class WidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        freshRegistry({TGSurfaceKind::Label});
        surface.setSize(300, 200);
        surface.setProgramFolder(QString::fromStdString(dir.path()));
        a = add(20, 20, 40, 30);
        b = add(100, 20, 30, 20);
        surface.WireAllObjects();
        widget.show();
        widget.setFocus();
    }
    TGGraphicControl *add(int left, int top, int width, int height)
    {
        TGGraphicControl *o = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
        o->SetBounds(left, top, width, height);
        o->Loaded();
        return o;
    }
    // Lets queued calls (the frame's refit, a menu's command) run.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    // Opens a menu with a right click at `point` and, once it shows, hands it to `use`.
    void withMenuAt(QPoint point, const std::function<void(QMenu *)> &use)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            seen = true;
            use(menu);
            if (menu->isVisible())
                menu->close();
        });
        QTest::mouseClick(&widget, Qt::RightButton, Qt::NoModifier, point);
        EXPECT_TRUE(seen);
        settle();
    }
    static QAction *action(QMenu *menu, const char *text)
    {
        for (QAction *act : menu->actions())
            if (act->text() == QLatin1String(text))
                return act;
        return nullptr;
    }
    // Chooses `text` with the keyboard, as a user does.
    static void choose(QMenu *menu, const char *text)
    {
        QAction *act = action(menu, text);
        ASSERT_NE(act, nullptr) << text;
        menu->setActiveAction(act);
        QTest::keyClick(menu, Qt::Key_Return);
    }

    TempDir dir;
    TGOwner owner;
    TGDataPanel surface{&owner, 96};
    TGGraphicControl *a = nullptr;
    TGGraphicControl *b = nullptr;
    TGSurfaceWidget widget{&surface};
};

TEST_F(WidgetTest, ClickSelectsShiftClickAddsAndTheBandSelectsAgain)
{
    EXPECT_EQ(widget.size(), QSize(300, 200));
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a});
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ShiftModifier, QPoint(110, 30));
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{a, b}));
    // A band on the empty surface around b alone.
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(90, 5));
    QTest::mouseMove(&widget, QPoint(150, 60));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{b});

    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 100), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(20, 20), QColor(Qt::black)); // a's outline
    EXPECT_EQ(shown.pixelColor(98, 18), QColor(Qt::black)); // b's mark, outside its box
}

TEST_F(WidgetTest, PressHoldAndDragMovesAndTheFrameRefitsAfterwards)
{
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    QTest::mouseMove(&widget, QPoint(30, 30), 20); // held past the 10 ms: the drag starts here
    QTest::mouseMove(&widget, QPoint(60, 50), 200);
    EXPECT_EQ(a->BoundsRect().topLeft(), QPoint(20, 20)) << "only the outline moves during the drag";
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(60, 50), 20);
    EXPECT_EQ(a->BoundsRect(), QRect(50, 40, 40, 30));
    EXPECT_TRUE(surface.hasPosted());
    settle();
    EXPECT_EQ(surface.handle().bounds(), QRect(48, 38, 46, 36));
    EXPECT_EQ(surface.undoStack().undoText(), QStringLiteral("Move"));
}

TEST_F(WidgetTest, HoverOverTheRightHandleShowsItsCursorAndDragsTheWidth)
{
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    const QPoint handle(18 + 44, 18 + 17);
    // A move with the button up, as the window system delivers it.
    QMouseEvent hover(QEvent::MouseMove, handle, widget.mapToGlobal(handle), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &hover);
    EXPECT_EQ(widget.cursor().shape(), Qt::SizeHorCursor);
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, handle, 500);
    QTest::mouseMove(&widget, handle + QPoint(12, 0), 200);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, handle + QPoint(12, 0), 20);
    EXPECT_EQ(a->BoundsRect(), QRect(20, 20, 51, 30));
}

TEST_F(WidgetTest, AQuickClickOnTheSelectionNeverMovesIt)
{
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30), 500);
    QTest::mouseMove(&widget, QPoint(34, 33), 30);
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(34, 33), 30);
    EXPECT_EQ(a->BoundsRect(), QRect(20, 20, 40, 30));
    EXPECT_EQ(surface.undoStack().count(), 0);
}

TEST_F(WidgetTest, ArrowKeysNudgeAndTheirUndoIsOneStep)
{
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ShiftModifier, QPoint(110, 30));
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(&widget, Qt::Key_Right);
        settle();
    }
    EXPECT_EQ(a->BoundsRect(), QRect(30, 20, 40, 30));
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(&widget, Qt::Key_Left);
        settle();
    }
    EXPECT_EQ(a->BoundsRect(), QRect(20, 20, 40, 30));
    EXPECT_EQ(b->BoundsRect(), QRect(100, 20, 30, 20));

    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 150), 500); // clears
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(110, 30), 500);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&widget, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(b->Width(), 9) << "stops at a counted width of 10";
    QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(surface.objects()[1]->Width(), 30) << "the run of nudges is one step";
    QTest::keyClick(&widget, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(surface.objects()[1]->Width(), 9);
    QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(surface.objects()[1]->Width(), 9);
}

TEST_F(WidgetTest, ClipboardKeysCopyPasteAndDelete)
{
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    QTest::keyClick(&widget, Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(QFile::exists(surface.clipboardFile()));
    QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(surface.objects().size(), 3u) << "the second paste within a second is dropped";
    EXPECT_EQ(surface.objects().back()->BoundsRect(), QRect(35, 35, 40, 30));
    QTest::keyClick(&widget, Qt::Key_Delete);
    EXPECT_EQ(surface.objects().size(), 2u);
    EXPECT_FALSE(surface.isSelected(surface.objects()[0]));
    QTest::keyClick(&widget, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(surface.objects().size(), 2u) << "nothing selected, nothing cut";
}

TEST_F(WidgetTest, ADamagedClipboardFileIsReported)
{
    {
        QFile f(surface.clipboardFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x01TPF0\x08TGLabelS");
    }
    QString caption;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        box->accept();
    });
    QTest::keyClick(&widget, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(caption, QStringLiteral("Information"));
    EXPECT_EQ(surface.objects().size(), 2u);
}

TEST_F(WidgetTest, DeleteFromTheObjectsMenuFreesItOnlyAfterTheMenuHasGone)
{
    std::vector<bool> menuOpenAtChange;
    surface.LabelChangedEvent = [&](TGBasePanel *) { menuOpenAtChange.push_back(widget.isMenuOpen()); };
    withMenuAt(QPoint(110, 30), [](QMenu *menu) {
        QStringList items;
        for (QAction *act : menu->actions())
            items << (act->isSeparator() ? QStringLiteral("-") : act->text());
        // The common items first; the shape's own items follow them.
        EXPECT_EQ(items.mid(0, 13),
                  (QStringList{"Bring To Front", "Send To Back", "Cut", "Copy", "Delete", "Clone", "-",
                               "Locked", "Unselectable", "-", "Center Vertically", "Center Horizontally", "-"}));
        EXPECT_EQ(items.value(13), QStringLiteral("Background Color"));
        choose(menu, "Delete");
    });
    ASSERT_EQ(surface.objects().size(), 1u);
    EXPECT_EQ(surface.objects()[0], a);
    ASSERT_FALSE(menuOpenAtChange.empty());
    for (bool open : menuOpenAtChange)
        EXPECT_FALSE(open);
    QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(surface.objects().size(), 2u);
}

TEST_F(WidgetTest, TheSurfaceMenuEnablesItsItemsAndRunsThem)
{
    withMenuAt(QPoint(200, 150), [](QMenu *menu) {
        EXPECT_FALSE(action(menu, "Cut")->isEnabled());
        EXPECT_FALSE(action(menu, "Paste")->isEnabled()) << "no clipboard file";
        EXPECT_FALSE(action(menu, "Align Left")->isEnabled());
        EXPECT_TRUE(action(menu, "Lock All")->isEnabled());
        EXPECT_FALSE(action(menu, "Undo")->isEnabled());
        choose(menu, "Select All");
    });
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{a, b}));
    withMenuAt(QPoint(200, 150), [](QMenu *menu) { choose(menu, "Align Tops"); });
    EXPECT_EQ(b->Top(), 20);
    withMenuAt(QPoint(200, 150), [](QMenu *menu) { choose(menu, "Align Bottoms"); });
    EXPECT_EQ(b->Top() + b->Height(), 50);
    withMenuAt(QPoint(200, 150), [](QMenu *menu) {
        EXPECT_TRUE(action(menu, "Undo")->isEnabled());
        choose(menu, "Undo");
    });
    EXPECT_EQ(surface.objects()[1]->Top(), 20);
}

TEST_F(WidgetTest, AClassItemOfTheObjectsMenuIsOneUndoStep)
{
    auto *text = static_cast<TGPLabel *>(surface.insertObject(std::make_unique<TGPLabel>(&owner)));
    text->SetBounds(150, 100, 80, 20);
    text->Loaded();
    surface.WireObject(text);
    const bool transparent = text->Transparent();
    withMenuAt(QPoint(160, 105), [](QMenu *menu) { choose(menu, "Transparent"); });
    EXPECT_NE(text->Transparent(), transparent);
    EXPECT_EQ(surface.undoStack().undoText(), QStringLiteral("Transparent"));
    QTest::keyClick(&widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(static_cast<TGPLabel *>(surface.objects().back())->Transparent(), transparent);
}

TEST_F(WidgetTest, PageKeysScrollTheDesignAreaAndKeypadKeysAskForZoom)
{
    QScrollArea area;
    area.resize(150, 100);
    surface.setSize(300, 900);
    widget.setParent(nullptr);
    area.setWidget(&widget);
    area.show();
    widget.setFocus();
    QScrollBar *bar = area.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::keyClick(&widget, Qt::Key_PageDown);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(&widget, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    QTest::keyClick(&widget, Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
    int zoomIn = 0, zoomOut = 0;
    QObject::connect(&widget, &TGSurfaceWidget::zoomInRequested, [&] { ++zoomIn; });
    QObject::connect(&widget, &TGSurfaceWidget::zoomOutRequested, [&] { ++zoomOut; });
    QTest::keyClick(&widget, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(&widget, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(&widget, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(zoomIn, 1);
    EXPECT_EQ(zoomOut, 2);
    area.takeWidget();
}

} // namespace
