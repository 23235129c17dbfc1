#include "TSortBulkMail.h"

#include "THelpRequest.h"

#include "TAddressSession.h"
#include "TMessages.h"
#include "TPresortFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3106;

namespace {

// The window's results: the file was written, or the sort was cancelled or failed.
constexpr int kDone = 1;
constexpr int kNotDone = 2;

} // namespace

TSortBulkMail::TSortBulkMail(TAddressSession &session, const QString &presortPath, quint32 fromRecno,
                             QWidget *parent)
    : QDialog(parent), m_session(session), m_path(presortPath), m_fromRecno(fromRecno)
{
    setWindowTitle(QStringLiteral("Bulk Mail Presorting"));
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setMinimumWidth(260);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setAutoDefault(false);
    DoneCheck = new QCheckBox(this);
    DoneCheck->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    connect(CancelButton, &QPushButton::clicked, this, &TSortBulkMail::CancelButtonClick);
}

TSortBulkMail::~TSortBulkMail() = default;

void TSortBulkMail::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    // The sort runs once the window is on the screen, so its text and Cancel show.
    QTimer::singleShot(0, this, &TSortBulkMail::DoTheSort);
}

void TSortBulkMail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        THelpRequest::ask(this, kHelpTopic);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TSortBulkMail::SetLabel1(const QString &text)
{
    Label1->setText(text);
    QApplication::processEvents();
}

void TSortBulkMail::step()
{
    ++m_seen;
    const quint32 recno = m_session.table().engine().recno();
    if (recno % 100 == 0)
        SetLabel1(QStringLiteral("Reading record ") + QString::number(recno));
    // Window events run every few records: often enough for Cancel, rarely enough to stay fast.
    else if (m_seen % 64 == 0)
        QApplication::processEvents();
}

void TSortBulkMail::DoTheSort()
{
    if (m_sorting)
        return;
    m_sorting = true;
    m_cancel = false;
    m_seen = 0;
    DoneCheck->setChecked(false);
    SetLabel1(QStringLiteral("Reading database records..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TResult counted = m_tally.run(m_session.table(), *this, m_fromRecno);
    QApplication::restoreOverrideCursor();
    if (!counted || !m_tally.isComplete()) {
        m_sorting = false;
        if (!counted)
            TMessages::failure(this, counted);
        finish(kNotDone);
        return;
    }
    SetLabel1(QStringLiteral("Sorting Zip Codes..."));
    const TResult saved = TPresortFile::save(m_path, m_tally.presortLines());
    m_sorting = false;
    if (!saved) {
        TMessages::failure(this, saved);
        finish(kNotDone);
        return;
    }
    DoneCheck->setChecked(true);
    finish(kDone);
}

void TSortBulkMail::CancelButtonClick()
{
    if (!m_sorting || m_cancel)
        return;
    if (TMessages::question(this, QStringLiteral("CANCEL"), QStringLiteral("Cancel PRESORT?"),
                            QMessageBox::Yes))
        m_cancel = true;
}

void TSortBulkMail::reject()
{
    // Escape or closing the window during the sort asks as Cancel does; the window closes
    // once the sort has stopped.
    if (m_sorting) {
        CancelButtonClick();
        return;
    }
    QDialog::reject();
}

void TSortBulkMail::finish(int result)
{
    QMetaObject::invokeMethod(
        this, [this, result] { done(result); }, Qt::QueuedConnection);
}
