// The main window: the program itself. Created by main() and living for the whole run, it owns
// the session (TAddressSession: the one open address file, TableCVW, with its recent files,
// filter, order and tag identifier) and hands it to the windows it opens through handOver().
// It keeps the widget tree: it shows the current record as a form, asks the questions of
// opening, creating and rebuilding address files, and refreshes its buttons (SetButtons).
#pragma once

#include "TAddressSession.h"
#include "TFilterCriteria.h"
#include "THandOver.h"
#include "TRecordQuery.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QAction;
class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class QTabWidget;
class TAddressTable;
class TIniFile;
class TFormKeys;
class TPrinterService;
class TRecordEditCommands;
class TTagCommands;

class TAddressMain : public QMainWindow
{
    Q_OBJECT

public:
    // `settingsPath` is the settings file; its folder is the program folder, which holds DATA/.
    explicit TAddressMain(QString settingsPath, QWidget *parent = nullptr);
    ~TAddressMain() override;

    const QString &settingsPath() const { return m_session->settingsPath(); }
    // The program folder with a trailing "/".
    QString programFolder() const;

    // ---- State ----------------------------------------------------------------------

    // The session every window is handed; it owns the open table.
    TAddressSession &session() { return *m_session; }
    // The open address table, the session's.
    TAddressTable *TableCVW = nullptr;
    QString currentFile() const { return m_session->path(); }
    const QStringList &recentFiles() const { return m_session->recentFiles(); }
    const QString &orderTag() const { return m_session->orderTag(); }
    // The filter criteria, kept for the whole run (opening another file applies them to it).
    const TFilterCriteria &criteria() const { return m_session->criteria(); }
    // The filter expression in force: empty while no filter is set.
    const QString &filterExpression() const { return m_session->filterExpression(); }
    bool isTagValid() const { return m_session->isIndexValid(); }
    // The record query: "!ISDEL", joined with the filter expression when one is set.
    QString recordQuery() const;
    // Sets the criteria, applies them to the open file (showing the outcome's message) and goes
    // to its first record. Returns the outcome: a filter that shows nothing is dropped. With no
    // file open the criteria are only kept.
    TFilterOutcome setCriteria(const TFilterCriteria &criteria);
    // How often the window beeped (a move past either end).
    int beepCount() const { return m_beeps; }

    // ---- Operations used by this window and others ----------------------------------

    // Opens an address file, checks its tags (offering the rebuild) and shows it or the empty
    // state. Nothing happens for an empty path.
    void OpenCVWDBF(const QString &path);
    void OnOpenCVWFile();
    void NewFileMenuClick();
    void OpenFileMenuClick();
    // The file chosen in the open dialog: must be a ".DBF" (any case).
    void openChosenFile(const QString &path);
    void MRUITemClick(const QString &path);
    void UpdateMRUList(const QString &path);
    // Sorts by the Sort item whose caption without "&" is `sortName` (any case).
    void SetOrderTo(const QString &sortName);
    // Re-selects the sort item of a tag name.
    void SetCurrentOrder(const QString &tagName);
    // True when printing can go on; otherwise the message has been shown.
    bool checkPrinters();
    void mnuRebuildIndexesClick();
    void PrefencesClick();
    void ShowGettingStarted();
    void AboutClick();
    // Opens the help on the main window's topic; also what a window asking for help without
    // a topic number gets.
    void HelpClick();
    // Opens the help on topic `topic`.
    void ShowHelpTopic(int topic);
    // Applies the filter criteria to the open table again, keeping the record when it still
    // shows (a filter that shows nothing is dropped; a message of the outcome is shown);
    // returns the visible count.
    qint64 applyQuery();
    // The filter commands: the filter window, and clearing, saving and restoring the criteria.
    void mnuSetFilterClick();
    void mnuClearFilterClick();
    void mnuSaveFilterClick();
    void mnuRestoreFilterClick();
    // "Print C&urrent Record" after the printer check, and "Copy To &Clipboard"; both need a
    // shown record.
    void CurrentRecordMenuClick();
    // "Printer &Calibration...": the "Printer Calibration" window over the printing service.
    void PrinterCalibrationMenuClick();
    // "Print Le&tters" (Ctrl+T) and the "Letters" button: the "Print Letters" window over LETTER.DBF.
    void LabelsMenuClick();
    void LettersMenuClick();
    // "Print &Envelopes" (Ctrl+E) and the Envelopes button: the "Print Envelope" window over
    // ENVELOPE.DBF.
    void EnvelopesMenuClick();
    // "Print &Reports" (Ctrl+R) and the Reports button: the "Print Report" window.
    void ReportsMenuClick();
    // "Count &Zip Codes": the ZIP code count and its report.
    void CountZipCodes1Click();
    // The data tools: "Check && Repair &State and Zip Codes", "Check && Repair &Duplicates",
    // "Con&vert Case", "Delete &Records" and "&Search && Replace Field Values".
    void CheckState1Click();
    void DuplicatesReport1Click();
    void CaseConversion1Click();
    void DeleteRecords1Click();
    void SearchReplaceFieldValues1Click();
    // "Import from &ASCII File" and "Import from &DBF File": the main table closes, the import
    // window works on the file through its own table, the file opens again afterwards.
    void mnuImportASCIIClick();
    void mnuImportDBFClick();
    // "Import from Corvantis 1.x DBF" and "... 2.x DBF": into the main table, query lifted.
    void ImportfromClick();
    void mnuImportFromCorvantis2xFileClick();
    // "&Export ": "Copy Records Out" over the visible records.
    void CopyRecordsOutMnuClick();
    void ToClipboard1Click();
    // The printing service every print job of the run shares: the system's printers unless a
    // test set another.
    TPrinterService &printerService();
    void setPrinterService(std::unique_ptr<TPrinterService> service);
    // Rebuilds the indexes of the system tables.
    void RebuildSystemFileindexesmnuClick();
    // "&Search" (Ctrl+S) and "&Browse" (Ctrl+B), also the buttons of the same names.
    void SearchButtonClick();
    void BrowseButtonClick();
    // "Dial Phone &1" and "Dial Phone &2": the dialler window with the record's PHONE or PHONE2.
    void DialButtonClick(const QString &phoneField);
    // The tag of the current record: set when it is not the current tag identifier, else cleared.
    void ToggleTag();
    // "Clear &Tags": a new tag identifier voids every tag; no record is written.
    void ClearTags1Click();
    // "&Tag All Filter Matches" through the "Tagging" window.
    void mnuTagAllFilterMatchesClick();
    // Replaces the file dialogs of "&Save Filter" and "&Restore Filter" (tests); empty brings the
    // real ones back.
    void setFilterFileChooser(std::function<QString(QWidget *, const QString &)> chooser)
    {
        m_filterFileChooser = std::move(chooser);
    }
    // The record-editing commands of the form ("&Add", "&Edit", "&Save" ...); the keyboard rules
    // act through them. Tests reach the commands' window and clock seams here.
    TRecordEditCommands &editCommands() { return *m_commands; }
    // The tagging commands; tests reach their clock here.
    TTagCommands &tagCommands() { return *m_tags; }
    // Opens another window the one way every window is opened (TAddressSession::handOver):
    // checks the preconditions of `needs`, freezes and remembers what it says, runs `window`
    // with the session (it opens the window modally over the session or its table), puts back
    // what `needs` says, unfreezes, marks the main window live, re-selects the current order
    // and refreshes the form and buttons. A failed precondition shows its message (the ones in
    // `needs`, or the printer check's) and opens nothing: false.
    bool handOver(const THandOver &needs, const std::function<void(TAddressSession &)> &window);
    // While false a tool window works on the table: the table's changes leave the buttons alone.
    bool isLive() const { return m_session->isLive(); }
    // Shows or hides and enables the buttons and menus for the current state.
    void SetButtons();
    // Fills the form from the current record.
    void RefreshForm();

    // Replaces the open dialog of "Open Address DataBase" (tests); empty brings the real one back.
    void setFileChooser(std::function<QString()> chooser) { m_fileChooser = std::move(chooser); }

    // ---- Controls -------------------------------------------------------------------

    // The box of a stored field ("LNAME" ...), or nullptr.
    QLineEdit *fieldBox(const QString &fieldName) const;
    QAction *sortAction(const QString &tagName) const;
    QList<QAction *> mruActions() const { return m_mruActions; }

    QPushButton *LabelsButton = nullptr;
    QPushButton *LettersButton = nullptr;
    QPushButton *EnvelopesButton = nullptr;
    QPushButton *ReportsButton = nullptr;
    QPushButton *BrowseButton = nullptr;
    QPushButton *SearchButton = nullptr;
    QPushButton *FilterButton = nullptr;
    QPushButton *MouseHelpButton = nullptr;

    QTabWidget *PageTabs = nullptr;
    QPushButton *DateLabel = nullptr;
    QLineEdit *DateEdit = nullptr;
    QPushButton *Dial1Button = nullptr;
    QPushButton *Dial2Button = nullptr;
    QCheckBox *TaggedCheck = nullptr;
    QPlainTextEdit *MemoEdit = nullptr;
    QPushButton *SearchMemoButton = nullptr;
    QPushButton *SearchMemoNextButton = nullptr;

    QLabel *SortStatus = nullptr;
    QLabel *FilterStatus = nullptr;
    QLabel *EmptyPanel = nullptr;

    QPushButton *ExitButton = nullptr;
    QPushButton *FirstButton = nullptr;
    QPushButton *PriorButton = nullptr;
    QPushButton *NextButton = nullptr;
    QPushButton *LastButton = nullptr;
    QPushButton *AddButton = nullptr;
    QPushButton *EditButton = nullptr;
    QPushButton *SaveButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *ClearFilterButton = nullptr;

    QMenu *FileMenu = nullptr;
    QAction *NewFileMenu = nullptr;
    QAction *OpenFileMenu = nullptr;
    QAction *ExitMenu = nullptr;
    QAction *mruSeparator = nullptr;
    QMenu *mnuRecord = nullptr;
    QAction *mnufirst = nullptr;
    QAction *mnuPrev = nullptr;
    QAction *mnuNext = nullptr;
    QAction *mnuLast = nullptr;
    QAction *mnuAdd = nullptr;
    QAction *mnuEdit = nullptr;
    QAction *mnuDelete = nullptr;
    QAction *ToClipboard1 = nullptr;
    QAction *mnuClone = nullptr;
    QMenu *mnuOrder = nullptr;
    QMenu *mnuPrint = nullptr;
    QAction *CurrentRecordMenu = nullptr;
    QAction *PrinterCalibrationMenu = nullptr;
    QMenu *mnuUtilities = nullptr;
    QAction *mnuRebuildIndexes = nullptr;
    QAction *RebuildSystemFileindexesmnu = nullptr;
    QAction *Prefences1 = nullptr;
    QAction *mnuBrowse = nullptr;
    QAction *mnuSearch = nullptr;
    QAction *mnuImportDBF = nullptr;
    QAction *mnuImportASCII = nullptr;
    QAction *Importfrom = nullptr;
    QAction *mnuImportFromCorvantis2xFile = nullptr;
    QAction *CopyRecordsOutMnu = nullptr;
    QAction *ClearTags1 = nullptr;
    QAction *mnuTagAllFilterMatches = nullptr;
    QMenu *mnuEditMenu = nullptr;
    QAction *CountZipCodes1 = nullptr;
    QAction *CheckState1 = nullptr;
    QAction *DuplicatesReport1 = nullptr;
    QAction *CaseConversion1 = nullptr;
    QAction *DeleteRecords1 = nullptr;
    QAction *SearchReplaceFieldValues1 = nullptr;
    QAction *LabelsMenu = nullptr;
    QAction *LettersMenu = nullptr;
    QAction *EnvelopesMenu = nullptr;
    QAction *ReportsMenu = nullptr;
    QAction *mnuSetFilter = nullptr;
    QAction *mnuClearFilter = nullptr;
    QAction *mnuSaveFilter = nullptr;
    QAction *mnuRestoreFilter = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *Contents1 = nullptr;
    QAction *mnuHelpGettingStarted = nullptr;
    QAction *About1 = nullptr;
    QAction *SearchforHelpOn1 = nullptr;
    QAction *HowtoUseHelp1 = nullptr;

public slots:
    void FirstButtonClick();
    void PriorButtonClick();
    void NextButtonClick();
    void LastButtonClick();
    // Brings the window to the front (a second start asked for it).
    void bringToFront();
    // Shows the session's order: the sort status and the checked Sort item.
    void showOrder();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

signals:
    // An import or the export window is about to run modally (tests drive it here).
    void importWindowOpened(QDialog *window);
    void exportWindowOpened(QDialog *window);

private:
    // The text or DBF import through the import's own table, and the older-version import.
    void importIntoOwnTable(bool ascii);
    void importOlder(int format);

    struct SortItem {
        QString caption; // "&Last Name"
        QString tag;     // "LNAME"
        QAction *action = nullptr;
    };

    void buildForm();
    void buildMenus();
    // Hands the form's parts to the editing commands, connects the buttons and menu items to
    // them and installs the keyboard rules.
    void wireEditing();
    // The first activation: the start-up sequence.
    void FormActivate();
    // Opens with the messages; true when the file itself opened.
    bool OpenCVWFile(const QString &path);
    void rebuildMruMenu();
    // Asks to save an edit in progress; false when the window is to stay open.
    bool FormCloseQuery();
    void updateFilterStatus();
    // The printer check's message for a refusal of the session's check.
    void showPrinterProblem(THandOverRefusal problem);
    // Gives every control of the window its "What's this?" text.
    void describeControls();
    // The record form's label texts in filter-criterion order.
    QStringList criterionLabels() const;
    // In normal state, a window reaching past the right (bottom) screen edge has a left (top)
    // coordinate above 0 set to 0.
    void keepEdgesOnScreen();
    void beep();
    QString sortName(const SortItem &item) const;

    TAddressSession *m_session; // a child of the window
    bool m_activated = false;
    int m_beeps = 0;
    std::function<QString()> m_fileChooser;
    std::function<QString(QWidget *, const QString &)> m_filterFileChooser;
    std::unique_ptr<TRecordEditCommands> m_commands;
    std::unique_ptr<TTagCommands> m_tags;
    TFormKeys *m_keys = nullptr;
    QLabel *m_modeLabel = nullptr; // "INS" or "OVR"

    QStackedLayout *m_stack = nullptr;
    QWidget *m_form = nullptr;
    QHash<QString, QLineEdit *> m_boxes;
    QHash<QString, QLabel *> m_boxLabels;
    QList<SortItem> m_sortItems;
    QList<QAction *> m_mruActions;
};
