#include "TLetterFind.h"

#include <QTextCursor>

int TLetterFind::replaceAll(QTextDocument &document, const QString &what, const QString &with,
                            QTextDocument::FindFlags flags)
{
    if (what.isEmpty())
        return 0;
    flags &= ~QTextDocument::FindBackward;
    int count = 0;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    QTextCursor found = document.find(what, 0, flags);
    while (!found.isNull()) {
        const QTextCharFormat format = found.charFormat();
        found.insertText(with, format);
        ++count;
        // Searching goes on after what was put in.
        found = document.find(what, found.position(), flags);
    }
    edit.endEditBlock();
    return count;
}
