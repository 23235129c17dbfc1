// A DBF table chosen as an import source, opened read-only beside the address file, with its
// fields and the match of each to an address field. The DBF import and the older-version import
// own one each for as long as a file is chosen.
#pragma once

#include "TResult.h"

#include "Table.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class TImportTargets;

class TDbfSource
{
public:
    // A source field not imported.
    static constexpr int kUnmatched = 1000;

    // Opens `path` read-only. Refuses the open address file itself (`openFile`, compared by
    // canonical path): "Cannot import a file to itself". Other failures: "Unable to open the
    // file " + name; a table with no records: "There are no records in " + name (closed again).
    TResult open(const QString &path, const QString &openFile);
    void close();
    bool isOpen() const { return m_table.isOpen(); }
    xbase::Table &table() { return m_table; }
    const QString &path() const { return m_path; }

    // The source's fields that take part (C L N D M, and F as numbers).
    struct Field {
        QString name;
        char type = 'C';
        int index = -1;          // in the source
        int match = kUnmatched;  // the address field's position in the open file
    };
    std::vector<Field> &fields() { return m_fields; }
    const std::vector<Field> &fields() const { return m_fields; }
    // The type letter shown for a field ("C", "L", "N", "D", "M").
    static QString typeText(char type);

    // The automatic match: a memo field takes MEMO, any other field the first address field
    // (in field order, among every stored field) whose caption or name is its name, ignoring
    // letter case; a field no other source field has taken yet.
    void autoMatch(const TImportTargets &targets);
    void clearMatches();
    bool hasMatch() const;
    // The source field matched to the address field at `index`, or "".
    QString matchedTo(int index) const;

    // The source field names that fit an address field of `type` in the match menu: memo
    // fields for a memo, date fields for a date, every field but memos otherwise.
    QStringList fitting(char type) const;

private:
    xbase::Table m_table;
    QString m_path;
    std::vector<Field> m_fields;
};
