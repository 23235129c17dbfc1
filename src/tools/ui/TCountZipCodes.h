// "Count Zip Codes" (TCountZipCodes): counts the records the session's table shows by ZIP code
// as soon as it opens, then prints or previews the "Zip Code Count Report" behind the status
// window. The main window opens one per use through the session's hand-over and shows it
// modally; the counts live until it closes. The window is the count's progress.
#pragma once

#include "TProgress.h"
#include "TReportPrinter.h"
#include "TZipCodeCount.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;
class TAddressSession;
class TIniFile;

class TCountZipCodes : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // `session` and `ini` must outlive the window; the status and preview windows open centred
    // over `mainWindow`.
    TCountZipCodes(TAddressSession &session, TIniFile &ini, QWidget *mainWindow = nullptr);
    ~TCountZipCodes() override;

    const TZipCodeCount &counts() const { return m_count; }
    bool isCounting() const { return m_counting; }

    // The count's progress: every 100th record shows its number; pending window events run.
    void setTotal(int) override {}
    void step() override;
    bool cancelled() const override { return m_cancel; }

    QLabel *HeadingLabel;
    QLabel *StatusLabel;
    QPushButton *CancelButton;
    QWidget *ButtonPanel;
    QLabel *FinishedLabel;
    QPushButton *PrintButton;
    QPushButton *PreviewButton;
    QPushButton *PrinterSetupButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;

signals:
    // A preview run ended and its preview window is about to open (tests reach it here).
    void previewOpened(QDialog *preview);

public slots:
    void DoTheSort();
    void CancelButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void DoThePrintJob();

    TAddressSession &m_session;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    TReportPrinter m_engine;
    TZipCodeCount m_count;
    QStringList m_lines;
    bool m_cancel = false;
    bool m_counting = false;
    bool m_preview = false;
    bool m_activated = false;
    int m_seen = 0;
};
