// A private message bus and, on it, the test's own telephony service (mock_modemmanager.py run
// by python3-dbusmock). The bus lives for a test suite (startBus()/stopBus()); each test starts
// the service with its parameters and stops it when the object goes.
#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QVariant>

class ModemManagerMock
{
public:
    // Starts a message bus of its own (dbus-daemon) and connects to it; false when that failed.
    static bool startBus();
    static void stopBus();
    // The connection to the private bus.
    static QDBusConnection bus();
    // A connection that never reached any bus.
    static QDBusConnection unconnectedBus();

    // Starts the service with `parametersJson` (see the template) and waits until it answers.
    explicit ModemManagerMock(const QString &parametersJson = QStringLiteral("{}"));
    ~ModemManagerMock();
    ModemManagerMock(const ModemManagerMock &) = delete;
    ModemManagerMock &operator=(const ModemManagerMock &) = delete;

    bool isRunning() const { return m_running; }

    // The call at `path` announces a state change, as the network would make it.
    bool emitCallState(const QString &path, int oldState, int newState, unsigned reason);
    // A property of the call at `path`; invalid when the call does not exist.
    static QVariant callProperty(const QString &path, const QString &name);
    // Whether an object exists at `path` (a call not deleted yet).
    static bool hasObject(const QString &path);

private:
    static bool serviceRunning();

    QProcess m_process;
    bool m_running = false;
};
