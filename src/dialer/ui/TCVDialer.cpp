#include "TCVDialer.h"

#include "THelpRequest.h"

#include "TIniFile.h"
#include "TMessages.h"
#include "TWindowPlacer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWhatsThis>

#include <utility>

namespace {

// The dialler's questions and notices as message boxes over the window.
class TDialerBoxes : public TDialerPrompts
{
public:
    explicit TDialerBoxes(QWidget *parent) : m_parent(parent) {}
    bool confirm(const QString &text) override
    {
        return TMessages::question(m_parent, QStringLiteral("Dial"), text, QMessageBox::Yes);
    }
    void error(const QString &text) override
    {
        TMessages::show({m_parent, QMessageBox::Critical, QStringLiteral("Information"), text,
                         QMessageBox::Ok, QMessageBox::Ok});
    }
    void information(const QString &text) override { TMessages::information(m_parent, text); }

private:
    QWidget *m_parent;
};

} // namespace

TCVDialer::TCVDialer(const QString &settingsPath, const QString &number, QWidget *parent)
    : QDialog(parent), m_settingsPath(settingsPath), m_number(number)
{
    setObjectName(QStringLiteral("TCVDialer"));
    setWindowTitle(QStringLiteral("Dial Phone Number"));
    setModal(true);

    PrefixEdit = new QLineEdit(this);
    PrefixEdit->setObjectName(QStringLiteral("PrefixEdit"));
    NumberEdit = new QLineEdit(this);
    NumberEdit->setObjectName(QStringLiteral("NumberEdit"));
    NumberEdit->setText(number);
    NumberEdit->setMinimumWidth(220);
    UseTAPICheck = new QCheckBox(QStringLiteral("Use TAPI to dial"), this);
    UseTAPICheck->setObjectName(QStringLiteral("UseTAPICheck"));

    ModemPanel = new QGroupBox(this);
    ModemPanel->setObjectName(QStringLiteral("ModemPanel"));
    PortCombo = new QComboBox(ModemPanel);
    PortCombo->setObjectName(QStringLiteral("PortCombo"));
    auto *methodGroup = new QGroupBox(QStringLiteral("Method"), ModemPanel);
    ToneRadio = new QRadioButton(QStringLiteral("Tone"), methodGroup);
    ToneRadio->setObjectName(QStringLiteral("ToneRadio"));
    PulseRadio = new QRadioButton(QStringLiteral("Pulse"), methodGroup);
    PulseRadio->setObjectName(QStringLiteral("PulseRadio"));
    ToneRadio->setChecked(true);
    auto *methodLayout = new QHBoxLayout(methodGroup);
    methodLayout->addWidget(ToneRadio);
    methodLayout->addWidget(PulseRadio);
    methodLayout->addStretch();
    InitEdit = new QLineEdit(ModemPanel);
    InitEdit->setObjectName(QStringLiteral("InitEdit"));
    auto *modemLayout = new QFormLayout(ModemPanel);
    modemLayout->addRow(QStringLiteral("Port"), PortCombo);
    modemLayout->addRow(methodGroup);
    modemLayout->addRow(new QLabel(QStringLiteral("Modem Initialization String"), ModemPanel));
    modemLayout->addRow(InitEdit);

    DialButton = new QPushButton(QStringLiteral("Dial"), this);
    DialButton->setObjectName(QStringLiteral("DialButton"));
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {DialButton, CancelButton, HelpButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    DialButton->setDefault(true);

    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Prefix"), PrefixEdit);
    fields->addRow(QStringLiteral("Number to Dial"), NumberEdit);
    fields->addRow(UseTAPICheck);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(ModemPanel);
    layout->addStretch();
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(DialButton, &QPushButton::clicked, this, &TCVDialer::DialButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TCVDialer::reject);
    connect(HelpButton, &QPushButton::clicked, this, &TCVDialer::HelpButtonClick);
    connect(UseTAPICheck, &QCheckBox::toggled, this, &TCVDialer::UseTAPICheckClick);
}

TCVDialer::~TCVDialer() = default;

void TCVDialer::setPorts(const QList<TModemPort> &ports)
{
    m_portsGiven = ports;
}

void TCVDialer::setWait(TDialer::Wait wait)
{
    m_wait = std::move(wait);
}

void TCVDialer::setTelephonyBus(const QDBusConnection &bus)
{
    m_bus = bus;
}

void TCVDialer::setLinkOpener(TfrmTAPICall::LinkOpener opener)
{
    m_linkOpener = std::move(opener);
}

void TCVDialer::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    loadSettings();
    TWindowPlacer::centre(this, parentWidget());
}

void TCVDialer::fillPorts()
{
    m_ports = m_portsGiven ? *m_portsGiven : TModemPorts::available();
    PortCombo->clear();
    for (const TModemPort &port : m_ports)
        PortCombo->addItem(port.caption);
}

void TCVDialer::loadSettings()
{
    fillPorts();
    const TDialerSettings s = TDialerSettings::load(TIniFile(m_settingsPath));
    m_storedPort = s.Port;
    PrefixEdit->setText(s.Prefix);
    InitEdit->setText(s.Init);
    (s.Method == 1 ? PulseRadio : ToneRadio)->setChecked(true);
    int shown = -1;
    for (int i = 0; i < m_ports.size() && shown < 0; ++i) {
        if (!s.PortDevice.isEmpty() && m_ports[i].comIndex < 0 && m_ports[i].device == s.PortDevice)
            shown = i;
    }
    for (int i = 0; i < m_ports.size() && shown < 0; ++i) {
        if (m_ports[i].comIndex == s.Port)
            shown = i;
    }
    PortCombo->setCurrentIndex(shown);
    UseTAPICheck->setChecked(s.UseTAPI);
    UseTAPICheckClick();
}

TDialerSettings TCVDialer::shownSettings() const
{
    TDialerSettings s;
    s.Prefix = PrefixEdit->text();
    s.Init = InitEdit->text();
    s.Method = PulseRadio->isChecked() ? 1 : 0;
    s.UseTAPI = UseTAPICheck->isChecked();
    s.Port = m_storedPort;
    const int index = PortCombo->currentIndex();
    if (index >= 0 && index < m_ports.size()) {
        const TModemPort &port = m_ports[index];
        if (port.comIndex >= 0)
            s.Port = port.comIndex;
        else
            s.PortDevice = port.device;
    }
    return s;
}

void TCVDialer::UseTAPICheckClick()
{
    ModemPanel->setVisible(!UseTAPICheck->isChecked());
}

void TCVDialer::DialButtonClick()
{
    // The pause after the initialization string keeps the program responsive; a second press
    // must not start a second dial on the port the first one holds.
    if (m_dialling)
        return;
    // A "What's this?" text left open would cover the boxes that follow.
    QWhatsThis::hideText();
    const TDialerSettings settings = shownSettings();
    m_storedPort = settings.Port;
    TIniFile ini(m_settingsPath);
    // A settings file that cannot be written does not stop the dial; nothing is reported.
    (void)settings.save(ini);

    const QString number = PrefixEdit->text() + NumberEdit->text();
    if (!UseTAPICheck->isHidden() && UseTAPICheck->isChecked())
        callByTelephony(number);
    else
        dialByModem(number);
}

void TCVDialer::callByTelephony(const QString &number)
{
    TfrmTAPICall call(number, m_bus ? *m_bus : QDBusConnection::systemBus(), this, parentWidget());
    if (m_linkOpener)
        call.setLinkOpener(m_linkOpener);
    call.exec();
}

void TCVDialer::dialByModem(const QString &number)
{
    setDialling(true);
    TDialerBoxes boxes(this);
    TDialer dialer(boxes);
    const int index = PortCombo->currentIndex();
    const TModemPort port = index >= 0 && index < m_ports.size() ? m_ports[index] : TModemPorts::com(0);
    if (port.comIndex >= 0 && port.device == TModemPorts::com(port.comIndex).device)
        dialer.ComPort = static_cast<TDialerComPort>(port.comIndex);
    else
        dialer.Device = port.device;
    dialer.Method = PulseRadio->isChecked() ? dmPulse : dmTone;
    dialer.Number = number;
    dialer.InitString = InitEdit->text();
    dialer.setWait(m_wait);
    // A failed open or dial has shown its message; the window stays open for another try.
    dialer.Dial();
    setDialling(false);
}

void TCVDialer::setDialling(bool dialling)
{
    m_dialling = dialling;
    DialButton->setEnabled(!dialling);
    CancelButton->setEnabled(!dialling);
}

void TCVDialer::HelpButtonClick()
{
    emit helpRequested(kHelpTopic);
    THelpRequest::ask(this, kHelpTopic);
}

void TCVDialer::reject()
{
    // The window stays while a dial runs: the dial's boxes and the port belong to it.
    if (!m_dialling)
        QDialog::reject();
}

void TCVDialer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        HelpButtonClick();
        return;
    }
    QDialog::keyPressEvent(event);
}
