// "Envelope Print": shown before every envelope run. It shows the printer set-up (printer,
// source, paper, orientation), the feed picture and description, and warns when the
// printer's page does not match the envelope; "Printer Setup" and "Paper Feed Method" change
// them. "Ok" goes on with the feed values shown, "Cancel" stops the run. The envelope window
// opens one per run, modally, over its print job.
#pragma once

#include "TEnvelopePreferences.h"

#include <QDialog>

class QLabel;
class QPushButton;
class TBaseReport;

class TEnvelopePrePrint : public QDialog
{
    Q_OBJECT
public:
    // `job` is the run's print job, its paper already set for the envelope; it must outlive
    // the dialog. `code` is the envelope's size code.
    TEnvelopePrePrint(TBaseReport &job, const TEnvelopeFeedValues &feed, int code, QWidget *parent = nullptr);

    const TEnvelopeFeedValues &values() const { return m_feed; }

    QLabel *PrinterName;
    QLabel *BinName;
    QLabel *PaperName;
    QLabel *OrientationName;
    QLabel *FeedPicture;
    QLabel *FeedDescription;
    QLabel *PageSizeWarning;
    QPushButton *PrinterSetupButton;
    QPushButton *PaperFeedButton;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

signals:
    // The feed dialog is about to open (tests answer it here).
    void feedDialogOpened(QDialog *dialog);

public slots:
    void PrinterSetupButtonClick();
    void PaperFeedButtonClick();

private:
    // ShowPrintSetup and ShowFeedMethod.
    void showPrintSetup();
    void showFeedMethod();

    TBaseReport &m_job;
    TEnvelopeFeedValues m_feed;
    int m_code;
};
