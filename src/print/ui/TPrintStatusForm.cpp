#include "TPrintStatusForm.h"

#include "THelpRequest.h"

#include "TBaseReport.h"
#include "TMessages.h"
#include "TStatusLine.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3601;

namespace {
const QString kCancel = QStringLiteral("Cancel");
const QString kStop = QStringLiteral("Stop");
const QString kOk = QStringLiteral("Ok");
} // namespace

TPrintStatusTexts TPrintStatusTexts::labels()
{
    TPrintStatusTexts t;
    t.previewStatusFormat = QStringLiteral("Preparing Preview Page %p\r%0\r%1");
    t.cancelQuestion = QStringLiteral("Cancel Label Printing?");
    t.printCanceled = QStringLiteral("\rLabel Print Canceled!");
    t.previewCanceled = QStringLiteral("\rLabel Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rLabel Print Completed!");
    t.closing = ClosesAfterCompletedPreview;
    return t;
}

TPrintStatusTexts TPrintStatusTexts::envelopes()
{
    TPrintStatusTexts t;
    t.printCanceled = QStringLiteral("\rEnvelope Print Canceled!");
    t.previewCanceled = QStringLiteral("\rEnvelope Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped!");
    t.printCompleted = QStringLiteral("\rEnvelope Print Completed!");
    t.closing = AlwaysCloses;
    return t;
}

TPrintStatusTexts TPrintStatusTexts::zipCount()
{
    TPrintStatusTexts t;
    t.cancelQuestion = QStringLiteral("Cancel Printing?");
    t.cancelCaption = QStringLiteral("CANCEL");
    t.printCanceled = QStringLiteral("\rPrint Canceled!");
    t.previewCanceled = QStringLiteral("\rPreview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rPrint Completed!");
    t.previewReady = QStringLiteral("\rPreview Ready!");
    t.closing = NeverCloses;
    return t;
}

TPrintStatusTexts TPrintStatusTexts::reports()
{
    TPrintStatusTexts t;
    t.cancelQuestion = QStringLiteral("Cancel Report Printing?");
    t.cancelIcon = QMessageBox::Information;
    t.printCanceled = QStringLiteral("\rReport Print Canceled!");
    t.previewCanceled = QStringLiteral("\rReport Preview Canceled!");
    t.previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    t.printCompleted = QStringLiteral("\rReport Print Completed!");
    t.previewReady = QStringLiteral("\rReport Preview Ready!");
    t.closing = NeverCloses;
    return t;
}

TPrintStatusForm::TPrintStatusForm(TBaseReport &job, bool previewing, TPrintStatusTexts texts,
                                   QWidget *parent)
    : QDialog(parent), m_job(job), m_previewing(previewing), m_texts(std::move(texts))
{
    setObjectName(QStringLiteral("TPrintStatusForm"));
    setModal(true);
    setWindowTitle(previewing ? QStringLiteral("Preview Status") : QStringLiteral("Print Status"));
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusLabel->setMinimumSize(280, 72);
    CancelButton = new QPushButton(previewing ? kStop : kCancel, this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StatusLabel);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TPrintStatusForm::CancelButtonClick);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

void TPrintStatusForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_started) {
        m_started = true;
        // Run once the window is on the screen and painted.
        QTimer::singleShot(0, this, &TPrintStatusForm::runJob);
    }
}

void TPrintStatusForm::showStatus(const QString &line)
{
    StatusLabel->setText(TStatusLine::labelText(line));
}

void TPrintStatusForm::runJob()
{
    if (m_running || m_finished)
        return;
    m_started = true;
    m_running = true;
    m_stopped = false;
    m_job.StatusLabel = [this](const QString &line) { showStatus(line); };
    const QString format = m_previewing && !m_texts.previewStatusFormat.isEmpty()
                               ? m_texts.previewStatusFormat
                               : m_texts.statusFormat;
    m_job.setStatusFormat(format);
    m_job.StatusText() = QStringList{QString(), QString()};
    m_total = 0;
    m_job.RunJob(*this);
    m_running = false;
    m_finished = true;
    CancelButton->setText(kOk);
    const QString text = finalText();
    if (!text.isNull()) {
        m_job.setStatusFormat(text);
        m_job.RefreshStatus();
    }
    m_job.StatusLabel = nullptr;
    const bool completed = !m_job.IsAborted() && !m_stopped;
    const bool closes =
        m_texts.closing == TPrintStatusTexts::AlwaysCloses ||
        (m_texts.closing == TPrintStatusTexts::ClosesAfterCompletedPreview && m_previewing && completed);
    if (closes) // posted, so the final text is painted before the window goes
        QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void TPrintStatusForm::step()
{
    QCoreApplication::processEvents();
}

bool TPrintStatusForm::cancelled() const
{
    return m_stopped || m_job.IsAborted();
}

QString TPrintStatusForm::finalText() const
{
    QString text;
    if (m_job.IsAborted())
        text = m_previewing ? m_texts.previewCanceled : m_texts.printCanceled;
    else if (m_stopped)
        text = m_texts.previewStopped;
    else
        text = m_previewing ? m_texts.previewReady : m_texts.printCompleted;
    return text.isEmpty() ? QString() : text;
}

bool TPrintStatusForm::shouldShowPreview() const
{
    return m_previewing && m_finished && !m_job.IsAborted();
}

void TPrintStatusForm::CancelButtonClick()
{
    const QString caption = CancelButton->text();
    if (caption == kCancel) {
        if (!m_running)
            return;
        if (!m_texts.cancelQuestion.isEmpty()) {
            const TMessageRequest request{this,
                                          m_texts.cancelIcon,
                                          m_texts.cancelCaption,
                                          m_texts.cancelQuestion,
                                          QMessageBox::Yes | QMessageBox::No,
                                          m_texts.cancelDefault};
            if (TMessages::show(request) != QMessageBox::Yes)
                return;
        }
        m_job.AbortJob();
    } else if (caption == kStop) {
        m_stopped = true;
    } else {
        accept();
    }
}

void TPrintStatusForm::closeEvent(QCloseEvent *event)
{
    // The window stays while its job runs; Cancel or Stop end the run first.
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TPrintStatusForm::reject()
{
    if (!m_running)
        QDialog::reject();
}
