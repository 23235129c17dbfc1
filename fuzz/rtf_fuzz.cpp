// Reads arbitrary bytes as RTF letter text. The reader must answer an error or read; what it
// read is laid out on a page, written, read again and written again, and both writes must
// agree.
#include "TRtfReader.h"
#include "TRtfWriter.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The font configuration library keeps its caches until the process ends.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument document;
    if (!TRtfReader::read(bytes, document).ok())
        return 0;
    document.setPageSize(QSizeF(612, 792));
    document.documentLayout()->documentSize();

    const QByteArray first = TRtfWriter::write(document);
    QTextDocument again;
    if (!TRtfReader::read(first, again).ok())
        std::abort();
    if (TRtfWriter::write(again) != first)
        std::abort();
    return 0;
}
