// The single-instance rule: the first start of the program holds a lock named after the
// program's file and listens for later starts; a later start finds the lock taken, asks the
// first one to come to the front and ends. Owned by main() for the whole run.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLockFile;

class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    // `key` names the lock and the channel (the program's file name); `folder` holds the
    // lock file (the user's runtime folder by default).
    explicit TSingleInstance(const QString &key, const QString &folder = QString(),
                             QObject *parent = nullptr);
    ~TSingleInstance() override;

    // True when this is the first start: the lock is held and later starts are heard. False
    // when another start holds it; that one has then been asked to come to the front.
    bool start();
    bool isFirst() const { return m_first; }

signals:
    // A later start asked this one to come to the front.
    void raiseRequested();

private:
    QString serverName() const;
    bool askFirstToRaise() const;

    QString m_key;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    bool m_first = false;
};
