#include "TMessages.h"

#include <QMessageBox>

void TMessages::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QStringLiteral("Information"), text);
}
