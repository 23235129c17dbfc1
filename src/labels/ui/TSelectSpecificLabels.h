// "Labels Print" (TSelectSpecificLabels): the positions-and-copies dialog of a label run. A
// drawing of one sheet where a click toggles a position (selected ones red), "&All" and
// "&None", the printer and the number of each label. "Print Labels" creates one per run and
// shows it modally; on "Ok" it hands back the mask, the copies and the printer.
#pragma once

#include "TLabelSetup.h"

#include <QDialog>
#include <QRect>
#include <QVector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TBaseReport;

class TSelectSpecificLabels : public QDialog
{
    Q_OBJECT
public:
    // `job` must outlive the dialog; its printer list and choice fill PrinterCombo. `mask` is
    // sized to the sheet. With `presort` the copies are hidden: a presorted run prints one
    // label per record.
    TSelectSpecificLabels(const TLabelSetup &setup, const QVector<bool> &mask, bool presort, TBaseReport &job,
                          QWidget *parent = nullptr);

    const QVector<bool> &PositionMask() const { return m_mask; }
    int copies() const;
    // Position `index` in the sheet drawing, in the drawing's pixels at `pixelsPerInch`.
    static QRect positionRect(const TLabelSetup &setup, int index, double pixelsPerInch);

    QWidget *PaintBox1;
    QPushButton *AllButton;
    QPushButton *NoneButton;
    QComboBox *PrinterCombo;
    QSpinBox *NumberOfEach;
    QLabel *NumberOfEachLabel;
    QPushButton *OkButton;
    QPushButton *CancelButton;

public slots:
    void OkButtonClick();
    // Toggles the position under a click at (x, y) of the drawing.
    void PaintBox1Click(const QPoint &at);

private:
    friend class TSheetDrawing;
    TLabelSetup m_setup;
    QVector<bool> m_mask;
    TBaseReport &m_job;
};
