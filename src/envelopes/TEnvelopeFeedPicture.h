// The feed picture of the feed and pre-print dialogs: the printer's feeder (the page picture)
// with the envelope in it as the feed values say, drawn as plain diagrams. Seven pictures: the
// page, the envelope's front and back lying long edge first, and front and back turned left
// or right (fed short edge first). Stateless.
#pragma once

#include "TEnvelopePreferences.h"

#include <QImage>
#include <QPoint>
#include <QSize>

class QPainter;

class TEnvelopeFeedPicture
{
public:
    enum TPicture { Page, Front, Back, FrontTurnedLeft, FrontTurnedRight, BackTurnedLeft, BackTurnedRight };

    // The picture's size in pixels.
    static QSize size(TPicture picture);
    // Draws `picture` with its top-left corner at `at`.
    static void draw(QPainter &painter, TPicture picture, QPoint at);

    // The envelope picture for the feed: facing down shows the back, facing up the front;
    // landscape turned left when ClockWise is set, right otherwise.
    static TPicture envelopePicture(const TEnvelopeFeedValues &feed);
    // Where the envelope picture goes: 2 pixels from the top; left 2 pixels, right 2 pixels
    // short of the page's right edge, centred with whole-pixel halves.
    static QPoint envelopeAt(const TEnvelopeFeedValues &feed);
    // The page picture with the envelope picture drawn in it.
    static QImage render(const TEnvelopeFeedValues &feed);
};
