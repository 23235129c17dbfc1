#include "TVoiceLine.h"

#include "TCallStatus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QMap>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kManagerPath = QStringLiteral("/org/freedesktop/ModemManager1");
const QString kObjectManager = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString kVoice = QStringLiteral("org.freedesktop.ModemManager1.Modem.Voice");
const QString kCall = QStringLiteral("org.freedesktop.ModemManager1.Call");

QString service()
{
    return QLatin1String(TVoiceLine::kService);
}

} // namespace

TVoiceLine::TVoiceLine(const QDBusConnection &bus, QObject *parent) : QObject(parent), m_bus(bus) {}

TVoiceLine::~TVoiceLine()
{
    if (!hasCall())
        return;
    // The window is going: the deletion is sent without waiting for its answer.
    QDBusMessage remove =
        QDBusMessage::createMethodCall(service(), m_modemPath, kVoice, QStringLiteral("DeleteCall"));
    remove << QVariant::fromValue(QDBusObjectPath(m_callPath));
    m_bus.call(remove, QDBus::NoBlock);
    forgetCall();
}

bool TVoiceLine::open()
{
    m_modemPath.clear();
    m_reason.clear();
    if (!m_bus.isConnected())
        return false;

    const QDBusMessage reply =
        m_bus.call(QDBusMessage::createMethodCall(service(), kManagerPath, kObjectManager,
                                                  QStringLiteral("GetManagedObjects")),
                   QDBus::Block, kReplyTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        m_reason = TCallStatus::noDevicesReason();
        return false;
    }
    if (reply.signature() != QLatin1String("a{oa{sa{sv}}}")) {
        m_reason = TCallStatus::unknownVersionReason();
        return false;
    }

    // Object path -> the voice interface's properties, for every object that has it.
    QMap<QString, QVariantMap> voiceModems;
    const QDBusArgument objects = reply.arguments().constFirst().value<QDBusArgument>();
    objects.beginMap();
    while (!objects.atEnd()) {
        QDBusObjectPath path;
        QMap<QString, QVariantMap> interfaces;
        objects.beginMapEntry();
        objects >> path >> interfaces;
        objects.endMapEntry();
        if (interfaces.contains(kVoice))
            voiceModems.insert(path.path(), interfaces.value(kVoice));
    }
    objects.endMap();

    if (voiceModems.isEmpty()) {
        m_reason = TCallStatus::noDevicesReason();
        return false;
    }
    const auto first = voiceModems.constBegin();
    if (first.value().value(QStringLiteral("EmergencyOnly")).toBool()) {
        m_reason = TCallStatus::cannotOpenReason();
        return false;
    }
    m_modemPath = first.key();
    return true;
}

bool TVoiceLine::makeCall(const QString &number)
{
    if (!isOpen() || hasCall())
        return false;
    QDBusMessage create =
        QDBusMessage::createMethodCall(service(), m_modemPath, kVoice, QStringLiteral("CreateCall"));
    create << QVariantMap{{QStringLiteral("number"), number}};
    const QDBusMessage reply = m_bus.call(create, QDBus::Block, kReplyTimeoutMilliseconds);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != QLatin1String("o"))
        return false;
    const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (path.isEmpty())
        return false;

    // The state changes are followed before the call starts, so none is missed.
    m_callPath = path;
    m_bus.connect(service(), m_callPath, kCall, QStringLiteral("StateChanged"), this,
                  SLOT(callStateChanged(int, int, uint)));
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(QDBusMessage::createMethodCall(service(), m_callPath, kCall, QStringLiteral("Start")),
                        kReplyTimeoutMilliseconds),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        // An answer for a call let go of meanwhile changes nothing.
        if (path == m_callPath)
            emit startReplied(!w->isError());
    });
    return true;
}

void TVoiceLine::hangup()
{
    if (!hasCall())
        return;
    auto *watcher = new QDBusPendingCallWatcher(
        m_bus.asyncCall(
            QDBusMessage::createMethodCall(service(), m_callPath, kCall, QStringLiteral("Hangup")),
            kReplyTimeoutMilliseconds),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path = m_callPath](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                if (path == m_callPath && w->isError())
                    emit hangupFailed();
            });
}

bool TVoiceLine::drop()
{
    if (!hasCall())
        return true;
    QDBusMessage remove =
        QDBusMessage::createMethodCall(service(), m_modemPath, kVoice, QStringLiteral("DeleteCall"));
    remove << QVariant::fromValue(QDBusObjectPath(m_callPath));
    forgetCall();
    const bool deleted =
        m_bus.call(remove, QDBus::Block, kReplyTimeoutMilliseconds).type() == QDBusMessage::ReplyMessage;
    if (!deleted)
        emit hangupFailed();
    emit idle();
    return deleted;
}

void TVoiceLine::forgetCall()
{
    m_bus.disconnect(service(), m_callPath, kCall, QStringLiteral("StateChanged"), this,
                     SLOT(callStateChanged(int, int, uint)));
    m_callPath.clear();
}

void TVoiceLine::callStateChanged(int oldState, int newState, uint reason)
{
    emit stateChanged(oldState, newState, reason);
}
