#include "TLetterPrint.h"

#include "TAddressTable.h"
#include "TLetterDocument.h"
#include "TLetterMerge.h"
#include "TLetterPageLayout.h"
#include "TMergeTableRecord.h"
#include "TPageBuffers.h"
#include "TPrinterService.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>


TLetterPrint::TLetterPrint(const QTextDocument &templateDocument, TPrinterService &service)
    : m_template(templateDocument), m_service(service)
{
}

void TLetterPrint::setCopies(int copies)
{
    m_copies = std::clamp(copies, 1, 999);
}

int TLetterPrint::layOut(QTextDocument &document, QPaintDevice *device, const QRect &rect)
{
    // The text is laid out once, on the device and for the page it is drawn on. A document
    // lays itself out as soon as its layout is made or its margin, page size or device
    // changes, so while anything is still to change its page size is null: a document without
    // a page size is not laid out. (A fresh copy inherits its template's page size, and making
    // its layout would otherwise lay the whole letter out for the screen first.)
    const QSizeF size(std::max(rect.width(), 1), std::max(rect.height(), 1));
    const bool sizeChanges = document.pageSize() != size;
    if (sizeChanges)
        document.setPageSize(QSizeF());
    // The margins are the letter's own: the document adds none around the text.
    if (document.documentMargin() != 0)
        document.setDocumentMargin(0);
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    if (layout->paintDevice() != device) {
        layout->setPaintDevice(device);
        // A new device alone does not lay the text out again.
        if (!sizeChanges)
            document.markContentsDirty(0, document.characterCount());
    }
    if (sizeChanges)
        document.setPageSize(size);
    return std::max(document.pageCount(), 1);
}

int TLetterPrint::drawPage(QTextDocument &document, QPaintDevice *device, QPainter &painter,
                           const QRect &rect, int page)
{
    const int pages = layOut(document, device, rect);
    if (page < 0 || page >= pages)
        return 0;
    const qreal height = document.pageSize().height();
    const QRectF clip(0, page * height, document.pageSize().width(), height);
    painter.save();
    painter.translate(rect.left(), rect.top() - clip.top());
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    // The layout draws every block that touches its clip; a block that begins the next page
    // touches this page's bottom edge, so the clip stops a pixel short of it. (Text clipped
    // away on the device would still be in a PDF's text.)
    context.clip = clip.adjusted(0, 0, 0, -1);
    context.palette.setColor(QPalette::Text, Qt::black);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
    return page + 1 < pages ? page + 1 : 0;
}

bool TLetterPrint::startPage(bool &pageOpen)
{
    // The device holds its first page from the start; every later page is asked for just
    // before something is drawn on it, so the document never ends with an empty page.
    if (pageOpen && !m_service.newPage())
        return false;
    pageOpen = true;
    return true;
}

bool TLetterPrint::PrintThisRecord(TAddressTable &table, QPainter &painter, QPaintDevice *device,
                                   bool &pageOpen)
{
    std::unique_ptr<QTextDocument> letter = TLetterDocument::copy(m_template);
    TLetterMerge::ReplaceTokens(*letter, TMergeTableRecord(table), m_dates);
    for (int copy = 0; copy < m_copies; ++copy) {
        int page = 0;
        do {
            if (!startPage(pageOpen))
                return false;
            page = drawPage(*letter, device, painter, m_rect, page);
            ++m_pages;
        } while (page > 0);
    }
    return true;
}

TLetterPrint::Outcome TLetterPrint::fail(QPainter &painter, const QString &message)
{
    m_message = message;
    m_service.abortDocument();
    if (painter.isActive())
        painter.end();
    (void)m_service.finishDocument(true); // the document is dropped; the first failure is the one told
    return Outcome::Failed;
}

TLetterPrint::Outcome TLetterPrint::run(TAddressTable &table, TProgress &progress)
{
    m_pages = 0;
    m_message.clear();
    const TPageBuffers buffers;
    const TLetterPageLayout page = TLetterPageLayout::of(m_template);
    if (m_letterPaper) {
        m_service.setLandscape(false);
        if (!m_service.setPaperSize(
                0, InchSize{Inches(page.paperWidth / double(TLetterPageLayout::kTwipsPerInch)),
                            Inches(page.paperHeight / double(TLetterPageLayout::kTwipsPerInch))})) {
            m_message = QStringLiteral("Unable to print: the printer does not take the letter's paper size");
            return Outcome::Failed;
        }
    }
    progress.setTotal(m_onlyCurrent ? 1 : static_cast<int>(std::min<qint64>(table.visibleCount(), INT_MAX)));

    QPaintDevice *device = m_service.beginDocument(m_title, 1);
    QPainter painter;
    if (!device || !painter.begin(device)) {
        if (device)
            (void)m_service.finishDocument(true); // nothing was drawn; the open failure is the one told
        m_message = QStringLiteral("Unable to print: the printer ") + m_service.deviceName() +
                    QStringLiteral(" could not be opened");
        return Outcome::Failed;
    }
    const QMarginsF unprintable = m_service.unprintableInches();
    const int dpiX = device->logicalDpiX();
    const int dpiY = device->logicalDpiY();
    // The painter keeps its transform from page to page; each page is drawn inside it.
    if (!m_calibration.isIdentity())
        m_calibration.applyTo(painter, dpiX, dpiY);
    m_rect = page.DeterminePrinterBounds(dpiX, dpiY, static_cast<int>(std::lround(unprintable.left() * dpiX)),
                                         static_cast<int>(std::lround(unprintable.top() * dpiY)));

    bool pageOpen = false;
    while (table.hasRecord()) {
        if (!PrintThisRecord(table, painter, device, pageOpen))
            return fail(painter, QStringLiteral("Unable to print: the printer stopped after page ") +
                                     QString::number(m_pages));
        if (m_onlyCurrent)
            break;
        const TResult moved = table.next();
        if (onStatus)
            onStatus(statusText(m_pages));
        progress.step();
        if (!moved) {
            if (moved.isNotFound())
                break;
            return fail(painter, QStringLiteral("Unable to print: the address file could not be read. ") +
                                     moved.message);
        }
        if (progress.cancelled() && (!confirmCancel || confirmCancel())) {
            m_service.abortDocument();
            painter.end();
            (void)m_service.finishDocument(true); // an aborted document is dropped; nothing to tell
            return Outcome::Canceled;
        }
    }
    if (m_onlyCurrent) {
        if (onStatus)
            onStatus(statusText(m_pages));
        progress.step();
    }
    painter.end();
    if (!m_service.finishDocument(false)) {
        m_message = QStringLiteral("Unable to print: the printing service could not finish the document");
        return Outcome::Failed;
    }
    return Outcome::Completed;
}
