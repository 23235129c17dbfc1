// "Print Current Record" (TPrintCurrentRecord): the field choices of the one-record
// printout, and the runs that print or preview it through the status and preview windows.
// The main window creates one over the current record and shows it modally.
#pragma once

#include "TCurrentRecordPrint.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QPushButton;
class TIniFile;
class TPrinterService;

class TPrintCurrentRecord : public QDialog
{
    Q_OBJECT
public:
    // `service` (the shared printing service) and `ini` (window placements) must outlive the
    // window; the preview opens centred over `mainWindow`.
    TPrintCurrentRecord(TCurrentRecordValues record, TPrinterService &service, TIniFile &ini,
                        QWidget *mainWindow = nullptr);

    // The boxes as they stand.
    TCurrentRecordChoices choices() const;
    // The box of a field.
    QCheckBox *box(TRecordField field) const;

    // The time the printout's header shows (tests); the clock's time when not set.
    void setPrintTime(const QTime &time) { m_printTime = time; }

    QCheckBox *MemoCheck;
    QCheckBox *AllCheck;
    QPushButton *SetupButton;
    QPushButton *PreviewButton;
    QPushButton *PrintButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

signals:
    // A preview run ended and its preview window is about to open (tests reach it here).
    void previewOpened(QDialog *preview);

public slots:
    void AllCheckClick();
    void SetupButtonClick();
    void PreviewButtonClick();
    void PrintButtonClick();

private:
    void run(bool previewing);

    TCurrentRecordValues m_record;
    TPrinterService &m_service;
    TIniFile &m_ini;
    QWidget *m_mainWindow;
    QTime m_printTime;
    std::vector<std::pair<TRecordField, QCheckBox *>> m_boxes;
};
