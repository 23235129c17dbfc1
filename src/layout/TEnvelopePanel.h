// The face of an envelope: the drawing tools of envelope layouts, and the USPS reading areas
// and the printable area drawn as guides (they constrain nothing).
#pragma once

#include "TGDesignPanel.h"

#include <QString>

#include <array>

class TEnvelopePanel : public TGDesignPanel
{
public:
    enum TPanelState {
        psPointing,
        psLabel,
        psDataLabel,
        psMultiLineLabel,
        psAddressLabel,
        psRectangle,
        psEllipse,
        psRoundRectangle,
        psLine,
        psImage,
        psPostNetBarCode,
        psFIMBarCode
    };

    // A reading area in surface pixels; right and bottom are outside it.
    struct TReadingArea {
        QString label;
        int left = 0, top = 0, right = 0, bottom = 0;
        // Where the label's top-left corner goes.
        int labelX = 0, labelY = 0;
    };
    enum { raReturnAddress, raBarcodeClearZone, raAddress, raFIM };

    TEnvelopePanel(TGOwner *owner, double pixelsPerInch)
        : TGDesignPanel(owner, pixelsPerInch, TGSurfaceKind::Envelope)
    {
    }

    // The return address, barcode clear zone, address and FIM areas of a surface `width` ×
    // `height` pixels at `scale`.
    static std::array<TReadingArea, 4> readingAreas(int width, int height, float scale, double pixelsPerInch);

    // Set by the envelope windows, in design pixels at ScaleFactor 1.0.
    int PageWidth = 0;
    int PageHeight = 0;
    int LeftMargin = 0;
    int TopMargin = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    bool ShowMargins = false;
    bool ShowAreas = false;

    void CreateObject(const QRect &rect) override;

protected:
    void PaintGuides(QPainter &painter) override;
};
