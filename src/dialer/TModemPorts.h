// The serial ports a modem can be dialled on: the four COM ports, always offered, and the USB
// modems present. Stateless.
#pragma once

#include <QList>
#include <QString>

struct TModemPort {
    QString caption;   // what the port list shows: "COM 1" or the device path
    QString device;    // the device file: "/dev/ttyS0"
    int comIndex = -1; // 0 to 3 for COM1 to COM4, -1 for any other port

    friend bool operator==(const TModemPort &a, const TModemPort &b)
    {
        return a.caption == b.caption && a.device == b.device && a.comIndex == b.comIndex;
    }
};

class TModemPorts
{
public:
    static constexpr int kComCount = 4;

    // COM1 to COM4 (/dev/ttyS0 to /dev/ttyS3, whether present or not), then the USB modems
    // found in `deviceFolder` ("ttyACM" and "ttyUSB" followed by a number), each family in
    // the order of its numbers.
    static QList<TModemPort> available(const QString &deviceFolder = QStringLiteral("/dev"));

    // The COM port `comIndex` (0 to 3); indexes outside are taken as the nearest port.
    static TModemPort com(int comIndex);
    // The port's name in messages: "COM1" to "COM4", otherwise the device path.
    static QString portName(const TModemPort &port);
};
