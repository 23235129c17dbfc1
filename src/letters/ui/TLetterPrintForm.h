// The "Print Status Screen" of a letter print run: runs the run when it is first shown, shows
// "Printing page " + count after each record, asks "Cancel print job?" after a record once
// Cancel was pressed, and ends with the final text and an "OK" button that closes it. A run
// that fails shows its message instead of a final text. The letter list window creates one per
// print run; the run and the table are the caller's.
#pragma once

#include "TLetterPrint.h"
#include "TProgress.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TAddressTable;

class TLetterPrintForm : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // `run` and `table` must outlive the window.
    TLetterPrintForm(TLetterPrint &run, TAddressTable &table, QWidget *parent = nullptr);

    bool hasRun() const { return m_finished; }
    TLetterPrint::Outcome outcome() const { return m_outcome; }

    // The run's progress: a step lets pending window events run, so Cancel can be pressed;
    // the run is cancelled while a request is pending.
    void setTotal(int) override {}
    void step() override;
    bool cancelled() const override { return m_cancelRequested; }

    QLabel *StatusLabel;
    QPushButton *CancelButton;

public slots:
    // Runs the print job (once); called when the window is first shown.
    void FormActivate();
    // While the job runs: records the request to cancel. Afterwards ("OK"): closes.
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    bool confirmCancel();

    TLetterPrint &m_run;
    TAddressTable &m_table;
    bool m_started = false;
    bool m_running = false;
    bool m_finished = false;
    bool m_cancelRequested = false;
    TLetterPrint::Outcome m_outcome = TLetterPrint::Outcome::Completed;
};
