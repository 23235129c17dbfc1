// "Label Layout" (TChooseLabelLayout): whether the designer's Change Layout takes a sheet from
// the catalogue or values typed in. Created per use by the label designer, shown modally.
#pragma once

#include <QDialog>

class QPushButton;
class QRadioButton;

class TChooseLabelLayout : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kTemplates = -1;
    static constexpr int kUserDefined = -2;
    static constexpr int kCancelled = 2;

    explicit TChooseLabelLayout(QWidget *parent = nullptr);

    // Shows the dialog: kTemplates, kUserDefined, or kCancelled.
    int choose();

    QRadioButton *TemplateRadio;
    QRadioButton *UserDefinedRadio;
    QPushButton *OkButton;
    QPushButton *CancelButton;
    QPushButton *HelpButton;

};
