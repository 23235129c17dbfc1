#include "TCallStatus.h"

#include <gtest/gtest.h>

struct StatusCase {
    int state;
    unsigned reason;
    bool addsLine;
    const char *line;
    bool pressesHangup;
};

class CallStatusForState : public ::testing::TestWithParam<StatusCase>
{
};

TEST_P(CallStatusForState, GivesTheLineAndAction)
{
    const StatusCase c = GetParam();
    const TCallStatus::Change change = TCallStatus::forState(c.state, c.reason);
    EXPECT_EQ(change.addsLine, c.addsLine);
    EXPECT_EQ(change.line, QString::fromLatin1(c.line));
    EXPECT_EQ(change.pressesHangup, c.pressesHangup);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CallStatusForState,
    ::testing::Values(StatusCase{TCallStatus::kStateDialing, 1, true, "Dialing", false},
                      StatusCase{TCallStatus::kStateRingingOut, 0, true, "Proceeding...", false},
                      StatusCase{TCallStatus::kStateActive, 3, true, "Connected: ", false},
                      StatusCase{TCallStatus::kStateTerminated, TCallStatus::kReasonTerminated, true,
                                 "Disconnected: normal...", true},
                      StatusCase{TCallStatus::kStateTerminated, TCallStatus::kReasonRefusedOrBusy, true,
                                 "Busy...", true},
                      // Ended for another reason (an error, a failed audio set-up): an empty line.
                      StatusCase{TCallStatus::kStateTerminated, 6, true, "", true},
                      StatusCase{TCallStatus::kStateTerminated, 0, true, "", true},
                      StatusCase{TCallStatus::kStateUnknown, 0, false, "", false},
                      StatusCase{TCallStatus::kStateRingingIn, 2, false, "", false},
                      StatusCase{TCallStatus::kStateHeld, 0, false, "", false},
                      StatusCase{TCallStatus::kStateWaiting, 0, false, "", false},
                      StatusCase{42, 0, false, "", false}, StatusCase{-1, 0, false, "", false}));

TEST(TCallStatus, NoLineTextNamesTheReason)
{
    EXPECT_EQ(TCallStatus::noLineText(TCallStatus::noDevicesReason()),
              QStringLiteral("Error!! - No TAPI devices found"));
    EXPECT_EQ(TCallStatus::noLineText(QString()), QStringLiteral("Error!! - "));
}
