// What the import windows share: the file name line, the buttons, the status line and the gauge,
// the file chooser seam, and the run's progress (the gauge, pending events, Cancel). TAsciiImport,
// TDBFImport and TImportOlder derive from it; each is made per use by the main window's hand-over.
#pragma once

#include "TImportOutcome.h"
#include "TImportSink.h"
#include "TProgress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class TImportWindow : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // Replaces the file dialog: returns the chosen path, "" for a cancelled dialog.
    void setFileChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }

    // The run's progress.
    void setTotal(int items) override { m_total = items; m_done = 0; }
    void step() override;
    bool cancelled() const override { return m_cancel; }

    // The outcome of the last import (tests read it).
    const TImportOutcome &outcome() const { return m_outcome; }
    bool isRunning() const { return m_running; }

    QLabel *FileNameCaption;
    QLabel *FileNameLabel;
    QPushButton *SelectButton;
    QPushButton *MatchButton; // not shown by TImportOlder
    QPushButton *ImportButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;
    QLabel *StatusLabel;
    QProgressBar *Gauge;

public slots:
    void CancelButtonClick();

protected:
    TImportWindow(const QString &caption, const QString &nameCaption, const QString &selectCaption,
                  QWidget *parent);
    // The chosen path: the chooser, or the open-file dialog with `filter`.
    QString chooseFile(const QString &filter, const QString &defaultSuffix);
    // Runs `run` with the buttons hidden and the gauge shown, then shows the outcome's message
    // and its notes, and closes the window.
    void runImport(bool textSource, const std::function<TImportOutcome(TImportGauge &)> &run);
    void reject() override;

private:
    std::function<QString()> m_chooser;
    TImportOutcome m_outcome;
    int m_total = 0;
    int m_done = 0;
    bool m_cancel = false;
    bool m_running = false;
    bool m_rebuilding = false;
};
