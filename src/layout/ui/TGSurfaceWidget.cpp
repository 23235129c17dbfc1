#include "TGSurfaceWidget.h"

#include "TGBasePanel.h"

#include <QMouseEvent>
#include <QPainter>

TGSurfaceWidget::TGSurfaceWidget(TGBasePanel *surface, QWidget *parent) : QWidget(parent), m_surface(surface)
{
    setMouseTracking(true);
    // A surface takes all keys.
    setFocusPolicy(Qt::StrongFocus);
    m_surface->InvalidateEvent = [this] { update(); };
    followSurface();
}

TGSurfaceWidget::~TGSurfaceWidget()
{
    m_surface->InvalidateEvent = nullptr;
}

QSize TGSurfaceWidget::sizeHint() const
{
    return QSize(m_surface->Width(), m_surface->Height());
}

void TGSurfaceWidget::followSurface()
{
    if (size() != sizeHint())
        resize(sizeHint());
    switch (m_surface->cursor()) {
    case TGCursor::Default:
        unsetCursor();
        break;
    case TGCursor::HandPoint:
        setCursor(Qt::PointingHandCursor);
        break;
    case TGCursor::HandGrab:
        setCursor(Qt::ClosedHandCursor);
        break;
    case TGCursor::Drag:
        setCursor(Qt::DragMoveCursor);
        break;
    }
}

void TGSurfaceWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_surface->Paint(painter);
}

void TGSurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    m_surface->MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    followSurface();
}

void TGSurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    m_surface->MouseMove(event->modifiers(), event->position().toPoint());
    followSurface();
}

void TGSurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_surface->MouseUp(event->button(), event->modifiers(), event->position().toPoint());
    followSurface();
}

void TGSurfaceWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_surface->MouseDoubleClick(event->position().toPoint());
    followSurface();
}
