// The text of an INI-format settings file, read and changed by the Windows profile rules.
// Works on bytes only (no file access), so every rule can be checked on any input; TIniFile
// puts it on a file. Values are copies owned by the caller.
//
// Rules:
// - A line whose first non-blank character is "[" starts a section; its name runs to the
//   first "]" (or the end of the line), without surrounding blanks.
// - Inside a section a line "key=value" holds a key: the key is the text before the first
//   "=", the value the text after it, both without surrounding blanks. Lines starting with
//   ";", lines without "=" and lines before the first section hold no key.
// - Sections and keys are found without regard to letter case; the first of several equal
//   sections or keys wins.
// - A line's bytes are read as UTF-8 when they are valid UTF-8, else as Windows-1252; values
//   are written as UTF-8.
// - A change rewrites only the line of that key, or inserts one line (after the last
//   non-blank line of the section) or appends a new section at the end. Every other byte of
//   the text stays as it was, including each line's own line ending; new lines take the
//   ending of the first line break of the text (LF when there is none).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class TIniDocument
{
public:
    TIniDocument() = default;
    explicit TIniDocument(const QByteArray &bytes);

    // The text as it would be written.
    QByteArray bytes() const;

    bool hasSection(const QString &section) const;
    // The value of the key, or nothing when the section or key is missing.
    std::optional<QString> value(const QString &section, const QString &key) const;
    // Typed reads with the profile rules: a missing key gives the default; an integer is the
    // value's leading number (the default when there is none); a logical is an integer,
    // any value but 0 being true.
    QString text(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    int integer(const QString &section, const QString &key, int defaultValue) const;
    bool logical(const QString &section, const QString &key, bool defaultValue) const;
    // The keys of a section in file order (first spelling of each), empty when it is missing.
    QStringList keys(const QString &section) const;

    // Sets the key, adding the section and key when missing. The key keeps its spelling in
    // the file when it exists; new ones take the spelling given. Line breaks in the value
    // are replaced by blanks, since a value is one line.
    void setValue(const QString &section, const QString &key, const QString &value);
    // Removes the key's line; nothing happens when it is missing.
    void removeKey(const QString &section, const QString &key);

    // Leading-number parse of profile integers: blanks, an optional sign and decimal digits;
    // anything after the digits is ignored ("12abc" gives 12). Nothing when there is no digit
    // ("yes", ""). Values beyond the int range are clamped.
    static std::optional<int> parseInteger(const QString &text);

private:
    struct Line {
        QByteArray text;   // without the line ending
        QByteArray ending; // "\n", "\r\n" or empty for a last line without one
    };
    // Where a section's lines are: [header, end) with header the "[...]" line.
    struct SectionRange {
        int header = -1;
        int end = -1;
    };

    static QString decode(const QByteArray &bytes);
    SectionRange findSection(const QString &section) const;
    // Index of the key's line inside range, or -1; keyText receives the spelling found.
    int findKey(const SectionRange &range, const QString &key, QString *keyText = nullptr) const;
    // The key and value of a line when it holds one.
    bool splitKeyLine(int index, QString *key, QString *value) const;
    QByteArray newLineEnding() const;

    QList<Line> m_lines;
    bool m_hasBom = false;
};
