// Case conversion of address fields: upper case, lower case or first letters capitalised, with
// the Windows-1252 case table the engine's UPPER() and LOWER() use, so accented letters convert
// too and every character keeps its position. Also the pass that rewrites the chosen fields of
// the current record, of every record the user can see, or of the records matching a filter.
// Stateless; the "Convert Case" window calls it once per run.
#pragma once

#include "TResult.h"

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class TAddressTable;
class TProgress;

class TCaseConverter
{
public:
    enum class Conversion { Upper, Lower, FirstLetters };
    enum class Records { Current, All, MatchingFilter };

    // The fields that can be converted, in the order they are converted: caption, field.
    static const std::vector<std::pair<QString, QString>> &fields();

    // Letters through the case table; other characters stay as they are.
    static QString upper(const QString &text);
    static QString lower(const QString &text);
    // The whole text in lower case, then the first character and every character after a
    // blank in upper case ("MARY-ANN o'NEIL" becomes "Mary-ann O'neil").
    static QString convert(const QString &text, Conversion conversion);

    // Rewrites `fieldNames` of the records `records` names (MatchingFilter: those `filter`
    // shows and the user can see; All: every record the user can see; Current: the current
    // record alone) and posts each changed record. Each record is a step of `progress`; a
    // cancel stops before the next record and keeps the records done. The table's query is put
    // back and the record that was current is current again. `converted` counts the records
    // passed. A failure stops the pass with the engine's message; the records before it stay.
    static TResult run(TAddressTable &table, const QStringList &fieldNames, Conversion conversion,
                       Records records, const QString &filter, TProgress &progress, int &converted);
};
