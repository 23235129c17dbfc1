// What the tool window tests share: the message boxes answered by script and recorded.
#pragma once

#include "TMessages.h"

#include <QAbstractButton>
#include <QStringList>
#include <QTest>

namespace toolwindow {

// Answers every question with `answer` and keeps each box's caption, text and default button.
struct Boxes {
    QStringList texts;
    QStringList captions;
    QList<QMessageBox::StandardButton> defaults;
    explicit Boxes(QMessageBox::StandardButton answer = QMessageBox::Yes)
    {
        TMessages::setAnswerer([this, answer](const TMessageRequest &r) {
            texts << r.text;
            captions << r.caption;
            defaults << r.defaultButton;
            return (r.buttons & QMessageBox::Yes) ? answer : QMessageBox::Ok;
        });
    }
    ~Boxes() { TMessages::setAnswerer({}); }
};

// Clicks a check box or radio button on its indicator, where a user clicks it (the middle of a
// wide button can lie beyond its text).
inline void clickIndicator(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

} // namespace toolwindow
