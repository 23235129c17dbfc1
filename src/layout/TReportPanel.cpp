#include "TReportPanel.h"

#include "TGEnums.h"
#include "TGGraphicControl.h"

#include <algorithm>

QString TReportPanel::refusal(int state, TReportPanelKind kind)
{
    // In this order: a tool has at most one rule.
    if (state == psMultiLineDataLabel && kind != rpkMemo)
        return QStringLiteral("This object may only be used in the memo band");
    if (state == psDataLabel && kind != rpkDetail)
        return QStringLiteral("This object may only be used in the detail band");
    if ((state == psDateTime || state == psPageNumber) && kind != rpkHeader && kind != rpkFooter)
        return QStringLiteral("This object may only be used in the header or footer bands");
    if (state == psImage && kind != rpkHeader)
        return QStringLiteral("This object may only be used in the header band");
    return {};
}

bool TReportPanel::AcceptDrawingStart()
{
    if (DrawingEnabled)
        return true;
    beep();
    return false;
}

void TReportPanel::CreateObject(const QRect &drawn)
{
    if (!DrawingEnabled) {
        beep();
        return;
    }
    const QString refused = refusal(PanelState(), PAnelKind);
    if (!refused.isEmpty()) {
        beep();
        message(refused);
        return;
    }
    const QRect rect = widenedRect(drawn);
    switch (PanelState()) {
    case psLabel:
        newText(rect);
        break;
    case psDataLabel:
        newDataField(rect);
        break;
    case psMultiLineDataLabel:
        newMemo(rect);
        break;
    case psLine:
        newLine(rect, stHorizontal);
        break;
    case psImage:
        newImage(rect);
        break;
    case psDateTime:
        newDateTime(rect);
        break;
    case psPageNumber:
        newPageNumber(rect);
        break;
    case psSymbolLabel:
        newSymbol(rect, true);
        break;
    case psRectangle:
        newShape(rect, stRectangle, true);
        break;
    case psEllipse:
        newShape(rect, stEllipse, true);
        break;
    case psRoundRectangle:
        newShape(rect, stRoundRect, true);
        break;
    default:
        break;
    }
}

void TReportPanel::ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button, Qt::KeyboardModifiers shift,
                                   int x, int y)
{
    TGDesignPanel::ObjectMouseDown(object, button, shift, x, y);
    if (ControlMouseDownEvent)
        ControlMouseDownEvent(this);
}

void TReportPanel::KeepObjectsInside()
{
    clearSelection();
    for (TGGraphicControl *o : objects()) {
        // The object's far edge comes to the band's edge, never past its near one.
        if (o->Top() > Height())
            o->setTop(std::max(0, Height() - o->Height()));
        if (o->Left() > Width())
            o->setLeft(std::max(0, Width() - o->Width()));
    }
}

void TReportPanel::RemoveObjectsOutside()
{
    clearSelection();
    const std::vector<TGGraphicControl *> all = objects();
    for (TGGraphicControl *o : all)
        if (o->Top() > Height() + 10 || o->Left() > Width() + 10)
            deleteObject(o);
}
