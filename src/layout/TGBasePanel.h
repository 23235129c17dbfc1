// A design surface as data: the objects placed on it in z-order (first drawn first), its
// size, pictures, outline and grid, the zoom factor, the selection, mouse routing, drawing new
// objects with a tool, and the traversals print runs use. A thin widget (layout_ui) shows it
// and hands it the mouse. The designer or printing window that creates a surface owns it;
// the surface owns its objects and frees them.
#pragma once

#include "TGEnums.h"
#include "TGFont.h"
#include "TGHandle.h"
#include "TGPicture.h"
#include "TResult.h"
#include "Units.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class TBaseReport;
class TGGraphicControl;
class TGOwner;
class QUndoStack;
struct TGLayoutSnapshot;

// What EditSelection and EditObject do.
enum class TEditKind { Cut, Copy, Paste, Delete };

// Mouse cursors a surface asks its widget to show.
enum class TGCursor { Default, HandPoint, HandGrab, Drag, SizeNWSE, SizeNESW, SizeVer, SizeHor };

class TGBasePanel
{
public:
    // `owner` is the form's component list; it must outlive the surface. `pixelsPerInch` is
    // the display's logical resolution, which whoever creates the surface reads (a window
    // from its screen) or chooses; a value that is not positive is taken as 96.
    TGBasePanel(TGOwner *owner, double pixelsPerInch);
    virtual ~TGBasePanel();
    TGBasePanel(const TGBasePanel &) = delete;
    TGBasePanel &operator=(const TGBasePanel &) = delete;

    TGOwner *owner() const { return m_owner; }

    // --- Properties.
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void setSize(int width, int height);
    TColor Color() const { return m_color; }
    void setColor(TColor colour) { m_color = colour; }
    bool Pointing() const { return m_pointing; }
    void setPointing(bool pointing);
    bool DrawOutline() const { return m_drawOutline; }
    void setDrawOutline(bool on) { m_drawOutline = on; }
    TGPicture &Picture() { return m_picture; }
    TGPicture &ColorPicture() { return m_colorPicture; }
    bool Printing() const { return m_printing; }
    void setPrinting(bool printing) { m_printing = printing; }
    TLabelShapeType Shape() const { return m_shape; }
    void setShape(TLabelShapeType shape) { m_shape = shape; }
    TGridSize GridSize() const { return m_gridSize; }
    // Also sets the frame's snap steps to 4 or 8, whether snapping is on or not.
    void setGridSize(TGridSize size);
    bool ShowGrid() const { return m_showGrid; }
    void setShowGrid(bool on) { m_showGrid = on; }
    bool SnapToGrid() const { return m_snapToGrid; }
    // A change switches the frame's snapping; switched on, the steps follow GridSize.
    void setSnapToGrid(bool on);
    // The surface's font (new counters and data fields take it; the "Font" command sets it).
    const TGFont &Font() const { return m_font; }
    void setFont(const TGFont &font) { m_font = font; }
    float ScaleFactor() const { return m_scale; }
    // The display's logical pixels per inch the surface was given; an inch on paper is this
    // many design pixels. A window whose screen changes hands it the new value.
    double PixelsPerInch() const { return m_pixelsPerInch; }
    void setPixelsPerInch(double pixelsPerInch)
    {
        m_pixelsPerInch = pixelsPerInch > 0 ? pixelsPerInch : 96.0;
    }

    // --- Objects, bottom of the z-order first.
    const std::vector<TGGraphicControl *> &objects() const { return m_objects; }
    // Places `object` on top of the z-order and makes the surface its parent.
    TGGraphicControl *insertObject(std::unique_ptr<TGGraphicControl> object);
    // Takes `object` out of the selection and frees it.
    void deleteObject(TGGraphicControl *object);
    // The topmost visible object containing the surface point, or null.
    TGGraphicControl *objectAt(const QPoint &point) const;

    // Moves `object` to the top (the end of the list) or the bottom of the z-order.
    void moveToFront(TGGraphicControl *object);
    void moveToBack(TGGraphicControl *object);

    // --- Selection, kept by the selection frame.
    TGHandle &handle() { return m_handle; }
    const TGHandle &handle() const { return m_handle; }
    const QList<TGGraphicControl *> &selection() const { return m_handle.selection(); }
    void clearSelection() { m_handle.ClearSelection(); }
    void addToSelection(TGGraphicControl *object) { m_handle.AddToSelection(object); }
    void removeFromSelection(TGGraphicControl *object) { m_handle.RemoveFromSelection(object); }
    bool isSelected(const TGGraphicControl *object) const { return m_handle.IndexOfSelected(object) >= 0; }

    // --- Virtual operations.
    // Paints the surface (off-screen, then in one block) and the objects on top, in z-order.
    virtual void Paint(QPainter &painter);
    // Creates an object of the active drawing tool in `rect`; the base creates none.
    virtual void CreateObject(const QRect &rect);
    // A press on `object` at object point (x, y).
    virtual void ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button,
                                 Qt::KeyboardModifiers shift, int x, int y);
    virtual void RefreshData() {}
    // Print on every object, bottom of the z-order first; `origin` is where on the page the
    // surface's top-left corner lies.
    virtual void PrintObjects(TBaseReport &engine, InchPoint origin);
    virtual void KeepObjectsInside();
    virtual void RemoveObjectsOutside();

    // --- Operations.
    // Zooms the surface and every object; halves round to even, so zooming in and out returns
    // to the same size.
    void SetScale(float factor);
    // Writes every object as one list at ScaleFactor 1.0 with data values cleared; the
    // surface keeps its zoom. Failure: the message; an existing file is left as it was.
    TResult SaveToFile(const QString &path);
    // Reads the file's list into the surface, then WireAllObjects and RefreshData. A missing
    // file leaves the surface unchanged; existing objects stay.
    TResult LoadFromFile(const QString &path);
    void ClearObjects();
    // Places a newly drawn object: named "Special" + number, sized at least 10 × 15, wired.
    TGGraphicControl *PlaceNewObject(std::unique_ptr<TGGraphicControl> object, const QRect &rect);
    // The first of prefix + "1" .. prefix + "1000" no component of the owner bears; empty
    // when all are taken.
    QString UniqueName(const QString &prefix) const;
    void WireObject(TGGraphicControl *object);
    // Wires every object and gives each the surface's ScaleFactor (geometry unchanged).
    void WireAllObjects();
    void ResetCounters();
    void AdvanceCounters();
    void ClearDataValues();
    // Raises LabelChangedEvent unless a SetScale is in progress.
    void LabelChanged();
    // Repaint request to the widget.
    void Invalidate();
    // Lets pending screen updates run (through ProcessPendingEvent).
    void ProcessPending();

    // --- Mouse input in surface pixels, from the widget. The selection frame takes what
    // falls on it, and every move and release while it holds the mouse.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void MouseMove(Qt::KeyboardModifiers shift, const QPoint &point, Qt::MouseButtons buttons = Qt::NoButton);
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void MouseDoubleClick(const QPoint &point);
    // The surface's own handling of a press or release, past the frame.
    void surfaceMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    void surfaceMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint &point);
    TGCursor cursor() const { return m_cursor; }
    void setCursorShape(TGCursor cursor) { m_cursor = cursor; }

    // --- Keys, from the widget: arrows (with Shift) move and size the selection. Answers
    // whether the key was taken.
    bool KeyDown(int key, Qt::KeyboardModifiers shift);
    bool KeyUp(int key);

    // --- Messages posted to the surface. A bounds change posts the frame's refit, which runs
    // once the change is over, when the window's event loop delivers it (DeliverPosted).
    void PostFrameRefit();
    void DeliverPosted();
    bool hasPosted() const { return m_refitPosted; }

    // The system tick counter in milliseconds (never 0); tests set their own clock.
    qint64 tickCount() const;
    static qint64 systemTickCount();
    std::function<qint64()> TickCountSource;
    bool isRubberBandActive() const { return m_bandActive; }
    // The band as drawn (not normalised).
    QRect rubberBand() const { return QRect(m_bandStart, m_bandEnd); }

    // --- Events.
    std::function<void(TGBasePanel *)> LabelChangedEvent;
    std::function<void(const QRect &)> DroppedObjectEvent;
    std::function<void()> OnDblClick;
    // A context menu at surface point `point`: the object's, or the surface's when null.
    std::function<void(TGGraphicControl *, const QPoint &)> ContextMenuEvent;
    // A refit was posted; the widget queues a call of DeliverPosted.
    std::function<void()> FrameRefitEvent;
    std::function<void()> InvalidateEvent;
    std::function<void()> ProcessPendingEvent;

    // The clipboard and working files, in the program folder; deleted with the surface.
    QString clipboardFile();
    QString workingFile();
    // Where the clipboard and working files go; default: the program folder.
    void setProgramFolder(const QString &folder) { m_programFolder = folder; }

    // The surface drawn off-screen (white, pictures, outline, grid), without the objects.
    QImage renderBackground() const;

    // --- Editing commands. Each is one step on the undo stack; the change notification
    // follows every one that changed the layout.
    // The clipboard file through the selection (Copy and Cut write it, Paste reads it).
    // Failure: the message; a Cut whose copy failed deletes nothing, a Paste that cannot
    // read the file adds nothing. A Paste within a second of the last one is dropped.
    TResult EditSelection(TEditKind kind);
    // On a selected object, EditSelection on the whole selection; otherwise on the object alone.
    TResult EditObject(TGGraphicControl *object, TEditKind kind);
    bool canPaste();
    // A copy of `object` 25 pixels lower, on top; it takes the object's place in the selection.
    TResult Clone(TGGraphicControl *object);
    void BringToFront(TGGraphicControl *object);
    // Also clears the selection.
    void SendToBack(TGGraphicControl *object);
    void BringSelectionToFront();
    void SendSelectionToBack();
    void ToggleLocked(TGGraphicControl *object);
    // There is no way back from the menu: the object leaves the selection.
    void MakeUnselectable(TGGraphicControl *object);
    // Centres the object on the surface (not on the group).
    void CenterVertically(TGGraphicControl *object);
    void CenterHorizontally(TGGraphicControl *object);
    void CenterSelectionVertically();
    void CenterSelectionHorizontally();
    // Alignment moves locked objects too.
    void AlignLeft();
    void AlignRight();
    void AlignTops();
    void AlignBottoms();
    void LockAll();
    void UnlockAll();
    void MarkAllSelectable();
    void MarkAllUnselectable();
    void SelectAll();
    // ApplyFont on every selected object; the surface keeps the font for the next time.
    void ApplyFontToSelection(const TGFont &font);

    // --- Undo. Edits made elsewhere (a property dialog, a class's own menu item) are
    // bracketed by beginEdit and endEdit; brackets nest, and the outermost one records the
    // step when the layout changed.
    QUndoStack &undoStack() { return *m_undo; }
    void beginEdit();
    void endEdit(const QString &text, int mergeId = -1);
    // Every object as one list, bottom of the z-order first, as the layout would store it.
    QByteArray layoutBytes() const;
    TGLayoutSnapshot snapshot() const;
    // Puts the objects and the selection back as `state` holds them. False, with the surface
    // unchanged, when the bytes do not read (a class no surface kind has registered).
    bool restoreSnapshot(const TGLayoutSnapshot &state);

protected:
    bool isScaling() const { return m_scaling; }
    // Guides a kind of surface draws over the background, beneath the objects.
    virtual void PaintGuides(QPainter &) {}
    // Asked when a press on the empty surface would start drawing with a tool: false refuses.
    virtual bool AcceptDrawingStart() { return true; }

private:
    void selectBand(const QRect &band, bool toggle);
    QString programFolder();

    TGOwner *m_owner;
    int m_width = 0;
    int m_height = 0;
    TColor m_color = TGColor::clWhite;
    bool m_pointing = true;
    bool m_drawOutline = false;
    TGPicture m_picture;
    TGPicture m_colorPicture;
    bool m_printing = false;
    TLabelShapeType m_shape = lsRoundRect;
    TGridSize m_gridSize = gs4x4;
    bool m_showGrid = false;
    bool m_snapToGrid = false;
    TGFont m_font;
    float m_scale = 1.0f;
    double m_pixelsPerInch = 96.0;
    bool m_scaling = false;
    std::vector<TGGraphicControl *> m_objects; // owned
    TGHandle m_handle{this};
    bool m_refitPosted = false;
    qint64 m_lastPaste = 0; // tick of the last paste, 0 = never
    std::unique_ptr<QUndoStack> m_undo;
    int m_editDepth = 0;
    bool m_changeSeen = false; // a change notification went out during the current edit
    std::unique_ptr<TGLayoutSnapshot> m_editBefore;
    TGCursor m_cursor = TGCursor::Default;
    bool m_bandActive = false;
    QPoint m_bandStart;
    QPoint m_bandEnd;
    TGGraphicControl *m_hover = nullptr;
    QString m_programFolder;
    QString m_clipboardFile;
    QString m_workingFile;
};
