#include "TEnvelopeFeedPicture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

constexpr int kPageWidth = 96;
constexpr int kPageHeight = 112;
constexpr int kLong = 76;  // the envelope's long side
constexpr int kShort = 36; // its short side

const QColor kPaper(0xFF, 0xFF, 0xF4);
const QColor kInk(0x30, 0x30, 0x30);
const QColor kStamp(0xC0, 0x40, 0x40);

// The front of an envelope lying long edge first: stamp top right, the address in the middle,
// the return address top left.
void drawFront(QPainter &p, const QRect &r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.fillRect(QRect(r.right() - 10, r.top() + 3, 8, 9), kStamp);
    p.setPen(QPen(kInk, 1));
    p.drawLine(r.left() + 4, r.top() + 4, r.left() + 18, r.top() + 4);
    p.drawLine(r.left() + 4, r.top() + 7, r.left() + 14, r.top() + 7);
    const int x = r.left() + r.width() / 3;
    for (int i = 0; i < 3; ++i)
        p.drawLine(x, r.top() + 16 + 4 * i, x + r.width() / 3 + (i == 0 ? 4 : 0), r.top() + 16 + 4 * i);
}

// The back: the flap's outline meeting in the middle.
void drawBack(QPainter &p, const QRect &r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper.darker(104));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QPoint mid(r.center().x(), r.top() + r.height() * 3 / 5);
    p.drawLine(r.topLeft(), mid);
    p.drawLine(QPoint(r.right(), r.top()), mid);
    p.drawLine(QPoint(r.left(), r.bottom()), QPoint(r.left() + r.width() / 3, mid.y() - 2));
    p.drawLine(QPoint(r.right(), r.bottom()), QPoint(r.right() - r.width() / 3, mid.y() - 2));
}

// Draws the long-edge-first picture turned by `degrees` (90 clockwise, -90 the other way) into
// the upright rectangle `r`.
void drawTurned(QPainter &p, const QRect &r, bool back, int degrees)
{
    p.save();
    p.translate(r.center().x() + 0.5, r.center().y() + 0.5);
    p.rotate(degrees);
    const QRect lying(-kLong / 2, -kShort / 2, kLong, kShort);
    if (back)
        drawBack(p, lying);
    else
        drawFront(p, lying);
    p.restore();
}

// The feeder: a page with the paper guides and an arrow showing the way the paper goes in.
void drawPage(QPainter &p, const QRect &r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DashLine));
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    // The arrow at the bottom points up: into the printer.
    p.setPen(QPen(kInk, 2));
    const int cx = r.center().x();
    p.drawLine(cx, r.bottom() - 4, cx, r.bottom() - 26);
    p.setBrush(kInk);
    p.drawPolygon(QPolygon(
        {QPoint(cx - 6, r.bottom() - 22), QPoint(cx + 6, r.bottom() - 22), QPoint(cx, r.bottom() - 30)}));
}

} // namespace

QSize TEnvelopeFeedPicture::size(TPicture picture)
{
    switch (picture) {
    case Page:
        return {kPageWidth, kPageHeight};
    case Front:
    case Back:
        return {kLong, kShort};
    default:
        return {kShort, kLong};
    }
}

void TEnvelopeFeedPicture::draw(QPainter &painter, TPicture picture, QPoint at)
{
    const QRect r(at, size(picture));
    painter.save();
    switch (picture) {
    case Page:
        drawPage(painter, r);
        break;
    case Front:
        drawFront(painter, r);
        break;
    case Back:
        drawBack(painter, r);
        break;
    case FrontTurnedLeft:
        drawTurned(painter, r, false, -90);
        break;
    case FrontTurnedRight:
        drawTurned(painter, r, false, 90);
        break;
    case BackTurnedLeft:
        drawTurned(painter, r, true, -90);
        break;
    case BackTurnedRight:
        drawTurned(painter, r, true, 90);
        break;
    }
    painter.restore();
}

TEnvelopeFeedPicture::TPicture TEnvelopeFeedPicture::envelopePicture(const TEnvelopeFeedValues &feed)
{
    const bool back = feed.Facing == TEnvelopeFeedValues::FaceDown;
    if (feed.Orientation == TEnvelopeFeedValues::Portrait)
        return back ? Back : Front;
    if (feed.ClockWise)
        return back ? BackTurnedLeft : FrontTurnedLeft;
    return back ? BackTurnedRight : FrontTurnedRight;
}

QPoint TEnvelopeFeedPicture::envelopeAt(const TEnvelopeFeedValues &feed)
{
    const int page = size(Page).width();
    const int envelope = size(envelopePicture(feed)).width();
    switch (feed.Position) {
    case TEnvelopeFeedValues::Left:
        return {2, 2};
    case TEnvelopeFeedValues::Right:
        return {page - envelope - 2, 2};
    default:
        return {page / 2 - envelope / 2, 2};
    }
}

QImage TEnvelopeFeedPicture::render(const TEnvelopeFeedValues &feed)
{
    QImage image(size(Page), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw(painter, Page, {0, 0});
    draw(painter, envelopePicture(feed), envelopeAt(feed));
    return image;
}
