#include "TNewRecordForm.h"

#include "THelpRequest.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3006;

TNewRecordForm::TNewRecordForm(bool showNames, bool showZip, int lnameWidth, int fnameWidth, int zipWidth,
                               QWidget *parent)
    : QDialog(parent), m_showNames(showNames), m_showZip(showZip)
{
    setWindowTitle(QStringLiteral("New Record"));
    auto *grid = new QGridLayout;
    int row = 0;
    auto addBox = [&](const QString &label, int width) {
        auto *edit = new QLineEdit(this);
        edit->setMaxLength(qMax(1, width));
        auto *caption = new QLabel(label, this);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        return edit;
    };
    if (showNames) {
        LastNameEdit = addBox(QStringLiteral("Last Name"), lnameWidth);
        FirstNameEdit = addBox(QStringLiteral("First Name"), fnameWidth);
        FirstNameEdit->installEventFilter(this);
    }
    if (showZip) {
        ZipEdit = addBox(QStringLiteral("Zip Code or Postal Code"), zipWidth);
        ZipEdit->installEventFilter(this);
    }

    OkButton = new QPushButton(QStringLiteral("Ok [PgDn]"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter presses "Ok [PgDn]" only from the ZIP box; elsewhere it does nothing.
    OkButton->setAutoDefault(false);
    CancelButton->setAutoDefault(false);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    THelpRequest::wire(this, nullptr, kHelpTopic);
}

QString TNewRecordForm::lastName() const
{
    return LastNameEdit ? LastNameEdit->text() : QString();
}

QString TNewRecordForm::firstName() const
{
    return FirstNameEdit ? FirstNameEdit->text() : QString();
}

QString TNewRecordForm::zip() const
{
    return ZipEdit ? ZipEdit->text() : QString();
}

bool TNewRecordForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ZipEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OkButton->click();
            return true;
        }
    }
    // Tabbing out of the first-name box ends the window when there is no ZIP to ask for. A
    // click elsewhere (on "Cancel") does not.
    if (watched == FirstNameEdit && !m_showZip && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            OkButton->click();
    }
    return QDialog::eventFilter(watched, event);
}

void TNewRecordForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_PageDown) {
        OkButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
