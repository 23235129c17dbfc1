// One band of a report (header, detail, memo or footer): the drawing tools of report layouts,
// with each band admitting only the objects that make sense in it.
#pragma once

#include "TGDesignPanel.h"

class TReportPanel : public TGDesignPanel
{
public:
    enum TPanelState {
        psPointing,
        psLabel,
        psDataLabel,
        psMultiLineDataLabel,
        psLine,
        psImage,
        psDateTime,
        psPageNumber,
        psSymbolLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle
    };
    enum TReportPanelKind { rpkHeader, rpkDetail, rpkMemo, rpkFooter };

    TReportPanel(TGOwner *owner, double pixelsPerInch)
        : TGDesignPanel(owner, pixelsPerInch, TGSurfaceKind::Report)
    {
    }

    TReportPanelKind PAnelKind = rpkDetail;
    // While false a press on the empty band only beeps; objects still show and print.
    bool DrawingEnabled = true;
    // After the common selection handling of a press on an object: the band was pressed.
    std::function<void(TReportPanel *)> ControlMouseDownEvent;

    // The message that refuses the tool `state` in a band of `kind`; empty when admitted.
    static QString refusal(int state, TReportPanelKind kind);

    void CreateObject(const QRect &rect) override;
    void ObjectMouseDown(TGGraphicControl *object, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                         int y) override;
    // Clears the selection and moves objects below or right of the band back inside it.
    void KeepObjectsInside() override;
    // Clears the selection and deletes the objects more than 10 pixels below or right of the band.
    void RemoveObjectsOutside() override;

protected:
    bool AcceptDrawingStart() override;
};
