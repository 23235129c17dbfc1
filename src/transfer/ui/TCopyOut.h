// "Copy Records Out" (TCopyOut): the records the filter lets through, in the current order,
// copied to a new DBF file with the address structure, a comma-delimited text file or a vCard
// file. Made per use by the main window's hand-over over the session's table; closes itself
// after a copy.
#pragma once

#include "TCopyOutRun.h"
#include "TProgress.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;
class TAddressTable;

class TCopyOut : public QDialog, public TProgress
{
    Q_OBJECT
public:
    // `table` must outlive the window; `programFolder` is the save dialog's first folder.
    TCopyOut(TAddressTable &table, const QString &programFolder, QWidget *parent = nullptr);

    // Replaces the save dialog: returns the chosen path, "" for a cancelled dialog.
    void setFileChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }
    const QString &fileName() const { return m_file; }
    const TCopyOutcome &outcome() const { return m_outcome; }

    void setTotal(int items) override { m_total = items; m_done = 0; }
    void step() override;
    bool cancelled() const override { return m_cancel; }

    QRadioButton *DbfChoice;
    QRadioButton *AsciiChoice;
    QRadioButton *VCardChoice;
    QPushButton *SaveAsButton;
    QPushButton *Cancelbutton;
    QPushButton *HelpButton;
    QWidget *ProgressPanel;
    QLabel *CopyingLabel;
    QProgressBar *Gauge;

public slots:
    void SaveAsButtonClick();
    void CancelbuttonClick();
    void DoTheCopyMan();

protected:
    void reject() override;

private:
    TAddressTable &m_table;
    QString m_folder;
    QString m_file = QStringLiteral("(none)");
    std::function<QString()> m_chooser;
    TCopyOutcome m_outcome;
    int m_total = 0;
    int m_done = 0;
    bool m_cancel = false;
    bool m_copying = false;
};
