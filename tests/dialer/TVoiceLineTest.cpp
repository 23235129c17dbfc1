#include "TVoiceLine.h"

#include "ModemManagerMock.h"
#include "TCallStatus.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QThread>

#include <functional>
#include <memory>
#include <tuple>

namespace {

using StateChange = std::tuple<int, int, unsigned>;

// Everything a line reported, in order.
struct Recorder {
    explicit Recorder(TVoiceLine &line)
    {
        QObject::connect(&line, &TVoiceLine::startReplied, [this](bool accepted) {
            events << (accepted ? QStringLiteral("started") : QStringLiteral("start refused"));
        });
        QObject::connect(&line, &TVoiceLine::stateChanged,
                         [this](int oldState, int newState, unsigned reason) {
                             states << StateChange{oldState, newState, reason};
                             events << QStringLiteral("state %1").arg(newState);
                         });
        QObject::connect(&line, &TVoiceLine::hangupFailed,
                         [this] { events << QStringLiteral("hangup refused"); });
        QObject::connect(&line, &TVoiceLine::idle, [this] { events << QStringLiteral("idle"); });
    }
    QStringList events;
    QList<StateChange> states;
};

// Handles the bus's messages until `done` holds or the time is up.
bool waitFor(const std::function<bool()> &done, int milliseconds = 10000)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class VoiceLine : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ModemManagerMock::startBus()); }
    static void TearDownTestSuite() { ModemManagerMock::stopBus(); }

    // Starts the service and opens a line on it.
    void start(const QString &parameters)
    {
        mock = std::make_unique<ModemManagerMock>(parameters);
        ASSERT_TRUE(mock->isRunning());
        line = std::make_unique<TVoiceLine>(ModemManagerMock::bus());
        recorder = std::make_unique<Recorder>(*line);
    }

    std::unique_ptr<ModemManagerMock> mock;
    std::unique_ptr<TVoiceLine> line;
    std::unique_ptr<Recorder> recorder;
};

} // namespace

TEST_F(VoiceLine, OpensTheFirstModemWithVoiceCalls)
{
    start(QStringLiteral(R"({"modems": [{"voice": false}, {"voice": true}, {"voice": true}]})"));
    ASSERT_TRUE(line->open());
    EXPECT_EQ(line->modemPath(), QStringLiteral("/org/freedesktop/ModemManager1/Modem/1"));
    EXPECT_TRUE(line->failureReason().isEmpty());
}

struct OpenFailureCase {
    const char *parameters; // nullptr: no service on the bus
    const char *reason;
};

class VoiceLineOpenFailure : public VoiceLine, public ::testing::WithParamInterface<OpenFailureCase>
{
};

TEST_P(VoiceLineOpenFailure, SaysWhyNoLineIsOpen)
{
    const OpenFailureCase c = GetParam();
    if (c.parameters)
        start(QString::fromLatin1(c.parameters));
    else
        line = std::make_unique<TVoiceLine>(ModemManagerMock::bus());
    EXPECT_FALSE(line->open());
    EXPECT_FALSE(line->isOpen());
    EXPECT_EQ(line->failureReason(), QString::fromLatin1(c.reason));
    EXPECT_FALSE(line->makeCall(QStringLiteral("555-0100")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceLineOpenFailure,
    ::testing::Values(OpenFailureCase{nullptr, "No TAPI devices found"},
                      OpenFailureCase{R"({"modems": []})", "No TAPI devices found"},
                      OpenFailureCase{R"({"modems": [{"voice": false}]})", "No TAPI devices found"},
                      OpenFailureCase{R"({"modems": [{"voice": true, "emergency_only": true}]})",
                                      "Unable to open line for outgoing calls"}));

TEST_F(VoiceLine, WithoutABusNoLineOpensAndNoReasonIsGiven)
{
    TVoiceLine noBus(ModemManagerMock::unconnectedBus());
    EXPECT_FALSE(noBus.open());
    EXPECT_TRUE(noBus.failureReason().isEmpty());
}

TEST_F(VoiceLine, CallIsCreatedWithTheNumberStartedAndFollowed)
{
    start(QStringLiteral(R"({"start_states": [[0, 1, 1], [1, 2, 1]]})"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("9555-0100")));
    ASSERT_TRUE(line->hasCall());
    EXPECT_EQ(ModemManagerMock::callProperty(line->callPath(), QStringLiteral("Number")).toString(),
              QStringLiteral("9555-0100"));
    ASSERT_TRUE(waitFor([&] { return recorder->events.contains(QStringLiteral("started")); }));
    EXPECT_EQ(recorder->states, (QList<StateChange>{{0, 1, 1}, {1, 2, 1}}));
    // A second call waits for the first to be let go of.
    EXPECT_FALSE(line->makeCall(QStringLiteral("555-0199")));
}

TEST_F(VoiceLine, RefusedCallCreationMakesNoCall)
{
    start(QStringLiteral(R"({"fail": ["CreateCall"]})"));
    ASSERT_TRUE(line->open());
    EXPECT_FALSE(line->makeCall(QStringLiteral("555-0100")));
    EXPECT_FALSE(line->hasCall());
}

TEST_F(VoiceLine, RefusedStartIsReported)
{
    start(QStringLiteral(R"({"fail": ["Start"]})"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("555-0100")));
    ASSERT_TRUE(waitFor([&] { return !recorder->events.isEmpty(); }));
    EXPECT_EQ(recorder->events, QStringList{QStringLiteral("start refused")});
}

TEST_F(VoiceLine, RemoteHangUpArrivesAndDroppingDeletesTheCall)
{
    start(QStringLiteral(R"({"start_states": [[0, 1, 1], [1, 4, 3]]})"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("555-0100")));
    ASSERT_TRUE(waitFor([&] { return recorder->states.size() == 2; }));
    const QString call = line->callPath();

    ASSERT_TRUE(mock->emitCallState(call, TCallStatus::kStateActive, TCallStatus::kStateTerminated,
                                    TCallStatus::kReasonTerminated));
    ASSERT_TRUE(waitFor([&] { return recorder->states.size() == 3; }));
    EXPECT_EQ(recorder->states.last(), (StateChange{TCallStatus::kStateActive, TCallStatus::kStateTerminated,
                                                    TCallStatus::kReasonTerminated}));

    EXPECT_TRUE(line->drop());
    EXPECT_EQ(recorder->events.last(), QStringLiteral("idle"));
    EXPECT_FALSE(line->hasCall());
    EXPECT_FALSE(ModemManagerMock::hasObject(call));
    // A call let go of sends nothing more.
    mock->emitCallState(call, TCallStatus::kStateTerminated, TCallStatus::kStateActive, 0);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(recorder->states.size(), 3);
}

TEST_F(VoiceLine, HangupEndsTheCallOrIsReportedRefused)
{
    start(QStringLiteral("{}"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("555-0100")));
    ASSERT_TRUE(waitFor([&] { return recorder->events.contains(QStringLiteral("started")); }));
    line->hangup();
    ASSERT_TRUE(waitFor([&] { return recorder->states.size() == 2; }));
    EXPECT_EQ(std::get<1>(recorder->states.last()), TCallStatus::kStateTerminated);
    EXPECT_FALSE(recorder->events.contains(QStringLiteral("hangup refused")));

    mock.reset();
    start(QStringLiteral(R"({"fail": ["Hangup", "DeleteCall"]})"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("555-0100")));
    line->hangup();
    ASSERT_TRUE(waitFor([&] { return recorder->events.contains(QStringLiteral("hangup refused")); }));
    // The deletion refused: reported, and the call is let go of all the same.
    recorder->events.clear();
    EXPECT_FALSE(line->drop());
    EXPECT_EQ(recorder->events, (QStringList{QStringLiteral("hangup refused"), QStringLiteral("idle")}));
    EXPECT_FALSE(line->hasCall());
}

TEST_F(VoiceLine, LineGoingAwayDeletesItsCall)
{
    start(QStringLiteral("{}"));
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->makeCall(QStringLiteral("555-0100")));
    const QString call = line->callPath();
    ASSERT_TRUE(ModemManagerMock::hasObject(call));
    recorder.reset();
    line.reset();
    EXPECT_TRUE(waitFor([&] { return !ModemManagerMock::hasObject(call); }));
}
