#include "TLetterRuler.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kPixelsPerInch = 96.0; // the document's unit
constexpr int kHeight = 24;
constexpr qreal kGrab = 5.0;

} // namespace

TLetterRuler::TLetterRuler(QTextEdit *editor, QWidget *parent) : QWidget(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("Ruler"));
    setFixedHeight(kHeight);
    setMouseTracking(false);
    connect(editor, &QTextEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
    connect(editor->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

QSize TLetterRuler::sizeHint() const
{
    return {400, kHeight};
}

void TLetterRuler::setTextWidth(qreal pixels)
{
    m_textWidth = std::max<qreal>(pixels, 1);
    update();
}

qreal TLetterRuler::toWidget(qreal documentX) const
{
    const QPoint viewport =
        m_editor->viewport()->mapTo(window(), QPoint(0, 0)) - mapTo(window(), QPoint(0, 0));
    return viewport.x() + m_editor->document()->documentMargin() + documentX -
           m_editor->horizontalScrollBar()->value();
}

qreal TLetterRuler::toDocument(qreal widgetX) const
{
    return widgetX - toWidget(0);
}

TLetterRuler::Marker TLetterRuler::markerAt(const QPoint &point) const
{
    const QTextBlockFormat f = m_editor->textCursor().blockFormat();
    const qreal x = point.x();
    if (std::fabs(x - toWidget(m_textWidth - f.rightMargin())) <= kGrab)
        return Marker::Right;
    if (point.y() < kHeight / 2 && std::fabs(x - toWidget(f.leftMargin() + f.textIndent())) <= kGrab)
        return Marker::First;
    if (std::fabs(x - toWidget(f.leftMargin())) <= kGrab)
        return Marker::Left;
    return Marker::None;
}

template <typename Change> void TLetterRuler::changeParagraphs(Change change)
{
    QTextCursor cursor = m_editor->textCursor();
    const int start = std::min(cursor.anchor(), cursor.position());
    const int end = std::max(cursor.anchor(), cursor.position());
    QTextCursor edit(m_editor->document());
    edit.beginEditBlock();
    for (QTextBlock b = m_editor->document()->findBlock(start); b.isValid() && b.position() <= end;
         b = b.next()) {
        QTextBlockFormat format = b.blockFormat();
        change(format);
        edit.setPosition(b.position());
        edit.setBlockFormat(format);
    }
    edit.endEditBlock();
    update();
}

void TLetterRuler::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    p.fillRect(QRectF(toWidget(0), 2, m_textWidth, kHeight - 4), Qt::white);
    p.setPen(Qt::darkGray);
    for (int eighth = 0; eighth * kPixelsPerInch / 8 <= m_textWidth; ++eighth) {
        const qreal x = toWidget(eighth * kPixelsPerInch / 8);
        const qreal tick = eighth % 8 == 0 ? 8 : eighth % 4 == 0 ? 5 : 3;
        p.drawLine(QPointF(x, kHeight - 2 - tick), QPointF(x, kHeight - 2));
        if (eighth % 8 == 0 && eighth > 0)
            p.drawText(QPointF(x + 2, 11), QString::number(eighth / 8));
    }
    const QTextBlockFormat f = m_editor->textCursor().blockFormat();
    p.setPen(Qt::black);
    p.setBrush(Qt::lightGray);
    const qreal first = toWidget(f.leftMargin() + f.textIndent());
    const qreal left = toWidget(f.leftMargin());
    const qreal right = toWidget(m_textWidth - f.rightMargin());
    p.drawPolygon(QPolygonF({QPointF(first - 4, 2), QPointF(first + 4, 2), QPointF(first, 8)}));
    p.drawPolygon(QPolygonF(
        {QPointF(left - 4, kHeight - 2), QPointF(left + 4, kHeight - 2), QPointF(left, kHeight - 8)}));
    p.drawPolygon(QPolygonF(
        {QPointF(right - 4, kHeight - 2), QPointF(right + 4, kHeight - 2), QPointF(right, kHeight - 8)}));
    for (const QTextOption::Tab &tab : f.tabPositions()) {
        const qreal x = toWidget(tab.position);
        p.drawLine(QPointF(x, kHeight - 10), QPointF(x, kHeight - 4));
        p.drawLine(QPointF(x, kHeight - 4), QPointF(x + 5, kHeight - 4));
    }
}

void TLetterRuler::mousePressEvent(QMouseEvent *event)
{
    m_dragging = markerAt(event->position().toPoint());
    if (m_dragging != Marker::None || event->button() != Qt::LeftButton)
        return;
    const qreal at = toDocument(event->position().x());
    if (at <= 0 || at >= m_textWidth)
        return;
    changeParagraphs([at](QTextBlockFormat &format) {
        QList<QTextOption::Tab> tabs = format.tabPositions();
        if (tabs.size() >= 64)
            return;
        tabs.append(QTextOption::Tab(std::round(at), QTextOption::LeftTab));
        std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
            return a.position < b.position;
        });
        format.setTabPositions(tabs);
    });
}

void TLetterRuler::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging == Marker::None)
        return;
    const qreal at = std::clamp<qreal>(std::round(toDocument(event->position().x())), 0, m_textWidth);
    const Marker marker = m_dragging;
    const qreal width = m_textWidth;
    changeParagraphs([marker, at, width](QTextBlockFormat &format) {
        if (marker == Marker::Left) {
            const qreal first = format.leftMargin() + format.textIndent();
            format.setLeftMargin(at);
            format.setTextIndent(first - at);
        } else if (marker == Marker::First) {
            format.setTextIndent(at - format.leftMargin());
        } else {
            format.setRightMargin(width - at);
        }
    });
}

void TLetterRuler::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = Marker::None;
}

void TLetterRuler::mouseDoubleClickEvent(QMouseEvent *event)
{
    const qreal at = toDocument(event->position().x());
    changeParagraphs([at](QTextBlockFormat &format) {
        QList<QTextOption::Tab> tabs = format.tabPositions();
        tabs.erase(
            std::remove_if(tabs.begin(), tabs.end(),
                           [at](const QTextOption::Tab &t) { return std::fabs(t.position - at) <= kGrab; }),
            tabs.end());
        format.setTabPositions(tabs);
    });
}
