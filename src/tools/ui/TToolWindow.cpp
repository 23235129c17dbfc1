#include "TToolWindow.h"

#include "TMessages.h"
#include "TToolGridModel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QProgressBar>

TToolWindow::TToolWindow(QWidget *parent) : QDialog(parent)
{
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->hide();
}

void TToolWindow::setTotal(int items)
{
    m_total = items;
    m_done = 0;
    Gauge->setValue(0);
}

void TToolWindow::step()
{
    ++m_done;
    if (m_total > 0) {
        const int percent = int(qint64(m_done) * 100 / m_total);
        if (percent >= 1 && percent <= 99 && percent != Gauge->value())
            Gauge->setValue(percent);
    }
    stepped(m_done);
    QApplication::processEvents();
}

void TToolWindow::beginRun()
{
    m_running = true;
    m_cancel = false;
    m_closeAfterRun = false;
    Gauge->setValue(0);
    Gauge->show();
}

void TToolWindow::endRun()
{
    m_running = false;
    Gauge->hide();
    if (m_closeAfterRun)
        QDialog::reject();
}

void TToolWindow::reject()
{
    if (m_running) {
        // A close during a pass stops it after the current record.
        m_cancel = true;
        m_closeAfterRun = true;
        return;
    }
    QDialog::reject();
}

void TToolWindow::confirmCancel()
{
    if (isRunning() && TMessages::question(this, QStringLiteral("CANCEL"),
                                           QStringLiteral("Cancel operation?"), QMessageBox::No))
        requestCancel();
}

void TToolWindow::toggleTagOf(TToolGridModel *model, int row)
{
    if (!model || model->rowCount() == 0)
        return;
    const TResult toggled = model->toggleTag(row);
    if (!toggled.ok)
        TMessages::failure(this, toggled);
}

void TToolWindow::tagAllOf(TToolGridModel *model, const QString &question)
{
    if (!model || model->rowCount() == 0)
        return;
    if (!TMessages::question(this, QStringLiteral("TAG ALL"), question, QMessageBox::No))
        return;
    int tagged = 0;
    const TResult result = model->tagAll(tagged);
    if (!result.ok)
        TMessages::failure(this, result);
}
