// The "Dial Phone Number" window: dials "Prefix" + "Number to Dial" on a modem (port, method
// and initialization string in the modem panel) or, with "Use TAPI to dial" ticked, through the
// telephony call window. The "Dialing" settings are loaded when the window is first shown and
// written each time "Dial" is pressed. The main window opens it modally for one use, handing
// it the settings file and the current record's phone text:
//
//     TCVDialer dialer(settingsPath, phoneText, this);
//     connect(&dialer, &TCVDialer::helpRequested, ...);
//     dialer.exec();
#pragma once

#include "TDialer.h"
#include "TDialerSettings.h"
#include "TModemPorts.h"
#include "TfrmTAPICall.h"

#include <QDBusConnection>
#include <QDialog>
#include <QList>
#include <QString>

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TCVDialer : public QDialog
{
    Q_OBJECT

public:
    // The dialler has no help topic of its own: help opens at the main window's.
    static constexpr int kHelpTopic = 3010;

    // `settingsPath` is the settings file; `number` fills "Number to Dial" (may be empty). The
    // window centres itself over `parent`.
    TCVDialer(const QString &settingsPath, const QString &number, QWidget *parent = nullptr);
    ~TCVDialer() override;

    // Replacements for tests, set before the window is first shown: the ports offered (default
    // TModemPorts::available()), the pause after the initialization string, the bus of the
    // telephony service (default the system bus) and the call window's hand-over of "tel:"
    // links.
    void setPorts(const QList<TModemPort> &ports);
    void setWait(TDialer::Wait wait);
    void setTelephonyBus(const QDBusConnection &bus);
    void setLinkOpener(TfrmTAPICall::LinkOpener opener);

    // The settings as the controls show them.
    TDialerSettings shownSettings() const;
    // A modem dial is running: "Dial" and "Cancel" are disabled, closing is refused.
    bool isDialling() const { return m_dialling; }

    QLineEdit *PrefixEdit = nullptr;
    QLineEdit *NumberEdit = nullptr;
    QCheckBox *UseTAPICheck = nullptr;
    // Shown only while "Use TAPI to dial" is not ticked.
    QGroupBox *ModemPanel = nullptr;
    QComboBox *PortCombo = nullptr;
    QRadioButton *ToneRadio = nullptr;
    QRadioButton *PulseRadio = nullptr;
    QLineEdit *InitEdit = nullptr;
    QPushButton *DialButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *HelpButton = nullptr;

signals:
    // Help or F1: the help topic to open.
    void helpRequested(int topic);

public slots:
    void DialButtonClick();
    void UseTAPICheckClick();
    void HelpButtonClick();
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void loadSettings();
    void fillPorts();
    void setDialling(bool dialling);
    void dialByModem(const QString &number);
    void callByTelephony(const QString &number);

    QString m_settingsPath;
    QString m_number;
    std::optional<QList<TModemPort>> m_portsGiven;
    QList<TModemPort> m_ports;
    TDialer::Wait m_wait;
    std::optional<QDBusConnection> m_bus;
    TfrmTAPICall::LinkOpener m_linkOpener;
    // "Port" as read: kept when a port other than the COM ports is chosen.
    int m_storedPort = 0;
    bool m_activated = false;
    bool m_dialling = false;
};
