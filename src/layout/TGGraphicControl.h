// Common base of every object placed on a layout: geometry in design pixels, the stored
// properties every object has, the virtual operations a surface drives (paint, data refresh,
// counters, printing) and its part of the layout stream. Objects are data that paint
// themselves on the QPainter they are handed; the surface they are placed on owns them and
// frees them, and the owner form (TGOwner) knows them by name.
#pragma once

#include "TGFont.h"
#include "Units.h"

#include <QByteArray>
#include <QRect>
#include <QString>

class LayoutStreamReader;
class LayoutStreamWriter;
class QPainter;
class TBaseReport;
class TGBasePanel;
class TGDataPanel;
class TGOwner;

class TGGraphicControl
{
public:
    explicit TGGraphicControl(TGOwner *owner);
    virtual ~TGGraphicControl();
    TGGraphicControl(const TGGraphicControl &) = delete;
    TGGraphicControl &operator=(const TGGraphicControl &) = delete;

    // The class name streams store, e.g. "TGPLabel".
    virtual QByteArray ClassName() const = 0;

    TGOwner *owner() const { return m_owner; }
    // The surface the object is placed on, or null.
    TGBasePanel *parent() const { return m_parent; }
    // The surface as a data surface, or null.
    TGDataPanel *dataParent() const;

    const QString &Name() const { return m_name; }
    // Takes the name in the owner's list (the old one is released).
    void setName(const QString &name);

    // --- Stored properties.
    int Tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    int Left() const { return m_bounds.left; }
    int Top() const { return m_bounds.top; }
    int Width() const { return m_bounds.width; }
    int Height() const { return m_bounds.height; }
    void setLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void setTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void setWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void setHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    // One change of position and size; CheckBoundsChanged follows unless the object is being read.
    virtual void SetBounds(int left, int top, int width, int height);
    // The bounds as a rectangle; geometry beyond the int range (damaged layouts) is cut to it.
    QRect BoundsRect() const;
    int Cursor() const { return m_cursor; }
    void setCursor(int cursor) { m_cursor = cursor; }
    const QString &Hint() const { return m_hint; }
    void setHint(const QString &hint) { m_hint = hint; }
    bool Locked() const { return m_locked; }
    void setLocked(bool locked) { m_locked = locked; }
    bool Unselectable() const { return m_unselectable; }
    // Also takes the object out of the selection.
    void setUnselectable(bool unselectable);

    // --- Run-time state.
    float ScaleFactor() const { return m_scale; }
    // Sets the factor without changing the geometry (WireAllObjects).
    void setScaleFactor(float factor) { m_scale = factor; }
    // Rescales the bounds by factor / ScaleFactor (single precision), halves to even.
    void SetScale(float factor);
    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    bool isWired() const { return m_wired; }
    bool isReading() const { return m_reading; }
    void setReading(bool reading) { m_reading = reading; }
    // The display's pixels per inch of the surface (96 without one).
    double pixelsPerInch() const;
    // True while the surface prints the layout.
    bool isPrinting() const;
    bool isSelected() const;

    // --- Virtual operations.
    // Draws the object with (0, 0) at its top-left corner.
    virtual void Paint(QPainter &painter);
    virtual void CheckBoundsChanged();
    virtual void PreparePopup() {}
    virtual void ApplyFont(const TGFont &) {}
    virtual void ShowDataValue() {}
    virtual void ClearDataValue() {}
    virtual void AdvanceCounter() {}
    virtual void ResetCounter() {}
    // Draws through the print engine; `origin` is where on the page the surface's top-left
    // corner lies. The object's design pixels become inches with pixelsPerInch().
    virtual void Print(TBaseReport &engine, InchPoint origin);
    // The step run once the object is complete after a read or its creation.
    virtual void Loaded();
    // Run when a read is about to fill the object: a value the stream leaves out because it
    // is empty must come back empty.
    virtual void ReadBegin() {}

    // The surface's change notification, unless the surface is printing.
    void NotifyChanged();
    // Asks the surface to repaint.
    void Invalidate();

    // --- Layout stream.
    // The entries of this object in their fixed order (each class its own after its base's).
    virtual void WriteProperties(LayoutStreamWriter &w) const;
    // Reads the value of entry `name`; false when the object has no such property.
    virtual bool ReadProperty(const QByteArray &name, LayoutStreamReader &r);

protected:
    // The size at creation; no bounds check, so the first real change is the first checked.
    void initSize(int width, int height) { m_bounds = {0, 0, width, height}; }
    // Where on the page the object point (x, y) lies, measured from the object's top-left
    // corner, when the surface's top-left corner lies at `origin`.
    InchPoint pagePoint(InchPoint origin, DesignPixels x, DesignPixels y) const
    {
        const double ppi = pixelsPerInch();
        return {origin.x + DesignPixels(Left() + x.value).toInches(ppi),
                origin.y + DesignPixels(Top() + y.value).toInches(ppi)};
    }

private:
    friend class TGBasePanel;

    TGOwner *m_owner = nullptr;
    TGBasePanel *m_parent = nullptr;
    QString m_name;
    int m_tag = 0;
    struct Bounds {
        int left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Bounds &o) const
        {
            return left == o.left && top == o.top && width == o.width && height == o.height;
        }
    };
    Bounds m_bounds;
    int m_cursor = 0;
    QString m_hint;
    bool m_locked = false;
    bool m_unselectable = false;
    float m_scale = 1.0f;
    bool m_visible = true;
    bool m_wired = false;
    bool m_reading = false;
    Bounds m_remembered;
    bool m_hasRemembered = false; // false until first checked
};
