#include "TGTextDialog.h"

#include "THelpRequest.h"

#include "TGPLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

// The help topic this window's Help button and F1 open.
constexpr int kHelpTopic = 3500;

TGTextDialog::TGTextDialog(TGPLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Text"), parent), m_object(object)
{
    fields()->addWidget(new QLabel(QStringLiteral("Enter Text"), this));
    TextEdit = new QLineEdit(object->Caption(), this);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    fields()->addWidget(TextEdit);
    THelpRequest::wire(this, HelpButton, kHelpTopic);
}

void TGTextDialog::accept()
{
    m_object->EditText(TextEdit->text());
    TGPropertyDialog::accept();
}
