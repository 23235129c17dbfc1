#include "TEnvelopePanel.h"

#include "Units.h"
#include "TGEnums.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

std::array<TEnvelopePanel::TReadingArea, 4> TEnvelopePanel::readingAreas(int width, int height, float scale,
                                                                         double pixelsPerInch)
{
    const auto s = [&](double inches) { return Rounding::truncate(pixelsPerInch * inches * scale); };
    const int unscaledWidth = scale > 0 ? Rounding::truncate(width / static_cast<double>(scale)) : width;
    const int W = width;
    const int H = height;
    std::array<TReadingArea, 4> areas;
    areas[raReturnAddress] = {QStringLiteral("[Return Address Area]"), 1, 1, W / 2,
                              std::min(H - s(2.75), H / 3), 3, 3};
    areas[raBarcodeClearZone] = {QStringLiteral("[Barcode Clear Zone]"), W - s(4), H - s(0.625), W - s(0.5),
                                 H - 1, 0, 0};
    const int addressLeft =
        unscaledWidth < Rounding::truncate(pixelsPerInch * 10.25) ? s(0.5) : W - s(9.75);
    areas[raAddress] = {QStringLiteral("[Address Area]"), addressLeft, H - s(2.75), W - s(0.5), H - s(0.625),
                        0, 0};
    areas[raFIM] = {QStringLiteral("[FIM Area]"), W - s(3), 1, W - s(2), s(0.625), 3, 3};
    for (int i : {raBarcodeClearZone, raAddress}) {
        areas[i].labelX = areas[i].left + 2;
        areas[i].labelY = areas[i].top + 2;
    }
    return areas;
}

void TEnvelopePanel::PaintGuides(QPainter &painter)
{
    const float scale = ScaleFactor();
    if (ShowAreas) {
        QFont font(QStringLiteral("Arial"));
        const int points = std::max(1, Rounding::truncate(8.0 * scale));
        font.setPixelSize(std::max(1, Rounding::halfAwayFromZero(points * PixelsPerInch() / 72.0)));
        for (const TReadingArea &a : readingAreas(Width(), Height(), scale, PixelsPerInch())) {
            painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
            painter.setBrush(QColor(0xEF, 0xEF, 0xEF));
            painter.drawRect(a.left, a.top, a.right - a.left - 1, a.bottom - a.top - 1);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.setBackground(QColor(0xC0, 0xC0, 0xC0));
            painter.drawText(QRect(a.labelX, a.labelY, Width(), Height()), Qt::AlignLeft | Qt::AlignTop,
                             a.label);
            painter.setBackgroundMode(Qt::TransparentMode);
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
    }
    if (ShowMargins) {
        const auto z = [scale](int v) { return Rounding::truncate(v * static_cast<double>(scale)); };
        const int left = z(LeftMargin);
        const int top = z(TopMargin);
        const int right = z(PageWidth - RightMargin);
        const int bottom = z(PageHeight - BottomMargin);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::red, 1, Qt::DotLine));
        painter.drawRect(left, top, right - left - 1, bottom - top - 1);
    }
}

void TEnvelopePanel::CreateObject(const QRect &drawn)
{
    const QRect rect = widenedRect(drawn);
    switch (PanelState()) {
    case psLabel:
        newText(rect);
        break;
    case psDataLabel:
        newDataField(rect);
        break;
    case psMultiLineLabel:
        newMultiLineText(rect);
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
    case psFIMBarCode:
        newFIM(rect);
        break;
    default:
        break;
    }
}
