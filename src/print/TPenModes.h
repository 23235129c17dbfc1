// The pen modes of shapes and lines on a QPainter: each mode's raster operation, applied where
// the device can combine with what is already drawn (screen, images), and copy mode where it
// cannot (PDF files, printers). Stateless helpers.
#pragma once

#include "TDrawSink.h"

#include <QPainter>

class TPenModes
{
public:
    // The composition mode that draws `mode` on a raster device.
    static QPainter::CompositionMode compositionMode(TPenMode mode);
    // Sets the painter's composition mode for `mode` and answers the mode in force: `mode`
    // itself, or Copy on a device without raster operations (PDF, printers).
    // Requires: the painter is active.
    static TPenMode apply(QPainter &painter, TPenMode mode);
    // The pen mode of a layout pen's `Mode` entry by its position in the list pmBlack, pmWhite,
    // pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
    // pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor; Copy for any other number.
    static TPenMode fromLayoutIndex(int index);
};
