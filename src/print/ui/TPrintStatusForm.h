// The status window a print or preview run goes through ("Print Status Screen"): it runs
// the job when it is first shown, shows the job's status line, offers Cancel (printing) or
// Stop (preview), then shows the final text and becomes the closing "Ok" button. Each output
// window creates one per run with its own texts and shows it modally; the job is the caller's.
// The window is the run's progress: each step lets pending window events run, so the button
// can be pressed, and Stop or Cancel make the run's progress cancelled.
#pragma once

#include "TProgress.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>

class QLabel;
class QPushButton;
class TBaseReport;

// The texts of one kind of status window. An empty final text leaves the status line as
// the job last wrote it.
struct TPrintStatusTexts {
    QString statusFormat = QStringLiteral("Printing Page %p\r%0\r%1");
    QString previewStatusFormat; // empty: the same as statusFormat
    // Asked before a print is cancelled; empty: no question.
    QString cancelQuestion;
    QString cancelCaption = QStringLiteral("CANCEL");
    QMessageBox::Icon cancelIcon = QMessageBox::Question;
    // Cancelling loses no data, so Yes is the default answer.
    QMessageBox::StandardButton cancelDefault = QMessageBox::Yes;
    QString printCanceled;
    QString previewCanceled;
    QString previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    QString printCompleted;
    QString previewReady;
    // When the window closes itself once the run ended.
    enum Closing { NeverCloses, ClosesAfterCompletedPreview, AlwaysCloses } closing = NeverCloses;

    // The texts of each output's status window.
    static TPrintStatusTexts labels();
    static TPrintStatusTexts envelopes();
    static TPrintStatusTexts zipCount();
    // Reports and the current-record printout.
    static TPrintStatusTexts reports();
};

class TPrintStatusForm : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // `job` must outlive the window; `previewing` chooses the preview captions and the Stop button.
    TPrintStatusForm(TBaseReport &job, bool previewing, TPrintStatusTexts texts, QWidget *parent = nullptr);

    // Set by Stop; the job body reads it before each item and stops.
    bool isStopped() const { return m_stopped; }

    // The run's progress. A step lets pending window events run; the run is cancelled once
    // Stop was pressed or the job was aborted (Cancel).
    void setTotal(int items) override { m_total = items; }
    void step() override;
    bool cancelled() const override;
    // The items the run announced, 0 when it did not.
    int total() const { return m_total; }
    bool isPreviewing() const { return m_previewing; }
    bool hasRun() const { return m_finished; }
    // What a caller does after the window closed: open the preview when this is true.
    bool shouldShowPreview() const;

    QLabel *StatusLabel;
    QPushButton *CancelButton;

public slots:
    // Runs the job (once); called on first activation.
    void runJob();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void showStatus(const QString &line);
    QString finalText() const;

    TBaseReport &m_job;
    bool m_previewing;
    TPrintStatusTexts m_texts;
    bool m_started = false;
    bool m_running = false;
    bool m_finished = false;
    bool m_stopped = false;
    int m_total = 0;
};
