// The "Print Letters" window: the letters of LETTER.DBF with New, Modify, Delete and Clone,
// Print and Preview of the selected letter for the chosen records, and Printer Setup. Opened
// modally by the main window through the session's hand-over, with LETTER.DBF already open in
// `letters`; the session's table is the address file the letters print for.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class TAddressSession;
class TLetterTemplates;

class TcVLetters : public QDialog
{
    Q_OBJECT
public:
    // `session` and `letters` (open) must outlive the window; `mainWindow` is what the print
    // status window and the preview centre over.
    TcVLetters(TAddressSession &session, TLetterTemplates &letters, QWidget *mainWindow = nullptr);

    // The selected letter's row in the list, -1 when none.
    int selectedRow() const;

    QTreeWidget *LetterList;
    QPushButton *ModifyLetter;
    QPushButton *NewLetter;
    QPushButton *Deleteletter;
    QPushButton *CloneButton;
    QPushButton *PrintNow;
    QPushButton *PreviewButton;
    QPushButton *PrinterSetup;
    QPushButton *ReturnButton;
    QPushButton *HelpButton;
    QLabel *PrinterLabel;
    QRadioButton *AllRecords;
    QRadioButton *MatchingRecords;
    QRadioButton *CurrentRecord;
    QCheckBox *StartFromCurrent;
    QSpinBox *Copies;

public slots:
    void ModifyLetterClick();
    void NewLetterClick();
    void DeleteletterClick();
    void CloneButtonClick();
    void PrintNowClick();
    void PreviewButtonClick();
    void PrinterSetupClick();
    void ReturnButtonClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The list from the table, the row `select` selected (clamped); the buttons set.
    void fillList(int select);
    // "Modify", "Clone", "Print", "Preview", "Delete" and the list are enabled only when
    // LETTER.DBF holds a letter.
    void SetLetterButtons();
    void showPrinter();
    bool showFailure(const struct TResult &result);

    TAddressSession &m_session;
    TLetterTemplates &m_letters;
    QWidget *m_mainWindow;
    bool m_activated = false;
};
