#include "TGCounterDialog.h"

#include "THelpRequest.h"

#include "TGCounterLabel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3504;

TGCounterDialog::TGCounterDialog(TGCounterLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Counter"), parent), m_object(object)
{
    auto *form = new QFormLayout;
    StartSpin = new QSpinBox(this);
    StartSpin->setObjectName(QStringLiteral("StartSpin"));
    StartSpin->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    StartSpin->setValue(object->Startingnumber());
    form->addRow(QStringLiteral("Starting Number"), StartSpin);
    RepeatSpin = new QSpinBox(this);
    RepeatSpin->setObjectName(QStringLiteral("RepeatSpin"));
    RepeatSpin->setRange(1, 999);
    RepeatSpin->setValue(object->RepeatEach());
    form->addRow(QStringLiteral("Repeat number for #of  labels?"), RepeatSpin);
    BeforeEdit = new QLineEdit(object->TextBefore(), this);
    BeforeEdit->setObjectName(QStringLiteral("BeforeEdit"));
    form->addRow(QStringLiteral("Text  before"), BeforeEdit);
    AfterEdit = new QLineEdit(object->TextAfter(), this);
    AfterEdit->setObjectName(QStringLiteral("AfterEdit"));
    form->addRow(QStringLiteral("Text after"), AfterEdit);
    auto *zeros = new QHBoxLayout;
    ZerosSpin = new QSpinBox(this);
    ZerosSpin->setObjectName(QStringLiteral("ZerosSpin"));
    ZerosSpin->setRange(0, 9);
    ZerosSpin->setValue(std::clamp(object->LeadingZeros(), 0, 9));
    zeros->addWidget(new QLabel(QStringLiteral("Leading zeros to "), this));
    zeros->addWidget(ZerosSpin);
    zeros->addWidget(new QLabel(QStringLiteral("digits"), this));
    fields()->addLayout(form);
    fields()->addLayout(zeros);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGCounterDialog::accept()
{
    m_object->ApplySettings(StartSpin->value(), RepeatSpin->value(), BeforeEdit->text(), AfterEdit->text(),
                            ZerosSpin->value());
    TGPropertyDialog::accept();
}
