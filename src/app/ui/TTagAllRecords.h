// The "Tagging" window: tags every visible record of the table it is given (TTagPass), showing
// the running count, and lets the user interface run between steps. "Cancel" asks first and
// stops the pass after the current record; at the end "Ok" closes the window. Created on the
// stack for one run by whoever holds the table.
#pragma once

#include "TTagPass.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;
class TTagTarget;
struct TTagHooks;

class TTagAllRecords : public QDialog
{
    Q_OBJECT

public:
    explicit TTagAllRecords(TTagTarget &target, QWidget *parent = nullptr);

    // Fills the window hooks that are empty: the questions and notices as message boxes over
    // `parent`, and the "Tagging" window run modally over `parent`.
    static void addWindowHooks(TTagHooks &hooks, QWidget *parent);

    // How long the pass runs before the window takes its events again and the counter is
    // shown: steps of `records` records, repeated until `milliseconds` have passed (0: one
    // step each time).
    void setStepLimits(int records, int milliseconds);

    bool isRunning() const { return m_running; }
    bool hasEnded() const { return m_done; }
    const TTagPass &pass() const { return m_pass; }

    QLabel *TitleLabel = nullptr;   // "Tagging Records", then the outcome
    QLabel *CounterLabel = nullptr; // n + " tagged"
    QPushButton *CancelButton = nullptr;
    QPushButton *OkButton = nullptr;

signals:
    // After each step, with the count so far.
    void progressed(int tagged);
    // The pass has ended and "Ok" is shown.
    void passEnded();

public slots:
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void startPass();
    void scheduleStep();
    void runStep();
    void finishPass();

    TTagTarget &m_target;
    TTagPass m_pass;
    int m_stepRecords = 200;
    int m_stepMilliseconds = 40;
    bool m_started = false;
    bool m_running = false;
    bool m_asking = false;
    bool m_stepPending = false;
    bool m_done = false;
};
