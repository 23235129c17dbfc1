#include "TQtPrinterService.h"

#include "TPaperSizes.h"

#include <QFile>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace {

struct SourceName {
    QPrinter::PaperSource source;
    const char *name;
};

const SourceName kSources[] = {
    {QPrinter::Auto, "Automatically Select"},
    {QPrinter::OnlyOne, "Only One"},
    {QPrinter::Lower, "Lower Tray"},
    {QPrinter::Middle, "Middle Tray"},
    {QPrinter::Manual, "Manual Feed"},
    {QPrinter::Envelope, "Envelope"},
    {QPrinter::EnvelopeManual, "Envelope Manual Feed"},
    {QPrinter::Tractor, "Tractor"},
    {QPrinter::SmallFormat, "Small Format"},
    {QPrinter::LargeFormat, "Large Format"},
    {QPrinter::LargeCapacity, "Large Capacity"},
    {QPrinter::Cassette, "Cassette"},
    {QPrinter::FormSource, "Form Source"},
    {QPrinter::Upper, "Upper Tray"},
};

QString sourceName(QPrinter::PaperSource source)
{
    for (const SourceName &s : kSources)
        if (s.source == source)
            return QString::fromLatin1(s.name);
    return QStringLiteral("Custom");
}

} // namespace

TQtPrinterService::TQtPrinterService(const QString &pdfFileName, QWidget *parent)
    : m_printer(QPrinter::HighResolution), m_pdfFileName(pdfFileName), m_parent(parent)
{
    m_printer.setFullPage(true);
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (defaultName.isEmpty() || QPrinterInfo::availablePrinterNames().isEmpty())
        setSelectedPrinter(static_cast<int>(printerNames().size()) - 1);
}

QStringList TQtPrinterService::printerNames() const
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << pdfPrinterName();
    return names;
}

int TQtPrinterService::selectedPrinter() const
{
    const QStringList names = printerNames();
    if (isPdf())
        return static_cast<int>(names.size()) - 1;
    const qsizetype i = names.indexOf(m_printer.printerName());
    return static_cast<int>(i);
}

void TQtPrinterService::setSelectedPrinter(int index)
{
    const QStringList names = printerNames();
    if (index < 0 || index >= names.size())
        return;
    if (index == names.size() - 1) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_pdfFileName);
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(names[index]);
    }
    m_printer.setFullPage(true);
}

QString TQtPrinterService::deviceName() const
{
    return isPdf() ? pdfPrinterName() : m_printer.printerName();
}

bool TQtPrinterService::setPaperSize(int code, InchSize custom)
{
    const QPageSize size = TPaperSizes::pageSize(code, custom);
    return size.isValid() && m_printer.setPageSize(size);
}

QSizeF TQtPrinterService::paperSizeInches() const
{
    // The printable area plus the unprintable edges: the whole sheet in its orientation.
    const QPageLayout layout = m_printer.pageLayout();
    const QSizeF portrait = TPaperSizes::inches(layout.pageSize());
    return layout.orientation() == QPageLayout::Landscape ? portrait.transposed() : portrait;
}

QMarginsF TQtPrinterService::unprintableInches() const
{
    QPageLayout layout = m_printer.pageLayout();
    layout.setUnits(QPageLayout::Inch);
    return layout.minimumMargins();
}

void TQtPrinterService::setLandscape(bool landscape)
{
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool TQtPrinterService::isLandscape() const
{
    return m_printer.pageLayout().orientation() == QPageLayout::Landscape;
}

QPointF TQtPrinterService::dotsPerInch() const
{
    return QPointF(m_printer.logicalDpiX(), m_printer.logicalDpiY());
}

QStringList TQtPrinterService::binNames() const
{
    // Qt does not list a CUPS printer's input slots; it offers automatic selection and keeps
    // whichever source was chosen (through the set-up dialog or SelectBinByName).
    QStringList names{sourceName(QPrinter::Auto)};
    const QString current = sourceName(m_printer.paperSource());
    if (!names.contains(current))
        names << current;
    return names;
}

int TQtPrinterService::currentBinIndex() const
{
    return static_cast<int>(binNames().indexOf(sourceName(m_printer.paperSource())));
}

bool TQtPrinterService::selectBinByName(const QString &name)
{
    for (const SourceName &s : kSources)
        if (name == QLatin1String(s.name)) {
            m_printer.setPaperSource(s.source);
            return true;
        }
    return false;
}

QList<QPageSize> TQtPrinterService::pageSizes() const
{
    QList<QPageSize> sizes;
    if (!isPdf())
        sizes = QPrinterInfo::printerInfo(m_printer.printerName()).supportedPageSizes();
    if (sizes.isEmpty())
        for (QPageSize::PageSizeId id : {QPageSize::Letter, QPageSize::Legal, QPageSize::A4, QPageSize::A5,
                                         QPageSize::Envelope10, QPageSize::EnvelopeDL})
            sizes << QPageSize(id);
    return sizes;
}

QStringList TQtPrinterService::paperNames() const
{
    QStringList names;
    for (const QPageSize &size : pageSizes())
        names << size.name();
    return names;
}

int TQtPrinterService::currentPaperIndex() const
{
    return static_cast<int>(paperNames().indexOf(m_printer.pageLayout().pageSize().name()));
}

bool TQtPrinterService::selectPaperByName(const QString &name)
{
    for (const QPageSize &size : pageSizes())
        if (size.name() == name)
            return m_printer.setPageSize(size);
    return false;
}

QPaintDevice *TQtPrinterService::beginDocument(const QString &title, int copies)
{
    m_printer.setDocName(title);
    m_printer.setCopyCount(copies);
    m_printer.setFullPage(true);
    if (isPdf() && m_printer.outputFileName().isEmpty())
        m_printer.setOutputFileName(m_pdfFileName);
    return &m_printer;
}

bool TQtPrinterService::newPage()
{
    return m_printer.newPage();
}

void TQtPrinterService::abortDocument()
{
    m_printer.abort();
}

bool TQtPrinterService::finishDocument(bool aborted)
{
    if (aborted && isPdf())
        QFile::remove(m_printer.outputFileName());
    return m_printer.printerState() != QPrinter::Error;
}

bool TQtPrinterService::showPrinterSetup()
{
    QPageSetupDialog dialog(&m_printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtPrinterService::showPrintDialog(TPrintChoice &choice)
{
    m_printer.setCopyCount(choice.copies);
    m_printer.setFromTo(0, 0);
    QPrintDialog dialog(&m_printer, m_parent);
    dialog.setMinMax(1, 9999);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice.copies = m_printer.copyCount();
    if (m_printer.printRange() == QPrinter::PageRange && m_printer.fromPage() > 0) {
        choice.firstPage = m_printer.fromPage();
        choice.lastPage = m_printer.toPage();
    } else {
        choice.firstPage = 1;
        choice.lastPage = 9999;
    }
    if (isPdf())
        m_pdfFileName = m_printer.outputFileName();
    m_printer.setFullPage(true);
    return true;
}
