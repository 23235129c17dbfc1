// A text file read for import: its bytes decoded (UTF-8 when they are valid UTF-8, with or without
// a byte-order mark, else Windows-1252) and held as the Windows-1252 bytes the address file stores,
// split into its non-blank lines. The import run that reads the file owns the instance.
#pragma once

#include "BulkBuffer.h"
#include "TResult.h"

#include <QByteArray>
#include <QString>

#include <string_view>
#include <vector>

class TImportText
{
public:
    // Reads the whole file. Fails with IoError and the system's reason when it cannot be read.
    TResult load(const QString &path);
    // The same on bytes already read (tests, and sources that are not files).
    void setBytes(const QByteArray &bytes);

    // Whether the bytes were read as UTF-8.
    bool wasUtf8() const { return m_utf8; }
    // The text, decoded, as Windows-1252 bytes (characters it cannot hold are "?").
    const QByteArray &bytes() const { return m_bytes; }
    // The lines, without their ends (CR LF, LF or CR); lines holding nothing but blanks and
    // tabs are left out.
    const std::vector<std::string_view> &lines() const { return m_lines; }

    // The UTF-8 or Windows-1252 rule on its own.
    static QString decode(const QByteArray &bytes, bool *utf8 = nullptr);

private:
    // The bytes of load(), read into memory taken in one piece; m_bytes refers to them when
    // they are kept as they are.
    xbase::BulkBuffer m_storage;
    QByteArray m_bytes;
    std::vector<std::string_view> m_lines;
    bool m_utf8 = false;
};
