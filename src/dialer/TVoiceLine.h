// A telephone line through the system's telephony service (ModemManager over D-Bus): the first
// modem offering voice calls, one outgoing call on it at a time, and that call's state changes.
// The telephony call window owns one from its creation to its destruction; replies and state
// changes arrive as signals in the user-interface thread.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class TVoiceLine : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *kService = "org.freedesktop.ModemManager1";
    // How long the service may take to answer a request made while the window waits.
    static constexpr int kReplyTimeoutMilliseconds = 10000;

    // Works on `bus` (the system bus for the real service; tests hand a private one).
    explicit TVoiceLine(const QDBusConnection &bus, QObject *parent = nullptr);
    // A call still held is deleted, which hangs it up.
    ~TVoiceLine() override;

    // Finds the modem to call with: the first, by object path, with the voice interface.
    // False when there is none; failureReason() then says why: empty when the bus cannot be
    // reached at all, "No TAPI devices found" when the service or a voice modem is missing,
    // "Unknown TAPI version" when the service answers in a form not understood, and "Unable to
    // open line for outgoing calls" when the modem takes emergency calls only.
    bool open();
    bool isOpen() const { return !m_modemPath.isEmpty(); }
    const QString &failureReason() const { return m_reason; }
    const QString &modemPath() const { return m_modemPath; }

    // Creates a call to `number` on the open line and starts it; the start's answer follows
    // as startReplied(), the call's progress as stateChanged(). False, with no call made, when
    // the line is not open, a call is held already or the service refused to create one.
    bool makeCall(const QString &number);
    bool hasCall() const { return !m_callPath.isEmpty(); }
    const QString &callPath() const { return m_callPath; }

    // Asks the service to hang the call up; the ended call arrives as stateChanged(), a
    // refusal as hangupFailed(). Nothing without a call. Answers for a call let go of in the
    // meantime are dropped.
    void hangup();
    // Lets go of the call: it is deleted at the service (hung up first if it still runs) and
    // forgotten, and idle() follows. When the service refuses the deletion, hangupFailed()
    // comes first and false is returned; the call is forgotten all the same, since it cannot
    // be used any more. Nothing without a call.
    bool drop();

signals:
    // The answer to starting the call: true when the service accepted it.
    void startReplied(bool accepted);
    // The call went from `oldState` to `newState` (TCallStatus::State) for `reason`.
    void stateChanged(int oldState, int newState, unsigned reason);
    void hangupFailed();
    // The call has been let go of; the line is free.
    void idle();

private slots:
    void callStateChanged(int oldState, int newState, uint reason);

private:
    void forgetCall();

    QDBusConnection m_bus;
    QString m_reason;
    QString m_modemPath;
    QString m_callPath;
};
