#include "ModemManagerMock.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QThread>

#include <memory>

namespace {

const QString kService = QStringLiteral("org.freedesktop.ModemManager1");
const QString kConnectionName = QStringLiteral("corvantis-test-bus");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");

std::unique_ptr<QProcess> s_daemon;
QString s_address;

// Lets the connection handle its messages while a test waits.
void pause(int milliseconds)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, milliseconds);
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace

bool ModemManagerMock::startBus()
{
    if (s_daemon)
        return bus().isConnected();
    s_daemon = std::make_unique<QProcess>();
    s_daemon->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    s_daemon->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                    QStringLiteral("--print-address=1")});
    if (!s_daemon->waitForStarted(10000))
        return false;
    QDeadlineTimer deadline(10000);
    QByteArray line;
    while (!line.contains('\n') && !deadline.hasExpired()) {
        s_daemon->waitForReadyRead(100);
        line += s_daemon->readAllStandardOutput();
    }
    s_address = QString::fromLocal8Bit(line.left(line.indexOf('\n')).trimmed());
    if (s_address.isEmpty())
        return false;
    return QDBusConnection::connectToBus(s_address, kConnectionName).isConnected();
}

void ModemManagerMock::stopBus()
{
    QDBusConnection::disconnectFromBus(kConnectionName);
    if (s_daemon) {
        s_daemon->terminate();
        s_daemon->waitForFinished(5000);
        s_daemon.reset();
    }
}

QDBusConnection ModemManagerMock::bus()
{
    return QDBusConnection(kConnectionName);
}

QDBusConnection ModemManagerMock::unconnectedBus()
{
    return QDBusConnection(QStringLiteral("corvantis-test-no-bus"));
}

bool ModemManagerMock::serviceRunning()
{
    const QDBusReply<bool> owned = bus().interface()->isServiceRegistered(kService);
    return owned.isValid() && owned.value();
}

ModemManagerMock::ModemManagerMock(const QString &parametersJson)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), s_address);
    m_process.setProcessEnvironment(env);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                     QStringLiteral("-t"),
                     QStringLiteral(CORVANTIS_SOURCE_DIR "/tests/dialer/mock_modemmanager.py"),
                     QStringLiteral("-p"), parametersJson});
    if (!m_process.waitForStarted(10000))
        return;
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (serviceRunning()) {
            m_running = true;
            return;
        }
        pause(20);
    }
}

ModemManagerMock::~ModemManagerMock()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The next test's service must not meet this one's name.
    QDeadlineTimer deadline(5000);
    while (serviceRunning() && !deadline.hasExpired())
        pause(20);
}

bool ModemManagerMock::emitCallState(const QString &path, int oldState, int newState, unsigned reason)
{
    QDBusMessage emitter =
        QDBusMessage::createMethodCall(kService, path, kMock, QStringLiteral("EmitSignal"));
    emitter << QStringLiteral("org.freedesktop.ModemManager1.Call") << QStringLiteral("StateChanged")
            << QStringLiteral("iiu") << QVariantList{oldState, newState, static_cast<uint>(reason)};
    return bus().call(emitter).type() == QDBusMessage::ReplyMessage;
}

QVariant ModemManagerMock::callProperty(const QString &path, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QStringLiteral("org.freedesktop.ModemManager1.Call") << name;
    const QDBusMessage reply = bus().call(get);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return QVariant();
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

bool ModemManagerMock::hasObject(const QString &path)
{
    return callProperty(path, QStringLiteral("State")).isValid();
}
