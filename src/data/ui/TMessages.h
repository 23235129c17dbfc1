// Message boxes with the program's captions and icons.
#pragma once

#include <QString>

class QWidget;

class TMessages
{
public:
    // An "Information" box with the information icon.
    static void information(QWidget *parent, const QString &text);
};
