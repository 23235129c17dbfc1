// The status lines of the telephony call window ("TAPI Call - PICK UP THE PHONE"), and the
// line and action each state change of a call brings. Stateless; the window adds the lines.
#pragma once

#include <QString>
#include <QStringList>

class TCallStatus
{
public:
    // The states a telephony-service call reports.
    enum State {
        kStateUnknown = 0,
        kStateDialing = 1,
        kStateRingingOut = 2,
        kStateRingingIn = 3,
        kStateActive = 4,
        kStateHeld = 5,
        kStateWaiting = 6,
        kStateTerminated = 7,
    };
    // Why a call ended (the reasons that matter here).
    enum Reason {
        kReasonTerminated = 4,    // ended normally, by either side
        kReasonRefusedOrBusy = 5, // the other side refused or was busy
    };

    // What one state change adds to the window.
    struct Change {
        bool addsLine = false;
        QString line; // may be empty: an empty line
        bool pressesHangup = false;
    };
    // The change for a call entering `state` for `reason`: dialling "Dialing", ringing at the
    // other end "Proceeding...", answered "Connected: ", ended normally "Disconnected: normal...",
    // refused or busy "Busy...", ended otherwise an empty line; an ended call then has "Hangup"
    // pressed. Other states add nothing.
    static Change forState(int state, unsigned reason);

    // "Error!! - " + reason: the line shown when no line could be opened.
    static QString noLineText(const QString &reason) { return QStringLiteral("Error!! - ") + reason; }
    static QString noDevicesReason() { return QStringLiteral("No TAPI devices found"); }
    static QString unknownVersionReason() { return QStringLiteral("Unknown TAPI version"); }
    static QString cannotOpenReason() { return QStringLiteral("Unable to open line for outgoing calls"); }

    // The answer to starting a call.
    static QString startedText() { return QStringLiteral("TAPI started"); }
    static QString startErrorText() { return QStringLiteral("TAPI Error"); }
    // A call that could not be made.
    static QStringList callFailedLines()
    {
        return {QStringLiteral("* Unknown Error calling number"), QStringLiteral("* Is the line busy?")};
    }
    static QString hangupFailedText() { return QStringLiteral("* Unknown Error hanging up"); }
    // The call is gone and the line free again.
    static QString idleText() { return QStringLiteral("Idle"); }
};
