#include "TTagAllRecords.h"

#include "THelpRequest.h"

#include "TMessages.h"
#include "TTagCommands.h"
#include "TTagTarget.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3005;

namespace {
const char *const kTitle = "Tagging";
const char *const kTagging = "Tagging Records";
const char *const kTagged = " tagged";
const char *const kCancelled = "Cancelled before completion";
const char *const kComplete = "Complete";
const char *const kCancelCaption = "CANCEL";
const char *const kCancelQuestion = "Cancel Tagging?";
} // namespace

TTagAllRecords::TTagAllRecords(TTagTarget &target, QWidget *parent)
    : QDialog(parent), m_target(target), m_pass(target)
{
    setWindowTitle(QLatin1String(kTitle));
    TitleLabel = new QLabel(QLatin1String(kTagging), this);
    CounterLabel = new QLabel(this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setVisible(false);
    for (QLabel *label : {TitleLabel, CounterLabel})
        label->setAlignment(Qt::AlignCenter);
    CounterLabel->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000 tagged")));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addWidget(OkButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TitleLabel);
    layout->addWidget(CounterLabel);
    layout->addLayout(buttons);

    connect(CancelButton, &QPushButton::clicked, this, &TTagAllRecords::CancelButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

void TTagAllRecords::addWindowHooks(TTagHooks &hooks, QWidget *parent)
{
    if (!hooks.information)
        hooks.information = [parent](const QString &text) { TMessages::information(parent, text); };
    if (!hooks.ask)
        hooks.ask = [parent](const QString &caption, const QString &text) {
            return TMessages::question(parent, caption, text, QMessageBox::Yes);
        };
    if (!hooks.runTagging)
        hooks.runTagging = [parent](TTagTarget &target) {
            TTagAllRecords window(target, parent);
            window.exec();
        };
}

void TTagAllRecords::setStepLimits(int records, int milliseconds)
{
    m_stepRecords = qMax(1, records);
    m_stepMilliseconds = qMax(0, milliseconds);
}

void TTagAllRecords::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Once the window is on screen.
        QTimer::singleShot(0, this, &TTagAllRecords::startPass);
    }
}

void TTagAllRecords::startPass()
{
    m_running = true;
    m_target.freeze();
    m_pass.start();
    CounterLabel->setText(QString::number(0) + QLatin1String(kTagged));
    scheduleStep();
}

void TTagAllRecords::scheduleStep()
{
    if (m_stepPending)
        return;
    m_stepPending = true;
    QTimer::singleShot(0, this, &TTagAllRecords::runStep);
}

void TTagAllRecords::runStep()
{
    m_stepPending = false;
    // While "Cancel Tagging?" is asked the pass waits; the answer schedules it again.
    if (!m_running || m_asking)
        return;
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    do {
        more = m_pass.step(m_stepRecords);
    } while (more && clock.elapsed() < m_stepMilliseconds);
    CounterLabel->setText(QString::number(m_pass.taggedCount()) + QLatin1String(kTagged));
    emit progressed(m_pass.taggedCount());
    if (more && !m_pass.isFinished())
        scheduleStep();
    else
        finishPass();
}

void TTagAllRecords::finishPass()
{
    if (!m_running)
        return;
    m_running = false;
    if (!m_pass.failure().ok)
        TMessages::information(this, m_pass.failure().message);
    m_target.unfreeze();
    m_target.first();
    TitleLabel->setText(QLatin1String(m_pass.isComplete() ? kComplete : kCancelled));
    CounterLabel->clear();
    CancelButton->setVisible(false);
    OkButton->setVisible(true);
    OkButton->setDefault(true);
    OkButton->setFocus();
    m_done = true;
    emit passEnded();
}

void TTagAllRecords::CancelButtonClick()
{
    if (!m_running || m_asking)
        return;
    m_asking = true;
    const bool stop = TMessages::question(this, QLatin1String(kCancelCaption), QLatin1String(kCancelQuestion),
                                          QMessageBox::Yes);
    m_asking = false;
    if (stop)
        m_pass.cancel();
    scheduleStep();
}

void TTagAllRecords::reject()
{
    // Escape during the pass is "Cancel"; afterwards it closes like "Ok".
    if (m_running)
        CancelButtonClick();
    else if (m_done)
        accept();
}

void TTagAllRecords::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        CancelButtonClick();
        return;
    }
    QDialog::closeEvent(event);
}
