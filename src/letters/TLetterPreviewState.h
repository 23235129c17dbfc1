// Where the letter preview stands: its zoom in percent, the page shown, the page after it and
// the pages shown before it, for going back. A value object owned by the preview window.
#pragma once

#include <QString>
#include <QVector>

class TLetterPreviewState
{
public:
    static constexpr int kZoomInLimit = 150;
    static constexpr int kZoomOutLimit = 50;

    int zoom = 100;
    int pageIndex = 0; // the page shown, 0 for the first
    int nextIndex = 0; // the page after it, 0 or less when there is none
    int pageNumber = 1;
    QVector<int> previous;

    // Trunc(width ÷ pagePixels × 100); nothing changes for a page of no width.
    void fit(int windowPixels, int pagePixels);
    // Only below 150: Trunc(zoom × 1.25). False when nothing changed.
    bool zoomIn();
    // Only above 50: Trunc(zoom × 0.75). False when nothing changed.
    bool zoomOut();
    // Only when a following page exists. False when nothing changed.
    bool nextPage();
    // Only when pages were shown before. False when nothing changed.
    bool previousPage();
    // Back to the first page with no history, for another record.
    void restart();

    // "Preview Letters Page " + the page number.
    QString caption() const;
};
