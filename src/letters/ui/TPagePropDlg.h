// The "Page Properties" dialog: paper size and margins of a letter in inches, centimetres or
// twips. Created by the designer for one use; it edits its own copy of the page layout.
#pragma once

#include "TLetterPageLayout.h"
#include "TLetterUnits.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

class TPagePropDlg : public QDialog
{
    Q_OBJECT
public:
    // `unit` is the one last confirmed (the designer keeps it for the run of the program).
    TPagePropDlg(const TLetterPageLayout &layout, TLengthUnit unit, QWidget *parent = nullptr);

    TLetterPageLayout layout() const;
    TLengthUnit unit() const;

    QComboBox *Unit;
    QLineEdit *PaperWidth;
    QLineEdit *PaperHeight;
    QLineEdit *MarginTop;
    QLineEdit *MarginBottom;
    QLineEdit *MarginLeft;
    QLineEdit *MarginRight;
    QPushButton *OkButton;
    QPushButton *CancelButton;

public slots:
    // Refuses negative values and paper not larger than its margins, with a message;
    // otherwise closes with the new layout.
    void OkButtonClick();

private:
    enum { kWidth, kHeight, kTop, kBottom, kLeft, kRight, kCount };
    void redisplay();
    // Converts field `i`; false (with the conversion message) when its text is no number.
    bool convert(int i, bool tell);

    std::array<QLineEdit *, kCount> m_fields{};
    std::array<int, kCount> m_twips{};
};
