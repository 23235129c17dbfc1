// The letter preview's pages: a template merged with one address record, recorded page by page
// for the preview window. Each page is drawn as a picture of the whole paper at a screen-like
// resolution, so the preview shows the letter as the print run lays it out.
#pragma once

#include "TMergeFields.h"

#include <QByteArray>

class QTextDocument;
class TMergeRecord;

class TLetterPreview
{
public:
    static constexpr int kPreviewDpi = 150;

    // Records the pages of `templateDocument` merged with `record` into `recording` (the
    // preview window's format). False when the recording could not be made.
    static bool record(const QTextDocument &templateDocument, const TMergeRecord &record,
                       const TMergeDates &dates, QByteArray &recording, int dotsPerInch = kPreviewDpi);
};
