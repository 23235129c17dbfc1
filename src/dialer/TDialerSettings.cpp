#include "TDialerSettings.h"

#include "TIniFile.h"

#include <algorithm>

namespace {

const QString kDialing = QStringLiteral("Dialing");
const QString kPrefix = QStringLiteral("Prefix");
const QString kInit = QStringLiteral("Init");
const QString kPort = QStringLiteral("Port");
const QString kMethod = QStringLiteral("Method");
const QString kUseTAPI = QStringLiteral("UseTAPI");
const QString kPortDevice = QStringLiteral("PortDevice");

} // namespace

TDialerSettings TDialerSettings::load(const TIniFile &ini)
{
    const TIniDocument settings = ini.document();
    TDialerSettings s;
    s.Prefix = settings.text(kDialing, kPrefix);
    s.Init = settings.text(kDialing, kInit);
    // A damaged or hand-edited file must not select past the port or method lists.
    s.Port = std::clamp(settings.integer(kDialing, kPort, s.Port), 0, kPortCount - 1);
    s.Method = std::clamp(settings.integer(kDialing, kMethod, s.Method), 0, kMethodCount - 1);
    s.UseTAPI = settings.logical(kDialing, kUseTAPI, s.UseTAPI);
    s.PortDevice = settings.text(kDialing, kPortDevice);
    return s;
}

bool TDialerSettings::save(TIniFile &ini) const
{
    return ini.writeStrings(kDialing, {{kPrefix, Prefix},
                                       {kInit, Init},
                                       {kPort, QString::number(Port)},
                                       {kMethod, QString::number(Method)},
                                       {kUseTAPI, UseTAPI ? QStringLiteral("1") : QStringLiteral("0")},
                                       {kPortDevice, PortDevice}});
}

bool operator==(const TDialerSettings &a, const TDialerSettings &b)
{
    return a.Prefix == b.Prefix && a.Init == b.Init && a.Port == b.Port && a.Method == b.Method &&
           a.UseTAPI == b.UseTAPI && a.PortDevice == b.PortDevice;
}
