#include "TCallStatus.h"

TCallStatus::Change TCallStatus::forState(int state, unsigned reason)
{
    Change change;
    switch (state) {
    case kStateDialing:
        change = {true, QStringLiteral("Dialing"), false};
        break;
    case kStateRingingOut:
        change = {true, QStringLiteral("Proceeding..."), false};
        break;
    case kStateActive:
        change = {true, QStringLiteral("Connected: "), false};
        break;
    case kStateTerminated:
        if (reason == kReasonTerminated)
            change.line = QStringLiteral("Disconnected: normal...");
        else if (reason == kReasonRefusedOrBusy)
            change.line = QStringLiteral("Busy...");
        change.addsLine = true;
        change.pressesHangup = true;
        break;
    default:
        break;
    }
    return change;
}
