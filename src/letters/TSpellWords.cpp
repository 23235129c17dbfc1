#include "TSpellWords.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

} // namespace

TSpellWord TSpellWords::next(const QTextDocument &document, int from)
{
    for (QTextBlock block = document.findBlock(std::max(from, 0)); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const int base = block.position();
        // The brackets of the paragraph: a word inside a pair is inside a merge field.
        int depth = 0;
        qsizetype i = 0;
        while (i < text.size()) {
            const QChar c = text.at(i);
            if (c == QLatin1Char('[')) {
                // Inside only when a "]" closes it in this paragraph.
                if (text.indexOf(QLatin1Char(']'), i + 1) >= 0)
                    ++depth;
                ++i;
                continue;
            }
            if (c == QLatin1Char(']')) {
                depth = std::max(depth - 1, 0);
                ++i;
                continue;
            }
            if (!isWordChar(c)) {
                ++i;
                continue;
            }
            qsizetype end = i;
            bool digits = false;
            while (end < text.size()) {
                const QChar e = text.at(end);
                if (isWordChar(e)) {
                    digits = digits || e.isDigit();
                    ++end;
                } else if (isApostrophe(e) && end + 1 < text.size() && isWordChar(text.at(end + 1))) {
                    ++end;
                } else {
                    break;
                }
            }
            const int position = base + static_cast<int>(i);
            if (depth == 0 && !digits && position >= from)
                return {position, static_cast<int>(end - i), text.mid(i, end - i)};
            i = end;
        }
    }
    return {};
}
