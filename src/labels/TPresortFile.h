// PRESORT.PSL, the order of a presorted label run: text lines ended by CR LF, each a group
// header (a line holding "**", printed on a label of its own) or a ZIP key of one to five
// characters (print every record whose ZIP key is that key). The presort window writes it,
// the label run reads it; the bytes are described in FORMAT-PRESORT.md. Static functions only.
#pragma once

#include "TResult.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TPresortFile
{
public:
    // Longest header line read; the program writes none longer than 40 characters.
    static constexpr int kMaxHeaderLength = 80;
    static constexpr int kMaxKeyLength = 5;
    // Largest file read: 100,000 keys each with a header of its own fit in under 3 MB.
    static constexpr qint64 kMaxBytes = 8 * 1024 * 1024;

    // "PRESORT.PSL" in the program folder, found without regard to case.
    static QString defaultPath();

    static bool isHeader(const QString &line) { return line.contains(QLatin1String("**")); }

    // The bytes of `lines`, each followed by CR LF.
    // Requires: every line is printable ASCII.
    static QByteArray encode(const QStringList &lines);
    // The lines of the bytes (CR LF or LF line ends; a last line without one counts). Fails
    // with Corruption, naming the line, when a line holds a byte other than printable ASCII, a
    // header is longer than kMaxHeaderLength, or another line is not a key (empty, longer
    // than five characters, or ending in a blank); `lines` is then empty.
    static TResult decode(const QByteArray &bytes, QStringList &lines);

    // Writes `lines` to `path` through a temporary file put in place whole, so a failure
    // leaves the earlier file as it was. Fails with IoError.
    static TResult save(const QString &path, const QStringList &lines);
    // Reads and decodes `path`: NotFound when it is missing, IoError when it cannot be read,
    // Corruption when it is larger than kMaxBytes or does not decode.
    static TResult load(const QString &path, QStringList &lines);
};
