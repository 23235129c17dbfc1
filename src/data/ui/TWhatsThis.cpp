#include "TWhatsThis.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTextEdit>

namespace {

const char *const kTextProperty = "corvantisWhatsThis";

// The popup: the text on a tooltip-coloured panel that closes on the next click or key.
class TWhatsThisPopup : public QLabel
{
public:
    explicit TWhatsThisPopup(const QString &text) : QLabel(text, nullptr, Qt::Popup)
    {
        setObjectName(QStringLiteral("WhatsThisPopup"));
        setAttribute(Qt::WA_DeleteOnClose);
        setWordWrap(true);
        setTextFormat(Qt::PlainText);
        setMargin(8);
        setFrameShape(QFrame::Box);
        setForegroundRole(QPalette::ToolTipText);
        setBackgroundRole(QPalette::ToolTipBase);
        setAutoFillBackground(true);
        setMaximumWidth(320);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { close(); }
    void keyPressEvent(QKeyEvent *) override { close(); }
};

QPointer<QLabel> g_popup;

} // namespace

TWhatsThis::TWhatsThis(QWidget *control) : QObject(control)
{
    setObjectName(QStringLiteral("TWhatsThis"));
}

void TWhatsThis::describe(QWidget *control, const QString &text)
{
    const bool described = control->property(kTextProperty).isValid();
    control->setProperty(kTextProperty, text);
    control->setWhatsThis(text);
    if (described)
        return;
    // The control's own menu stays reachable through the filter, which builds it on demand.
    control->setContextMenuPolicy(Qt::DefaultContextMenu);
    auto *filter = new TWhatsThis(control);
    control->installEventFilter(filter);
    // A scrolling box (the memo) gets its right clicks in its viewport.
    if (auto *area = qobject_cast<QAbstractScrollArea *>(control))
        area->viewport()->installEventFilter(filter);
}

QString TWhatsThis::text(const QWidget *control)
{
    return control ? control->property(kTextProperty).toString() : QString();
}

QLabel *TWhatsThis::popup()
{
    return g_popup && g_popup->isVisible() ? g_popup.data() : nullptr;
}

QLabel *TWhatsThis::showText(QWidget *control, const QPoint &globalPos)
{
    const QString shown = text(control);
    if (shown.isEmpty())
        return nullptr;
    if (g_popup)
        g_popup->close();
    auto *label = new TWhatsThisPopup(shown);
    label->adjustSize();
    // Beside the pointer, kept on the screen the control is on.
    QPoint at = globalPos + QPoint(8, 8);
    if (const QScreen *screen = control->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(qBound(area.left(), at.x(), qMax(area.left(), area.right() - label->width())));
        at.setY(qBound(area.top(), at.y(), qMax(area.top(), area.bottom() - label->height())));
    }
    label->move(at);
    label->show();
    g_popup = label;
    return label;
}

QMenu *TWhatsThis::menuFor(QWidget *control, const QPoint &localPos)
{
    QMenu *menu = nullptr;
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        menu = edit->createStandardContextMenu();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
        menu = plain->createStandardContextMenu(localPos);
    else if (auto *rich = qobject_cast<QTextEdit *>(control))
        menu = rich->createStandardContextMenu(localPos);
    if (!menu)
        menu = new QMenu;
    else
        menu->addSeparator();
    menu->setObjectName(QStringLiteral("WhatsThisMenu"));
    QAction *item = menu->addAction(menuCaption());
    item->setObjectName(QStringLiteral("WhatsThisAction"));
    return menu;
}

bool TWhatsThis::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ContextMenu)
        return false;
    auto *control = qobject_cast<QWidget *>(parent());
    auto *area = qobject_cast<QAbstractScrollArea *>(control);
    if (!control || (watched != control && (!area || watched != area->viewport())))
        return false;
    auto *request = static_cast<QContextMenuEvent *>(event);
    // A scrolling box builds its menu in its viewport's coordinates.
    QPoint local = request->pos();
    if (area && watched == control)
        local = area->viewport()->mapFrom(control, local);
    QMenu *menu = menuFor(control, local);
    const QPointer<QWidget> alive(control);
    QAction *chosen = menu->exec(request->globalPos());
    const bool wanted = chosen && chosen->objectName() == QLatin1String("WhatsThisAction");
    delete menu;
    if (wanted && alive)
        showText(control, request->globalPos());
    return true;
}
