// The telephony call window "TAPI Call - PICK UP THE PHONE": calls "Number to call" through the
// system's telephony service and lists the call's progress under "Status". When no line can be
// opened the status says why, and the number can be handed to the desktop's phone application
// as a "tel:" link instead. Opened modally by the dialler window; owns its line (TVoiceLine)
// from creation to destruction, and a call still held when it closes is hung up.
#pragma once

#include <QDBusConnection>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QLineEdit;
class QListWidget;
class QPushButton;
class TVoiceLine;

class TfrmTAPICall : public QDialog
{
    Q_OBJECT

public:
    // Hands a "tel:" link to the desktop; true when a handler took it.
    using LinkOpener = std::function<bool(const QUrl &)>;

    // `number` is called as soon as the window is first shown; `bus` carries the telephony
    // service (the system bus; tests hand a private one). The window centres itself over
    // `mainWindow`, or over the screen without one.
    TfrmTAPICall(const QString &number, const QDBusConnection &bus, QWidget *parent = nullptr,
                 const QWidget *mainWindow = nullptr);
    ~TfrmTAPICall() override;

    // Replaces the desktop hand-over of "tel:" links (tests); empty brings back the real one.
    void setLinkOpener(LinkOpener opener);

    // The lines of "Status", top to bottom.
    QStringList statusLines() const;
    TVoiceLine &line() { return *m_line; }

    QLineEdit *NumberEdit = nullptr;
    QListWidget *StatusList = nullptr;
    QPushButton *CallButton = nullptr;
    QPushButton *HangupButton = nullptr;
    QPushButton *CloseButton = nullptr;
    // Shown only when no line could be opened.
    QPushButton *PhoneAppButton = nullptr;

public slots:
    void CallButtonClick();
    void HangupButtonClick();
    void CloseButtonClick();
    void PhoneAppButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void addStatus(const QString &text);
    void lineStartReplied(bool accepted);
    void lineStateChanged(int oldState, int newState, unsigned reason);
    void lineHangupFailed();
    void lineIdle();

    QString m_number;
    TVoiceLine *m_line = nullptr;
    LinkOpener m_opener;
    const QWidget *m_mainWindow = nullptr;
    bool m_activated = false;
    // The call has ended at the service: "Hangup" lets go of it.
    bool m_callEnded = false;
};
