// Fills the bands of a designed report with one object of each tool each band admits, drawn
// as the designer draws them (a tool, then a rectangle on the band).
#pragma once

#include "TReportBands.h"

#include <QRect>

namespace reportbands {

inline void draw(TReportPanel &band, int tool, const QRect &rect)
{
    band.setPanelState(tool);
    band.CreateObject(rect);
    band.setPanelState(TReportPanel::psPointing);
}

// Every tool in every band; the band refuses what it does not admit.
inline void fillWithEveryTool(TReportBands &bands)
{
    for (TReportPanel *band : {&bands.header, &bands.detail, &bands.footer}) {
        int x = 2;
        for (int tool = TReportPanel::psLabel; tool <= TReportPanel::psRoundRectangle; ++tool) {
            draw(*band, tool, QRect(x, 2, 40, 20));
            x += 52;
        }
    }
}

} // namespace reportbands
