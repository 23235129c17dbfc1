#include "TGTextDialog.h"

#include "TGPLabel.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TGTextDialog::TGTextDialog(TGPLabel *object, QWidget *parent)
    : TGPropertyDialog(QStringLiteral("Text"), parent), m_object(object)
{
    fields()->addWidget(new QLabel(QStringLiteral("Enter Text"), this));
    TextEdit = new QLineEdit(object->Caption(), this);
    TextEdit->setObjectName(QStringLiteral("TextEdit"));
    fields()->addWidget(TextEdit);
}

void TGTextDialog::accept()
{
    m_object->EditText(TextEdit->text());
    TGPropertyDialog::accept();
}
