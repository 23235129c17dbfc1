#include "TLetterMerge.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace {

struct Occurrence {
    int position = 0; // document position of the "["
    int length = 0;   // of the whole token
    QString value;
};

// Record text as paragraph text: line breaks stay inside the paragraph, so the paragraph's
// own format (indents, spacing, a page break before it) is not copied onto each line.
QString asParagraphText(const QString &value)
{
    QString text = value;
    text.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return text;
}

} // namespace

int TLetterMerge::replaceFields(QTextDocument &document, const QHash<QString, QString> &values)
{
    // Find every field of the template first. Names hold no brackets, so a field is the text
    // between a "]" and the last "[" before it in the same paragraph.
    std::vector<Occurrence> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        qsizetype open = -1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == QLatin1Char('[')) {
                open = i;
            } else if (text.at(i) == QLatin1Char(']') && open >= 0) {
                const auto value = values.constFind(text.mid(open + 1, i - open - 1));
                if (value != values.constEnd())
                    found.push_back({block.position() + static_cast<int>(open),
                                     static_cast<int>(i - open + 1), asParagraphText(value.value())});
                open = -1;
            }
        }
    }
    if (found.empty())
        return 0;

    // Replace from the end, so the positions found are still right and no value is looked at.
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        cursor.setPosition(it->position + 1);
        const QTextCharFormat format = cursor.charFormat(); // the format of the "["
        cursor.setPosition(it->position);
        cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
        cursor.insertText(it->value, format);
    }
    cursor.endEditBlock();
    return static_cast<int>(found.size());
}

int TLetterMerge::DoMerge(QTextDocument &document, const QString &name, const QString &value)
{
    return replaceFields(document, {{name, value}});
}

int TLetterMerge::ReplaceTokens(QTextDocument &document, const TMergeRecord &record, const TMergeDates &dates)
{
    return replaceFields(document, TMergeFields::values(record, dates));
}
