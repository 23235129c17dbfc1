// "Bulk Mail Presorting" (TSortBulkMail): counts the records of a label run by ZIP code as soon
// as it opens and writes PRESORT.PSL, showing how far it got, with Cancel. The label window
// opens one per presort, after it has set the run's query, and shows it modally; the window
// closes itself with result 1 and DoneCheck checked when the file was written, result 2
// otherwise. The window is the tally's progress.
#pragma once

#include "TPresortTally.h"
#include "TProgress.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class TAddressSession;

class TSortBulkMail : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // `session` must outlive the window. The tally covers the records from `fromRecno` on in
    // the table's order (0: every record the query shows) and is written to `presortPath`.
    TSortBulkMail(TAddressSession &session, const QString &presortPath, quint32 fromRecno = 0,
                  QWidget *parent = nullptr);
    ~TSortBulkMail() override;

    // The counts and the records they came from (the range the label run prints).
    const TPresortTally &tally() const { return m_tally; }
    bool isSorting() const { return m_sorting; }

    // Shows `text` in Label1 and lets pending window events run.
    void SetLabel1(const QString &text);

    // The tally's progress: every 100th record shows its number; pending window events run.
    void setTotal(int) override {}
    void step() override;
    bool cancelled() const override { return m_cancel; }

    QLabel *Label1;
    QPushButton *CancelButton;
    QCheckBox *DoneCheck; // hidden; checked once PRESORT.PSL is written

public slots:
    void DoTheSort();
    void CancelButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    // Closes the window with `result` from a posted call, once the sort has returned.
    void finish(int result);

    TAddressSession &m_session;
    QString m_path;
    quint32 m_fromRecno;
    TPresortTally m_tally;
    bool m_cancel = false;
    bool m_sorting = false;
    bool m_activated = false;
    int m_seen = 0;
};
