// What the data tool windows share: they are the progress of their passes over the records (a
// gauge and a running count, pending window events handled at every record, a cancel flag
// read before the next one), and closing one while a pass runs counts as its cancel; the
// window then closes once the pass has stopped. Each tool window derives from it.
#pragma once

#include "TProgress.h"

#include <QDialog>

class QProgressBar;
class TToolGridModel;

class TToolWindow : public QDialog, public TProgress
{
    Q_OBJECT

public:
    explicit TToolWindow(QWidget *parent = nullptr);

    bool isRunning() const { return m_running; }

    void setTotal(int items) override;
    void step() override;
    bool cancelled() const override { return m_cancel; }

    QProgressBar *Gauge;

public slots:
    void reject() override;

protected:
    // Brackets a pass: the flag set, the gauge at 0; afterwards a close asked for meanwhile
    // is carried out.
    void beginRun();
    void endRun();
    void requestCancel() { m_cancel = true; }
    // The Cancel button while a pass runs: "Cancel operation?", and Yes cancels after the
    // current record.
    void confirmCancel();
    // The grid's Tag and Tag All over the listed records (nothing when none is listed); Tag All
    // asks `question` first. A failure is shown.
    void toggleTagOf(TToolGridModel *model, int row);
    void tagAllOf(TToolGridModel *model, const QString &question);
    // Called for each step with the steps done so far (a window shows its running count).
    virtual void stepped(int) {}

private:
    bool m_running = false;
    bool m_cancel = false;
    bool m_closeAfterRun = false;
    int m_total = 0;
    int m_done = 0;
};
