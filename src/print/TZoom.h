// The preview's zoom rules, in percent of the page's real size on the screen.
#pragma once

#include "Units.h"

#include <QSize>

class TZoom
{
public:
    static constexpr double kMinPercent = 10.0;
    static constexpr double kMaxPercent = 200.0;
    // Zoom in and out step by this many points.
    static constexpr double kZoomInc = 10.0;
    // Requests at or below this mean page width; between it and 0, whole page.
    static constexpr double kPageWidthRequest = -2.0;
    static constexpr double kWholePageRequest = -1.0;

    // The zoom for a request: >= 0 is a percentage kept within 10 to 200; <= -1.9 fits the
    // page's width into the view; between -1.9 and 0 fits the whole page (the lesser factor).
    // `page` is the paper, `viewPixels` the view's inside, `screenDpi` the screen.
    static double resolve(double request, InchSize page, QSize viewPixels, double screenDpi);
    // The request for a preview's initial zoom mode: 1 whole page, 2 page width, else that percentage.
    static double requestForMode(int mode);
    static double pageWidthPercent(InchSize page, QSize viewPixels, double screenDpi);
    static double wholePagePercent(InchSize page, QSize viewPixels, double screenDpi);
};
