// One INI-format settings file on disk. Every call opens the file, reads or writes it and
// closes it again, so windows that share the file always see each other's changes; nothing
// is cached. The text rules are those of TIniDocument.
//
// A missing or unreadable file reads as all defaults; the first write creates it. A write
// replaces the file in one step (a temporary file renamed over it), so a crash leaves the old
// file or the new one, never half of one. A file larger than kMaxBytes is taken as damaged:
// it reads as defaults and writes to it fail, leaving it as it was.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

#include "TIniDocument.h"

class TIniFile
{
public:
    static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

    explicit TIniFile(QString path);

    const QString &path() const { return m_path; }

    // The value as it stands after the "=" (without surrounding blanks), or defaultValue
    // when the section or key is missing.
    QString readString(const QString &section, const QString &key,
                       const QString &defaultValue = QString()) const;
    // The leading number of the value; defaultValue when the key is missing or the value
    // does not start with a number.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    // An integer read as a logical: any value but 0 is true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    bool hasKey(const QString &section, const QString &key) const;
    bool hasSection(const QString &section) const;
    QStringList keys(const QString &section) const;

    // The whole file in one read, for callers that read many keys at once; an empty document
    // when the file is missing or cannot be used.
    TIniDocument document() const;

    // Each write returns false when the file could not be written; the file is then as
    // it was.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    // Writes "1" or "0".
    bool writeBool(const QString &section, const QString &key, bool value);
    // Several keys of one section in one write.
    bool writeStrings(const QString &section, const QList<std::pair<QString, QString>> &values);
    bool deleteKey(const QString &section, const QString &key);

private:
    // The file's text; nothing when it exists but cannot be used (too large, unreadable).
    std::optional<TIniDocument> load() const;
    bool save(const TIniDocument &document) const;

    QString m_path;
};
