// Fills a letter document with one address record: each merge field of the template is
// replaced by the record's value, inside the document model. The fields are found in one
// pass over the template's own text before anything is replaced, so a value is never
// searched again (a name typed as "[City]" stays as typed) and record text is only ever
// text: it takes the formatting of its field and cannot become RTF.
#pragma once

#include "TMergeFields.h"

#include <QHash>
#include <QString>

class QTextDocument;

class TLetterMerge
{
public:
    // Replaces every "[" + name + "]" of the document whose name is a key of `values` by its
    // value, in one pass. The value takes the character format of the field's first
    // character; CR LF, CR or LF in a value become line breaks inside the paragraph; an empty
    // value removes the field. Names are matched exactly. Returns the number replaced.
    static int replaceFields(QTextDocument &document, const QHash<QString, QString> &values);

    // Replaces every occurrence of one merge field.
    static int DoMerge(QTextDocument &document, const QString &name, const QString &value);

    // Merges `record` into `document`: every merge field of the template is replaced by its
    // value for the record, the dates read from `dates`. Other bracketed text stays.
    static int ReplaceTokens(QTextDocument &document, const TMergeRecord &record, const TMergeDates &dates);
};
