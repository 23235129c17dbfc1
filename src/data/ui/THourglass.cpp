#include "THourglass.h"

#include <QApplication>
#include <QCursor>

THourglass::THourglass()
{
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

THourglass::~THourglass()
{
    QApplication::restoreOverrideCursor();
}
