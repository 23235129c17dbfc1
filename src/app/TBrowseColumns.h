// The browse grid's column file, "SYSDATA/FIELDS.LST" in the program folder: one field name per
// line, the order of the address table's field objects (the 23 stored and 5 calculated fields,
// shown in the grid or not) when the browse window last closed. Owned by the browse window.
//
// The file may be damaged or hostile: a file larger than kMaxBytes is ignored as a whole, and
// lines that name no field (binary bytes, overlong lines, removed fields) are skipped.
#pragma once

#include <QString>
#include <QStringList>

class TBrowseColumns
{
public:
    static constexpr qint64 kMaxBytes = 64 * 1024;

    // `programFolder` is the program folder (with or without a trailing "/").
    explicit TBrowseColumns(const QString &programFolder);

    // The column file, its folder and name found without regard to case.
    QString path() const;

    // The names of all field objects in their default order: stored fields in the order a
    // new file is created, then the calculated fields.
    static QStringList defaultOrder();

    // The field objects ordered as the file says: starting from the default order, the field
    // named on line n (first line 0) is moved to position n, line by line. Names that are not
    // fields are skipped, names are compared without regard to case, and a missing or
    // unreadable file gives the default order.
    QStringList read() const;
    // `bytes` decoded as read() decodes the file.
    static QStringList order(const QByteArray &bytes);

    // The file's bytes for `fields`: each name and a line end.
    static QByteArray encode(const QStringList &fields);
    // Replaces the file with the names of `fields` (every field object, in their current
    // order), one per line, in one step (a crash leaves the old file or the new one). The
    // folder is created when missing. False when it could not be written.
    bool write(const QStringList &fields) const;

private:
    QString m_folder;
};
