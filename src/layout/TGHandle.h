// The selection frame of a design surface as data: the selected objects in the order they
// were added, the frame laid over them, the marks drawn around them, and the drags and arrow
// keys that move and size them, with snapping to the surface grid. Every surface owns
// exactly one; it frees only its list, never the objects. Coordinates handed to the mouse
// operations are frame coordinates (the frame's top-left corner is (0, 0)).
#pragma once

#include "TGColor.h"

#include <QList>
#include <QPoint>
#include <QRect>

class QPainter;
class TGBasePanel;
class TGGraphicControl;
enum class TGCursor;

class TGHandle
{
public:
    // The frame sits this far outside the objects on the left and top.
    static constexpr int kOutside = 2;
    // Holding the button longer than this after a press starts a drag (milliseconds).
    static constexpr qint64 kDragDelay = 10;
    // A release sooner than this after the press moves nothing (milliseconds).
    static constexpr qint64 kQuickClick = 150;
    // Frames are never narrower or lower than this.
    static constexpr int kMinimumFrame = 5;

    // Drag modes: what a drag with the left button does.
    enum DragMode {
        dmMove,
        dmTopLeft,
        dmTopRight,
        dmBottomLeft,
        dmBottomRight,
        dmTop,
        dmLeft,
        dmBottom,
        dmRight
    };

    // `surface` owns the frame and outlives it.
    explicit TGHandle(TGBasePanel *surface);

    // --- Selection.
    const QList<TGGraphicControl *> &selection() const { return m_selection; }
    int SelectedCount() const { return static_cast<int>(m_selection.size()); }
    // Requires: 0 <= index < SelectedCount().
    TGGraphicControl *Selected(int index) const { return m_selection.at(index); }
    int IndexOfSelected(const TGGraphicControl *object) const;
    // Refused for an unselectable object. Records the time of the addition, shows the frame
    // around the selection and takes the mouse.
    void AddToSelection(TGGraphicControl *object);
    void RemoveFromSelection(TGGraphicControl *object);
    void ClearSelection();
    // The frame around the selection again (grown by 2 on the left and top, 4 on the right
    // and bottom), without moving any object.
    void RefitFrame();
    void BringSelectionToFront();
    void SendSelectionToBack();

    // --- The frame: (left, top, width, height) in surface pixels.
    QRect bounds() const { return m_frame; }
    bool isVisible() const { return m_visible; }
    // Moves and sizes every unlocked selected object by the difference between `frame` and
    // the current frame, then takes `frame`. Locked objects stay where they are.
    void SetBounds(const QRect &frame);
    // True while the frame takes every mouse move, not only those over it.
    bool hasCapture() const { return m_capture; }
    void releaseCapture() { m_capture = false; }

    // --- Colours of the marks: a single selection, a multiple selection.
    TColor Color() const { return m_color; }
    void setColor(TColor colour) { m_color = colour; }
    TColor SecondaryColor() const { return m_secondaryColor; }
    void setSecondaryColor(TColor colour) { m_secondaryColor = colour; }

    // --- Grid: the active snap steps (1 = no snapping) and the remembered ones.
    int GridX() const { return m_gridX; }
    int GridY() const { return m_gridY; }
    // A step other than the remembered one becomes both the remembered and the active step.
    void SetGridX(int step);
    void SetGridY(int step);
    bool SnapToGrid() const { return m_gridX > 1 || m_gridY > 1; }
    // On: the remembered steps become active; off: the active steps become 1.
    void SetSnapToGrid(bool on);
    // The grid multiple at or below `v`, the division truncating toward zero.
    int snapX(int v) const { return m_gridX * (v / m_gridX); }
    int snapY(int v) const { return m_gridY * (v / m_gridY); }

    // --- Dragging.
    int dragMode() const { return m_dragMode; }
    bool isDragging() const { return m_dragging; }
    // The frame a drag to frame point `point` would give, from the press point. No object
    // is left narrower or lower than 1 pixel, and a left or top handle holds the opposite edge.
    QRect wouldBeBounds(const QPoint &point) const;

    // --- Mouse, in frame coordinates.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, const QPoint &point);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void MouseDoubleClick(const QPoint &point);

    // --- Keys. An arrow key-down moves (or with Shift and a single selection sizes) the
    // outline by a pixel; the key-up that follows applies the whole change in one step.
    // Answers whether the key was taken.
    bool KeyDown(int key, Qt::KeyboardModifiers shift);
    // Answers whether a nudge ended (and so the objects may have moved).
    bool KeyUp(int key);
    bool isNudging() const { return m_nudging; }

    // The outline the user sees during a drag or a nudge, in surface pixels; null when none.
    QRect feedback() const { return m_feedback; }
    // The marks of every selected object, on the surface's canvas.
    void PaintMarks(QPainter &painter) const;
    // The squares `PaintMarks` fills around `object`.
    QList<QRect> marksOf(const TGGraphicControl *object) const;

private:
    void hide();
    QPoint clampToSurface(const QPoint &point) const;
    void setFeedback(const QRect &frame);
    void passPress(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void passRelease(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void setCursor(TGCursor cursor);

    TGBasePanel *m_surface;
    QList<TGGraphicControl *> m_selection;
    QRect m_frame{0, 0, 24, 24};
    bool m_visible = false;
    bool m_capture = false;
    TColor m_color = TGColor::clBlack;
    TColor m_secondaryColor = TGColor::clGray;
    int m_gridX = 1;
    int m_gridY = 1;
    int m_rememberedX = 8;
    int m_rememberedY = 8;
    int m_dragMode = dmMove;
    QPoint m_press;
    bool m_dragging = false;
    qint64 m_pressTime = 0;
    bool m_doubleClickSeen = false;
    QRect m_feedback;
    // Edges as the objects' bounds give them: right = `Left` + `Width`.
    struct Edges {
        int left = 0, top = 0, right = 0, bottom = 0;
    };
    Edges unionEdges() const;
    bool m_nudging = false;
    Edges m_nudgeStart; // the union when the nudge began
    Edges m_nudge;      // the outline now
};
