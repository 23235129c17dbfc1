#include "TPdfPrinterService.h"

#include "TPaperSizes.h"

#include <QFile>
#include <QPdfWriter>

namespace {

const QPageSize::PageSizeId kPaperChoices[] = {QPageSize::Letter,     QPageSize::Legal,
                                               QPageSize::A4,         QPageSize::A5,
                                               QPageSize::Envelope10, QPageSize::EnvelopeDL};

} // namespace

TPdfPrinterService::TPdfPrinterService(QString fileName, int dotsPerInch)
    : m_fileName(std::move(fileName)), m_dpi(dotsPerInch)
{
}

TPdfPrinterService::~TPdfPrinterService() = default;

QStringList TPdfPrinterService::printerNames() const
{
    return {QStringLiteral("PDF")};
}

QString TPdfPrinterService::deviceName() const
{
    return QStringLiteral("PDF");
}

bool TPdfPrinterService::setPaperSize(int code, InchSize custom)
{
    const QPageSize size = TPaperSizes::pageSize(code, custom);
    if (!size.isValid())
        return false;
    m_pageSize = size;
    return true;
}

QSizeF TPdfPrinterService::paperSizeInches() const
{
    const QSizeF s = TPaperSizes::inches(m_pageSize);
    return m_landscape ? s.transposed() : s;
}

QStringList TPdfPrinterService::binNames() const
{
    return {QStringLiteral("Automatically Select")};
}

bool TPdfPrinterService::selectBinByName(const QString &name)
{
    return binNames().contains(name);
}

QStringList TPdfPrinterService::paperNames() const
{
    QStringList names;
    for (QPageSize::PageSizeId id : kPaperChoices)
        names << QPageSize::name(id);
    return names;
}

int TPdfPrinterService::currentPaperIndex() const
{
    return static_cast<int>(paperNames().indexOf(m_pageSize.name()));
}

bool TPdfPrinterService::selectPaperByName(const QString &name)
{
    for (QPageSize::PageSizeId id : kPaperChoices)
        if (QPageSize::name(id) == name) {
            m_pageSize = QPageSize(id);
            return true;
        }
    return false;
}

QPaintDevice *TPdfPrinterService::beginDocument(const QString &title, int)
{
    m_writer = std::make_unique<QPdfWriter>(m_fileName);
    m_writer->setResolution(m_dpi);
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Corvantis"));
    m_writer->setPageLayout(QPageLayout(m_pageSize,
                                        m_landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                        QMarginsF(), QPageLayout::Inch));
    return m_writer.get();
}

bool TPdfPrinterService::newPage()
{
    return m_writer && m_writer->newPage();
}

bool TPdfPrinterService::finishDocument(bool aborted)
{
    m_writer.reset();
    if (aborted)
        QFile::remove(m_fileName);
    return true;
}
