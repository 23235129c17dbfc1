// The surface widget: paints the surface and routes real mouse input to it.
#include "TGSurfaceWidget.h"
#include "TGDataPanel.h"
#include "TGLabelShapes.h"
#include "TGOwner.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(TGSurfaceWidget, ClickSelectsShiftClickAddsAndTheBandSelectsAgain)
{
    TGOwner owner;
    TGDataPanel surface(&owner, 96);
    surface.setSize(200, 100);
    auto *a = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
    a->SetBounds(10, 10, 30, 20);
    auto *b = surface.insertObject(std::make_unique<TGLabelShapes>(&owner));
    b->SetBounds(100, 10, 30, 20);
    surface.WireAllObjects();
    TGSurfaceWidget widget(&surface);
    widget.show();
    EXPECT_EQ(widget.size(), QSize(200, 100));

    QTest::mouseClick(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{a});
    QTest::mouseClick(&widget, Qt::LeftButton, Qt::ShiftModifier, QPoint(110, 20));
    EXPECT_EQ(surface.selection(), (QList<TGGraphicControl *>{a, b}));
    // A band on the empty surface around b alone.
    QTest::mousePress(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(90, 5));
    QTest::mouseMove(&widget, QPoint(150, 60));
    QTest::mouseRelease(&widget, Qt::LeftButton, Qt::NoModifier, QPoint(150, 60));
    EXPECT_EQ(surface.selection(), QList<TGGraphicControl *>{b});

    const QImage shown = widget.grab().toImage();
    EXPECT_EQ(shown.pixelColor(60, 60), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::black)); // a's outline
}

} // namespace
