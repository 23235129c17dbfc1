#include "TGSurfaceWidget.h"

#include "TGBaseLabel.h"
#include "TGBasePanel.h"
#include "TGGraphicControl.h"
#include "TGTextObjectMenu.h"
#include "TGDesignPanel.h"
#include "TGMultiLineLabel.h"
#include "TGMultiLineObjectMenu.h"
#include "TGMultiLineTextDialog.h"
#include "TGPDLabel.h"
#include "TGPLabel.h"
#include "TGSelectFieldDialog.h"
#include "TGShapeObjectMenu.h"
#include "TGSymbolLabel.h"
#include "TGSymbolSelectorDialog.h"
#include "TGTextDialog.h"
#include "TGImage.h"

#include <QAbstractScrollArea>
#include <QDateTime>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QUndoStack>

#include <algorithm>
#include <functional>

namespace {

// The commands of the common part of an object's menu.
enum class ObjectCommand {
    None,
    BringToFront,
    SendToBack,
    Cut,
    Copy,
    Delete,
    Clone,
    Locked,
    Unselectable,
    CenterVertically,
    CenterHorizontally
};

// The caption of an action without its accelerator marks.
QString plainText(const QAction *action)
{
    QString text = action->text();
    return text.remove(QLatin1Char('&'));
}

} // namespace

TGSurfaceWidget::TGSurfaceWidget(TGBasePanel *surface, QWidget *parent) : QWidget(parent), m_surface(surface)
{
    setMouseTracking(true);
    // A surface takes all keys.
    setFocusPolicy(Qt::StrongFocus);
    // A zoom or a new size of the surface resizes the widget.
    m_surface->InvalidateEvent = [this] {
        if (size() != sizeHint())
            resize(sizeHint());
        update();
    };
    // The frame refits once the bounds change that asked for it is over.
    m_surface->FrameRefitEvent = [this] {
        QMetaObject::invokeMethod(
            this, [this] { m_surface->DeliverPosted(); }, Qt::QueuedConnection);
    };
    // Mouse rules measure time between events by the events' own time stamps.
    m_surface->TickCountSource = [this] {
        return m_eventTime != 0 ? m_eventTime : TGBasePanel::systemTickCount();
    };
    m_surface->ContextMenuEvent = [this](TGGraphicControl *object, const QPoint &point) {
        if (object)
            showObjectMenu(object, point);
        else
            showSurfaceMenu(point);
    };
    if (auto *drawing = dynamic_cast<TGDesignPanel *>(m_surface)) {
        drawing->NewObjectDialogEvent = [this](TGGraphicControl *object, TGNewObjectDialog dialog) {
            openNewObjectDialog(object, static_cast<int>(dialog));
        };
        drawing->BeepEvent = [] { QApplication::beep(); };
        drawing->MessageEvent = [this](const QString &text) {
            QMessageBox::information(this, QStringLiteral("Information"), text);
        };
    }
    followSurface();
}

void TGSurfaceWidget::openNewObjectDialog(TGGraphicControl *object, int which)
{
    switch (static_cast<TGNewObjectDialog>(which)) {
    case TGNewObjectDialog::Text:
        if (auto *text = dynamic_cast<TGPLabel *>(object)) {
            TGTextDialog dialog(text, this);
            dialog.exec();
        }
        break;
    case TGNewObjectDialog::SelectField:
        if (auto *field = dynamic_cast<TGPDLabel *>(object)) {
            TGSelectFieldDialog dialog(field, this);
            dialog.exec();
        }
        break;
    case TGNewObjectDialog::SymbolSelector:
        if (auto *symbol = dynamic_cast<TGSymbolLabel *>(object)) {
            TGSymbolSelectorDialog dialog(symbol, this);
            dialog.exec();
        }
        break;
    case TGNewObjectDialog::MultiLineText:
        if (auto *text = dynamic_cast<TGMultiLineLabel *>(object)) {
            TGMultiLineTextDialog dialog(text, this);
            dialog.exec();
        }
        break;
    case TGNewObjectDialog::LoadImage:
        if (auto *image = dynamic_cast<TGImage *>(object); image && TGShapeObjectMenu::loadImageDialog)
            TGShapeObjectMenu::loadImageDialog(image, this);
        break;
    }
}

TGSurfaceWidget::~TGSurfaceWidget()
{
    if (auto *drawing = dynamic_cast<TGDesignPanel *>(m_surface)) {
        drawing->NewObjectDialogEvent = nullptr;
        drawing->BeepEvent = nullptr;
        drawing->MessageEvent = nullptr;
    }
    m_surface->InvalidateEvent = nullptr;
    m_surface->FrameRefitEvent = nullptr;
    m_surface->ContextMenuEvent = nullptr;
    m_surface->TickCountSource = nullptr;
}

QSize TGSurfaceWidget::sizeHint() const
{
    return QSize(m_surface->Width(), m_surface->Height());
}

void TGSurfaceWidget::followSurface()
{
    if (size() != sizeHint())
        resize(sizeHint());
    switch (m_surface->cursor()) {
    case TGCursor::Default:
        unsetCursor();
        break;
    case TGCursor::HandPoint:
        setCursor(Qt::PointingHandCursor);
        break;
    case TGCursor::HandGrab:
        setCursor(Qt::ClosedHandCursor);
        break;
    case TGCursor::Drag:
        setCursor(Qt::DragMoveCursor);
        break;
    case TGCursor::SizeNWSE:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case TGCursor::SizeNESW:
        setCursor(Qt::SizeBDiagCursor);
        break;
    case TGCursor::SizeVer:
        setCursor(Qt::SizeVerCursor);
        break;
    case TGCursor::SizeHor:
        setCursor(Qt::SizeHorCursor);
        break;
    }
}

void TGSurfaceWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    m_surface->Paint(painter);
}

void TGSurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    m_eventTime = static_cast<qint64>(event->timestamp()) + 1;
    m_surface->MouseDown(event->button(), event->modifiers(), event->position().toPoint());
    m_eventTime = 0;
    followSurface();
}

void TGSurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    m_eventTime = static_cast<qint64>(event->timestamp()) + 1;
    m_surface->MouseMove(event->modifiers(), event->position().toPoint(), event->buttons());
    m_eventTime = 0;
    followSurface();
}

void TGSurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_eventTime = static_cast<qint64>(event->timestamp()) + 1;
    m_surface->MouseUp(event->button(), event->modifiers(), event->position().toPoint());
    m_eventTime = 0;
    followSurface();
}

void TGSurfaceWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    m_eventTime = static_cast<qint64>(event->timestamp()) + 1;
    m_surface->MouseDoubleClick(event->position().toPoint());
    m_eventTime = 0;
    followSurface();
}

void TGSurfaceWidget::scrollBy(int action)
{
    // The design area is the scroll area the widget sits in, if any.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *area = qobject_cast<QAbstractScrollArea *>(w)) {
            area->verticalScrollBar()->triggerAction(static_cast<QAbstractSlider::SliderAction>(action));
            return;
        }
}

void TGSurfaceWidget::report(const TResult &result)
{
    if (!result)
        QMessageBox::information(this, QStringLiteral("Information"), result.message);
}

bool TGSurfaceWidget::viewKey(int key, Qt::KeyboardModifiers mods)
{
    if (key == Qt::Key_Plus && (mods & Qt::KeypadModifier))
        emit zoomInRequested();
    else if (key == Qt::Key_Minus && (mods & Qt::KeypadModifier))
        emit zoomOutRequested();
    else if (key == Qt::Key_PageUp)
        scrollBy(QAbstractSlider::SliderSingleStepSub);
    else if (key == Qt::Key_PageDown)
        scrollBy(QAbstractSlider::SliderSingleStepAdd);
    else if (key == Qt::Key_Home)
        scrollBy(QAbstractSlider::SliderToMinimum);
    else if (key == Qt::Key_End)
        scrollBy(QAbstractSlider::SliderToMaximum);
    else
        return false;
    return true;
}

void TGSurfaceWidget::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const int key = event->key();
    QUndoStack &undo = m_surface->undoStack();
    if (ctrl && key == Qt::Key_Z && !shift)
        undo.undo();
    else if (ctrl && (key == Qt::Key_Y || (key == Qt::Key_Z && shift)))
        undo.redo();
    else if (ctrl && key == Qt::Key_C)
        report(m_surface->EditSelection(TEditKind::Copy));
    else if (ctrl && key == Qt::Key_X)
        report(m_surface->EditSelection(TEditKind::Cut));
    else if (ctrl && key == Qt::Key_V)
        report(m_surface->EditSelection(TEditKind::Paste));
    else if (key == Qt::Key_Delete && !ctrl)
        report(m_surface->EditSelection(TEditKind::Delete));
    else if (viewKey(key, mods))
        ;
    else if (!m_surface->KeyDown(key, mods)) {
        QWidget::keyPressEvent(event);
        return;
    }
    followSurface();
}

void TGSurfaceWidget::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its press; the nudge ends with the real release.
    if (event->isAutoRepeat())
        return;
    m_surface->KeyUp(event->key());
    followSurface();
}

void TGSurfaceWidget::showObjectMenu(TGGraphicControl *object, const QPoint &surfacePoint)
{
    ObjectCommand command = ObjectCommand::None;
    QString text;
    // The class's own items act on the object while the menu is open; they are one step.
    m_surface->beginEdit();
    {
        QMenu menu(this);
        const std::pair<const char *, ObjectCommand> common[] = {
            {"Bring To Front", ObjectCommand::BringToFront},
            {"Send To Back", ObjectCommand::SendToBack},
            {"Cut", ObjectCommand::Cut},
            {"Copy", ObjectCommand::Copy},
            {"Delete", ObjectCommand::Delete},
            {"Clone", ObjectCommand::Clone},
            {nullptr, ObjectCommand::None},
            {"Locked", ObjectCommand::Locked},
            {"Unselectable", ObjectCommand::Unselectable},
            {nullptr, ObjectCommand::None},
            {"Center Vertically", ObjectCommand::CenterVertically},
            {"Center Horizontally", ObjectCommand::CenterHorizontally}};
        for (const auto &[caption, which] : common) {
            if (!caption) {
                menu.addSeparator();
                continue;
            }
            QAction *a = menu.addAction(QString::fromLatin1(caption));
            a->setData(static_cast<int>(which));
            if (which == ObjectCommand::Locked) {
                a->setCheckable(true);
                a->setChecked(object->Locked());
            }
        }
        object->PreparePopup();
        if (auto *label = dynamic_cast<TGBaseLabel *>(object))
            TGTextObjectMenu::addItems(&menu, label, this);
        TGMultiLineObjectMenu::addItems(&menu, object, this);
        TGShapeObjectMenu::addItems(&menu, object, this);
        m_menuOpen = true;
        QPointer<QAction> chosen = menu.exec(mapToGlobal(surfacePoint));
        m_menuOpen = false;
        if (chosen) {
            text = plainText(chosen);
            if (chosen->data().isValid())
                command = static_cast<ObjectCommand>(chosen->data().toInt());
        }
    }
    m_surface->endEdit(text);
    if (command == ObjectCommand::None)
        return;
    // The object's own commands run once the menu is gone and the mouse handling that opened
    // it is over, so a Delete or Cut never frees the object under its own menu.
    QMetaObject::invokeMethod(
        this,
        [this, object, command] {
            const auto &objects = m_surface->objects();
            if (std::find(objects.begin(), objects.end(), object) == objects.end())
                return;
            switch (command) {
            case ObjectCommand::BringToFront:
                m_surface->BringToFront(object);
                break;
            case ObjectCommand::SendToBack:
                m_surface->SendToBack(object);
                break;
            case ObjectCommand::Cut:
                object->NotifyChanged();
                report(m_surface->EditObject(object, TEditKind::Cut));
                break;
            case ObjectCommand::Copy:
                report(m_surface->EditObject(object, TEditKind::Copy));
                break;
            case ObjectCommand::Delete:
                object->NotifyChanged();
                report(m_surface->EditObject(object, TEditKind::Delete));
                break;
            case ObjectCommand::Clone:
                report(m_surface->Clone(object));
                break;
            case ObjectCommand::Locked:
                m_surface->ToggleLocked(object);
                break;
            case ObjectCommand::Unselectable:
                m_surface->MakeUnselectable(object);
                break;
            case ObjectCommand::CenterVertically:
                m_surface->CenterVertically(object);
                break;
            case ObjectCommand::CenterHorizontally:
                m_surface->CenterHorizontally(object);
                break;
            case ObjectCommand::None:
                break;
            }
            followSurface();
        },
        Qt::QueuedConnection);
}

void TGSurfaceWidget::chooseFont()
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, m_surface->Font().qtFont(m_surface->PixelsPerInch()), this);
    if (ok)
        m_surface->ApplyFontToSelection(m_surface->Font().chosenFrom(chosen));
}

void TGSurfaceWidget::showSurfaceMenu(const QPoint &surfacePoint)
{
    TGBasePanel *s = m_surface;
    const bool selected = !s->selection().isEmpty();
    const bool hasObjects = !s->objects().empty();
    std::function<void()> command;
    {
        QMenu menu(this);
        auto item = [&](const char *caption, bool enabled, std::function<void()> run) {
            QAction *a = menu.addAction(QString::fromLatin1(caption));
            a->setEnabled(enabled);
            QObject::connect(a, &QAction::triggered, [&command, run] { command = run; });
        };
        item("Bring To Front", selected, [s] { s->BringSelectionToFront(); });
        item("Send To Back", selected, [s] { s->SendSelectionToBack(); });
        menu.addSeparator();
        item("Cut", selected, [this] { report(m_surface->EditSelection(TEditKind::Cut)); });
        item("Copy", selected, [this] { report(m_surface->EditSelection(TEditKind::Copy)); });
        item("Paste", s->canPaste(), [this] { report(m_surface->EditSelection(TEditKind::Paste)); });
        menu.addSeparator();
        item("Delete", selected, [this] { report(m_surface->EditSelection(TEditKind::Delete)); });
        menu.addSeparator();
        item("Align Left", selected, [s] { s->AlignLeft(); });
        item("Align Right", selected, [s] { s->AlignRight(); });
        item("Align Tops", selected, [s] { s->AlignTops(); });
        item("Align Bottoms", selected, [s] { s->AlignBottoms(); });
        menu.addSeparator();
        item("Center Vertically", selected, [s] { s->CenterSelectionVertically(); });
        item("Center Horizontally", selected, [s] { s->CenterSelectionHorizontally(); });
        menu.addSeparator();
        item("Lock All", hasObjects, [s] { s->LockAll(); });
        item("Unlock All", hasObjects, [s] { s->UnlockAll(); });
        menu.addSeparator();
        item("Mark All Selectable", true, [s] { s->MarkAllSelectable(); });
        item("Mark All Unselectable", true, [s] { s->MarkAllUnselectable(); });
        item("Select All", true, [s] { s->SelectAll(); });
        menu.addSeparator();
        item("Font", selected, [this] { chooseFont(); });
        menu.addSeparator();
        QUndoStack &undo = s->undoStack();
        item("Undo", undo.canUndo(), [s] { s->undoStack().undo(); });
        item("Redo", undo.canRedo(), [s] { s->undoStack().redo(); });
        m_menuOpen = true;
        menu.exec(mapToGlobal(surfacePoint));
        m_menuOpen = false;
    }
    if (!command)
        return;
    // As with an object's menu: run once the menu and the mouse handling are over.
    QMetaObject::invokeMethod(
        this,
        [this, command] {
            command();
            followSurface();
        },
        Qt::QueuedConnection);
}
