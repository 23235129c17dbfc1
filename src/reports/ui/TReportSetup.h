// "Print Report" (TReportSetup): the built-in reports, the records they go through and their
// options, and the runs that print or preview them behind the status window. The main window
// opens one per use through the session's hand-over and shows it modally; the window works on
// the session's table and puts its order, query and record back after every run.
#pragma once

#include "TBuiltInReport.h"
#include "TReportPrinter.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TAddressSession;
class TIniFile;

class TReportSetup : public QDialog
{
    Q_OBJECT
public:
    // `session` and `ini` (window placements) must outlive the window; the status and preview
    // windows open centred over `mainWindow`.
    TReportSetup(TAddressSession &session, TIniFile &ini, QWidget *mainWindow = nullptr);
    ~TReportSetup() override;

    // The date the reports' headers show (tests); today when not set.
    void setPrintDate(const QDate &date) { m_date = date; }
    // The report chosen in "Select Report:" (1 to 4).
    int report() const;

    QTabWidget *PageControl;
    QRadioButton *rbQAll;
    QRadioButton *rbQFilter;
    QRadioButton *rbOnlyThis;
    QCheckBox *StartCurrentCheck;
    QCheckBox *OneRecordPerPage;
    QLineEdit *TitleField;
    QListWidget *ReportList;
    QCheckBox *PrintMemoBox;
    QCheckBox *PrintCodesBox;
    QPushButton *PrintButton;
    QPushButton *PreviewButton;
    QPushButton *PrinterSetupButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;

signals:
    void helpRequested();
    // A preview run ended and its preview window is about to open (tests reach it here).
    void previewOpened(QDialog *preview);

public slots:
    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void ReportListClick();

private:
    // The run of the page shown.
    void DoPrintBuiltIns(bool previewing);
    TBuiltInReportOptions options() const;

    TAddressSession &m_session;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    // The window's own engine, for its print and printer set-up dialogs and the copies.
    TReportPrinter m_engine;
    QDate m_date;
};
