// Plays arbitrary bytes as a Windows or enhanced metafile: whatever loads is played onto a
// small image, into a picture and into a huge target; none of it may crash, overrun or take
// unbounded memory.
#include "TMetafile.h"
#include "TMetafilePlayer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPicture>

#include <cstddef>
#include <cstdint>

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
    TMetafile metafile;
    if (!TMetafile::load(bytes, metafile).ok())
        return 0;
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        static_cast<void>(
            TMetafilePlayer::play(metafile, painter, QRectF(0, 0, 64, 64))); // any result will do
        static_cast<void>(TMetafilePlayer::play(metafile, painter, QRectF(-1e6, -1e6, 2e6, 2e6)));
    }
    QPicture picture;
    if (TMetafilePlayer::toPicture(metafile, picture).ok()) {
        QPainter painter(&image);
        painter.drawPicture(0, 0, picture);
    }
    return 0;
}
