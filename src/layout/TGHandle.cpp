#include "TGHandle.h"

#include "TGBasePanel.h"
#include "TGGraphicControl.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// The object's bounds grown by 2 pixels on every side: where its marks and right-click lie.
QRect outerRect(const TGGraphicControl *o)
{
    return QRect(o->Left() - TGHandle::kOutside, o->Top() - TGHandle::kOutside, o->Width() + 4,
                 o->Height() + 4);
}

bool near(int a, int b)
{
    return std::abs(a - b) < 8;
}

// Within 6 pixels of the middle of `size`, taken without rounding.
bool nearMiddle(int v, int size)
{
    return std::abs(v - size / 2.0) < 6;
}

} // namespace

TGHandle::TGHandle(TGBasePanel *surface) : m_surface(surface) {}

int TGHandle::IndexOfSelected(const TGGraphicControl *object) const
{
    for (int i = 0; i < SelectedCount(); ++i)
        if (m_selection.at(i) == object)
            return i;
    return -1;
}

TGHandle::Edges TGHandle::unionEdges() const
{
    Edges e;
    bool first = true;
    for (const TGGraphicControl *o : m_selection) {
        const int right = o->Left() + o->Width();
        const int bottom = o->Top() + o->Height();
        if (first) {
            e = {o->Left(), o->Top(), right, bottom};
            first = false;
            continue;
        }
        e.left = std::min(e.left, o->Left());
        e.top = std::min(e.top, o->Top());
        e.right = std::max(e.right, right);
        e.bottom = std::max(e.bottom, bottom);
    }
    return e;
}

void TGHandle::AddToSelection(TGGraphicControl *object)
{
    if (!object || object->Unselectable())
        return;
    m_pressTime = m_surface->tickCount();
    if (m_selection.contains(object))
        return;
    setCursor(TGCursor::HandGrab);
    if (m_selection.isEmpty()) {
        m_visible = true;
        m_feedback = QRect();
    }
    m_selection.append(object);
    // Added or removed: 2 pixels outside on the left and top, 3 on the right and bottom.
    const Edges u = unionEdges();
    m_frame = QRect(u.left - kOutside, u.top - kOutside, u.right - u.left + 5, u.bottom - u.top + 5);
    m_dragMode = dmMove;
    m_capture = true;
    m_surface->Invalidate();
}

void TGHandle::RemoveFromSelection(TGGraphicControl *object)
{
    if (!m_selection.removeOne(object))
        return;
    if (m_selection.isEmpty()) {
        hide();
    } else {
        const Edges u = unionEdges();
        m_frame = QRect(u.left - kOutside, u.top - kOutside, u.right - u.left + 5, u.bottom - u.top + 5);
    }
    m_surface->Invalidate();
}

void TGHandle::ClearSelection()
{
    const bool had = !m_selection.isEmpty();
    m_selection.clear();
    hide();
    if (had)
        m_surface->Invalidate();
}

void TGHandle::hide()
{
    m_visible = false;
    m_capture = false;
    m_dragging = false;
    m_nudging = false;
    m_pressTime = 0;
    m_frame = QRect(m_frame.left(), m_frame.top(), 24, 24);
    m_feedback = QRect();
}

void TGHandle::RefitFrame()
{
    if (m_selection.isEmpty())
        return;
    // After a move: 2 pixels outside on the left and top, 4 on the right and bottom.
    const Edges u = unionEdges();
    m_frame = QRect(u.left - kOutside, u.top - kOutside, u.right - u.left + 6, u.bottom - u.top + 6);
    m_surface->Invalidate();
}

void TGHandle::BringSelectionToFront()
{
    if (m_selection.isEmpty())
        return;
    for (TGGraphicControl *o : m_selection)
        m_surface->moveToFront(o);
    m_surface->Invalidate();
}

void TGHandle::SendSelectionToBack()
{
    if (m_selection.isEmpty())
        return;
    for (TGGraphicControl *o : m_selection)
        m_surface->moveToBack(o);
    m_surface->Invalidate();
}

void TGHandle::SetBounds(const QRect &frame)
{
    const int dL = frame.left() - m_frame.left();
    const int dT = frame.top() - m_frame.top();
    const int dW = frame.width() - m_frame.width();
    const int dH = frame.height() - m_frame.height();
    // A copy: a bounds change may reach code that changes the selection.
    const QList<TGGraphicControl *> selected = m_selection;
    for (TGGraphicControl *o : selected)
        if (!o->Locked())
            o->SetBounds(o->Left() + dL, o->Top() + dT, o->Width() + dW, o->Height() + dH);
    m_frame = frame;
    m_surface->Invalidate();
}

void TGHandle::SetGridX(int step)
{
    step = std::max(step, 1);
    if (step == m_rememberedX)
        return;
    m_rememberedX = m_gridX = step;
    m_surface->Invalidate();
}

void TGHandle::SetGridY(int step)
{
    step = std::max(step, 1);
    if (step == m_rememberedY)
        return;
    m_rememberedY = m_gridY = step;
    m_surface->Invalidate();
}

void TGHandle::SetSnapToGrid(bool on)
{
    m_gridX = on ? m_rememberedX : 1;
    m_gridY = on ? m_rememberedY : 1;
}

QRect TGHandle::wouldBeBounds(const QPoint &point) const
{
    const int x = point.x();
    const int y = point.y();
    const int L = m_frame.left();
    const int T = m_frame.top();
    const int W = m_frame.width();
    const int H = m_frame.height();
    const int x0 = m_press.x();
    const int y0 = m_press.y();
    int l = L, t = T, w = W, h = H;
    const bool leftHandle = m_dragMode == dmTopLeft || m_dragMode == dmBottomLeft || m_dragMode == dmLeft;
    const bool topHandle = m_dragMode == dmTopLeft || m_dragMode == dmTopRight || m_dragMode == dmTop;
    const bool rightHandle = m_dragMode == dmTopRight || m_dragMode == dmBottomRight || m_dragMode == dmRight;
    const bool bottomHandle =
        m_dragMode == dmBottomLeft || m_dragMode == dmBottomRight || m_dragMode == dmBottom;
    if (m_dragMode == dmMove) {
        l = snapX(x + L - x0);
        t = snapY(y + T - y0);
    }
    if (leftHandle) {
        l = snapX(x + L - x0);
        w = W + L - l;
    }
    if (topHandle) {
        t = snapY(y + T - y0);
        h = H + T - t;
    }
    if (rightHandle)
        w = snapX(x + W - x0) - 1;
    if (bottomHandle)
        h = snapY(y + H - y0) - 1;
    if (m_dragMode == dmMove)
        return QRect(l, t, w, h);

    // Each object follows the frame's change of size, so the frame may only shrink as far as
    // leaves the narrowest (lowest) unlocked object 1 pixel, and never below 5 pixels.
    int minW = kMinimumFrame;
    int minH = kMinimumFrame;
    for (const TGGraphicControl *o : m_selection) {
        if (o->Locked())
            continue;
        minW = std::max(minW, W - o->Width() + 1);
        minH = std::max(minH, H - o->Height() + 1);
    }
    if (w < minW) {
        if (leftHandle)
            l = L + W - minW; // the right edge stays
        w = minW;
    }
    if (h < minH) {
        if (topHandle)
            t = T + H - minH; // the bottom edge stays
        h = minH;
    }
    return QRect(l, t, w, h);
}

QPoint TGHandle::clampToSurface(const QPoint &point) const
{
    const QPoint onSurface = point + m_frame.topLeft();
    const QPoint clamped(std::clamp(onSurface.x(), 0, std::max(0, m_surface->Width())),
                         std::clamp(onSurface.y(), 0, std::max(0, m_surface->Height())));
    return clamped - m_frame.topLeft();
}

void TGHandle::setFeedback(const QRect &frame)
{
    // The union of the objects after the change.
    m_feedback = QRect(QPoint(frame.left() + 2, frame.top() + 2),
                       QPoint(frame.left() + frame.width() - 4, frame.top() + frame.height() - 4));
    m_surface->Invalidate();
}

void TGHandle::setCursor(TGCursor cursor)
{
    m_surface->setCursorShape(cursor);
}

void TGHandle::passPress(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    m_surface->surfaceMouseDown(button, shift, point + m_frame.topLeft());
}

void TGHandle::passRelease(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    m_surface->surfaceMouseUp(button, shift, point + m_frame.topLeft());
}

void TGHandle::MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    m_pressTime = m_surface->tickCount();
    const QPoint onSurface = point + m_frame.topLeft();
    if (button == Qt::LeftButton && m_surface->Pointing()) {
        m_press = point;
        m_dragging = true;
        m_doubleClickSeen = false;
        if (shift & Qt::ShiftModifier) {
            // Shift+press deselects the objects under the pointer and keeps the others.
            const QList<TGGraphicControl *> selected = m_selection;
            for (TGGraphicControl *o : selected)
                if (o->BoundsRect().contains(onSurface))
                    RemoveFromSelection(o);
        }
        return;
    }
    if (button == Qt::RightButton) {
        TGGraphicControl *own = SelectedCount() == 1 && outerRect(m_selection.first()).contains(onSurface)
                                    ? m_selection.first()
                                    : nullptr;
        if (m_surface->ContextMenuEvent)
            m_surface->ContextMenuEvent(own, onSurface);
        return;
    }
    // A drawing tool (or another button) starts on the surface under the frame.
    setCursor(m_surface->Pointing() ? TGCursor::Default : TGCursor::Drag);
    passPress(button, shift, point);
}

void TGHandle::MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers, const QPoint &point)
{
    const bool left = buttons & Qt::LeftButton;
    if (m_doubleClickSeen) {
        m_doubleClickSeen = false;
        if (m_dragging) {
            m_dragging = false;
            m_feedback = QRect();
            m_surface->Invalidate();
            return;
        }
    }
    // A press on an object selected it and the frame took the mouse: holding the button a
    // little longer starts the drag from where the pointer is now.
    if (left && !m_dragging && m_pressTime != 0 && m_surface->tickCount() - m_pressTime > kDragDelay) {
        m_press = point;
        m_dragging = true;
    }
    if (!m_surface->Pointing()) {
        setCursor(TGCursor::Drag);
        return;
    }
    if (!left)
        m_capture = false;
    if (m_dragging) {
        setFeedback(wouldBeBounds(clampToSurface(point)));
        return;
    }
    setCursor(TGCursor::HandGrab);
    int candidate = dmMove;
    if (SelectedCount() == 1) {
        const int x = point.x();
        const int y = point.y();
        const int w = m_frame.width();
        const int h = m_frame.height();
        TGCursor cursor = TGCursor::HandGrab;
        auto test = [&](bool hit, int mode, TGCursor shape) {
            if (hit) {
                candidate = mode;
                cursor = shape;
            }
        };
        test(near(x, 0) && near(y, 0), dmTopLeft, TGCursor::SizeNWSE);
        test(near(x, w) && near(y, h), dmBottomRight, TGCursor::SizeNWSE);
        test(near(x, w) && near(y, 0), dmTopRight, TGCursor::SizeNESW);
        test(near(x, 0) && near(y, h), dmBottomLeft, TGCursor::SizeNESW);
        test(nearMiddle(x, w) && near(y, 0), dmTop, TGCursor::SizeVer);
        test(nearMiddle(x, w) && near(y, h), dmBottom, TGCursor::SizeVer);
        test(nearMiddle(y, h) && near(x, 0), dmLeft, TGCursor::SizeHor);
        test(nearMiddle(y, h) && near(x, w), dmRight, TGCursor::SizeHor);
        setCursor(cursor);
    }
    m_dragMode = candidate;
}

void TGHandle::MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point)
{
    const QPoint clamped = clampToSurface(point);
    // A quick click never moves anything, even when the mouse moved a few pixels.
    if (m_dragging && m_surface->tickCount() - m_pressTime < kQuickClick)
        m_press = clamped;
    m_pressTime = 0;
    if (!m_dragging || button != Qt::LeftButton) {
        passRelease(button, shift, point);
        return;
    }
    if (clamped != m_press)
        SetBounds(wouldBeBounds(clamped));
    m_feedback = QRect();
    m_dragging = false;
    m_capture = false;
    setCursor(TGCursor::Default);
    m_surface->Invalidate();
}

void TGHandle::MouseDoubleClick(const QPoint &point)
{
    m_doubleClickSeen = true;
    if (SelectedCount() == 1 && m_surface->ContextMenuEvent)
        m_surface->ContextMenuEvent(m_selection.first(), point + m_frame.topLeft());
}

bool TGHandle::KeyDown(int key, Qt::KeyboardModifiers shift)
{
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    if (m_selection.isEmpty())
        return false;
    if (!m_nudging) {
        m_nudging = true;
        m_nudgeStart = m_nudge = unionEdges();
    }
    // Widths and heights counted with both edges: right - left + 1.
    Edges &n = m_nudge;
    const bool resize = (shift & Qt::ShiftModifier) && SelectedCount() == 1;
    const int width = n.right - n.left + 1;
    const int height = n.bottom - n.top + 1;
    switch (key) {
    case Qt::Key_Left:
        if (resize) {
            if (width > 10)
                --n.right;
        } else if (n.left > 0) {
            --n.left;
            --n.right;
        }
        break;
    case Qt::Key_Up:
        if (resize) {
            if (height > 10)
                --n.bottom;
        } else if (n.top > 0) {
            --n.top;
            --n.bottom;
        }
        break;
    case Qt::Key_Right:
        if (m_surface->Width() >= width + n.left) {
            if (!resize)
                ++n.left;
            ++n.right;
        }
        break;
    case Qt::Key_Down:
        if (m_surface->Height() >= height + n.top) {
            if (!resize)
                ++n.top;
            ++n.bottom;
        }
        break;
    default:
        break;
    }
    m_feedback = QRect(QPoint(n.left, n.top), QPoint(n.right - 1, n.bottom - 1));
    m_surface->Invalidate();
    return true;
}

bool TGHandle::KeyUp(int)
{
    if (!m_nudging)
        return false;
    m_nudging = false;
    m_feedback = QRect();
    // The accumulated change, applied to the frame as it is: the frame may sit 3 or 4 pixels
    // past the objects, and rebuilding it from the outline would take that difference off
    // every object's size.
    const Edges &s = m_nudgeStart;
    const Edges &n = m_nudge;
    const int dL = n.left - s.left;
    const int dT = n.top - s.top;
    const int dW = (n.right - n.left) - (s.right - s.left);
    const int dH = (n.bottom - n.top) - (s.bottom - s.top);
    if (dL != 0 || dT != 0 || dW != 0 || dH != 0)
        SetBounds(
            QRect(m_frame.left() + dL, m_frame.top() + dT, m_frame.width() + dW, m_frame.height() + dH));
    m_surface->Invalidate();
    return true;
}

QList<QRect> TGHandle::marksOf(const TGGraphicControl *o) const
{
    const int l = o->Left() - 2;
    const int t = o->Top() - 2;
    const int r = o->Left() + o->Width() + 2;
    const int b = o->Top() + o->Height() + 2;
    const QSize s(5, 5);
    QList<QRect> marks{QRect(QPoint(l, t), s), QRect(QPoint(r - 5, t), s), QRect(QPoint(r - 5, b - 5), s),
                       QRect(QPoint(l, b - 5), s)};
    if (SelectedCount() == 1) {
        const int mx = l + (r - l) / 2;
        const int my = t + (b - t) / 2;
        marks << QRect(QPoint(mx - 2, t), s) << QRect(QPoint(mx - 2, b - 5), s) << QRect(QPoint(l, my - 2), s)
              << QRect(QPoint(r - 5, my - 2), s);
    }
    return marks;
}

void TGHandle::PaintMarks(QPainter &painter) const
{
    if (m_selection.isEmpty() || m_surface->Printing())
        return;
    const QColor colour = TGColor::toQColor(SelectedCount() == 1 ? m_color : m_secondaryColor);
    for (const TGGraphicControl *o : m_selection)
        for (const QRect &mark : marksOf(o))
            painter.fillRect(mark, colour);
}
