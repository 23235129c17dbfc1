#include "TGLabelPanel.h"

#include "TGEnums.h"

void TGLabelPanel::CreateObject(const QRect &drawn)
{
    const QRect rect = widenedRect(drawn);
    switch (PanelState()) {
    case psLabel:
        newText(rect);
        break;
    case psCounterLabel:
        newCounter(rect);
        break;
    case psSymbolLabel:
        newSymbol(rect, false);
        break;
    case psDataLabel:
        newDataField(rect);
        break;
    case psMultiLineLabel:
        newMultiLineText(rect);
        break;
    case psMultiLineDataLabel:
        newMemo(rect);
        break;
    case psAddressLabel:
        newAddressBlock(rect);
        break;
    case psRectangle:
        newShape(rect, stRectangle, false);
        break;
    case psEllipse:
        newShape(rect, stEllipse, false);
        break;
    case psRoundRectangle:
        newShape(rect, stRoundRect, false);
        break;
    case psLine:
        newLine(rect, stVertical);
        break;
    case psImage:
        newImage(rect);
        break;
    case psPostNetBarCode:
        newPostNet(rect);
        break;
    default:
        break;
    }
}
