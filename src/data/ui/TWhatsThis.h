// "What's this?" for the controls of any window: each control is given a short text; a right
// click on it offers the menu item "What's this?", which shows the text in a small popup beside
// the pointer. Text boxes keep their own menu (undo, cut, copy, paste ...) with the item added
// at its end. Every window describes its controls once it has built them; the texts are that
// window's, kept together with its other texts. Stateless apart from the texts each control
// carries.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QMenu;
class QPoint;
class QWidget;

class TWhatsThis : public QObject
{
    Q_OBJECT

public:
    // The menu item's caption.
    static QString menuCaption() { return QStringLiteral("What's this?"); }

    // Gives `control` its text and the right-click menu item. The text is also the control's
    // QWidget::whatsThis, so Shift+F1 shows it too. Describing a control again replaces its
    // text. Requires: `control` is not null.
    static void describe(QWidget *control, const QString &text);
    // The text of `control`; empty when it was never described.
    static QString text(const QWidget *control);

    // Shows `control`'s text in the popup at `globalPos` (screen coordinates); a popup already
    // showing goes first. Returns the popup, which closes itself on the next click or key, or
    // null when the control has no text.
    static QLabel *showText(QWidget *control, const QPoint &globalPos);
    // The popup showing now, or null.
    static QLabel *popup();

private:
    explicit TWhatsThis(QWidget *control);
    bool eventFilter(QObject *watched, QEvent *event) override;
    // The control's own context menu, or a new empty one, with the item added.
    QMenu *menuFor(QWidget *control, const QPoint &localPos);
};
