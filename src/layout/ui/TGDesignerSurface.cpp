#include "TGDesignerSurface.h"

#include "TGBasePanel.h"
#include "TGSurfaceWidget.h"

#include <QUndoStack>

#include <algorithm>
#include <iterator>

namespace {
const float kZoomSteps[] = {0.25f, 0.5f, 0.75f, 1.0f, 1.5f, 2.0f, 3.0f, 4.0f};
}

TGDesignerSurface::TGDesignerSurface(TGBasePanel *surface, QWidget *parent)
    : QScrollArea(parent), m_surface(surface), m_widget(new TGSurfaceWidget(surface))
{
    setWidget(m_widget);
    setWidgetResizable(false);
    setBackgroundRole(QPalette::Dark);
    connect(m_widget, &TGSurfaceWidget::zoomInRequested, this, &TGDesignerSurface::zoomIn);
    connect(m_widget, &TGSurfaceWidget::zoomOutRequested, this, &TGDesignerSurface::zoomOut);
}

QUndoStack &TGDesignerSurface::undoStack() const
{
    return m_surface->undoStack();
}

float TGDesignerSurface::zoom() const
{
    return m_surface->ScaleFactor();
}

void TGDesignerSurface::setZoom(float factor)
{
    factor = std::clamp(factor, 0.25f, 4.0f);
    if (factor == m_surface->ScaleFactor())
        return;
    m_surface->SetScale(factor);
    m_widget->resize(m_widget->sizeHint());
    m_widget->update();
    emit zoomChanged(factor);
}

void TGDesignerSurface::zoomIn()
{
    const float current = zoom();
    for (float step : kZoomSteps)
        if (step > current) {
            setZoom(step);
            return;
        }
}

void TGDesignerSurface::zoomOut()
{
    const float current = zoom();
    for (auto it = std::rbegin(kZoomSteps); it != std::rend(kZoomSteps); ++it)
        if (*it < current) {
            setZoom(*it);
            return;
        }
}
