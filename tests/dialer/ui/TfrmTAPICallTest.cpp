// The telephony call window against the test's own telephony service on a private bus: the
// call made on first show, the status lines of each state change, "Hangup", and the hand-over
// to the phone application when no line can be opened.
#include "TfrmTAPICall.h"

#include "ModemManagerMock.h"
#include "TCallStatus.h"
#include "TVoiceLine.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <memory>

namespace {

class CallWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(ModemManagerMock::startBus()); }
    static void TearDownTestSuite() { ModemManagerMock::stopBus(); }

    // Starts the service with `parameters`, then opens and shows the window for `number`.
    void open(const QString &parameters, const QString &number)
    {
        service = std::make_unique<ModemManagerMock>(parameters);
        ASSERT_TRUE(service->isRunning());
        window = std::make_unique<TfrmTAPICall>(number, ModemManagerMock::bus());
        window->setLinkOpener([this](const QUrl &link) {
            links << link.toString();
            return linkTaken;
        });
        window->show();
    }

    // Handles the bus's messages until the status shows `count` lines.
    bool waitForLines(int count)
    {
        QDeadlineTimer deadline(10000);
        while (window->StatusList->count() < count) {
            if (deadline.hasExpired())
                return false;
            QTest::qWait(10);
        }
        // Nothing more is on its way.
        QTest::qWait(50);
        return true;
    }

    std::unique_ptr<ModemManagerMock> service;
    std::unique_ptr<TfrmTAPICall> window;
    QStringList links;
    bool linkTaken = true;
};

const char kConnects[] = R"({"start_states": [[0, 1, 1], [1, 2, 1], [2, 4, 3]]})";

} // namespace

TEST_F(CallWindow, FirstShowCallsTheNumberAtOnce)
{
    open(QStringLiteral("{}"), QStringLiteral("9555-0100"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("TAPI Call - PICK UP THE PHONE"));
    EXPECT_EQ(window->NumberEdit->text(), QStringLiteral("9555-0100"));
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(window->statusLines(),
              (QStringList{QStringLiteral("Dialing"), QStringLiteral("TAPI started")}));
    EXPECT_EQ(ModemManagerMock::callProperty(window->line().callPath(), QStringLiteral("Number")).toString(),
              QStringLiteral("9555-0100"));
    EXPECT_FALSE(window->CallButton->isEnabled());
    EXPECT_TRUE(window->HangupButton->isEnabled());
    EXPECT_FALSE(window->PhoneAppButton->isVisible());
}

struct EndCase {
    int fromState;
    unsigned reason;
    const char *line;
};

class CallWindowEnd : public CallWindow, public ::testing::WithParamInterface<EndCase>
{
};

// A call the other side ends shows why, then the call is let go of and "Idle" follows, after
// which "Call" can be pressed again.
TEST_P(CallWindowEnd, EndedCallShowsWhyThenIdle)
{
    const EndCase c = GetParam();
    open(QLatin1String(kConnects), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(4));
    EXPECT_EQ(window->statusLines(),
              (QStringList{QStringLiteral("Dialing"), QStringLiteral("Proceeding..."),
                           QStringLiteral("Connected: "), QStringLiteral("TAPI started")}));
    const QString call = window->line().callPath();

    ASSERT_TRUE(service->emitCallState(call, c.fromState, TCallStatus::kStateTerminated, c.reason));
    ASSERT_TRUE(waitForLines(6));
    EXPECT_EQ(window->statusLines().mid(4),
              (QStringList{QString::fromLatin1(c.line), QStringLiteral("Idle")}));
    EXPECT_TRUE(window->CallButton->isEnabled());
    EXPECT_FALSE(window->HangupButton->isEnabled());
    EXPECT_FALSE(ModemManagerMock::hasObject(call));

    QTest::mouseClick(window->CallButton, Qt::LeftButton);
    ASSERT_TRUE(waitForLines(4));
    EXPECT_EQ(window->statusLines().first(), QStringLiteral("Dialing"));
    EXPECT_NE(window->line().callPath(), call);
}

INSTANTIATE_TEST_SUITE_P(Cases, CallWindowEnd,
                         ::testing::Values(EndCase{TCallStatus::kStateActive, TCallStatus::kReasonTerminated,
                                                   "Disconnected: normal..."},
                                           EndCase{TCallStatus::kStateRingingOut,
                                                   TCallStatus::kReasonRefusedOrBusy, "Busy..."},
                                           EndCase{TCallStatus::kStateActive, 6, ""}));

TEST_F(CallWindow, HangupEndsTheCall)
{
    open(QStringLiteral(R"({"hangup_states": [[4, 7, 4]]})"), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    QTest::mouseClick(window->HangupButton, Qt::LeftButton);
    ASSERT_TRUE(waitForLines(4));
    EXPECT_EQ(window->statusLines().mid(2),
              (QStringList{QStringLiteral("Disconnected: normal..."), QStringLiteral("Idle")}));
    EXPECT_TRUE(window->CallButton->isEnabled());
    EXPECT_FALSE(window->HangupButton->isEnabled());
}

TEST_F(CallWindow, RefusedHangupIsReported)
{
    open(QStringLiteral(R"({"fail": ["Hangup"]})"), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    QTest::mouseClick(window->HangupButton, Qt::LeftButton);
    ASSERT_TRUE(waitForLines(3));
    EXPECT_EQ(window->statusLines().last(), QStringLiteral("* Unknown Error hanging up"));
    EXPECT_TRUE(window->HangupButton->isEnabled());
}

TEST_F(CallWindow, CallThatCannotBeMadeSaysSo)
{
    open(QStringLiteral(R"({"fail": ["CreateCall"]})"), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(window->statusLines(), (QStringList{QStringLiteral("* Unknown Error calling number"),
                                                  QStringLiteral("* Is the line busy?")}));
    EXPECT_TRUE(window->CallButton->isEnabled());
    EXPECT_FALSE(window->HangupButton->isEnabled());
}

// A start the service refuses leaves no call behind: "Call" can be pressed again.
TEST_F(CallWindow, RefusedStartLetsGoOfTheCall)
{
    open(QStringLiteral(R"({"fail": ["Start"]})"), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(window->statusLines(), (QStringList{QStringLiteral("TAPI Error"), QStringLiteral("Idle")}));
    EXPECT_TRUE(window->CallButton->isEnabled());
    EXPECT_FALSE(window->HangupButton->isEnabled());
    EXPECT_FALSE(window->line().hasCall());
}

TEST_F(CallWindow, EmptyNumberDoesNothingOnCall)
{
    for (const QString &number : {QString(), QStringLiteral("   ")}) {
        open(QStringLiteral("{}"), number);
        QTest::mouseClick(window->CallButton, Qt::LeftButton);
        QTest::qWait(50);
        EXPECT_TRUE(window->statusLines().isEmpty());
        EXPECT_FALSE(window->line().hasCall());
        EXPECT_TRUE(window->CallButton->isEnabled());
        EXPECT_FALSE(window->HangupButton->isEnabled());
        window.reset();
        service.reset();
    }
}

TEST_F(CallWindow, OnlyTheDialableCharactersAreCalled)
{
    open(QStringLiteral("{}"), QStringLiteral("555-0100;ath"));
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(ModemManagerMock::callProperty(window->line().callPath(), QStringLiteral("Number")).toString(),
              QStringLiteral("555-0100"));
    window.reset();
    service.reset();

    open(QStringLiteral("{}"), QStringLiteral("none"));
    EXPECT_EQ(window->statusLines(), QStringList{QStringLiteral("* There is no number to dial.")});
    EXPECT_FALSE(window->line().hasCall());
}

TEST_F(CallWindow, TypedNumberIsCalledAfterTheFirst)
{
    open(QStringLiteral(R"({"start_states": [[0, 1, 1]], "hangup_states": [[1, 7, 4]]})"),
         QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    QTest::mouseClick(window->HangupButton, Qt::LeftButton);
    ASSERT_TRUE(waitForLines(4));
    window->NumberEdit->clear();
    QTest::keyClicks(window->NumberEdit, QStringLiteral("555-0199"));
    QTest::mouseClick(window->CallButton, Qt::LeftButton);
    ASSERT_TRUE(waitForLines(2));
    EXPECT_EQ(ModemManagerMock::callProperty(window->line().callPath(), QStringLiteral("Number")).toString(),
              QStringLiteral("555-0199"));
}

struct NoLineCase {
    const char *parameters;
    const char *line;
};

class CallWindowNoLine : public CallWindow, public ::testing::WithParamInterface<NoLineCase>
{
};

// Without a line the window says why, keeps "Call" off, and offers the phone application.
TEST_P(CallWindowNoLine, SaysWhyAndOffersThePhoneApplication)
{
    open(QString::fromLatin1(GetParam().parameters), QStringLiteral("9555-0100"));
    EXPECT_EQ(window->statusLines(), QStringList{QString::fromLatin1(GetParam().line)});
    EXPECT_FALSE(window->CallButton->isEnabled());
    EXPECT_FALSE(window->HangupButton->isEnabled());
    ASSERT_TRUE(window->PhoneAppButton->isVisible());

    QTest::mouseClick(window->PhoneAppButton, Qt::LeftButton);
    EXPECT_EQ(links, QStringList{QStringLiteral("tel:9555-0100")});
    EXPECT_EQ(window->statusLines().last(), QStringLiteral("Number handed to the phone application"));

    linkTaken = false;
    QTest::mouseClick(window->PhoneAppButton, Qt::LeftButton);
    EXPECT_EQ(window->statusLines().last(), QStringLiteral("* No phone application took the number"));
}

INSTANTIATE_TEST_SUITE_P(Cases, CallWindowNoLine,
                         ::testing::Values(NoLineCase{R"({"modems": []})", "Error!! - No TAPI devices found"},
                                           NoLineCase{
                                               R"({"modems": [{"voice": true, "emergency_only": true}]})",
                                               "Error!! - Unable to open line for outgoing calls"}));

TEST_F(CallWindow, NoServiceAtAllIsNoDevice)
{
    window = std::make_unique<TfrmTAPICall>(QStringLiteral("555-0100"), ModemManagerMock::bus());
    window->show();
    EXPECT_EQ(window->statusLines(), QStringList{QStringLiteral("Error!! - No TAPI devices found")});
    EXPECT_FALSE(window->CallButton->isEnabled());
}

TEST_F(CallWindow, ClosingHangsUpTheCallStillHeld)
{
    open(QStringLiteral("{}"), QStringLiteral("555-0100"));
    ASSERT_TRUE(waitForLines(2));
    const QString call = window->line().callPath();
    QTest::mouseClick(window->CloseButton, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    window.reset();
    QDeadlineTimer deadline(10000);
    while (ModemManagerMock::hasObject(call) && !deadline.hasExpired())
        QTest::qWait(10);
    EXPECT_FALSE(ModemManagerMock::hasObject(call));
}
