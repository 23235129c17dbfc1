// "User Defined Label Layout" (TLabelEdit): the ten geometry values, the paper size and the
// label shape typed in by the user, in inches or millimetres. Created per use by the label
// designer and shown modally; Ok closes it only when the values pass the sheet rules.
#pragma once

#include "TLabelEditValues.h"
#include "TLabelSetup.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class TLabelEdit : public QDialog
{
    Q_OBJECT
public:
    // Shows the geometry, PaperSize and LblShape of `setup`.
    explicit TLabelEdit(const TLabelSetup &setup, QWidget *parent = nullptr);

    // `setup` with the dialog's geometry, PaperSize and LblShape (in inches).
    TLabelSetup values(const TLabelSetup &setup) const;

    QLineEdit *LabelWidthEdit;
    QLineEdit *LabelHeightEdit;
    QLineEdit *HorizPitchEdit;
    QLineEdit *VertPitchEdit;
    QLineEdit *LeftMarginEdit;
    QLineEdit *TopMarginEdit;
    QLineEdit *PaperWidthEdit;
    QLineEdit *PaperHeightEdit;
    QSpinBox *AcrossSpin;
    QSpinBox *DownSpin;
    QComboBox *PaperSizeCombo;
    QComboBox *LabelShapeCombo;
    QRadioButton *InchesRadio;
    QRadioButton *MillimetersRadio;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

public slots:
    void OkButtonClick();

private:
    QLineEdit *edit(TLabelEditValues::Box box) const;
    void showValues();
    void paperChosen(int index);

    TLabelEditValues m_values;
};
