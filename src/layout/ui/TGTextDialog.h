// "Text": the caption of a plain text object, edited in one field.
#pragma once

#include "TGPropertyDialog.h"

class QLineEdit;
class TGPLabel;

class TGTextDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGTextDialog(TGPLabel *object, QWidget *parent = nullptr);
    QLineEdit *TextEdit = nullptr;

    void accept() override;

private:
    TGPLabel *m_object;
};
