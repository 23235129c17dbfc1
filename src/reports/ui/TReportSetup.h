// "Print Report" (TReportSetup): the built-in reports and the designed reports of REPORT.DBF
// (New, Modify, Delete, Clone through the report designer), the records they go through and
// their options, and the runs that print or preview them behind the status window. The main window
// opens one per use through the session's hand-over and shows it modally; the window works on
// the session's table and puts its order, query and record back after every run.
#pragma once

#include "TBuiltInReport.h"
#include "TReportDefinitions.h"
#include "TReportPrinter.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class TAddressSession;
class TReportBands;
class TReportDesigner;
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
    // The designed reports the window lists, and the one whose row is selected (-1: none).
    TReportDefinitions &definitions() { return m_definitions; }
    int selectedReport() const;
    // The one whole number of pixels per inch every length of a designed report is held in
    // while the window is open (the window's screen when it was created).
    int pixelsPerInch() const { return m_dpi; }
    // Each designer the window opens, before it is shown (tests drive it from here).
    std::function<void(TReportDesigner &)> designerOpening;

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
    QWidget *DesignerPage;
    QTableWidget *UserReportsGrid;
    QPushButton *NewButton;
    QPushButton *ModifyButton;
    QPushButton *DeleteButton;
    QPushButton *CloneButton;
    QWidget *WhatToPrint;
    QPushButton *PrintButton;
    QPushButton *PreviewButton;
    QPushButton *PrinterSetupButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;

signals:
    // A preview run ended and its preview window is about to open (tests reach it here).
    void previewOpened(QDialog *preview);

public slots:
    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void ReportListClick();
    void NewButtonClick();
    void ModifyButtonClick();
    void DeleteButtonClick();
    void CloneButtonClick();
    void SetReportButtons();

private:
    // The run of the page shown.
    void DoPrintBuiltIns(bool previewing);
    void DoPrintUserDefined(bool previewing);
    // The run both kinds share: records, start, status window, preview. `prepare` sets the
    // body on the job once the records are chosen; false ends the run.
    void runReport(bool previewing, const QString &orderTag,
                   const std::function<bool(TBaseReport &job, bool singleRecord,
                                            std::function<bool()> stopped)> &prepare);
    TBuiltInReportOptions options() const;
    bool isDesignerPage() const;
    // Opens the designer on the window's bands; true when it ended with Save.
    bool design(const QString &description, const QString &layout);
    void fillList(int selectRow);

    TAddressSession &m_session;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    // The window's own engine, for its print and printer set-up dialogs and the copies.
    TReportPrinter m_engine;
    QDate m_date;
    int m_dpi = 96;
    QString m_designedDescription;
    QString m_designedLayout;
    TReportDefinitions m_definitions;
    TResult m_definitionsOpened;
    std::unique_ptr<TReportBands> m_bands;
};
