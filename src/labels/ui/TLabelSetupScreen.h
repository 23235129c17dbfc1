// "Print Labels" (TLabelSetupScreen): the label setups of LABEL.DBF with the current one's
// sheet, and New, Modify (the "Label Design Screen"), Clone and Delete; the records to print
// and the Print and Preview buttons of the label run. Opened modally by the main window through
// the session's hand-over, with LABEL.DBF already open in `labels`; the session's table is the
// address file the labels show.
#pragma once

#include "TLabelSetup.h"
#include "TPresortRange.h"

#include <QDialog>
#include <QVector>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TAddressSession;
class TLabelDesignScreen;
class TLabelSetups;
class TSelectSpecificLabels;
class TSortBulkMail;

class TLabelSetupScreen : public QDialog
{
    Q_OBJECT
public:
    // `session` and `labels` (open) must outlive the window.
    TLabelSetupScreen(TAddressSession &session, TLabelSetups &labels, QWidget *mainWindow = nullptr);

    // The current setup as the last ReadLabelSetup left it.
    const TLabelSetup &currentSetup() const { return m_setup; }
    // The list row selected, -1 when none.
    int selectedRow() const;
    // Where the designers read the gLabels templates from (tests); their default otherwise.
    void setGlabelsFolder(const QString &folder) { m_glabelsFolder = folder; }

    QTreeWidget *Grid;
    QLineEdit *HeightField;
    QLineEdit *WidthField;
    QLineEdit *SheetNameField;
    QLineEdit *AcrossField;
    QLineEdit *DownField;
    QLineEdit *PaperSizeField;
    QLineEdit *PaperWidthField;
    QLineEdit *PaperHeightField;
    QPushButton *NewButton;
    QPushButton *ModifyButton;
    QPushButton *CloneButton;
    QPushButton *DeleteButton;
    QPushButton *PrintButton;
    QPushButton *PreviewButton;
    QPushButton *OkButton;
    QPushButton *HelpButton;
    QGroupBox *WhatToPrint;
    QRadioButton *rbQAll;
    QRadioButton *rbQFilter;
    QRadioButton *rbOnlyThis;
    QCheckBox *StartCurrentCheck;
    QCheckBox *PresortCheck;

signals:
    // A designer is about to be shown (tests reach it here).
    void designerOpened(TLabelDesignScreen *designer);
    // The dialogs of a run, about to be shown (tests reach them here).
    void pageSetupOpened(TSelectSpecificLabels *dialog);
    void presortOpened(TSortBulkMail *window);
    void statusOpened(QDialog *status);
    void previewOpened(QDialog *preview);

public slots:
    void NewButtonClick();
    void ModifyButtonClick();
    void CloneButtonClick();
    void DeleteButtonClick();
    void PrintNowClick();
    void PreviewButtonClick();

public:
    // The positions and copies of the next run ("Labels Print"); true on "Ok".
    bool DoPageSetup();
    // One run over the chosen records: the layout, the presort, the paper check, the status
    // window and the preview. The table's query, order and record come back however it ends.
    void DoPrint();
    // Counts the records of the run into PRESORT.PSL; true when the file was written.
    bool DoPresort(quint32 fromRecno);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The list from the table with the row of `recno` selected (the first when it is gone).
    void fillList(quint32 recno);
    // Reads the selected row into the current setup (the empty-list defaults when there is
    // none); false, after its message, for a row that cannot be used.
    bool ReadLabelSetup();
    void showCurrent();
    // "Modify", "Print", "Preview", "Delete", "Clone", the list and the "What to Print" panel
    // only while LABEL.DBF holds a setup.
    void SetLabelButtons();
    // The designer for a new setup or the selected one.
    void openDesigner(bool isNew);
    quint32 selectedRecno() const;
    // PRESORT.PSL in the program folder.
    QString presortPath() const;

    TAddressSession &m_session;
    TLabelSetups &m_labels;
    QWidget *m_mainWindow;
    TLabelSetup m_setup;
    QString m_glabelsFolder;
    bool m_activated = false;
    QVector<bool> m_positionMask; // all selected until the user changes it; sized per run
    int m_copies = 1;
    bool m_printing = false;
    bool m_presortDone = false;
    TPresortRange m_presortRange;
};
