#include "TZoom.h"

#include <algorithm>

double TZoom::resolve(double request, QSizeF pageInches, QSize viewPixels, double screenDpi)
{
    if (request >= 0)
        return std::clamp(request, kMinPercent, kMaxPercent);
    if (request <= -1.9)
        return pageWidthPercent(pageInches, viewPixels, screenDpi);
    return wholePagePercent(pageInches, viewPixels, screenDpi);
}

double TZoom::requestForMode(int mode)
{
    if (mode == 1)
        return kWholePageRequest;
    if (mode == 2)
        return kPageWidthRequest;
    return mode;
}

double TZoom::pageWidthPercent(QSizeF pageInches, QSize viewPixels, double screenDpi)
{
    if (pageInches.width() <= 0 || screenDpi <= 0)
        return 100.0;
    return 100.0 * viewPixels.width() / (pageInches.width() * screenDpi);
}

double TZoom::wholePagePercent(QSizeF pageInches, QSize viewPixels, double screenDpi)
{
    if (pageInches.height() <= 0 || screenDpi <= 0)
        return pageWidthPercent(pageInches, viewPixels, screenDpi);
    return std::min(pageWidthPercent(pageInches, viewPixels, screenDpi),
                    100.0 * viewPixels.height() / (pageInches.height() * screenDpi));
}
