#include "TEnvelopePlacement.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Where along an axis of free space `room` the envelope sits for `position`; `mirrored` swaps
// left and right (an envelope fed face down).
double along(double room, int position, bool mirrored)
{
    switch (position) {
    case TEnvelopeFeedValues::Center:
        return room * 0.5;
    case TEnvelopeFeedValues::Right:
        return mirrored ? 0.0 : room;
    case TEnvelopeFeedValues::Left:
    default:
        return mirrored ? room : 0.0;
    }
}

} // namespace

InchPoint TEnvelopePlacement::offset(InchSize page, InchSize envelope, const TEnvelopeFeedValues &feed)
{
    const double PW = page.width.value;
    const double PH = page.height.value;
    const double EW = envelope.width.value;
    const double EH = envelope.height.value;
    if (Rounding::truncate(PW * 10) == Rounding::truncate(EW * 10) &&
        Rounding::truncate(PH * 10) == Rounding::truncate(EH * 10))
        return {Inches(0), Inches(0)};
    const bool down = feed.Facing == TEnvelopeFeedValues::FaceDown;
    double x = 0;
    double y = 0;
    if (feed.Orientation == TEnvelopeFeedValues::Portrait) {
        x = along(PW - EW, feed.Position, down);
    } else {
        x = feed.ClockWise ? 0.0 : PW - EW;
        y = along(PH - EH, feed.Position, down);
    }
    return {Inches(std::max(0.0, x)), Inches(std::max(0.0, y))};
}

bool TEnvelopePlacement::pageDiffers(InchSize page, InchSize envelope)
{
    const auto hundredths = [](Inches v) { return Rounding::truncate(v.value * 100); };
    return std::abs(hundredths(envelope.width) - hundredths(page.width)) > 100 ||
           std::abs(hundredths(envelope.height) - hundredths(page.height)) > 100;
}

QString TEnvelopePlacement::description(const TEnvelopeFeedValues &feed)
{
    QString text;
    switch (feed.Position) {
    case TEnvelopeFeedValues::Left:
        text = QStringLiteral("Position: Left\r\n");
        break;
    case TEnvelopeFeedValues::Right:
        text = QStringLiteral("Position: Right\r\n");
        break;
    default:
        text = QStringLiteral("Position: Center\r\n");
        break;
    }
    text += feed.Orientation == TEnvelopeFeedValues::Portrait ? QStringLiteral("Orientation : Portrait")
                                                              : QStringLiteral("Orientation : Landscape");
    text += QStringLiteral("\r\n");
    if (feed.ClockWise)
        text += QStringLiteral("Clockwise Rotation\r\n");
    text += feed.Facing == TEnvelopeFeedValues::FaceDown ? QStringLiteral("Facing Down")
                                                         : QStringLiteral("Facing Up");
    return text;
}
