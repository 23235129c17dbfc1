#include "TChooseEnvelopeLayout.h"

#include "THelpRequest.h"

#include "TEnvelopeSizes.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3201;

TChooseEnvelopeLayout::TChooseEnvelopeLayout(int code, QWidget *parent) : QDialog(parent), m_code(code)
{
    setWindowTitle(QStringLiteral("Envelope Size"));
    setModal(true);
    EnvelopeList = new QListWidget(this);
    for (const TEnvelopeSize &s : TEnvelopeSizes::all())
        EnvelopeList->addItem(s.entry);
    EnvelopeList->setCurrentRow(TEnvelopeSizes::indexOf(code));
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {OkButton, CancelButton, HelpButton})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(EnvelopeList);
    layout->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
    connect(EnvelopeList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int TChooseEnvelopeLayout::code() const
{
    const int row = EnvelopeList->currentRow();
    const QVector<TEnvelopeSize> &all = TEnvelopeSizes::all();
    if (row < 0 || row >= all.size() || !EnvelopeList->currentItem() ||
        !EnvelopeList->currentItem()->isSelected())
        return m_code;
    return all.at(row).code;
}
