#include "TModemPorts.h"

#include <QDir>

#include <algorithm>
#include <utility>

namespace {

// The number after `family` in `name`, or -1 when the rest is not a plain number.
int deviceNumber(const QString &name, const QString &family)
{
    if (!name.startsWith(family) || name.size() == family.size())
        return -1;
    const QString rest = name.mid(family.size());
    for (const QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    bool ok = false;
    const int n = rest.toInt(&ok);
    return ok ? n : -1;
}

} // namespace

TModemPort TModemPorts::com(int comIndex)
{
    const int index = std::clamp(comIndex, 0, kComCount - 1);
    return {QStringLiteral("COM %1").arg(index + 1), QStringLiteral("/dev/ttyS%1").arg(index), index};
}

QString TModemPorts::portName(const TModemPort &port)
{
    if (port.comIndex >= 0)
        return QStringLiteral("COM%1").arg(port.comIndex + 1);
    return port.device;
}

QList<TModemPort> TModemPorts::available(const QString &deviceFolder)
{
    QList<TModemPort> ports;
    for (int i = 0; i < kComCount; ++i)
        ports << com(i);

    const QDir folder(deviceFolder);
    const QStringList names = folder.entryList({QStringLiteral("ttyACM*"), QStringLiteral("ttyUSB*")},
                                               QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString &family : {QStringLiteral("ttyACM"), QStringLiteral("ttyUSB")}) {
        QList<std::pair<int, QString>> found;
        for (const QString &name : names) {
            const int n = deviceNumber(name, family);
            if (n >= 0)
                found.append({n, name});
        }
        std::sort(found.begin(), found.end());
        for (const auto &entry : found) {
            const QString device = folder.absoluteFilePath(entry.second);
            ports << TModemPort{device, device, -1};
        }
    }
    return ports;
}
