// Reads arbitrary bytes as a layout stream: as one object list into a surface and as a report
// file with three bands and the settings list. The reader must answer an error or read; what
// it read is painted, written, read again and written again, and both writes must agree.
#include "LayoutStreamReader.h"
#include "LayoutStreamWriter.h"
#include "TGBasePanel.h"
#include "TGClassRegistry.h"
#include "TGDataPanel.h"
#include "TGGraphicControl.h"
#include "TGLabelObjectFiler.h"
#include "TGOwner.h"
#include "TReportSettingsList.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

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
    TGClassRegistry::registerKind(TGSurfaceKind::Label);
    TGClassRegistry::registerKind(TGSurfaceKind::Envelope);
    TGClassRegistry::registerKind(TGSurfaceKind::Report);
    return 0;
}

namespace {
QByteArray written(const TGBasePanel &surface)
{
    LayoutStreamWriter w;
    TGLabelObjectFiler::writeList(w, {surface.objects().begin(), surface.objects().end()});
    return w.bytes();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TGOwner owner;
    TGDataPanel surface(&owner, 96);
    surface.setSize(120, 60);
    if (TGLabelObjectFiler::readBytes(bytes, &owner, surface, false)) {
        QImage image(120, 60, QImage::Format_RGB32);
        QPainter painter(&image);
        surface.Paint(painter);
        painter.end();
        const QByteArray first = written(surface);
        TGOwner owner2;
        TGDataPanel again(&owner2, 96);
        if (!TGLabelObjectFiler::readBytes(first, &owner2, again, false))
            std::abort();
        for (std::size_t i = 0; i < again.objects().size(); ++i)
            again.objects()[i]->setName(surface.objects()[i]->Name());
        if (written(again) != first)
            std::abort();
    }

    // The same bytes as a report file's four lists.
    TGDataPanel header(&owner, 96), detail(&owner, 96), footer(&owner, 96);
    std::vector<TGGraphicControl *> added;
    try {
        LayoutStreamReader r(bytes);
        TGLabelObjectFiler::readList(r, &owner, header, false, added);
        TGLabelObjectFiler::readList(r, &owner, detail, false, added);
        TGLabelObjectFiler::readList(r, &owner, footer, false, added);
        r.readListBegin();
        TReportSettingsList settings;
        settings.read(r);
    } catch (const TLayoutError &) {
    }
    return 0;
}
