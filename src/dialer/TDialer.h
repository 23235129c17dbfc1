// Dials a number on a modem with AT commands over a serial port: the initialization string, a
// pause for the modem, the dial command, and, once the user has picked up the handset, the
// hang-up command, so that the modem lets go of the line and the handset keeps it. The
// dialler window makes one for each "Dial"; what the user is asked and told goes through the
// prompts it is handed.
#pragma once

#include "TModemPorts.h"

#include <QByteArray>
#include <QString>

#include <functional>

class QSerialPort;

enum TDialerComPort { dpCOM1, dpCOM2, dpCOM3, dpCOM4 };
enum TDialerMethod { dmTone, dmPulse };

// The questions and notices of a dial. The dialler window shows message boxes; tests answer
// with a script.
class TDialerPrompts
{
public:
    virtual ~TDialerPrompts() = default;
    // A Yes/No confirmation; true for Yes.
    virtual bool confirm(const QString &text) = 0;
    // An error box with an OK button.
    virtual void error(const QString &text) = 0;
    // An information box with an OK button; returns once the user has acknowledged it.
    virtual void information(const QString &text) = 0;
};

class TDialer
{
public:
    // Waits the given time while the program stays responsive.
    using Wait = std::function<void(int milliseconds)>;

    // The modem's time to take in the initialization string before the dial command.
    static constexpr int kInitWaitMilliseconds = 1500;
    // How long one command may take to leave the port.
    static constexpr int kWriteTimeoutMilliseconds = 3000;

    // `prompts` must outlive the dialer.
    explicit TDialer(TDialerPrompts &prompts);

    // The properties of a dial, set before Dial().
    TDialerComPort ComPort = dpCOM1;
    // A device path used instead of ComPort (a USB modem); empty: ComPort's device.
    QString Device;
    TDialerMethod Method = dmTone;
    // Ask before dialling.
    bool Confirm = false;
    // The number as the user gave it, prefix included; only its dialable characters are sent.
    QString Number;
    // The modem initialization string; empty sends none.
    QString InitString;

    // Replaces the pause after the initialization string (tests); an empty one brings back the
    // default, which runs the event loop for the time.
    void setWait(Wait wait);

    // The port Dial() opens.
    TModemPort port() const;

    // `init` with "AT" put before it unless its first two characters, in capitals, are "AT",
    // then carriage return and line feed; empty for an empty string.
    static QByteArray initCommand(const QString &init);
    // "ATDT" (tone) or "ATDP" (pulse), the number, carriage return and line feed.
    static QByteArray dialCommand(TDialerMethod method, const QString &number);
    // "ATH", carriage return and line feed.
    static QByteArray hangupCommand();

    // Dials Number: refused with a message when it holds nothing to dial, then confirmation
    // when asked for, the port opened for writing alone, the initialization string and the
    // pause, the dial command, "Pick up phone", the hang-up command, the port closed. Every
    // failure has been shown through the prompts; the port is closed again whatever happened.
    // True when the number was dialled.
    bool Dial();

private:
    // Writes `bytes` and waits until they have left; false when they could not be written.
    static bool send(QSerialPort &serial, const QByteArray &bytes);

    TDialerPrompts &m_prompts;
    Wait m_wait;
};
