// A letter template between the text of LETTER.DBF's RTF memo and a document, in memory.
// The memo holds the RTF text in lines ending with CR LF; before it is stored it gets the
// memo storing rule (a blank appended when its length is a positive multiple of 4).
#pragma once

#include <Status.h>

#include <QString>

class QTextDocument;

class TRichTextMemo
{
public:
    // Fills `document` from the memo text as it is. An empty memo (a new letter) gives an
    // empty document with the new-letter page. A memo that is not readable RTF leaves the
    // document as it was and answers Corruption.
    static xbase::Status LoadRichText(const QString &memoText, QTextDocument &document);

    // The memo text for `document`: its RTF in CR LF lines with the storing rule applied.
    static QString SaveRichText(const QTextDocument &document);
};
