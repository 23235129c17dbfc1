// The envelope sizes an envelope setup may name: each size code is the printing service's
// paper code for that envelope, with the entry the size list shows and the envelope's true
// width and height. Stateless.
#pragma once

#include "Units.h"

#include <QString>
#include <QVector>

struct TEnvelopeSize {
    int code = 0;
    QString entry; // the size list's text
    InchSize size; // width is the longer side, the envelope lying as it is addressed
};

class TEnvelopeSizes
{
public:
    // Envelope #10, the size of a setup without a row and of one whose code is unknown.
    static constexpr int kDefaultCode = 20;

    // Every size in the order of the size list.
    static const QVector<TEnvelopeSize> &all();
    // Whether `code` is one of the sizes.
    static bool isKnown(int code);
    // The envelope of `code`, width and height in inches, from the paper table the print
    // engine uses: metric envelopes converted at 25.4 mm to the inch, inch envelopes from
    // their exact points (4 1/8 is 4.125, not a rounded 4.12). An unknown code gives
    // an empty size (0 × 0): callers check isKnown() first.
    static InchSize size(int code);
    // The list row of `code`; the first row for an unknown code.
    static int indexOf(int code);
};
