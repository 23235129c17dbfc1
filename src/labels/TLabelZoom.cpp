#include "TLabelZoom.h"

#include <algorithm>
#include <cmath>

int TLabelZoom::percentOf(float factor)
{
    return static_cast<int>(std::lround(static_cast<double>(factor) * 100.0));
}

int TLabelZoom::zoomIn(int percent)
{
    return percent + kStep <= kMaxPercent ? percent + kStep : std::max(percent, kMinPercent);
}

int TLabelZoom::zoomOut(int percent)
{
    return percent - kStep >= kMinPercent ? percent - kStep : std::min(percent, kMaxPercent);
}
