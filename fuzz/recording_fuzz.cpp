// Opens arbitrary bytes as a print preview recording. Whatever opens is played onto a small
// page picture and written again; writing what was read back must be stable.
#include "TRecordingReader.h"
#include "TRecordingWriter.h"

#include <QGuiApplication>

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
    TRecordingReader reader;
    if (!reader.open(bytes).ok())
        return 0;
    // A low resolution keeps huge pages small; the reader limits the rest.
    for (int i = 0; i < reader.pageCount() && i < 4; ++i)
        reader.renderPage(i, 2.0);
    QByteArray once;
    {
        TRecordingWriter writer(once);
        reader.replayAll(writer);
    }
    TRecordingReader again;
    if (!again.open(once).ok())
        std::abort();
    QByteArray twice;
    {
        TRecordingWriter writer(twice);
        again.replayAll(writer);
    }
    if (twice != once)
        std::abort();
    return 0;
}
