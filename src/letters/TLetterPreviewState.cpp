#include "TLetterPreviewState.h"

void TLetterPreviewState::fit(int windowPixels, int pagePixels)
{
    if (pagePixels > 0 && windowPixels > 0)
        zoom = static_cast<int>(static_cast<long long>(windowPixels) * 100 / pagePixels);
}

bool TLetterPreviewState::zoomIn()
{
    if (zoom >= kZoomInLimit)
        return false;
    zoom = zoom * 5 / 4; // Trunc(zoom × 1.25) in integers, so 125 × 1.25 gives 156
    return true;
}

bool TLetterPreviewState::zoomOut()
{
    if (zoom <= kZoomOutLimit)
        return false;
    zoom = zoom * 3 / 4;
    return true;
}

bool TLetterPreviewState::nextPage()
{
    if (nextIndex <= 0)
        return false;
    previous.push_back(pageIndex);
    pageIndex = nextIndex;
    ++pageNumber;
    return true;
}

bool TLetterPreviewState::previousPage()
{
    if (previous.isEmpty())
        return false;
    pageIndex = previous.takeLast();
    --pageNumber;
    return true;
}

void TLetterPreviewState::restart()
{
    pageIndex = 0;
    nextIndex = 0;
    pageNumber = 1;
    previous.clear();
}

QString TLetterPreviewState::caption() const
{
    return QStringLiteral("Preview Letters Page ") + QString::number(pageNumber);
}
