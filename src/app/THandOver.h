// What a window opened from the main window needs before it opens, and what is put back after it
// closes. Every window goes through TAddressSession::handOver() (the main window's handOver()
// shows the messages of a failed precondition) with one of these and a callable that opens the
// window over the session. A default THandOver checks nothing, freezes nothing and puts back
// only the session's order.
#pragma once

#include <QString>

#include <optional>

struct THandOver {
    // Preconditions. A failing one opens nothing; its message, when it has one, appears in an
    // "Information" box.
    bool needsFile = false; // an open address file
    QString noFileMessage;
    bool needsRecords = false; // at least one visible record
    QString noRecordsMessage;
    bool printerCheck = false; // a usable printer (the printer check's own messages)

    // While the window is open.
    bool freeze = false;                // freeze the table display, the main window not live
    std::optional<QString> queryDuring; // the table's query for the time of the window
    bool compositeFields = false;       // FullName, FullNameWithPrefix, CityStateZip filled

    // Put back afterwards.
    bool keepRecord = false;    // the record that was current
    bool keepQuery = false;     // the active query (and no scope)
    bool keepFolder = false;    // the current folder
    bool keepPrinter = false;   // the printer that was selected
    bool reapplyFilter = false; // the filter criteria applied again
    bool firstRecord = false;   // then the first visible record
};
