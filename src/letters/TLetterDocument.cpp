#include "TLetterDocument.h"

#include "TLetterPageLayout.h"

#include <QTextDocument>

std::unique_ptr<QTextDocument> TLetterDocument::copy(const QTextDocument &document)
{
    // A clone takes the text, the formats and the image resources, but not the page layout.
    std::unique_ptr<QTextDocument> copied(document.clone());
    TLetterPageLayout::of(document).applyTo(*copied);
    return copied;
}
