// The column table of a text file chosen for import: one entry per column with its name, the
// greatest length seen in the sample and the address field it is matched to; the sample lines
// themselves; and whether the first line is a heading. The import window owns one and fills it
// by scanning the file.
#pragma once

#include "TImportText.h"
#include "TResult.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TImportTargets;

struct TAsciiColumn {
    QString name;      // "Field 1" ..., or the heading's text
    int maxLength = 0; // the greatest field length in the sample lines
    QString match;     // the caption of the matched address field, "" when not imported
};

class TAsciiColumns
{
public:
    static constexpr int kSampleLines = 10;

    // Scans the first lines of `text`: the column count from the first line (at most 255), the
    // names and greatest lengths. A first line of known contact-list headings is taken as the
    // heading: the columns take its texts as names and are matched to the fields they name
    // among `targets` (when given). Fails with "Unable to import from this file" when the text
    // has fewer than two lines.
    TResult scan(const TImportText &text, const TImportTargets *targets = nullptr);

    const QVector<TAsciiColumn> &columns() const { return m_columns; }
    QVector<TAsciiColumn> &columns() { return m_columns; }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    // The sample lines, split (the heading, when there is one, is not among them).
    const QVector<QStringList> &sample() const { return m_sample; }
    bool hasHeading() const { return m_heading; }
    // The first column matched at all, or -1.
    bool hasMatch() const;

    // The column matched to the address field shown under `caption` (any case), or "".
    QString MatchedFieldName(const QString &caption) const;
    // Clears every match.
    void clearMatches();

private:
    QVector<TAsciiColumn> m_columns;
    QVector<QStringList> m_sample;
    bool m_heading = false;
};
