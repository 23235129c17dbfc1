// The address fields an import may fill, with the captions the match windows show, and the
// lookups the match windows use. Built from the open address file by the import that owns it.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class TAddressTable;

struct TImportTarget {
    QString name;    // "LNAME"
    QString caption; // "Last Name"
    char type = 'C';
    int index = -1;  // the field's position in the open file
    int width = 0;
};

class TImportTargets
{
public:
    enum class Kind {
        Text,  // the character fields (the text import)
        Table, // every field but ISDEL and TAG (the DBF import)
    };
    // Requires: `table` is open.
    TImportTargets(TAddressTable &table, Kind kind);
    // Every stored field of the open file, whatever `kind` offers (for automatic matches).
    const std::vector<TImportTarget> &all() const { return m_all; }
    // The fields offered for matching, in field order.
    const std::vector<TImportTarget> &offered() const { return m_offered; }
    QStringList captions() const;

    // The field shown under `caption`, ignoring letter case; nullptr when none.
    const TImportTarget *FieldByDisplayLabel(const QString &caption) const;
    // The field named `name` or shown under it as caption (any case) that is offered.
    const TImportTarget *byNameOrCaption(const QString &text) const;

private:
    std::vector<TImportTarget> m_all;
    std::vector<TImportTarget> m_offered;
};
