// The face of one label: the drawing tools of label layouts.
#pragma once

#include "TGDesignPanel.h"

class TGLabelPanel : public TGDesignPanel
{
public:
    enum TPanelState {
        psPointing,
        psLabel,
        psCounterLabel,
        psSymbolLabel,
        psDataLabel,
        psMultiLineLabel,
        psMultiLineDataLabel,
        psAddressLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle,
        psLine,
        psImage,
        psPostNetBarCode
    };

    TGLabelPanel(TGOwner *owner, double pixelsPerInch)
        : TGDesignPanel(owner, pixelsPerInch, TGSurfaceKind::Label)
    {
    }

    void CreateObject(const QRect &rect) override;
};
