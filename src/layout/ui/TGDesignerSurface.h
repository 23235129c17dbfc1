// What a designer window (labels, envelopes, report bands) puts in its design area: the
// surface's widget in a scroll area, with zooming and the surface's undo stack at hand for
// the window's menus and tool buttons. The window owns the surface; it must outlive this.
#pragma once

#include <QScrollArea>

class QUndoStack;
class TGBasePanel;
class TGSurfaceWidget;

class TGDesignerSurface : public QScrollArea
{
    Q_OBJECT
public:
    explicit TGDesignerSurface(TGBasePanel *surface, QWidget *parent = nullptr);

    TGBasePanel *surface() const { return m_surface; }
    TGSurfaceWidget *surfaceWidget() const { return m_widget; }
    // The surface's edits, for Undo and Redo in the window's menu.
    QUndoStack &undoStack() const;

    float zoom() const;
    // Zooms the surface (and its objects) to `factor`, between 0.25 and 4.
    void setZoom(float factor);
    // One step of the zoom ladder 25 % … 400 %.
    void zoomIn();
    void zoomOut();

signals:
    void zoomChanged(float factor);

private:
    TGBasePanel *m_surface;
    TGSurfaceWidget *m_widget;
};
