// Whole-document operations the letter print run, the preview and the editor share. A letter
// document is a QTextDocument with its page layout (TLetterPageLayout) kept beside the text.
#pragma once

#include <memory>

class QTextDocument;

class TLetterDocument
{
public:
    // A copy of `document` with its text, formats, pictures and page layout, owned by the
    // caller. The print run fills one copy of the template for each record.
    static std::unique_ptr<QTextDocument> copy(const QTextDocument &document);
};
