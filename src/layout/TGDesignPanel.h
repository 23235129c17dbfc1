// What the three drawing surfaces (label, envelope, report band) share: the active drawing
// tool (PanelState) and the steps that turn a drawn rectangle into a new object. A window
// that shows the surface answers the events: it opens the object's dialog, beeps and shows
// the surface's messages.
#pragma once

#include "TGClassRegistry.h"
#include "TGDataPanel.h"

#include <functional>
#include <memory>

class TGGraphicControl;

// The dialog a newly drawn object opens, by the tool that drew it.
enum class TGNewObjectDialog { Text, SelectField, SymbolSelector, MultiLineText, LoadImage };

class TGDesignPanel : public TGDataPanel
{
public:
    // Registers the classes of `kind` with the layout stream the first time a surface of
    // that kind is created.
    TGDesignPanel(TGOwner *owner, double pixelsPerInch, TGSurfaceKind kind);

    TGSurfaceKind kind() const { return m_kind; }
    // The active drawing tool; 0 is selection mode in every surface.
    int PanelState() const { return m_panelState; }
    // Stores the tool; Pointing while it is 0; the drag cursor while a tool is active.
    void setPanelState(int state);

    // Widens a rectangle narrower than 25 pixels to 50 and heightens one lower than 15 to 15.
    static QRect widenedRect(const QRect &rect);

    // --- Events.
    // A new object's dialog; the object is placed on the surface while it is open.
    std::function<void(TGGraphicControl *, TGNewObjectDialog)> NewObjectDialogEvent;
    std::function<void()> BeepEvent;
    // A message for the user ("This object may only be used in ...").
    std::function<void(const QString &)> MessageEvent;

protected:
    void beep();
    void message(const QString &text);
    // Finishes `object` (its loaded step) and places it in `rect`; opens `dialog` when given.
    TGGraphicControl *placeNew(std::unique_ptr<TGGraphicControl> object, const QRect &rect);
    void openDialog(TGGraphicControl *object, TGNewObjectDialog dialog);

    // The objects every surface creates alike, in `rect` (already widened), with their steps.
    TGGraphicControl *newText(const QRect &rect);
    TGGraphicControl *newDataField(const QRect &rect);
    TGGraphicControl *newSymbol(const QRect &rect, bool fit);
    TGGraphicControl *newCounter(const QRect &rect);
    TGGraphicControl *newMultiLineText(const QRect &rect);
    TGGraphicControl *newMemo(const QRect &rect);
    TGGraphicControl *newAddressBlock(const QRect &rect);
    // `report` gives the report band's shape class.
    TGGraphicControl *newShape(const QRect &rect, int shapeType, bool report);
    TGGraphicControl *newLine(const QRect &rect, int lineStyle);
    TGGraphicControl *newImage(const QRect &rect);
    TGGraphicControl *newDateTime(const QRect &rect);
    TGGraphicControl *newPageNumber(const QRect &rect);
    TGGraphicControl *newPostNet(const QRect &rect);
    TGGraphicControl *newFIM(const QRect &rect);

private:
    TGSurfaceKind m_kind;
    int m_panelState = 0;
};
