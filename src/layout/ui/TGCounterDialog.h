// "Counter": starting number, repeat count, texts before and after and leading zeros of a
// counter object.
#pragma once

#include "TGPropertyDialog.h"

class QLineEdit;
class QSpinBox;
class TGCounterLabel;

class TGCounterDialog : public TGPropertyDialog
{
    Q_OBJECT
public:
    TGCounterDialog(TGCounterLabel *object, QWidget *parent = nullptr);
    QSpinBox *StartSpin = nullptr;
    QSpinBox *RepeatSpin = nullptr;
    QLineEdit *BeforeEdit = nullptr;
    QLineEdit *AfterEdit = nullptr;
    QSpinBox *ZerosSpin = nullptr;

    void accept() override;

private:
    TGCounterLabel *m_object;
};
