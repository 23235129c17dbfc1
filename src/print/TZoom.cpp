#include "TZoom.h"

#include <algorithm>

double TZoom::resolve(double request, InchSize page, QSize viewPixels, double screenDpi)
{
    if (request >= 0)
        return std::clamp(request, kMinPercent, kMaxPercent);
    if (request <= -1.9)
        return pageWidthPercent(page, viewPixels, screenDpi);
    return wholePagePercent(page, viewPixels, screenDpi);
}

double TZoom::requestForMode(int mode)
{
    if (mode == 1)
        return kWholePageRequest;
    if (mode == 2)
        return kPageWidthRequest;
    return mode;
}

double TZoom::pageWidthPercent(InchSize page, QSize viewPixels, double screenDpi)
{
    if (page.width <= Inches(0) || screenDpi <= 0)
        return 100.0;
    return 100.0 * viewPixels.width() / page.width.dotsF(screenDpi);
}

double TZoom::wholePagePercent(InchSize page, QSize viewPixels, double screenDpi)
{
    if (page.height <= Inches(0) || screenDpi <= 0)
        return pageWidthPercent(page, viewPixels, screenDpi);
    return std::min(pageWidthPercent(page, viewPixels, screenDpi),
                    100.0 * viewPixels.height() / page.height.dotsF(screenDpi));
}
