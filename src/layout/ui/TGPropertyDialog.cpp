#include "TGPropertyDialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TGPropertyDialog::TGPropertyDialog(const QString &caption, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(caption);
    setModal(true);
    auto *outer = new QVBoxLayout(this);
    m_fields = new QVBoxLayout;
    outer->addLayout(m_fields);
    auto *buttons = new QHBoxLayout;
    OkButton = new QPushButton(QStringLiteral("Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addWidget(HelpButton);
    outer->addLayout(buttons);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}
