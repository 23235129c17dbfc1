// Message boxes with the program's captions, icons and default buttons. Every box goes
// through one seam, show(), so tests can answer boxes with a scripted answerer instead of
// real modal boxes (setAnswerer()).
#pragma once

#include "TResult.h"

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// One box as it would be shown.
struct TMessageRequest {
    QWidget *parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::Information;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::Ok;
};

class TMessages
{
public:
    // Receives each box instead of the user and returns the button pressed.
    using Answerer = std::function<QMessageBox::StandardButton(const TMessageRequest &)>;

    // Notices and errors: caption "Information", the information icon, an Ok button.
    static void information(QWidget *parent, const QString &text);
    // A Yes/No question with the question icon and a short caption naming the action
    // ("DELETE", "Save" ...). Where Yes risks data the caller passes QMessageBox::No as the
    // default. True when the answer is Yes.
    static bool question(QWidget *parent, const QString &caption, const QString &text,
                         QMessageBox::StandardButton defaultButton);
    // Yes/No/Cancel with the question icon; returns the button pressed.
    static QMessageBox::StandardButton questionWithCancel(QWidget *parent, const QString &caption,
                                                          const QString &text,
                                                          QMessageBox::StandardButton defaultButton);
    // The text for a failed result: a sentence of its own for a locked file, a damaged one and
    // a file that cannot be read or written (a full disk), followed by the result's message;
    // for other failures the message alone, or `fallback` when there is none.
    static QString failureText(const TResult &result, const QString &fallback = QString());
    // failureText() in an "Information" box.
    static void failure(QWidget *parent, const TResult &result, const QString &fallback = QString());

    // A warning with the warning icon and an Ok button.
    static void warning(QWidget *parent, const QString &caption, const QString &text);

    // Shows the box (or hands it to the answerer) and returns the button pressed; a box
    // closed without a button counts as the escape button (No, Cancel or Ok).
    static QMessageBox::StandardButton show(const TMessageRequest &request);

    // Replaces the answerer; an empty one brings back real boxes. Returns the previous one.
    static Answerer setAnswerer(Answerer answerer);

private:
    static Answerer s_answerer;
};
