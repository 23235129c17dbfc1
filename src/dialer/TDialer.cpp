#include "TDialer.h"

#include "TDialNumber.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

namespace {

// The speeds a terminal line names, with their rates in bits per second.
struct Speed {
    speed_t code;
    qint32 rate;
};
const Speed kSpeeds[] = {
    {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},         {B150, 150},
    {B200, 200},         {B300, 300},         {B600, 600},         {B1200, 1200},       {B1800, 1800},
    {B2400, 2400},       {B4800, 4800},       {B9600, 9600},       {B19200, 19200},     {B38400, 38400},
    {B57600, 57600},     {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000}, {B1500000, 1500000},
    {B2000000, 2000000}, {B2500000, 2500000}, {B3000000, 3000000}, {B3500000, 3500000}, {B4000000, 4000000},
};

// The device opened a second time, only to read its line settings. It stays open until the
// serial port has opened it too: closing the last handle of a line drops its DTR signal, and a
// modem may hang up or reset just as the first command arrives.
class LineProbe
{
public:
    explicit LineProbe(const QString &device)
        : m_fd(::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
    }
    ~LineProbe()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    LineProbe(const LineProbe &) = delete;
    LineProbe &operator=(const LineProbe &) = delete;

    // The serial port would otherwise impose its own defaults (9600 bits per second, no flow
    // control) while it is open: the line keeps the speed, stop bits, parity and flow control
    // the system has configured for the device. Character size and output processing are the
    // port's (eight bits, raw), so the commands leave unchanged. A device whose settings
    // cannot be read is left to the port's defaults.
    void applyTo(QSerialPort &serial) const
    {
        termios line{};
        if (m_fd < 0 || ::tcgetattr(m_fd, &line) != 0)
            return;
        const speed_t code = ::cfgetospeed(&line);
        for (const Speed &s : kSpeeds) {
            if (s.code == code)
                serial.setBaudRate(s.rate);
        }
        serial.setStopBits((line.c_cflag & CSTOPB) ? QSerialPort::TwoStop : QSerialPort::OneStop);
        if (!(line.c_cflag & PARENB))
            serial.setParity(QSerialPort::NoParity);
        else if (line.c_cflag & CMSPAR)
            serial.setParity((line.c_cflag & PARODD) ? QSerialPort::MarkParity : QSerialPort::SpaceParity);
        else
            serial.setParity((line.c_cflag & PARODD) ? QSerialPort::OddParity : QSerialPort::EvenParity);
        if (line.c_cflag & CRTSCTS)
            serial.setFlowControl(QSerialPort::HardwareControl);
        else if (line.c_iflag & (IXON | IXOFF))
            serial.setFlowControl(QSerialPort::SoftwareControl);
        else
            serial.setFlowControl(QSerialPort::NoFlowControl);
    }

private:
    int m_fd;
};

void waitInEventLoop(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

const QByteArray kLineEnd("\r\n");

} // namespace

TDialer::TDialer(TDialerPrompts &prompts) : m_prompts(prompts), m_wait(waitInEventLoop) {}

void TDialer::setWait(Wait wait)
{
    m_wait = wait ? std::move(wait) : Wait(waitInEventLoop);
}

TModemPort TDialer::port() const
{
    if (!Device.isEmpty())
        return {Device, Device, -1};
    return TModemPorts::com(static_cast<int>(ComPort));
}

QByteArray TDialer::initCommand(const QString &init)
{
    if (init.isEmpty())
        return QByteArray();
    QString command = init;
    if (init.left(2).toUpper() != QLatin1String("AT"))
        command.prepend(QLatin1String("AT"));
    return command.toLatin1() + kLineEnd;
}

QByteArray TDialer::dialCommand(TDialerMethod method, const QString &number)
{
    return QByteArray(method == dmPulse ? "ATDP" : "ATDT") + number.toLatin1() + kLineEnd;
}

QByteArray TDialer::hangupCommand()
{
    return QByteArray("ATH") + kLineEnd;
}

bool TDialer::send(QSerialPort &serial, const QByteArray &bytes)
{
    if (serial.write(bytes) != bytes.size())
        return false;
    while (serial.bytesToWrite() > 0) {
        if (!serial.waitForBytesWritten(kWriteTimeoutMilliseconds))
            return false;
    }
    return serial.error() == QSerialPort::NoError;
}

bool TDialer::Dial()
{
    // Only a dial string reaches the modem's command line: a record's letters, semicolons or
    // control characters could otherwise add commands of their own.
    const QString number = TDialNumber::dialable(Number);
    if (number.isEmpty()) {
        m_prompts.error(TDialNumber::nothingToDialText());
        return false;
    }
    if (Confirm && !m_prompts.confirm(QStringLiteral("About to dial the number ") + number +
                                      QStringLiteral(". Are you sure?")))
        return false;

    const TModemPort target = port();
    QSerialPort serial;
    serial.setPortName(target.device);
    bool opened = false;
    {
        const LineProbe probe(target.device);
        probe.applyTo(serial);
        opened = serial.open(QIODevice::WriteOnly);
    }
    if (!opened) {
        // The system's reason (no such device, no permission, in use) tells the user what to
        // change; it follows on a line of its own.
        m_prompts.error(QStringLiteral("Unable to open ") + TModemPorts::portName(target) +
                        QStringLiteral("\n\n") + serial.errorString());
        return false;
    }

    const QByteArray init = initCommand(InitString);
    if (!init.isEmpty()) {
        if (!send(serial, init)) {
            m_prompts.error(QStringLiteral("Unable to dial number"));
            return false;
        }
        m_wait(kInitWaitMilliseconds);
    }
    if (!send(serial, dialCommand(Method, number))) {
        m_prompts.error(QStringLiteral("Unable to dial number"));
        return false;
    }
    m_prompts.information(QStringLiteral("Pick up phone"));
    // The user holds the line by now: a hang-up command that does not leave changes nothing
    // they could act on.
    send(serial, hangupCommand());
    serial.close();
    return true;
}
