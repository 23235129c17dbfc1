#include "TLetterPrintForm.h"

#include "THelpRequest.h"

#include "TMessages.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3307;

namespace {
const QString kCancel = QStringLiteral("Cancel");
const QString kOk = QStringLiteral("OK");
} // namespace

TLetterPrintForm::TLetterPrintForm(TLetterPrint &run, TAddressTable &table, QWidget *parent)
    : QDialog(parent), m_run(run), m_table(table)
{
    setObjectName(QStringLiteral("TLetterPrint"));
    setModal(true);
    setWindowTitle(QStringLiteral("Print Status Screen"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(280, 72);
    StatusLabel->setWordWrap(true);
    CancelButton = new QPushButton(kCancel, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TLetterPrintForm::CancelButtonClick);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

void TLetterPrintForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Run once the window is on the screen.
        QTimer::singleShot(0, this, &TLetterPrintForm::FormActivate);
    }
}

void TLetterPrintForm::step()
{
    QCoreApplication::processEvents();
}

bool TLetterPrintForm::confirmCancel()
{
    const TMessageRequest request{this,
                                  QMessageBox::Information,
                                  QStringLiteral("CANCEL"),
                                  TLetterPrint::cancelQuestion(),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::Yes};
    if (TMessages::show(request) == QMessageBox::Yes)
        return true;
    m_cancelRequested = false;
    return false;
}

void TLetterPrintForm::FormActivate()
{
    if (m_running || m_finished)
        return;
    m_started = true;
    m_running = true;
    m_run.onStatus = [this](const QString &line) { StatusLabel->setText(line); };
    m_run.confirmCancel = [this] { return confirmCancel(); };
    m_outcome = m_run.run(m_table, *this);
    m_run.onStatus = nullptr;
    m_run.confirmCancel = nullptr;
    m_running = false;
    m_finished = true;
    CancelButton->setText(kOk);
    switch (m_outcome) {
    case TLetterPrint::Outcome::Completed:
        StatusLabel->setText(TLetterPrint::completedText());
        break;
    case TLetterPrint::Outcome::Canceled:
        StatusLabel->setText(TLetterPrint::canceledText());
        break;
    case TLetterPrint::Outcome::Failed:
        StatusLabel->setText(m_run.message());
        TMessages::information(this, m_run.message());
        break;
    }
}

void TLetterPrintForm::CancelButtonClick()
{
    // Until the run is over a press is a request, looked at after the next record.
    if (!m_finished)
        m_cancelRequested = true;
    else
        accept();
}

void TLetterPrintForm::closeEvent(QCloseEvent *event)
{
    // The window stays while its job runs; Cancel ends the run first.
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TLetterPrintForm::reject()
{
    // Escape while printing asks to cancel, as the button does.
    if (m_running) {
        m_cancelRequested = true;
        return;
    }
    QDialog::reject();
}
