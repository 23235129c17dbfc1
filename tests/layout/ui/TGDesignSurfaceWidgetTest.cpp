// The drawing surfaces in their widget, driven with the mouse and keys as a user does: a
// click with the counter tool, a refused tool in a report band, the graphic and multi-line
// objects' own menu items, and the designer's host zooming with the keypad.
#include "LayoutTestSupport.h"
#include "TGCounterLabel.h"
#include "TGDesignerSurface.h"
#include "TGLabelPanel.h"
#include "TGLabelShapes.h"
#include "TGLineShape.h"
#include "TGMultiLineLabel.h"
#include "TGOwner.h"
#include "TGSurfaceWidget.h"
#include "TReportPanel.h"
#include "TempDir.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Right-clicks `point` on `widget` and hands the menu, once it shows, to `use`.
void withMenuAt(QWidget &widget, QPoint point, const std::function<void(QMenu *)> &use)
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

QAction *action(QMenu *menu, const QString &text)
{
    for (QAction *act : menu->actions())
        if (act->text() == text)
            return act;
    return nullptr;
}

// Chooses `text` with the keyboard.
void choose(QMenu *menu, const QString &text)
{
    QAction *act = action(menu, text);
    ASSERT_NE(act, nullptr) << text.toStdString();
    menu->setActiveAction(act);
    QTest::keyClick(menu, Qt::Key_Return);
}

struct LabelSurface {
    TempDir dir;
    TGOwner owner;
    TGLabelPanel surface{&owner, 96};
    TGSurfaceWidget widget{&surface};
    LabelSurface()
    {
        surface.setSize(400, 250);
        surface.setProgramFolder(QString::fromStdString(dir.path()));
        widget.show();
        widget.setFocus();
    }
};

TEST(TGDesignSurfaceWidget, ClickWithTheCounterToolPlacesACounterThatFitsItsNumber)
{
    LabelSurface s;
    s.surface.setPanelState(TGLabelPanel::psCounterLabel);
    QTest::mouseClick(&s.widget, Qt::LeftButton, Qt::NoModifier, QPoint(30, 40));
    settle();
    ASSERT_EQ(s.surface.objects().size(), 1u);
    auto *counter = dynamic_cast<TGCounterLabel *>(s.surface.objects()[0]);
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->Caption(), QStringLiteral("1000"));
    EXPECT_EQ(counter->Left(), 30);
    EXPECT_EQ(counter->Top(), 40);
    EXPECT_GE(counter->Width(), 50);
    // The drawing is one step to undo.
    ASSERT_TRUE(s.surface.undoStack().canUndo());
    QTest::keyClick(&s.widget, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(s.surface.objects().empty());
}

TEST(TGDesignSurfaceWidget, ARefusedToolInAReportBandShowsItsMessage)
{
    freshRegistry({});
    TGOwner owner;
    TReportPanel band(&owner, 96);
    band.setSize(500, 100);
    band.PAnelKind = TReportPanel::rpkHeader;
    TGSurfaceWidget widget(&band);
    widget.show();
    band.setPanelState(TReportPanel::psDataLabel);
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(&widget, QPoint(120, 40));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(120, 40));
    settle();
    EXPECT_EQ(shown, QStringLiteral("This object may only be used in the detail band"));
    EXPECT_TRUE(band.objects().empty());
    // The surface registered its classes with the layout stream when it was created.
    EXPECT_TRUE(TGClassRegistry::isRegistered("Trpshapes"));
}

TEST(TGDesignSurfaceWidget, ShapeAndLineMenusChangeTheObject)
{
    LabelSurface s;
    s.surface.setPanelState(TGLabelPanel::psRoundRectangle);
    QTest::mousePress(&s.widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseMove(&s.widget, QPoint(120, 60));
    QTest::mouseRelease(&s.widget, Qt::LeftButton, Qt::NoModifier, QPoint(120, 60));
    s.surface.setPanelState(TGLabelPanel::psLine);
    QTest::mousePress(&s.widget, Qt::LeftButton, Qt::NoModifier, QPoint(200, 20));
    QTest::mouseMove(&s.widget, QPoint(260, 120));
    QTest::mouseRelease(&s.widget, Qt::LeftButton, Qt::NoModifier, QPoint(260, 120));
    s.surface.setPanelState(TGLabelPanel::psPointing);
    settle();
    ASSERT_EQ(s.surface.objects().size(), 2u);
    auto *shape = static_cast<TGLabelShapes *>(s.surface.objects()[0]);
    auto *line = static_cast<TGLineShape *>(s.surface.objects()[1]);

    withMenuAt(s.widget, QPoint(60, 40), [](QMenu *menu) {
        QAction *rounding = action(menu, QStringLiteral("Degree of Rounding"));
        ASSERT_NE(rounding, nullptr);
        ASSERT_NE(action(menu, QStringLiteral("Line Thickness")), nullptr);
        EXPECT_EQ(action(menu, QStringLiteral("Line Thickness"))->menu()->actions().size(), 10);
        choose(menu, QStringLiteral("Transparent"));
    });
    settle();
    EXPECT_TRUE(shape->Transparent());
    EXPECT_EQ(shape->Brush.style, bsClear);

    withMenuAt(s.widget, QPoint(201, 60), [](QMenu *menu) { choose(menu, QStringLiteral("Stretch To Edges")); });
    settle();
    EXPECT_EQ(line->LineStyle, stVertical);
    EXPECT_EQ(line->Top(), 0);
    EXPECT_EQ(line->Height(), 250);
}

TEST(TGDesignSurfaceWidget, MultiLineObjectsShowTheirOwnItems)
{
    LabelSurface s;
    auto *text = static_cast<TGMultiLineLabel *>(
        s.surface.insertObject(std::make_unique<TGMultiLineLabel>(&s.owner)));
    text->SetBounds(20, 20, 200, 60);
    text->Loaded();
    s.surface.WireAllObjects();
    const bool wrapping = text->WordWrap();
    withMenuAt(s.widget, QPoint(text->Left() + 5, text->Top() + 5), [](QMenu *menu) {
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << a->text();
        EXPECT_NE(action(menu, QStringLiteral("Text")), nullptr) << texts.join(QLatin1Char('|')).toStdString();
        choose(menu, QStringLiteral("Word Wrap"));
    });
    EXPECT_NE(text->WordWrap(), wrapping);
}

TEST(TGDesignSurfaceWidget, TheDesignerHostZoomsWithTheKeypadAndSharesTheUndoStack)
{
    TempDir dir;
    TGOwner owner;
    TGLabelPanel surface(&owner, 96);
    surface.setSize(400, 200);
    TGDesignerSurface host(&surface);
    host.resize(300, 200);
    host.show();
    EXPECT_EQ(&host.undoStack(), &surface.undoStack());
    host.surfaceWidget()->setFocus();
    QTest::keyClick(host.surfaceWidget(), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_FLOAT_EQ(host.zoom(), 1.5f);
    EXPECT_EQ(surface.Width(), 600);
    EXPECT_EQ(host.surfaceWidget()->width(), 600);
    QTest::keyClick(host.surfaceWidget(), Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(host.surfaceWidget(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_FLOAT_EQ(host.zoom(), 0.75f);
    EXPECT_EQ(surface.Width(), 300);
}

} // namespace
