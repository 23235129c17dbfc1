#include "TfrmTAPICall.h"

#include "THelpRequest.h"

#include "TCallStatus.h"
#include "TDialNumber.h"
#include "TVoiceLine.h"
#include "TWindowPlacer.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3011;

namespace {

// The window's own texts beside the status lines of TCallStatus.
const char kCaption[] = "TAPI Call - PICK UP THE PHONE";
const char kPhoneAppCaption[] = "Call with &Phone App";
const char kHandedOver[] = "Number handed to the phone application";
const char kNotHandedOver[] = "* No phone application took the number";

bool openWithDesktop(const QUrl &link)
{
    return QDesktopServices::openUrl(link);
}

} // namespace

TfrmTAPICall::TfrmTAPICall(const QString &number, const QDBusConnection &bus, QWidget *parent,
                           const QWidget *mainWindow)
    : QDialog(parent), m_number(number), m_opener(openWithDesktop), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("TfrmTAPICall"));
    setWindowTitle(QLatin1String(kCaption));
    setModal(true);

    auto *numberLabel = new QLabel(QStringLiteral("Number to call"), this);
    NumberEdit = new QLineEdit(this);
    NumberEdit->setObjectName(QStringLiteral("NumberEdit"));
    numberLabel->setBuddy(NumberEdit);
    auto *statusLabel = new QLabel(QStringLiteral("Status"), this);
    StatusList = new QListWidget(this);
    StatusList->setObjectName(QStringLiteral("StatusList"));
    StatusList->setMinimumSize(320, 140);
    statusLabel->setBuddy(StatusList);

    CallButton = new QPushButton(QStringLiteral("Call"), this);
    CallButton->setObjectName(QStringLiteral("CallButton"));
    HangupButton = new QPushButton(QStringLiteral("Hangup"), this);
    HangupButton->setObjectName(QStringLiteral("HangupButton"));
    HangupButton->setEnabled(false);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    PhoneAppButton = new QPushButton(QLatin1String(kPhoneAppCaption), this);
    PhoneAppButton->setObjectName(QStringLiteral("PhoneAppButton"));
    PhoneAppButton->setVisible(false);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {CallButton, HangupButton, PhoneAppButton, CloseButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->insertStretch(2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(numberLabel);
    layout->addWidget(NumberEdit);
    layout->addWidget(statusLabel);
    layout->addWidget(StatusList);
    layout->addLayout(buttons);

    connect(CallButton, &QPushButton::clicked, this, &TfrmTAPICall::CallButtonClick);
    connect(HangupButton, &QPushButton::clicked, this, &TfrmTAPICall::HangupButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TfrmTAPICall::CloseButtonClick);
    connect(PhoneAppButton, &QPushButton::clicked, this, &TfrmTAPICall::PhoneAppButtonClick);

    m_line = new TVoiceLine(bus, this);
    connect(m_line, &TVoiceLine::startReplied, this, &TfrmTAPICall::lineStartReplied);
    connect(m_line, &TVoiceLine::stateChanged, this, &TfrmTAPICall::lineStateChanged);
    connect(m_line, &TVoiceLine::hangupFailed, this, &TfrmTAPICall::lineHangupFailed);
    connect(m_line, &TVoiceLine::idle, this, &TfrmTAPICall::lineIdle);
    if (!m_line->open()) {
        addStatus(TCallStatus::noLineText(m_line->failureReason()));
        // Without a line "Call" cannot work: the reason stays in view, and the phone
        // application is offered instead.
        CallButton->setEnabled(false);
        PhoneAppButton->setVisible(true);
    }
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

TfrmTAPICall::~TfrmTAPICall() = default;

void TfrmTAPICall::setLinkOpener(LinkOpener opener)
{
    m_opener = opener ? std::move(opener) : LinkOpener(openWithDesktop);
}

QStringList TfrmTAPICall::statusLines() const
{
    QStringList lines;
    for (int i = 0; i < StatusList->count(); ++i)
        lines << StatusList->item(i)->text();
    return lines;
}

void TfrmTAPICall::addStatus(const QString &text)
{
    StatusList->addItem(text);
    StatusList->scrollToBottom();
}

void TfrmTAPICall::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    TWindowPlacer::centre(this, m_mainWindow);
    NumberEdit->setText(m_number);
    CallButton->click();
}

void TfrmTAPICall::CallButtonClick()
{
    const QString text = NumberEdit->text();
    if (text.trimmed().isEmpty() || !m_line->isOpen() || m_line->hasCall())
        return;
    StatusList->clear();
    // Only a dial string reaches the service, which hands it to the modem's command line.
    const QString number = TDialNumber::dialable(text);
    if (number.isEmpty()) {
        addStatus(QStringLiteral("* ") + TDialNumber::nothingToDialText());
        return;
    }
    if (!m_line->makeCall(number)) {
        for (const QString &line : TCallStatus::callFailedLines())
            addStatus(line);
        return;
    }
    m_callEnded = false;
    CallButton->setEnabled(false);
    HangupButton->setEnabled(true);
}

void TfrmTAPICall::HangupButtonClick()
{
    if (!m_line->hasCall())
        return;
    if (m_callEnded)
        m_line->drop();
    else
        m_line->hangup();
}

void TfrmTAPICall::CloseButtonClick()
{
    reject();
}

void TfrmTAPICall::PhoneAppButtonClick()
{
    const QUrl link = TDialNumber::telLink(NumberEdit->text());
    if (!link.isValid()) {
        addStatus(QStringLiteral("* ") + TDialNumber::nothingToDialText());
        return;
    }
    addStatus(QLatin1String(m_opener(link) ? kHandedOver : kNotHandedOver));
}

void TfrmTAPICall::lineStartReplied(bool accepted)
{
    if (accepted) {
        addStatus(TCallStatus::startedText());
        return;
    }
    addStatus(TCallStatus::startErrorText());
    // A call that never started is let go of, so "Call" can be pressed again.
    m_line->drop();
}

void TfrmTAPICall::lineStateChanged(int /*oldState*/, int newState, unsigned reason)
{
    const TCallStatus::Change change = TCallStatus::forState(newState, reason);
    if (change.addsLine)
        addStatus(change.line);
    if (newState == TCallStatus::kStateTerminated)
        m_callEnded = true;
    if (change.pressesHangup)
        HangupButton->click();
}

void TfrmTAPICall::lineHangupFailed()
{
    addStatus(TCallStatus::hangupFailedText());
}

void TfrmTAPICall::lineIdle()
{
    addStatus(TCallStatus::idleText());
    m_callEnded = false;
    CallButton->setEnabled(true);
    HangupButton->setEnabled(false);
}
