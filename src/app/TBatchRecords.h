// The records a command-line print run works on: the address file opened as the table alone and
// the filter file or the tagged records applied, the way the windows select them.
#pragma once

#include <QString>

class TAddressSession;

class TBatchRecords
{
public:
    // Opens `file` (or the file the program would open at start-up when empty) in `session`,
    // checks its indexes and shows the records of `filterFile` and/or the tagged ones, else every
    // record the user can see. The recent-file list is left as it was. False with the message in
    // `error` when there is no file, it does not open, its indexes need a rebuild, or the
    // selection shows nothing.
    static bool open(TAddressSession &session, const QString &file, const QString &filterFile, bool tagged,
                     QString &error);
};
