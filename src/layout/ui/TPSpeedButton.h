// A tool button of the designer windows that also carries a context menu, shown on a
// right-click.
#pragma once

#include <QToolButton>

class QMenu;

class TPSpeedButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TPSpeedButton(QWidget *parent = nullptr);

    QMenu *PopupMenu() const { return m_popup; }
    // The caller keeps the menu alive while it is set.
    void setPopupMenu(QMenu *menu) { m_popup = menu; }

signals:
    // The menu is about to show at `globalPos`.
    void popupRequested(const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QMenu *m_popup = nullptr;
};
