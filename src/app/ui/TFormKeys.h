// The keyboard rules of the record form, ahead of the focused control: overwrite typing
// unless Insert mode is on, Enter to the next box, Alt+Enter, Ctrl+Enter, PgDn / PgUp (with
// Ctrl), Esc in any box, Ctrl+Left / Ctrl+Right left to the record moves while browsing, and
// editing started by typing or a double-click. An event filter the
// main window installs on its boxes, its memo and itself; it acts through the record-editing
// commands. Owned by the main window.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class TRecordEditCommands;

class TFormKeys : public QObject
{
    Q_OBJECT

public:
    explicit TFormKeys(TRecordEditCommands &commands, QObject *parent = nullptr);

    // Watches the field boxes (Enter moves on from these), the memo and the window that holds
    // them (keys no control took). `modeLabel`, when given, shows the typing mode.
    void install(const QList<QLineEdit *> &boxes, QPlainTextEdit *memo, QWidget *window,
                 QLabel *modeLabel = nullptr);

    // Insert mode: typed characters go in ahead of the caret. Off (the start): they replace the
    // character at the caret. The Insert key switches it.
    bool isInsertMode() const { return m_insert; }
    void setInsertMode(bool on);
    // "INS" or "OVR", for the status line.
    QString modeText() const;

signals:
    void insertModeChanged(bool insertMode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleKey(QObject *watched, QKeyEvent *key);
    // Lets Ctrl+Left and Ctrl+Right past a box or the memo to the record moves while browsing.
    bool takeMoveKey(QObject *watched, QKeyEvent *key);
    // A user's change of a box or the memo while browsing starts the edit ("&Edit" enabled).
    void startEditOnChange();
    bool isBox(QObject *o) const;
    static bool changesText(QKeyEvent *key);

    TRecordEditCommands &m_commands;
    QList<QPointer<QLineEdit>> m_boxes;
    QPointer<QPlainTextEdit> m_memo;
    QPointer<QWidget> m_window;
    QPointer<QLabel> m_modeLabel;
    bool m_insert = false;
};
