#include "TRichTextMemo.h"

#include "TCp1252.h"
#include "TLetterPageLayout.h"
#include "TRtfReader.h"
#include "TRtfWriter.h"
#include "TText.h"

#include <QTextDocument>

xbase::Status TRichTextMemo::LoadRichText(const QString &memoText, QTextDocument &document)
{
    if (memoText.trimmed().isEmpty()) {
        document.clear();
        TLetterPageLayout().applyTo(document);
        return xbase::Status::Ok();
    }
    // The memo came from Windows-1252 bytes; RTF may hold such bytes as they are.
    return TRtfReader::read(TCp1252::fromString(memoText), document);
}

QString TRichTextMemo::SaveRichText(const QTextDocument &document)
{
    // The writer's output is ASCII, already in CR LF lines.
    return TText::memoForStoring(QString::fromLatin1(TRtfWriter::write(document)));
}
