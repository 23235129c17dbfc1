#include "TFilePrinter.h"

#include "TPainterSink.h"
#include "TPrinterService.h"
#include "TRecordingReader.h"

#include <QPaintDevice>
#include <QPainter>

TPrintResult TFilePrinter::print(const QByteArray &recording, TPrinterService &service, const QString &title)
{
    TRecordingReader reader;
    const TPrintResult opened = reader.open(recording);
    if (!opened.ok())
        return opened;
    QPaintDevice *device = service.beginDocument(title, 1);
    if (!device)
        return TPrintResult::ioError(QStringLiteral("The printer could not be opened"));
    QPainter painter;
    if (!painter.begin(device)) {
        service.finishDocument(true);
        return TPrintResult::ioError(QStringLiteral("The printer could not be opened"));
    }
    TPainterSink sink(painter, device->logicalDpiX(), device->logicalDpiY());
    for (int i = 0; i < reader.pageCount(); ++i) {
        if (i > 0 && !service.newPage()) {
            service.abortDocument();
            painter.end();
            service.finishDocument(true);
            return TPrintResult::ioError(QStringLiteral("The printer failed while printing"));
        }
        reader.replayPage(i, sink);
    }
    painter.end();
    if (!service.finishDocument(false))
        return TPrintResult::ioError(QStringLiteral("The printer failed while printing"));
    return TPrintResult::success();
}
