// The comma-delimited line of the text imports and the text export: splitting one line into its
// fields and writing one field. Static rules; nobody owns an instance.
//
// A double quote opens a quoted field only as the field's first character; inside it a doubled
// quote is one quote and a quote followed by a comma or the line's end closes it. A quoted field
// that is never closed is read as it stands, quotes included, so a one-character field `"` is not
// quoted. Quotes anywhere else are ordinary characters.
#pragma once

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

class TDelimitedLine
{
public:
    // The most columns a line is read with; later fields of a longer line are dropped.
    static constexpr int kMaxColumns = 255;

    // Splits `line` (without its line end) into `fields`, reusing their storage. An empty line
    // is one empty field; a line ending in a comma ends with an empty field. Returns the number
    // of fields the line holds, which may exceed `fields.size()` when more than `maxFields`.
    static int split(std::string_view line, std::vector<std::string> &fields, int maxFields = kMaxColumns);
    // The same for text already decoded (the sample grid).
    static QStringList split(const QString &line, int maxFields = kMaxColumns);

    // `value` enclosed in double quotes, each quote inside doubled, appended to `out`.
    static void appendQuoted(std::string &out, std::string_view value);
};
