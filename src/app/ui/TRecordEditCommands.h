// The record-editing commands of the main window's record form: "&Add", "&Edit", "&Save",
// "&Cancel", "&Delete", the clone, the "Date" button, the memo search, and the key actions
// the form's keyboard rules call. It asks the questions, opens the windows, places the focus
// and takes Tab stops away; the record work is TRecordEditor's. The main window owns one
// instance and hands it its form's widgets and the refreshes it offers.
#pragma once

#include "TAddingPrefs.h"
#include "TRecordEditor.h"

#include <QDate>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QDialog;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TAddressTable;

// The parts of the record form the commands work on. Every pointer may be null.
struct TRecordFormParts {
    QWidget *window = nullptr;         // parent of the message boxes and windows
    QHash<QString, QLineEdit *> boxes; // stored field name ("LNAME" ...) to its box
    QLineEdit *dateBox = nullptr;      // the read-only date box (DisplayDate)
    QPlainTextEdit *memo = nullptr;
    QTabWidget *pages = nullptr;
    QWidget *addressPage = nullptr; // the "Address &Information" page
    QPushButton *findNextButton = nullptr;
};

// What the main window does for the commands.
struct TRecordFormHooks {
    std::function<void()> refreshForm;   // fill the form from the current record (and SetButtons)
    std::function<void()> setButtons;    // SetButtons
    std::function<void()> reapplyFilter; // apply the filter again (drops one matching nothing)
    std::function<void()> beep;
};

class TRecordEditCommands : public QObject
{
    Q_OBJECT

public:
    TRecordEditCommands(TAddressTable &table, TRecordFormParts parts, TRecordFormHooks hooks,
                        QObject *parent = nullptr);

    // Read at start-up and after the Preferences window.
    void setPrefs(const TAddingPrefs &prefs) { m_editor.setPrefs(prefs); }
    const TAddingPrefs &prefs() const { return m_editor.prefs(); }
    TRecordEditor &editor() { return m_editor; }

    // Runs a window modally and returns its result; tests answer windows through it.
    using DialogRunner = std::function<int(QDialog &)>;
    void setDialogRunner(DialogRunner runner);
    // Asks for the memo search text; false when cancelled. Tests answer it through this.
    using TextPrompt = std::function<bool(QString &text)>;
    void setTextPrompt(TextPrompt prompt);
    // The day PlugDate writes; the current date unless set.
    void setToday(const QDate &today) { m_today = today; }

    // "&Edit" is enabled: a file is open, nothing is being edited and a record is shown.
    bool canEdit() const;
    bool isEditing() const;

    // ---- The buttons and menu items -------------------------------------------------

    void AddButtonClick();
    void EditButtonClick();
    // True when the record was posted; a failure has been shown and the edit stays on screen.
    bool SaveButtonClick();
    void CancelButtonClick();
    void DeleteButtonClick();
    void mnuCloneClick();
    void DateLabelClick();
    void SearchMemoButtonClick();
    void SearchMemoNextButtonClick();
    // A double-click on a box or the memo: starts editing while "&Edit" is enabled.
    void EditFieldClick();

    // ---- Key actions ----------------------------------------------------------------

    // Alt+Enter: save, then "Add another record?".
    void saveAndOfferAnother();
    // PgDn while editing: "Save changes?".
    void askSave();
    // Esc while editing: "Cancel changes?".
    void askCancel();
    // Moves while browsing; past either end, a beep.
    void moveNext();
    void movePrior();
    void moveFirst();
    void moveLast();

    // ---- Form state -----------------------------------------------------------------

    // With `on`, the boxes of the skip flags lose their Tab stop; without, every box has one.
    void SetSkipFields(bool on);
    // While editing, a focus outside the boxes and the memo goes to the Last box. The main
    // window calls it at the end of each SetButtons.
    void keepFocusInForm();
    // Opening a file or starting an edit hides "Find &Next".
    void hideFindNext();

    // The table events: after post and after cancel every box takes its Tab stop again.
    void afterPost();
    void afterCancel();

private:
    void showFailure(const TResult &result);
    void setButtons();
    int runDialog(QDialog &dialog);
    void searchMemo(bool fromNext);
    QWidget *box(const QString &field) const;

    TAddressTable &m_table;
    TRecordEditor m_editor;
    TRecordFormParts m_parts;
    TRecordFormHooks m_hooks;
    DialogRunner m_runDialog;
    TextPrompt m_prompt;
    QDate m_today;
    QString m_memoSearchText;
};
