// The widget that shows a design surface: paints it, hands it the mouse and the keys, shows
// the cursor it asks for, and opens the objects' and the surface's context menus. The window
// that owns the surface creates the widget beside it; the surface must outlive the widget.
#pragma once

#include <QWidget>

class TGBasePanel;
class TGGraphicControl;
struct TResult;

class TGSurfaceWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TGSurfaceWidget(TGBasePanel *surface, QWidget *parent = nullptr);
    ~TGSurfaceWidget() override;

    TGBasePanel *surface() const { return m_surface; }
    QSize sizeHint() const override;
    // True while a context menu of the surface or of an object is open.
    bool isMenuOpen() const { return m_menuOpen; }
    // The keys that change the view rather than the layout: keypad plus and minus zoom (through
    // the signals below), Page Up and Page Down scroll the design area a step, Home and End to
    // its top and bottom. The designer windows hand them here from any control but the surface.
    // Returns false for any other key.
    bool viewKey(int key, Qt::KeyboardModifiers mods);

signals:
    // The numeric-keypad plus and minus keys: the designer zooms.
    void zoomInRequested();
    void zoomOutRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    // The surface takes every key, Tab included.
    bool focusNextPrevChild(bool) override { return false; }

private:
    void followSurface();
    // The dialog a newly drawn object opens (a TGNewObjectDialog).
    void openNewObjectDialog(TGGraphicControl *object, int which);
    void showObjectMenu(TGGraphicControl *object, const QPoint &surfacePoint);
    void showSurfaceMenu(const QPoint &surfacePoint);
    void chooseFont();
    void scrollBy(int action);
    // Shows a failure in the window's message box.
    void report(const TResult &result);

    TGBasePanel *m_surface;
    bool m_menuOpen = false;
    qint64 m_eventTime = 0; // time stamp of the mouse event being handled, 0 outside one
};
