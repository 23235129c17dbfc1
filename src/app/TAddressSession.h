// The session of one run of the program: the one open address file and everything the program
// keeps about it besides its windows. It owns the open table (TableCVW), knows its path, the
// recent-file list, the filter criteria and the filter expression built from them, the sort
// order chosen by the user, whether the indexes are valid, the tag identifier, the live flag
// and the printing service every print job shares.
//
// The main window creates the one session at start-up and keeps it for the whole run. Every
// window it opens (labels, envelopes, letters, reports, imports, tools, the dialer) is handed
// the session, or the table it exposes, through handOver(); no window ever reaches back into
// the main window. The session shows nothing: it answers results and outcomes, the windows
// show their messages and ask their questions. Its signals tell the windows what changed.
//
// A typical output window, opened from the main window:
//
//     THandOver needs;
//     needs.needsRecords = true;
//     needs.printerCheck = true;
//     needs.freeze = true;           // the display stays still and the main window not live
//     needs.keepRecord = needs.keepQuery = needs.keepPrinter = true;
//     needs.compositeFields = true;
//     mainWindow.handOver(needs, [](TAddressSession &session) {
//         TLabelSetupScreen window(session);   // works on session.table()
//         window.exec();
//     });
#pragma once

#include "TAddressTable.h"
#include "TFilterCriteria.h"
#include "THandOver.h"
#include "TRecordQuery.h"
#include "TResult.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class TPrinterService;

// What opening an address file came to.
enum class TOpenOutcome {
    Opened,       // the file is open and shown: order "Last Name", the record query, first record
    NeedsRebuild, // the file is open but its indexes are missing or invalid: rebuild or abandon
    Failed,       // no file is open; `messages` say why
};

struct TOpenResult {
    TOpenOutcome outcome = TOpenOutcome::Failed;
    // Failed: the messages to show in turn. A missing file gives "File " + path + " not found"
    // and then the "Unable to open " text; any other failure the "Unable to open " text alone.
    QStringList messages;
    // Failed: the engine's code and reason (a locked file is Locked, a damaged one Corruption).
    TResult reason;
};

// The file to open at start-up.
struct TStartupFile {
    // Empty when there is nothing to open (the first file could not be created).
    QString path;
    // The creation of the first file, when one ran; its message is to be shown on failure.
    TResult created;
};

// What a window may move about and the session puts back afterwards (see snapshot()). The
// order is not part of it: it is the session's (orderTag()), and restore() puts that order
// back on the table. A window may sort the table its own way meanwhile; one that changes the
// user's order does so through setOrderTag().
struct TSessionSnapshot {
    bool hadRecord = false;
    quint32 recno = 0; // the current record, when hadRecord
    QString query;     // the table's query, the user's filter joined with "!ISDEL"
    QString folder;    // the current folder of the process
    int printer = -1;  // the selected printer, -1 for none
    bool compositeFields = false;
};

// Which parts of a snapshot restore() puts back. Everything unless said otherwise.
struct TRestoreParts {
    bool record = true;  // the record, else the first visible one when it is no longer visible
    bool query = true;   // the query, with no scope
    bool folder = true;  // the current folder
    bool printer = true; // the selected printer
};

// Why handOver() opened nothing.
enum class THandOverRefusal {
    None,             // the window ran
    Editing,          // a record is being edited
    NoFile,           // needsFile and no file is open
    NoRecords,        // needsRecords and no record is visible
    NoPrinters,       // printerCheck and the printing service has no printer
    NoDefaultPrinter, // printerCheck and no printer is selected
};

class TAddressSession : public QObject
{
    Q_OBJECT

public:
    // `settingsPath` is the settings file (CORVAN.ini); its folder is the program folder, which
    // holds DATA/ and sysdata/. Nothing is read until loadSettings().
    explicit TAddressSession(QString settingsPath, QObject *parent = nullptr);
    ~TAddressSession() override;

    const QString &settingsPath() const { return m_settingsPath; }
    // The program folder with a trailing "/".
    QString programFolder() const;

    // The open table (TableCVW): always the same object for the whole run, open or not.
    TAddressTable &table() { return *m_table; }
    const TAddressTable &table() const { return *m_table; }

    // ---- Start-up -------------------------------------------------------------------

    // Reads the recent-file list and the tag identifier (made and stored when the settings
    // file has none) from the settings file, and clears the filter expression.
    void loadSettings();
    // The file to open first: the first recent entry, even when it no longer exists (opening
    // it then fails and shows why); with no entry "DATA/add0001.DBF" below the program folder
    // (names compared without regard to case), created with the field lengths of the settings
    // file when it does not exist.
    TStartupFile chooseStartupFile();

    // ---- The open file --------------------------------------------------------------

    bool isOpen() const { return m_table->isOpen(); }
    // The open file's path, empty while none is open.
    QString path() const { return m_table->path(); }
    // At most four paths, newest first, as the settings file holds them.
    const QStringList &recentFiles() const { return m_recent; }
    // Whether all 26 tags are there and the index file is sound (checked at every open).
    bool isIndexValid() const { return m_indexValid; }

    // Closes the open file (an unposted edit is dropped), then opens `path`. When the file
    // itself opened it heads the recent-file list (written to the settings file at once),
    // whether or not its indexes are valid. Valid indexes: the file is shown (Opened). Invalid
    // ones: NeedsRebuild, the file stays open for the rebuild, and the caller ends the open
    // with finishOpen() after rebuilding or with abandonOpen(). Nothing happens for an empty
    // path (Failed with no message).
    TOpenResult open(const QString &path);
    // After a rebuild that followed NeedsRebuild: checks the indexes again and shows the file
    // when they are valid, else closes it. True when the file is open and shown.
    bool finishOpen();
    // The rebuild was refused: closes the file.
    void abandonOpen();
    // After a rebuild of the open file's indexes ("&Rebuild Indexes for this file"): checks
    // them again, puts the session's order and the filter back and goes to the first record.
    // The file stays open even when the rebuild did not finish (isIndexValid() then says so).
    void afterRebuild();
    // Closes the file (an unposted edit is dropped); the criteria are kept.
    void close();

    // ---- Filter ---------------------------------------------------------------------

    // The criteria, kept for the whole run: opening another file applies them to it.
    const TFilterCriteria &criteria() const { return m_criteria; }
    // The filter expression built from the criteria; empty while no filter is set.
    const QString &filterExpression() const { return m_filterExpression; }
    bool isFilterSet() const { return !m_filterExpression.isEmpty(); }
    // The record query: "!ISDEL", joined with the filter expression when one is set.
    QString recordQuery() const;

    // Takes `criteria` and, with a file open, applies them and goes to the first record.
    // A filter that is too long or shows nothing is dropped (the criteria are cleared); the
    // outcome's message is for the caller to show. With no file open the criteria are only
    // kept (count 0, nothing dropped).
    TFilterOutcome setCriteria(const TFilterCriteria &criteria);
    // Clears the criteria, with or without a file open, and shows every record from the first.
    TFilterOutcome clearFilter();
    // Applies the criteria again and keeps the current record when it is still visible, else
    // goes to the first one. Used after anything that may have changed what the filter shows
    // (a post, a delete, a tag, a tool window). Does nothing with no file open.
    TFilterOutcome reapplyFilter();
    // The filter window's "Test": applies `criteria` (cleared when dropped) to the open file,
    // without taking them as the session's, and goes to the first record. With no file open
    // nothing is applied: a filter that is set counts 0.
    TFilterOutcome testCriteria(TFilterCriteria &criteria);

    // ---- Order ----------------------------------------------------------------------

    // The tag of the user's sort order ("LNAME" ...), empty while no file is open.
    const QString &orderTag() const { return m_orderTag; }
    // Sorts by `tagName` (one of the 14 sort orders' tags, any case) and remembers it. An
    // engine error is ignored: the records keep their order, the choice is still remembered.
    // False for a name that is no sort order's tag.
    bool setOrderTag(const QString &tagName);

    // ---- Tags -----------------------------------------------------------------------

    // The identifier that makes a record tagged (GlobalTagId).
    const QString &tagId() const { return m_table->globalTagId(); }
    // Takes a new identifier for the run (storing it is the caller's).
    void setTagId(const QString &id) { m_table->setGlobalTagId(id); }

    // ---- Live flag ------------------------------------------------------------------

    // While false a tool window works on the table: its changes leave the main window's form
    // and buttons alone.
    bool isLive() const { return m_live; }
    void setLive(bool live);

    // While it lives the table display is frozen and the session not live; both come back
    // on every return path. Nests.
    class [[nodiscard]] ToolGuard
    {
    public:
        explicit ToolGuard(TAddressSession &session);
        ~ToolGuard();
        ToolGuard(const ToolGuard &) = delete;
        ToolGuard &operator=(const ToolGuard &) = delete;

    private:
        TAddressSession &m_session;
        bool m_wasLive;
    };

    // ---- Printing -------------------------------------------------------------------

    // The printing service every print job of the run shares. Made on first use by the maker
    // (the main window gives one for the system's printers); without one, PDF files in the
    // program folder.
    TPrinterService &printerService();
    void setPrinterServiceMaker(std::function<std::unique_ptr<TPrinterService>()> maker);
    // Replaces the service (tests, or a window that chose another printer set-up).
    void setPrinterService(std::unique_ptr<TPrinterService> service);
    // The printer check: NoPrinters, NoDefaultPrinter (after one attempt to select the current
    // printer again) or None when printing can go on.
    THandOverRefusal checkPrinters();

    // ---- Snapshot and hand-over -----------------------------------------------------

    // What is current now: record, query, folder, printer, composite fields.
    TSessionSnapshot snapshot();
    // Puts back the session's order on the table (before the record is looked for), then the
    // parts of `s` that `parts` names. A remembered record that is no longer visible leaves the
    // first visible one current. The query is put back only while a file is open.
    void restore(const TSessionSnapshot &s, const TRestoreParts &parts = {});

    // Opens another window the one way every window is opened. Checks the preconditions of
    // `needs` in order (no edit running, an open file, a visible record, the printer check)
    // and returns the first that fails, with nothing run. Otherwise takes a snapshot, freezes
    // the display and marks the session not live when `needs.freeze`, sets the query for the
    // window's time and the composite fields as `needs` says, runs `window` with the session,
    // then puts back what `needs` says (order always; query, folder, printer; the filter applied
    // again; the first record or the remembered one), thaws, marks the session live and
    // announces the order. The caller then refreshes its form and buttons.
    THandOverRefusal handOver(const THandOver &needs, const std::function<void(TAddressSession &)> &window);

signals:
    // A file was opened or closed (path(), isOpen(), isIndexValid()).
    void fileChanged();
    // The recent-file list changed.
    void recentFilesChanged();
    // The user's sort order was set, or put back after a window (orderTag()).
    void orderChanged();
    // The criteria or the filter expression changed (criteria(), filterExpression()).
    void filterChanged();
    // The live flag changed.
    void liveChanged(bool live);

private:
    // Shows the open file: record query, order "Last Name", first record.
    void showOpenFile();
    // Applies `criteria` to the open table; a dropped filter leaves them cleared. Sets the
    // filter expression from what is left.
    TFilterOutcome applyCriteria(TFilterCriteria &criteria);
    void setFilterExpression(const QString &expression);

    QString m_settingsPath;
    std::unique_ptr<TAddressTable> m_table;
    QStringList m_recent;
    TFilterCriteria m_criteria;
    QString m_filterExpression;
    QString m_orderTag;
    bool m_indexValid = false;
    bool m_live = true;
    std::unique_ptr<TPrinterService> m_printerService;
    std::function<std::unique_ptr<TPrinterService>()> m_printerServiceMaker;
};
