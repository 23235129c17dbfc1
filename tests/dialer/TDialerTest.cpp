#include "TDialer.h"

#include "PtyPair.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <functional>

namespace {

// Answers the dialer's questions and records what it showed, with the bytes the modem had
// received at each moment.
class ScriptedPrompts : public TDialerPrompts
{
public:
    bool confirm(const QString &text) override
    {
        shown << QStringLiteral("confirm: ") + text;
        return confirmAnswer;
    }
    void error(const QString &text) override { shown << QStringLiteral("error: ") + text; }
    void information(const QString &text) override
    {
        shown << QStringLiteral("information: ") + text;
        if (onInformation)
            onInformation();
    }

    bool confirmAnswer = true;
    QStringList shown;
    std::function<void()> onInformation;
};

class DialerOnPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        dialer.Device = pty.device();
        dialer.setWait([this](int milliseconds) {
            waits << milliseconds;
            beforeWait = pty.read();
            if (onWait)
                onWait();
        });
        prompts.onInformation = [this] { beforePickUp = pty.read(); };
    }

    PtyPair pty;
    ScriptedPrompts prompts;
    TDialer dialer{prompts};
    QList<int> waits;
    QByteArray beforeWait;
    QByteArray beforePickUp;
    std::function<void()> onWait;
};

} // namespace

struct CommandCase {
    const char *init;
    TDialerMethod method;
    const char *sentBeforeWait; // nullptr: no wait at all
    const char *dialCommand;
};

class DialerCommands : public DialerOnPty, public ::testing::WithParamInterface<CommandCase>
{
};

// The exact bytes, in their order: the initialization string, the pause, the dial command,
// "Pick up phone", then the hang-up command.
TEST_P(DialerCommands, SendsTheCommandsInOrderWithThePauseBetween)
{
    const CommandCase c = GetParam();
    dialer.InitString = QString::fromLatin1(c.init);
    dialer.Method = c.method;
    dialer.Number = QStringLiteral("9") + QStringLiteral("555-0100");

    ASSERT_TRUE(dialer.Dial());

    if (c.sentBeforeWait) {
        EXPECT_EQ(waits, QList<int>{TDialer::kInitWaitMilliseconds});
        EXPECT_EQ(beforeWait, QByteArray(c.sentBeforeWait));
    } else {
        EXPECT_TRUE(waits.isEmpty());
    }
    EXPECT_EQ(beforePickUp, QByteArray(c.dialCommand));
    EXPECT_EQ(pty.read(), QByteArray("ATH\r\n"));
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("information: Pick up phone")});
}

INSTANTIATE_TEST_SUITE_P(Cases, DialerCommands,
                         ::testing::Values(CommandCase{"Z", dmTone, "ATZ\r\n", "ATDT9555-0100\r\n"},
                                           CommandCase{"atz", dmTone, "atz\r\n", "ATDT9555-0100\r\n"},
                                           CommandCase{"At&F", dmPulse, "At&F\r\n", "ATDP9555-0100\r\n"},
                                           CommandCase{"&F1", dmTone, "AT&F1\r\n", "ATDT9555-0100\r\n"},
                                           CommandCase{"a", dmTone, "ATa\r\n", "ATDT9555-0100\r\n"},
                                           CommandCase{"", dmTone, nullptr, "ATDT9555-0100\r\n"},
                                           CommandCase{"", dmPulse, nullptr, "ATDP9555-0100\r\n"}));

TEST(TDialer, CommandsAreBuiltByTheirRules)
{
    EXPECT_EQ(TDialer::initCommand(QStringLiteral("Z")), QByteArray("ATZ\r\n"));
    EXPECT_EQ(TDialer::initCommand(QStringLiteral("atz")), QByteArray("atz\r\n"));
    EXPECT_EQ(TDialer::initCommand(QString()), QByteArray());
    EXPECT_EQ(TDialer::dialCommand(dmPulse, QStringLiteral("9555-0100")), QByteArray("ATDP9555-0100\r\n"));
    EXPECT_EQ(TDialer::hangupCommand(), QByteArray("ATH\r\n"));
    EXPECT_EQ(TDialer::hangupCommand().size(), 5);
}

TEST(TDialer, PortIsTheComPortUnlessADeviceIsGiven)
{
    class Silent : public TDialerPrompts
    {
    public:
        bool confirm(const QString &) override { return false; }
        void error(const QString &) override {}
        void information(const QString &) override {}
    } prompts;
    TDialer dialer(prompts);
    EXPECT_EQ(dialer.port().device, QStringLiteral("/dev/ttyS0"));
    dialer.ComPort = dpCOM4;
    EXPECT_EQ(dialer.port().device, QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(TModemPorts::portName(dialer.port()), QStringLiteral("COM4"));
    dialer.Device = QStringLiteral("/dev/ttyACM0");
    EXPECT_EQ(dialer.port().device, QStringLiteral("/dev/ttyACM0"));
}

// The line's output is raw while the commands are written (no line-feed translation), with
// the speed and stop bits the system has configured; the settings are back afterwards.
TEST_F(DialerOnPty, WritesRawWithTheSystemsLineSettingsAndPutsThemBack)
{
    termios settings = pty.lineSettings();
    settings.c_oflag |= OPOST | ONLCR;
    ::cfsetospeed(&settings, B2400);
    ::cfsetispeed(&settings, B2400);
    settings.c_cflag |= CSTOPB;
    ASSERT_TRUE(pty.setLineSettings(settings));

    termios during{};
    onWait = [&] { during = pty.lineSettings(); };
    dialer.InitString = QStringLiteral("Z");
    dialer.Number = QStringLiteral("555-0100");
    ASSERT_TRUE(dialer.Dial());

    EXPECT_EQ(beforeWait, QByteArray("ATZ\r\n"));
    EXPECT_EQ(during.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetospeed(&during), static_cast<speed_t>(B2400));
    EXPECT_NE(during.c_cflag & CSTOPB, 0u);

    const termios after = pty.lineSettings();
    EXPECT_NE(after.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetospeed(&after), static_cast<speed_t>(B2400));
}

TEST_F(DialerOnPty, AskedToConfirmItDialsOnlyOnYes)
{
    dialer.Confirm = true;
    dialer.Number = QStringLiteral("555-0100");
    prompts.confirmAnswer = false;
    EXPECT_FALSE(dialer.Dial());
    EXPECT_EQ(prompts.shown,
              QStringList{QStringLiteral("confirm: About to dial the number 555-0100. Are you sure?")});
    EXPECT_TRUE(pty.read(100).isEmpty());

    prompts.confirmAnswer = true;
    prompts.shown.clear();
    EXPECT_TRUE(dialer.Dial());
    EXPECT_EQ(beforePickUp, QByteArray("ATDT555-0100\r\n"));
}

TEST_F(DialerOnPty, PortThatCannotBeOpenedIsNamedAndNothingIsSent)
{
    dialer.Device = QStringLiteral("/nonexistent/ttyUSB9");
    dialer.Number = QStringLiteral("555-0100");
    EXPECT_FALSE(dialer.Dial());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].startsWith(QStringLiteral("error: Unable to open /nonexistent/ttyUSB9\n\n")))
        << prompts.shown[0].toStdString();
}

TEST_F(DialerOnPty, DialCommandThatCannotBeWrittenIsReportedAndNoPickUpIsAsked)
{
    dialer.InitString = QStringLiteral("Z");
    dialer.Number = QStringLiteral("555-0100");
    // The modem goes away during the pause.
    onWait = [this] { pty.hangUp(); };
    EXPECT_FALSE(dialer.Dial());
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: Unable to dial number")});
}

// A record's phone text reaches the modem as a dial string only: no command of its own.
TEST_F(DialerOnPty, SendsOnlyTheDialableCharactersOfTheNumber)
{
    dialer.Number = QStringLiteral("9") + QStringLiteral("555-0100;\r\nath\x1b");
    ASSERT_TRUE(dialer.Dial());
    EXPECT_EQ(beforePickUp, QByteArray("ATDT9555-0100\r\n"));
    EXPECT_EQ(pty.read(), QByteArray("ATH\r\n"));
}

struct NothingCase {
    const char *number;
};

class DialerNothingToDial : public DialerOnPty, public ::testing::WithParamInterface<NothingCase>
{
};

TEST_P(DialerNothingToDial, RefusesWithAMessageAndSendsNothing)
{
    dialer.InitString = QStringLiteral("Z");
    dialer.Number = QString::fromLatin1(GetParam().number);
    EXPECT_FALSE(dialer.Dial());
    EXPECT_EQ(prompts.shown, QStringList{QStringLiteral("error: There is no number to dial.")});
    EXPECT_TRUE(pty.read(100).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, DialerNothingToDial,
                         ::testing::Values(NothingCase{""}, NothingCase{"  "}, NothingCase{"none"},
                                           NothingCase{";ath"}));
