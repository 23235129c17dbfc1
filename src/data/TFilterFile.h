// Filter files (".FLT"): the filter criteria as 20 lines of Windows-1252 text, each ended by
// CR LF: the 18 criteria exactly as typed, then "T" or "F" for Tagged and for Reverse. Also
// the rules for the names the save and open dialogs give back. Stateless.
#pragma once

#include "TFilterCriteria.h"

#include <QByteArray>
#include <QString>

class TFilterFile
{
public:
    // Reading stops here: a filter file is 20 short lines, so anything longer is not one.
    static constexpr qint64 kMaxFileSize = 64 * 1024;

    // Writes the criteria to `path`, replacing the file. Returns false and sets `error` when
    // the file cannot be written; a failed write leaves any earlier file as it was.
    static bool SaveFilterTo(const QString &path, const TFilterCriteria &criteria, QString *error = nullptr);
    // Reads `path` into `criteria`: missing lines count as empty, a flag is set only by a
    // line that is exactly "T". A file that cannot be read, or is larger than kMaxFileSize,
    // returns false with `error` set and leaves `criteria` unchanged.
    static bool RestoreFilterFrom(const QString &path, TFilterCriteria &criteria, QString *error = nullptr);

    // The bytes of a filter file, and the criteria in such bytes. Lines end at CR LF, and
    // also at a lone LF or CR, so files edited by hand still read.
    static QByteArray encode(const TFilterCriteria &criteria);
    static TFilterCriteria decode(const QByteArray &bytes);

    // The name to save to, from the name the save dialog gave: a name ending in ".FLT" (any
    // case) as it is; a name with no "." gets ".FLT" appended. A name with a "." elsewhere
    // is refused: an empty result, with `message` set to the text to show.
    static QString saveName(const QString &chosen, QString *message);
    // Whether the open dialog's name can be restored; otherwise `message` says why.
    static bool isRestorable(const QString &chosen, QString *message);
    // The question asked before an existing file is replaced.
    static QString overwriteQuestion(const QString &path);
};
