#include "TFilePreview.h"

#include "TRecordingReader.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A magnifying glass: a ring with a handle, its hot spot in the ring's middle.
QCursor magnifierCursor()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.setPen(QPen(Qt::black, 2));
    p.drawEllipse(QRectF(3, 3, 16, 16));
    p.drawLine(QPointF(17, 17), QPointF(28, 28));
    p.end();
    return QCursor(pixmap, 11, 11);
}

} // namespace

TFilePreview::TFilePreview(const TRecordingReader &reader, QWidget *parent)
    : QWidget(parent), m_reader(reader)
{
    setObjectName(QStringLiteral("FilePreview"));
    setCursor(magnifierCursor());
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TFilePreview::showPage(int index, double zoomPercent, double screenDpi)
{
    m_page = index;
    m_image = m_reader.renderPage(index, screenDpi * zoomPercent / 100.0);
    setFixedSize(m_image.isNull() ? QSize(1, 1) : m_image.size());
    update();
}

void TFilePreview::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    if (!m_image.isNull())
        painter.drawImage(event->rect().topLeft(), m_image, event->rect());
}

void TFilePreview::mousePressEvent(QMouseEvent *event)
{
    emit pageClicked(event->button());
}
