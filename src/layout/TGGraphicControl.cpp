#include "TGGraphicControl.h"

#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGBasePanel.h"
#include "TGDataPanel.h"
#include "TGOwner.h"

#include <QPainter>

#include <algorithm>
#include <climits>

TGGraphicControl::TGGraphicControl(TGOwner *owner) : m_owner(owner) {}

TGGraphicControl::~TGGraphicControl()
{
    if (m_owner)
        m_owner->removeName(m_name);
}

TGDataPanel *TGGraphicControl::dataParent() const
{
    return dynamic_cast<TGDataPanel *>(m_parent);
}

void TGGraphicControl::setName(const QString &name)
{
    if (m_owner) {
        m_owner->removeName(m_name);
        m_owner->addName(name);
    }
    m_name = name;
}

QRect TGGraphicControl::BoundsRect() const
{
    auto cut = [](qint64 v) { return static_cast<int>(std::clamp<qint64>(v, INT_MIN / 2, INT_MAX / 2)); };
    const int left = cut(m_bounds.left);
    const int top = cut(m_bounds.top);
    return QRect(QPoint(left, top),
                 QPoint(cut(qint64(left) + m_bounds.width - 1), cut(qint64(top) + m_bounds.height - 1)));
}

void TGGraphicControl::SetBounds(int left, int top, int width, int height)
{
    const Bounds bounds{left, top, width, height};
    if (bounds == m_bounds)
        return;
    m_bounds = bounds;
    Invalidate();
    if (!m_reading)
        CheckBoundsChanged();
}

void TGGraphicControl::setUnselectable(bool unselectable)
{
    m_unselectable = unselectable;
    if (unselectable && m_parent)
        m_parent->removeFromSelection(this);
}

void TGGraphicControl::SetScale(float factor)
{
    if (factor == m_scale)
        return;
    const float current = m_scale * 10.0f == 0.0f ? 1.0f : m_scale;
    const float ratio = factor / current;
    const double r = static_cast<double>(ratio);
    SetBounds(Rounding::halfEven(Left() * r), Rounding::halfEven(Top() * r), Rounding::halfEven(Width() * r),
              Rounding::halfEven(Height() * r));
    m_scale = factor;
}

void TGGraphicControl::setVisible(bool visible)
{
    m_visible = visible;
    Invalidate();
}

double TGGraphicControl::pixelsPerInch() const
{
    return m_parent ? m_parent->PixelsPerInch() : 96.0;
}

bool TGGraphicControl::isPrinting() const
{
    return m_parent && m_parent->Printing();
}

bool TGGraphicControl::isSelected() const
{
    return m_parent && m_parent->isSelected(this);
}

// The selection marks lie outside the object's box; the surface draws them after every
// object (TGHandle::PaintMarks).
void TGGraphicControl::Paint(QPainter &) {}

void TGGraphicControl::CheckBoundsChanged()
{
    if (!m_hasRemembered) {
        m_remembered = m_bounds;
        m_hasRemembered = true;
        return;
    }
    if (m_bounds == m_remembered)
        return;
    NotifyChanged();
    m_remembered = m_bounds;
    if (m_parent)
        m_parent->PostFrameRefit();
}

void TGGraphicControl::Print(TBaseReport &, InchPoint) {}

void TGGraphicControl::Loaded()
{
    m_remembered = m_bounds;
    m_hasRemembered = true;
}

void TGGraphicControl::NotifyChanged()
{
    if (m_parent && !m_parent->Printing())
        m_parent->LabelChanged();
}

void TGGraphicControl::Invalidate()
{
    if (m_parent)
        m_parent->Invalidate();
}

void TGGraphicControl::WriteProperties(LayoutStreamWriter &w) const
{
    if (m_tag != 0)
        w.integerProperty("Tag", m_tag);
    w.integerProperty("Left", Left());
    w.integerProperty("Top", Top());
    w.integerProperty("Width", Width());
    w.integerProperty("Height", Height());
    if (m_cursor != 0)
        w.integerProperty("Cursor", m_cursor);
    if (!m_hint.isEmpty())
        w.stringProperty("Hint", m_hint);
    w.booleanProperty("Locked", m_locked);
    w.booleanProperty("Unselectable", m_unselectable);
}

bool TGGraphicControl::ReadProperty(const QByteArray &name, LayoutStreamReader &r)
{
    if (name == "Tag")
        m_tag = r.readInteger();
    else if (name == "Left")
        setLeft(r.readInteger());
    else if (name == "Top")
        setTop(r.readInteger());
    else if (name == "Width")
        setWidth(r.readInteger());
    else if (name == "Height")
        setHeight(r.readInteger());
    else if (name == "Cursor") {
        // Cursor numbers may also be given by name; layouts never change the cursor.
        if (r.peekByte() == LayoutStreamWriter::vaIdent)
            r.readIdent();
        else
            m_cursor = r.readInteger();
    } else if (name == "Hint")
        m_hint = r.readString();
    else if (name == "Locked")
        m_locked = r.readBoolean();
    else if (name == "Unselectable")
        setUnselectable(r.readBoolean());
    else
        return false;
    return true;
}
