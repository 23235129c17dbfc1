#include "TReportPrinter.h"

#include "TPageBuffers.h"
#include "TPainterSink.h"
#include "TPrinterService.h"

#include <QPaintDevice>

#include <cmath>

TReportPrinter::TReportPrinter(TPrinterService &service) : m_service(service)
{
    setOrientation(m_service.isLandscape() ? poLandScape : poPortrait);
}

TReportPrinter::~TReportPrinter()
{
    if (m_painter.isActive()) {
        m_service.abortDocument();
        m_painter.end();
        m_service.finishDocument(true);
    }
}

void TReportPrinter::setOrientation(TOrientation orientation)
{
    TBaseReport::setOrientation(orientation);
    m_service.setLandscape(orientation == poLandScape);
}

QStringList TReportPrinter::PrinterNames() const
{
    return m_service.printerNames();
}

int TReportPrinter::SelectedPrinter() const
{
    return m_service.selectedPrinter();
}

void TReportPrinter::setSelectedPrinter(int index)
{
    m_service.setSelectedPrinter(index);
}

QString TReportPrinter::PrinterDeviceName() const
{
    return m_service.deviceName();
}

bool TReportPrinter::ShowPrinterSetup()
{
    const bool ok = m_service.showPrinterSetup();
    TBaseReport::setOrientation(m_service.isLandscape() ? poLandScape : poPortrait);
    return ok;
}

bool TReportPrinter::ShowPrintDialog()
{
    TPrintChoice choice{Copies(), FirstPage(), LastPage()};
    if (!m_service.showPrintDialog(choice))
        return false;
    setCopies(choice.copies);
    setFirstPage(choice.firstPage);
    setLastPage(choice.lastPage);
    TBaseReport::setOrientation(m_service.isLandscape() ? poLandScape : poPortrait);
    return true;
}

bool TReportPrinter::SetPaperSize(int code, InchSize size)
{
    return m_service.setPaperSize(code, size);
}

Inches TReportPrinter::PaperWidth() const
{
    return Inches(m_service.paperSizeInches().width());
}

Inches TReportPrinter::PaperHeight() const
{
    return Inches(m_service.paperSizeInches().height());
}

Inches TReportPrinter::UnprintableLeft() const
{
    return Inches(m_service.unprintableInches().left());
}

Inches TReportPrinter::UnprintableTop() const
{
    return Inches(m_service.unprintableInches().top());
}

Inches TReportPrinter::UnprintableRight() const
{
    return Inches(m_service.unprintableInches().right());
}

Inches TReportPrinter::UnprintableBottom() const
{
    return Inches(m_service.unprintableInches().bottom());
}

QStringList TReportPrinter::BinNames() const
{
    return m_service.binNames();
}

int TReportPrinter::CurrentBinIndex() const
{
    return m_service.currentBinIndex();
}

bool TReportPrinter::SelectBinByName(const QString &name)
{
    return m_service.selectBinByName(name);
}

QStringList TReportPrinter::PaperNames() const
{
    return m_service.paperNames();
}

int TReportPrinter::CurrentPaperIndex() const
{
    return m_service.currentPaperIndex();
}

bool TReportPrinter::SelectPaperByName(const QString &name)
{
    return m_service.selectPaperByName(name);
}

int TReportPrinter::DeviceOrientation() const
{
    return m_service.isLandscape() ? 1 : 0;
}

double TReportPrinter::XDPI() const
{
    return m_service.dotsPerInch().x();
}

double TReportPrinter::YDPI() const
{
    return m_service.dotsPerInch().y();
}

bool TReportPrinter::beginDocument()
{
    m_printed = 0;
    TPageBuffers::keep();
    QPaintDevice *device = m_service.beginDocument(Title(), Copies());
    if (!device)
        return false;
    if (!m_painter.begin(device)) {
        m_service.finishDocument(true);
        return false;
    }
    m_sink = std::make_unique<TPainterSink>(m_painter, device->logicalDpiX(), device->logicalDpiY());
    // The painter keeps its transform from page to page, so one setting serves the document.
    if (!m_calibration.isIdentity())
        m_calibration.applyTo(m_painter, device->logicalDpiX(), device->logicalDpiY());
    return true;
}

TDrawSink *TReportPrinter::beginPage(int pageNumber)
{
    if (pageNumber < FirstPage() || pageNumber > LastPage() || !m_painter.isActive())
        return nullptr;
    if (m_printed > 0 && !m_service.newPage()) {
        AbortJob();
        return nullptr;
    }
    ++m_printed;
    m_sink->beginPage({PaperWidth(), PaperHeight()});
    return m_sink.get();
}

void TReportPrinter::abortDocument()
{
    if (!m_painter.isActive())
        return;
    m_service.abortDocument();
    m_painter.end();
}

bool TReportPrinter::endDocument(bool aborted)
{
    if (m_painter.isActive())
        m_painter.end();
    m_sink.reset();
    const bool finished = m_service.finishDocument(aborted);
    TPageBuffers::release();
    return finished;
}

const QPaintDevice *TReportPrinter::measureDevice() const
{
    const QPointF dpi = m_service.dotsPerInch();
    const int dpmX = static_cast<int>(std::lround(dpi.x() / 0.0254));
    const int dpmY = static_cast<int>(std::lround(dpi.y() / 0.0254));
    if (m_measure.isNull())
        m_measure = QImage(1, 1, QImage::Format_ARGB32);
    if (m_measure.dotsPerMeterX() != dpmX || m_measure.dotsPerMeterY() != dpmY) {
        m_measure.setDotsPerMeterX(dpmX);
        m_measure.setDotsPerMeterY(dpmY);
    }
    return &m_measure;
}
