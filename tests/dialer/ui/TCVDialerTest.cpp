// The "Dial Phone Number" window: what it shows from the settings and the record, what "Dial"
// writes and sends to a modem (a pseudo-terminal pair made here), and the call window it opens.
#include "TCVDialer.h"

#include "ModemManagerMock.h"
#include "PtyPair.h"
#include "TIniFile.h"
#include "TMessages.h"
#include "TVoiceLine.h"
#include "TempDir.h"
#include "TfrmTAPICall.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// A click on the box of a check box, where a user clicks; its row may be wider than the part
// that answers the mouse.
void clickBox(QCheckBox *check)
{
    QStyleOptionButton option;
    option.initFrom(check);
    const QRect box = check->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, check);
    QTest::mouseClick(check, Qt::LeftButton, Qt::NoModifier, box.center());
}

class DialerWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        m_previous = TMessages::setAnswerer([this](const TMessageRequest &r) {
            boxes << r.text;
            icons << r.icon;
            if (r.text == QLatin1String("Pick up phone"))
                beforePickUp = pty.read();
            return r.buttons.testFlag(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
        });
    }
    void TearDown() override { TMessages::setAnswerer(m_previous); }

    QString settingsPath() const { return QString::fromStdString(dir.file("CORVAN.ini")); }
    void writeSettings(const QByteArray &text)
    {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString setting(const char *key) const
    {
        return TIniFile(settingsPath()).readString(QStringLiteral("Dialing"), QLatin1String(key));
    }

    // A window over the modem of this test: the four COM ports and the pseudo-terminal, with
    // the pause after the initialization string recorded instead of waited.
    std::unique_ptr<TCVDialer> open(const QString &number)
    {
        auto window = std::make_unique<TCVDialer>(settingsPath(), number);
        QList<TModemPort> ports;
        for (int i = 0; i < TModemPorts::kComCount; ++i)
            ports << TModemPorts::com(i);
        ports << TModemPort{pty.device(), pty.device(), -1};
        window->setPorts(ports);
        window->setWait([this, w = window.get()](int milliseconds) {
            waits << milliseconds;
            beforeWait = pty.read();
            if (onWait)
                onWait(*w);
        });
        window->show();
        return window;
    }

    TempDir dir;
    PtyPair pty;
    QStringList boxes;
    QList<QMessageBox::Icon> icons;
    QList<int> waits;
    QByteArray beforeWait;
    QByteArray beforePickUp;
    std::function<void(TCVDialer &)> onWait;

private:
    TMessages::Answerer m_previous;
};

} // namespace

TEST_F(DialerWindow, ShowsTheNumberHandedOverAndTheStoredSettings)
{
    writeSettings("[Dialing]\nPrefix=9,\nInit=Z\nPort=2\nMethod=1\nUseTAPI=0\n");
    auto w = open(QStringLiteral("555-0100"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Dial Phone Number"));
    EXPECT_EQ(w->NumberEdit->text(), QStringLiteral("555-0100"));
    EXPECT_EQ(w->PrefixEdit->text(), QStringLiteral("9,"));
    EXPECT_EQ(w->InitEdit->text(), QStringLiteral("Z"));
    EXPECT_EQ(w->PortCombo->currentText(), QStringLiteral("COM 3"));
    EXPECT_TRUE(w->PulseRadio->isChecked());
    EXPECT_FALSE(w->UseTAPICheck->isChecked());
    EXPECT_TRUE(w->ModemPanel->isVisible());
    EXPECT_TRUE(w->DialButton->isDefault());
    EXPECT_EQ(w->PortCombo->count(), 5);
    EXPECT_EQ(w->PortCombo->itemText(0), QStringLiteral("COM 1"));
    EXPECT_EQ(w->PortCombo->itemText(4), pty.device());
}

// A record whose second phone is empty opens the window with nothing to dial.
TEST_F(DialerWindow, EmptyPhoneOpensWithAnEmptyNumber)
{
    auto w = open(QString());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->NumberEdit->text().isEmpty());
    EXPECT_TRUE(w->DialButton->isEnabled());
}

TEST_F(DialerWindow, OutOfRangeSettingsSelectTheNearestPortAndMethod)
{
    writeSettings("[Dialing]\nPort=7\nMethod=5\n");
    auto w = open(QStringLiteral("555-0100"));
    EXPECT_EQ(w->PortCombo->currentText(), QStringLiteral("COM 4"));
    EXPECT_TRUE(w->PulseRadio->isChecked());

    writeSettings("[Dialing]\nPort=-4\nMethod=-1\n");
    auto again = open(QStringLiteral("555-0100"));
    EXPECT_EQ(again->PortCombo->currentText(), QStringLiteral("COM 1"));
    EXPECT_TRUE(again->ToneRadio->isChecked());
}

TEST_F(DialerWindow, TickingUseTapiHidesTheModemPanelAtOnce)
{
    auto w = open(QStringLiteral("555-0100"));
    ASSERT_TRUE(w->ModemPanel->isVisible());
    clickBox(w->UseTAPICheck);
    EXPECT_TRUE(w->UseTAPICheck->isChecked());
    EXPECT_FALSE(w->ModemPanel->isVisible());
    clickBox(w->UseTAPICheck);
    EXPECT_TRUE(w->ModemPanel->isVisible());

    writeSettings("[Dialing]\nUseTAPI=1\n");
    auto ticked = open(QStringLiteral("555-0100"));
    EXPECT_TRUE(ticked->UseTAPICheck->isChecked());
    EXPECT_FALSE(ticked->ModemPanel->isVisible());
}

struct ModemDialCase {
    const char *init;
    bool pulse;
    const char *sentBeforeWait; // nullptr: no pause
    const char *dialCommand;
};

class DialerWindowModem : public DialerWindow, public ::testing::WithParamInterface<ModemDialCase>
{
};

// Prefix 9 and 555-0100 dial ATDT9555-0100 (tone) or ATDP9555-0100 (pulse) after the
// initialization string and its pause; the window stays open.
TEST_P(DialerWindowModem, DialSendsThePrefixedNumberAndStaysOpen)
{
    const ModemDialCase c = GetParam();
    writeSettings(QByteArray("[Dialing]\nPrefix=9\nPortDevice=") + pty.device().toLocal8Bit() + "\n");
    auto w = open(QStringLiteral("555-0100"));
    ASSERT_EQ(w->PortCombo->currentText(), pty.device());
    w->InitEdit->clear();
    QTest::keyClicks(w->InitEdit, QString::fromLatin1(c.init));
    QTest::mouseClick(c.pulse ? w->PulseRadio : w->ToneRadio, Qt::LeftButton);
    ASSERT_EQ(w->PulseRadio->isChecked(), c.pulse);

    QTest::mouseClick(w->DialButton, Qt::LeftButton);

    if (c.sentBeforeWait) {
        EXPECT_EQ(waits, QList<int>{TDialer::kInitWaitMilliseconds});
        EXPECT_EQ(beforeWait, QByteArray(c.sentBeforeWait));
    } else {
        EXPECT_TRUE(waits.isEmpty());
    }
    EXPECT_EQ(beforePickUp, QByteArray(c.dialCommand));
    EXPECT_EQ(pty.read(), QByteArray("ATH\r\n"));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Pick up phone")});
    EXPECT_EQ(icons, QList<QMessageBox::Icon>{QMessageBox::Information});
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->DialButton->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Cases, DialerWindowModem,
                         ::testing::Values(ModemDialCase{"Z", false, "ATZ\r\n", "ATDT9555-0100\r\n"},
                                           ModemDialCase{"atz", true, "atz\r\n", "ATDP9555-0100\r\n"},
                                           ModemDialCase{"", false, nullptr, "ATDT9555-0100\r\n"}));

TEST_F(DialerWindow, DialWritesTheSettingsAsShown)
{
    auto w = open(QStringLiteral("555-0100"));
    w->setTelephonyBus(ModemManagerMock::unconnectedBus());
    QTest::keyClicks(w->PrefixEdit, QStringLiteral("1"));
    QTest::keyClicks(w->InitEdit, QStringLiteral("&F"));
    QTest::mouseClick(w->PulseRadio, Qt::LeftButton);
    w->PortCombo->setFocus();
    QTest::keyClick(w->PortCombo, Qt::Key_Down);
    ASSERT_EQ(w->PortCombo->currentText(), QStringLiteral("COM 2"));
    // Through the telephony service, so no serial port of the machine is touched.
    clickBox(w->UseTAPICheck);

    QStringList callStatus;
    QTimer::singleShot(0, [&] {
        auto *call = qobject_cast<TfrmTAPICall *>(QApplication::activeModalWidget());
        ASSERT_NE(call, nullptr);
        callStatus = call->statusLines();
        QTest::mouseClick(call->CloseButton, Qt::LeftButton);
    });
    QTest::mouseClick(w->DialButton, Qt::LeftButton);

    EXPECT_EQ(callStatus, QStringList{QStringLiteral("Error!! - ")});
    EXPECT_EQ(setting("Prefix"), QStringLiteral("1"));
    EXPECT_EQ(setting("Init"), QStringLiteral("&F"));
    EXPECT_EQ(setting("Port"), QStringLiteral("1"));
    EXPECT_EQ(setting("Method"), QStringLiteral("1"));
    EXPECT_EQ(setting("UseTAPI"), QStringLiteral("1"));
    EXPECT_TRUE(setting("PortDevice").isEmpty());

    // A USB modem chosen is written as its device; "Port" keeps the COM port it had.
    clickBox(w->UseTAPICheck);
    w->PortCombo->setFocus();
    QTest::keyClick(w->PortCombo, Qt::Key_End);
    ASSERT_EQ(w->PortCombo->currentText(), pty.device());
    QTest::mouseClick(w->DialButton, Qt::LeftButton);
    EXPECT_EQ(setting("PortDevice"), pty.device());
    EXPECT_EQ(setting("Port"), QStringLiteral("1"));
    EXPECT_EQ(setting("UseTAPI"), QStringLiteral("0"));
    EXPECT_EQ(beforePickUp, QByteArray("ATDP1555-0100\r\n"));
}

TEST_F(DialerWindow, PortThatCannotBeOpenedIsReportedAndTheWindowStaysOpen)
{
    writeSettings("[Dialing]\nPortDevice=/nonexistent/ttyUSB7\n");
    auto w = std::make_unique<TCVDialer>(settingsPath(), QStringLiteral("555-0100"));
    w->setPorts({TModemPorts::com(0), TModemPort{QStringLiteral("/nonexistent/ttyUSB7"),
                                                 QStringLiteral("/nonexistent/ttyUSB7"), -1}});
    w->show();
    QTest::mouseClick(w->DialButton, Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("Unable to open /nonexistent/ttyUSB7")))
        << boxes[0].toStdString();
    EXPECT_EQ(icons[0], QMessageBox::Critical);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->DialButton->isEnabled());
}

TEST_F(DialerWindow, NumberWithNothingToDialIsRefused)
{
    writeSettings(QByteArray("[Dialing]\nPortDevice=") + pty.device().toLocal8Bit() + "\n");
    auto w = open(QStringLiteral("n/a"));
    QTest::mouseClick(w->DialButton, Qt::LeftButton);
    EXPECT_EQ(boxes, QStringList{QStringLiteral("There is no number to dial.")});
    EXPECT_TRUE(pty.read(100).isEmpty());
}

// While a dial waits for the modem, "Dial" cannot start a second one and the window cannot be
// closed under it.
TEST_F(DialerWindow, DialIsDisabledWhileDialling)
{
    writeSettings(QByteArray("[Dialing]\nInit=Z\nPortDevice=") + pty.device().toLocal8Bit() + "\n");
    auto w = open(QStringLiteral("555-0100"));
    bool dialEnabled = true;
    bool cancelEnabled = true;
    onWait = [&](TCVDialer &window) {
        dialEnabled = window.DialButton->isEnabled();
        cancelEnabled = window.CancelButton->isEnabled();
        QTest::mouseClick(window.DialButton, Qt::LeftButton);
        QTest::keyClick(&window, Qt::Key_Escape);
    };
    QTest::mouseClick(w->DialButton, Qt::LeftButton);

    EXPECT_FALSE(dialEnabled);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_EQ(waits.size(), 1);
    EXPECT_EQ(beforeWait, QByteArray("ATZ\r\n"));
    EXPECT_EQ(boxes, QStringList{QStringLiteral("Pick up phone")});
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->DialButton->isEnabled());
    EXPECT_TRUE(w->CancelButton->isEnabled());
}

TEST_F(DialerWindow, CancelClosesAndHelpAsksForTheTopic)
{
    auto w = open(QStringLiteral("555-0100"));
    QSignalSpy help(w.get(), &TCVDialer::helpRequested);
    QTest::mouseClick(w->HelpButton, Qt::LeftButton);
    QTest::keyClick(w.get(), Qt::Key_F1);
    ASSERT_EQ(help.count(), 2);
    EXPECT_EQ(help[0][0].toInt(), TCVDialer::kHelpTopic);
    QTest::mouseClick(w->CancelButton, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->result(), QDialog::Rejected);
}

// With "Use TAPI to dial" ticked, "Dial" opens the call window with prefix and number joined.
TEST_F(DialerWindow, DialWithTapiOpensTheCallWindowWithThePrefixedNumber)
{
    ASSERT_TRUE(ModemManagerMock::startBus());
    {
        ModemManagerMock service;
        ASSERT_TRUE(service.isRunning());
        writeSettings("[Dialing]\nPrefix=9\n");
        auto w = open(QStringLiteral("555-0100"));
        w->setTelephonyBus(ModemManagerMock::bus());
        clickBox(w->UseTAPICheck);

        QString shownNumber;
        QString title;
        QString calledNumber;
        QTimer::singleShot(0, [&] {
            auto *call = qobject_cast<TfrmTAPICall *>(QApplication::activeModalWidget());
            ASSERT_NE(call, nullptr);
            title = call->windowTitle();
            shownNumber = call->NumberEdit->text();
            calledNumber =
                ModemManagerMock::callProperty(call->line().callPath(), QStringLiteral("Number")).toString();
            QTest::mouseClick(call->CloseButton, Qt::LeftButton);
        });
        QTest::mouseClick(w->DialButton, Qt::LeftButton);

        EXPECT_EQ(title, QStringLiteral("TAPI Call - PICK UP THE PHONE"));
        EXPECT_EQ(shownNumber, QStringLiteral("9555-0100"));
        EXPECT_EQ(calledNumber, QStringLiteral("9555-0100"));
        EXPECT_EQ(setting("UseTAPI"), QStringLiteral("1"));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(pty.read(100).isEmpty());
    }
    ModemManagerMock::stopBus();
}
