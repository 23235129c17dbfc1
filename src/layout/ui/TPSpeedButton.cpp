#include "TPSpeedButton.h"

#include <QMenu>
#include <QMouseEvent>

TPSpeedButton::TPSpeedButton(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
}

void TPSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton && m_popup) {
        const QPoint at = event->globalPosition().toPoint();
        emit popupRequested(at);
        m_popup->popup(at);
        event->accept();
        return;
    }
    QToolButton::mousePressEvent(event);
}
