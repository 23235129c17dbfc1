// The widget that shows a design surface: paints it, hands it the mouse and shows the cursor
// it asks for. The window that owns the surface creates the widget beside it; the surface
// must outlive the widget.
#pragma once

#include <QWidget>

class TGBasePanel;

class TGSurfaceWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TGSurfaceWidget(TGBasePanel *surface, QWidget *parent = nullptr);
    ~TGSurfaceWidget() override;

    TGBasePanel *surface() const { return m_surface; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void followSurface();

    TGBasePanel *m_surface;
};
