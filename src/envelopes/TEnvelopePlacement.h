// Where an envelope layout goes on the printer's page, by how the envelope is fed; the
// pre-print check of page against envelope; and the feed's description. Stateless.
#pragma once

#include "TEnvelopePreferences.h"
#include "Units.h"

#include <QString>

class TEnvelopePlacement
{
public:
    // The top-left corner of envelope `envelope` on a page `page` (the page in its current
    // orientation). A page that agrees with the envelope to a tenth of an inch takes it at
    // (0, 0); otherwise the feed decides (facing down mirrors left and right) and an offset
    // below 0 becomes 0. The layout is drawn unrotated there.
    static InchPoint offset(InchSize page, InchSize envelope, const TEnvelopeFeedValues &feed);

    // True when page and envelope are more than an inch apart in width or in height: the
    // pre-print dialog then warns (printing stays possible).
    static bool pageDiffers(InchSize page, InchSize envelope);

    // The feed as the pre-print dialog describes it, lines ending in "\r\n".
    static QString description(const TEnvelopeFeedValues &feed);
};
