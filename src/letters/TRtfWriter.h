// Writes a QTextDocument as RTF: the font and colour tables of what it uses, its page layout,
// and every paragraph with its formats, page breaks and pictures. What it carries is listed in
// FORMAT.md. The output is plain ASCII in lines ending with CR LF; reading it back with
// TRtfReader and writing again gives the same bytes.
#pragma once

#include <QByteArray>

class QTextDocument;

class TRtfWriter
{
public:
    // The RTF text of `document`. Characters outside ASCII are written as \'xx when
    // Windows-1252 holds them, else as \uN with "?" for readers without Unicode.
    static QByteArray write(const QTextDocument &document);
};
