#include "TFormKeys.h"

#include "TRecordEditCommands.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

TFormKeys::TFormKeys(TRecordEditCommands &commands, QObject *parent) : QObject(parent), m_commands(commands)
{
}

void TFormKeys::install(const QList<QLineEdit *> &boxes, QPlainTextEdit *memo, QWidget *window,
                        QLabel *modeLabel)
{
    for (QLineEdit *b : boxes) {
        if (!b)
            continue;
        m_boxes.append(b);
        b->installEventFilter(this);
        // A change the keys did not announce (a paste from the context menu, a drop) starts
        // the edit too; text the form sets is no user edit and starts nothing.
        connect(b, &QLineEdit::textEdited, this, [this] { startEditOnChange(); });
    }
    m_memo = memo;
    if (memo) {
        memo->installEventFilter(this);
        // Double-clicks reach the memo's viewport, not the memo.
        memo->viewport()->installEventFilter(this);
        connect(memo->document(), &QTextDocument::undoCommandAdded, this, [this] { startEditOnChange(); });
    }
    m_window = window;
    if (window)
        window->installEventFilter(this);
    m_modeLabel = modeLabel;
    setInsertMode(m_insert);
}

void TFormKeys::setInsertMode(bool on)
{
    const bool changed = on != m_insert;
    m_insert = on;
    if (m_memo)
        m_memo->setOverwriteMode(!on);
    if (m_modeLabel)
        m_modeLabel->setText(modeText());
    if (changed)
        emit insertModeChanged(on);
}

QString TFormKeys::modeText() const
{
    return m_insert ? QStringLiteral("INS") : QStringLiteral("OVR");
}

void TFormKeys::startEditOnChange()
{
    if (m_commands.canEdit())
        m_commands.EditButtonClick();
}

bool TFormKeys::isBox(QObject *o) const
{
    for (const QPointer<QLineEdit> &b : m_boxes)
        if (b == o)
            return true;
    return false;
}

bool TFormKeys::changesText(QKeyEvent *key)
{
    if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
        key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo))
        return true;
    if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete)
        return true;
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

bool TFormKeys::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        return takeMoveKey(watched, static_cast<QKeyEvent *>(event));
    case QEvent::KeyPress:
        return handleKey(watched, static_cast<QKeyEvent *>(event));
    case QEvent::MouseButtonDblClick:
        if (isBox(watched) || (m_memo && watched == m_memo->viewport()))
            m_commands.EditFieldClick();
        return false;
    default:
        return false;
    }
}

bool TFormKeys::takeMoveKey(QObject *watched, QKeyEvent *key)
{
    // A text box claims Ctrl+Left and Ctrl+Right as word moves before any shortcut sees them.
    // While browsing they are the record moves: the claim is refused, so the Record menu's
    // shortcuts take them. While editing the moves are off and the box keeps its word moves.
    if (!isBox(watched) && !(m_memo && watched == m_memo))
        return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods != Qt::ControlModifier || (key->key() != Qt::Key_Left && key->key() != Qt::Key_Right))
        return false;
    if (m_commands.isEditing())
        return false;
    key->ignore();
    return true;
}

bool TFormKeys::handleKey(QObject *watched, QKeyEvent *key)
{
    const bool inBox = isBox(watched);
    const bool inMemo = m_memo && watched == m_memo;
    const bool inWindow = m_window && watched == m_window;
    if (!inBox && !inMemo && !inWindow)
        return false;
    const bool editing = m_commands.isEditing();
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier;

    switch (key->key()) {
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier) {
            setInsertMode(!m_insert);
            return true;
        }
        return false;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods & Qt::AltModifier) {
            if (editing)
                m_commands.saveAndOfferAnother();
            return editing;
        }
        if (ctrl) {
            if (editing)
                m_commands.SaveButtonClick();
            return editing;
        }
        if (inBox && mods == Qt::NoModifier) {
            // On to the next box, as Tab would go (skipped boxes stay skipped).
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
            QApplication::sendEvent(watched, &tab);
            return true;
        }
        return false;
    case Qt::Key_PageDown:
        if (editing)
            m_commands.askSave();
        else if (ctrl)
            m_commands.moveLast();
        else
            m_commands.moveNext();
        return true;
    case Qt::Key_PageUp:
        if (!editing) {
            if (ctrl)
                m_commands.moveFirst();
            else
                m_commands.movePrior();
        }
        return true;
    case Qt::Key_Escape:
        if (editing) {
            m_commands.askCancel();
            return true;
        }
        return false;
    default:
        break;
    }

    // A read-only box (the date box) takes no typing, so typing there starts nothing.
    const bool readOnly = inBox    ? static_cast<QLineEdit *>(watched)->isReadOnly()
                          : inMemo ? m_memo->isReadOnly()
                                   : true;
    if ((inBox || inMemo) && !readOnly && changesText(key)) {
        if (!editing) {
            if (!m_commands.canEdit())
                return false;
            m_commands.EditButtonClick();
            if (!m_commands.isEditing())
                return true; // the edit could not start; the text stays as stored
        }
        if (inBox && !m_insert) {
            auto *box = static_cast<QLineEdit *>(watched);
            const QString text = key->text();
            if (!text.isEmpty() && text.at(0).isPrint() && !box->hasSelectedText() &&
                box->cursorPosition() < box->text().size())
                box->setSelection(box->cursorPosition(), 1); // the typed character replaces it
        }
    }
    return false;
}
