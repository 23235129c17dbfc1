// Plays a Windows or enhanced metafile onto any QPainter (screen, printer, PDF, preview
// recording, picture). Records are dispatched through a table from record type to handler;
// records without a handler are skipped. Every length, count and offset a record gives is
// checked against the record before it is used; the object table, the saved-state stack and
// bitmaps have fixed limits. Stateless: each play builds its own playback state.
#pragma once

#include "TMetafile.h"
#include "TPrintResult.h"

#include <QPicture>
#include <QRectF>

class QPainter;

class TMetafilePlayer
{
public:
    // Pixels per inch of the pictures toPicture() makes.
    static constexpr double kPictureDpi = 96.0;

    // Draws `metafile` with its frame stretched into `target` (in the painter's coordinates).
    // The painter's state is restored afterwards. A record whose contents do not fit it, an
    // object index outside the table or a bitmap past the limits stops the play and answers
    // Corruption; what was drawn before it stays.
    // Requires: painter is active; metafile is not null.
    static TPrintResult play(const TMetafile &metafile, QPainter &painter, const QRectF &target);

    // The drawing of `metafile` at its own size in pixels at kPictureDpi, as a picture whose
    // bounds are the whole frame (so it stretches into a box undistorted). On failure `out`
    // is left null.
    static TPrintResult toPicture(const TMetafile &metafile, QPicture &out);
};
