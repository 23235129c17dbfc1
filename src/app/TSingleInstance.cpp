#include "TSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {
const QByteArray kRaise = QByteArrayLiteral("raise\n");
}

TSingleInstance::TSingleInstance(const QString &key, const QString &folder, QObject *parent)
    : QObject(parent), m_key(key), m_folder(folder)
{
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (m_folder.isEmpty())
        m_folder = QDir::tempPath();
}

TSingleInstance::~TSingleInstance()
{
    if (m_server)
        m_server->close();
}

QString TSingleInstance::serverName() const
{
    // One channel per user and lock folder.
    const QByteArray id =
        QCryptographicHash::hash((m_folder + QLatin1Char('/') + m_key).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return m_key + QLatin1Char('-') + QString::fromLatin1(id);
}

bool TSingleInstance::start()
{
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(m_folder + QLatin1Char('/') + m_key + QStringLiteral(".lock"));
    // The lock of a program that ended without releasing it is taken over; a running
    // program's lock never grows stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(100)) {
        askFirstToRaise();
        m_first = false;
        return false;
    }
    m_first = true;
    m_server = new QLocalServer(this);
    QLocalServer::removeServer(serverName());
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("raise"))
                    emit raiseRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    m_server->listen(serverName());
    return true;
}

bool TSingleInstance::askFirstToRaise() const
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(kRaise);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}
