// Find and replace over a letter's text for the designer's Find and Replace dialogs. Stateless.
#pragma once

#include <QString>
#include <QTextDocument>

class TLetterFind
{
public:
    // Replaces every occurrence of `what` by `with` in one undo step, each in the format of
    // the text it replaces; text put in is never searched again. The count replaced.
    static int replaceAll(QTextDocument &document, const QString &what, const QString &with,
                          QTextDocument::FindFlags flags = {});
};
